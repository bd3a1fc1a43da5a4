#include "run/messages.h"

#include <filesystem>

#include "run/model_store.h"
#include "run/stop.h"
#include "text/fortran_format.h"

namespace kestovar {

namespace {

bool starts_with_equals(std::string_view text) {
  return (!text.empty() && text[0] == '=') || (text.size() > 1 && text[1] == '=');
}

std::string cut(std::string s) {
  if (s.size() > static_cast<size_t>(MESSAGE_LEN)) s.resize(MESSAGE_LEN);
  return text::trim_right(s);
}

void emit(ModelStore& store, const std::string& line) {
  if (store.MessageUnit == unit::SCREEN)
    store.ui->text_line(line);
  else
    store.files.write_line(store.MessageUnit, line);
}

}  // namespace

void show_message(ModelStore& store, std::string_view text) {
  std::string t = text::trim_right(text);
  std::string line;
  if (t.empty())
    line = "  ";
  else if (starts_with_equals(t))
    line = t;
  else
    line = " =>" + t;
  emit(store, line.size() > 2 ? cut(line) : line);
}

std::string value_line(std::string_view text, int ival, float rval, int kind) {
  std::string line = starts_with_equals(text) ? "   " : " =>";
  line += text::trim_right(text);
  switch (kind) {
    case 1:
      line += text::fmt_i(ival, 8);
      break;
    case 2:
      line += text::fmt_e(rval, 12, 4);
      break;
    case 3:
      line += text::fmt_i(ival, 8) + "and " + text::fmt_e(rval, 12, 4);
      break;
    default:
      break;
  }
  return cut(line);
}

void show_value(ModelStore& store, std::string_view text, int ival, float rval, int kind) {
  emit(store, value_line(text, ival, rval, kind));
}

void stop_box(ModelStore& store, std::string_view text, int stop) {
  std::string t = text::trim_right(text);
  if (stop != 0) throw StopError(t);
  store.ui->message_box(STOP_BOX_TITLE, t);
}

void stop_program(ModelStore&, std::string_view text) {
  throw StopError(text::trim_right(text));
}

void blank_text(std::string& text) {
  for (char& c : text) c = ' ';
}

void write_unit(ModelStore& store, int u, std::string_view line) {
  if (u == unit::SCREEN)
    store.ui->text_line(std::string(line));
  else
    store.files.write_line(u, line);
}

void write_out_sum(ModelStore& store, std::string_view line) {
  store.files.write_line(unit::OUT, line);
  store.files.write_line(unit::SUM, line);
}

namespace {

struct KindInfo {
  int unit;
  OpenStatus status;
};

// Unit and status of every kind; index = kind.
KindInfo kind_info(int kind, const std::string& pcr_code) {
  switch (kind) {
    case 1:
      return {unit::PCR, pcr_code.compare(0, 8, "starting") == 0 && pcr_code.size() >= 8
                             ? OpenStatus::ReadWrite
                             : OpenStatus::Old};
    case 2:
      return {unit::OUT, OpenStatus::Unknown};
    case 3:
      return {unit::SYM, OpenStatus::Unknown};
    case 4:
      return {unit::RPA, OpenStatus::Append};
    case 5:
      return {unit::DAT, OpenStatus::Old};
    case 6:
      return {unit::HKL_IN, OpenStatus::Old};
    case 7:
      return {unit::FOU, OpenStatus::Unknown};
    case 8:
      return {unit::HKL_OUT, OpenStatus::Unknown};
    case 9:
      return {unit::SAV, OpenStatus::Append};
    case 10:
      return {unit::HKL_PHASE, OpenStatus::Unknown};
    case 11:
      return {unit::PRF, OpenStatus::Unknown};
    case 12:
      return {unit::BAC, OpenStatus::Unknown};
    case 13:
      return {unit::RES, OpenStatus::Old};
    case 14:
      return {unit::SIM, OpenStatus::Unknown};
    case 15:
      return {unit::SCH, OpenStatus::Unknown};
    case 16:
      return {unit::NEW, OpenStatus::Unknown};
    case 17:
      return {unit::INP, OpenStatus::Unknown};
    case 18:
      return {unit::ATM, OpenStatus::Unknown};
    case 19:
      return {unit::SUB, OpenStatus::Unknown};
    case 20:
      return {unit::SHP, OpenStatus::Old};
    case 21:
      return {unit::COR, OpenStatus::Old};
    case 22:
      return {unit::INT, OpenStatus::Unknown};
    default:
      return {0, OpenStatus::Old};
  }
}

std::string upper_extension(const std::string& name) {
  size_t dot = name.rfind('.');
  std::string r = name;
  for (size_t i = dot + 1; i < r.size(); ++i)
    if (r[i] >= 'a' && r[i] <= 'z') r[i] = static_cast<char>(r[i] - 'a' + 'A');
  return r;
}

}  // namespace

std::vector<std::string> run_file_names(const ModelStore& store, int kind, int selector,
                                        int phase) {
  const std::string pcr = text::trim(store.run.PcrCode);
  const std::string dat = text::trim(store.run.DatFile);
  const std::string n = std::to_string(phase);
  switch (kind) {
    case 1:
      return {pcr + ".pcr"};
    case 2:
      return {pcr + ".out", pcr + ".sum"};
    case 3:
      return {pcr + ".sym"};
    case 4:
      return {pcr + ".rpa"};
    case 5:
      return {dat + ".dat", dat + ".uxd", dat + ".acq"};
    case 6:
      return {pcr + n + ".hkl", dat + ".int", "hkl" + n + ".hkl"};
    case 7:
      return {pcr + ".fou"};
    case 8:
      return {pcr + ".hkl"};
    case 9:
      return {pcr + ".sav"};
    case 10:
      return {store.HklSource == 0 ? pcr + n + ".hkl" : "hkl" + n + ".hkl"};
    case 11:
      return {pcr + ".prf"};
    case 12:
      return {dat + ".bac"};
    case 13:
      return {text::trim(store.job->settings.ResolutionFile)};
    case 14:
      return {pcr + ".sim"};
    case 15:
      return {pcr + n + ".sch"};
    case 16:
      return {pcr + ".new"};
    case 17:
      return {pcr + (selector != 0 ? ".inp" : ".ins")};
    case 18:
      return {pcr + n + ".atm"};
    case 19:
      return {pcr + n + ".sub"};
    case 20:
      return {pcr + ".shp", "global.shp"};
    case 21:
      return {pcr + ".cor", "cor.cor"};
    case 22:
      return {pcr + n + ".int"};
    default:
      return {};
  }
}

void open_run_file(ModelStore& store, int kind, int selector, int phase) {
  std::vector<std::string> names = run_file_names(store, kind, selector, phase);
  if (names.empty()) stop_box(store, " => Illegal option nopf:" + text::fmt_i(kind, 4), 1);
  KindInfo info = kind_info(kind, text::trim(store.run.PcrCode));
  auto fail_open = [&](const std::string& name, int u) {
    stop_box(store, " => Error opening file: " + name + " Unit:" + text::fmt_i(u, 2), 1);
  };
  auto try_open = [&](const std::string& name, int u, OpenStatus status) {
    store.CurrentFileName = name;
    store.CurrentUnit = u;
    return !name.empty() && store.files.open(u, name, status);
  };

  switch (kind) {
    case 2:
      if (!try_open(names[0], unit::OUT, OpenStatus::Unknown)) fail_open(names[0], unit::OUT);
      if (!try_open(names[1], unit::SUM, OpenStatus::Unknown)) fail_open(names[1], unit::SUM);
      return;
    case 5: {
      // Data files: .dat, .uxd, .acq; on a case-sensitive file system the same names with
      // upper-case extensions are accepted too.
      for (const std::string& name : names) {
        if (try_open(name, info.unit, info.status)) return;
        std::string upper = upper_extension(name);
        std::error_code ec;
        if (upper != name && std::filesystem::exists(upper, ec) &&
            try_open(upper, info.unit, info.status))
          return;
      }
      stop_box(store,
               " ==> Error opening file CODEFIL.DAT(UXD,ACQ) with CODEFIL=" +
                   text::trim(store.run.DatFile) + " Unit:" + text::fmt_i(info.unit, 2),
               1);
      return;
    }
    case 6:
      for (size_t i = 0; i < names.size(); ++i) {
        if (try_open(names[i], info.unit, info.status)) {
          store.HklSource = i == 0 ? 0 : 1;
          return;
        }
      }
      stop_box(store,
               " => Error opening a (hkl)-file: " + names[0] + "," + names[2] + "," + names[1] +
                   " Unit:" + text::fmt_i(info.unit, 2),
               1);
      return;
    case 20:
    case 21:
      for (const std::string& name : names)
        if (try_open(name, info.unit, info.status)) return;
      stop_box(store, " => Error opening file: " + names[1] + " Unit:" + text::fmt_i(info.unit, 2),
               1);
      return;
    default:
      if (!try_open(names[0], info.unit, info.status)) fail_open(names[0], info.unit);
      return;
  }
}

}  // namespace kestovar
