#include "controlfile/phase_lines.h"

#include "controlfile/line_reader.h"
#include "run/messages.h"
#include "run/model_store.h"

namespace kestovar {

float LineValues::r(size_t k) const {
  if (k >= f.size()) return 0.0f;
  return f[k].kind == text::Field::Kind::Integer ? static_cast<float>(f[k].i)
                                                 : static_cast<float>(f[k].r);
}

int LineValues::i(size_t k) const {
  if (k >= f.size()) return 0;
  return f[k].kind == text::Field::Kind::Real ? static_cast<int>(f[k].r) : static_cast<int>(f[k].i);
}

std::string LineValues::a(size_t k, size_t width) const {
  return text::pad(k < f.size() ? f[k].a : std::string(), width);
}

LineValues read_line_values(ModelStore& store, std::string_view spec) {
  return LineValues{read_pcr_line(store, spec)};
}

bool read_text_line(ModelStore& store, std::string& line) {
  int& number = store.job->reader.PcrLine;
  for (;;) {
    ++number;
    if (!store.files.read_line(unit::PCR, line)) return false;
    if (!line.empty() && line[0] == '!') continue;
    return true;
  }
}

std::string reals_spec(size_t n) {
  return std::string(n, 'F');
}

void read_slot_values(ModelStore& store, ParamSlot* slots, std::initializer_list<int> which) {
  LineValues v = read_line_values(store, reals_spec(which.size()));
  size_t k = 0;
  for (int s : which) slots[s].value = v.r(k++);
}

void read_slot_codes(ModelStore& store, ParamSlot* slots, std::initializer_list<int> which) {
  LineValues v = read_line_values(store, reals_spec(which.size()));
  size_t k = 0;
  for (int s : which) slots[s].code = v.r(k++);
}

void read_slots_with_codes(ModelStore& store, ParamSlot* slots, std::initializer_list<int> which) {
  read_slot_values(store, slots, which);
  read_slot_codes(store, slots, which);
}

std::string slot_values(const ParamSlot* slots, std::initializer_list<int> which, int w, int d) {
  std::string r;
  for (int s : which) r += text::fmt_f(slots[s].value, w, d);
  return r;
}

std::string slot_codes(const ParamSlot* slots, std::initializer_list<int> which, int w, int d) {
  std::string r;
  for (int s : which) r += text::fmt_f(slots[s].code, w, d);
  return r;
}

void listing(ModelStore& store, std::string_view line) {
  write_unit(store, unit::OUT, line);
}

void listing_and_summary(ModelStore& store, std::string_view line) {
  write_out_sum(store, line);
}

}  // namespace kestovar
