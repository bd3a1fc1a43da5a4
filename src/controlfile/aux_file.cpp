#include "controlfile/aux_file.h"

#include "run/messages.h"
#include "run/model_store.h"
#include "run/stop.h"

namespace kestovar {

bool AuxFile::next(std::string& record) {
  if (!store.files.read_line(unit, record)) return false;
  ++line;
  return true;
}

void AuxFile::fail_at_line() {
  fail("read error at line ");
}

void AuxFile::fail_at_end() {
  fail("end of file after line ");
}

void AuxFile::fail(const std::string& what) {
  show_message(store, label + store.files.name(unit) + ": " + what + std::to_string(line));
  store.files.close(unit);
  stop_program(store, stop_text);
}

}  // namespace kestovar
