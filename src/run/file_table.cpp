#include "run/file_table.h"

#include <filesystem>

#include "text/fortran_format.h"

namespace kestovar {

struct FileTable::File {
  std::fstream stream;
  std::string name;
  OpenStatus status = OpenStatus::Old;
  std::streampos last_record = -1;
  bool replace_on_write = false;  // "unknown": the first write cuts the file at its position
  bool read_any = false;          // a record has been read since the file was opened
};

// An "unknown" file that was neither read nor written is left empty, as an output file
// opened for writing would be.
void FileTable::close_file(File& f) {
  f.stream.close();
  if (f.status == OpenStatus::Unknown && f.replace_on_write && !f.read_any) {
    std::error_code ec;
    std::filesystem::resize_file(f.name, 0, ec);
  }
}

FileTable::FileTable() = default;
FileTable::~FileTable() {
  close_all();
}

bool FileTable::open(int unit, const std::string& name, OpenStatus status) {
  close(unit);
  auto f = std::make_unique<File>();
  f->name = name;
  f->status = status;
  std::error_code ec;
  if (std::filesystem::is_directory(name, ec)) return false;
  switch (status) {
    case OpenStatus::Old:
      f->stream.open(name, std::ios::in | std::ios::binary);
      break;
    case OpenStatus::Unknown:
      // Opened without losing the content, so that an existing file can still be read;
      // writing replaces it (write_line).
      if (!std::filesystem::exists(name, ec)) {
        std::ofstream create(name, std::ios::binary);
      }
      f->stream.open(name, std::ios::in | std::ios::out | std::ios::binary);
      f->replace_on_write = true;
      break;
    case OpenStatus::Append:
      f->stream.open(name, std::ios::out | std::ios::app | std::ios::binary);
      break;
    case OpenStatus::ReadWrite:
      if (!std::filesystem::exists(name, ec)) {
        std::ofstream create(name, std::ios::binary);
      }
      f->stream.open(name, std::ios::in | std::ios::out | std::ios::binary);
      break;
  }
  if (!f->stream.is_open()) return false;
  files_[unit] = std::move(f);
  return true;
}

bool FileTable::is_open(int unit) const {
  return files_.count(unit) != 0;
}

void FileTable::close(int unit) {
  auto it = files_.find(unit);
  if (it == files_.end()) return;
  close_file(*it->second);
  files_.erase(it);
}

void FileTable::close_all() {
  for (auto& [unit, f] : files_) close_file(*f);
  files_.clear();
}

const std::string& FileTable::name(int unit) const {
  static const std::string none;
  auto it = files_.find(unit);
  return it == files_.end() ? none : it->second->name;
}

void FileTable::write_line(int unit, std::string_view line) {
  auto it = files_.find(unit);
  if (it == files_.end()) return;
  File& f = *it->second;
  auto& s = f.stream;
  s.clear();
  if (f.replace_on_write) {
    // The records after the current position are dropped, as a sequential write does.
    f.replace_on_write = false;
    std::streampos here = s.tellg();
    if (here < 0) here = 0;
    s.close();
    std::error_code ec;
    std::filesystem::resize_file(f.name, static_cast<std::uintmax_t>(here), ec);
    s.open(f.name, std::ios::in | std::ios::out | std::ios::binary);
    s.seekp(here);
    s.seekg(here);
    f.last_record = -1;
  }
  s.write(line.data(), static_cast<std::streamsize>(line.size()));
  s.put('\n');
  s.flush();
}

bool FileTable::read_line(int unit, std::string& line) {
  auto it = files_.find(unit);
  if (it == files_.end()) return false;
  auto& s = it->second->stream;
  std::streampos here = s.tellg();
  if (!text::get_line(s, line)) return false;
  it->second->last_record = here;
  it->second->read_any = true;
  return true;
}

void FileTable::backspace(int unit) {
  auto it = files_.find(unit);
  if (it == files_.end() || it->second->last_record < 0) return;
  auto& s = it->second->stream;
  s.clear();
  s.seekg(it->second->last_record);
  it->second->last_record = -1;
}

void FileTable::rewind(int unit) {
  auto it = files_.find(unit);
  if (it == files_.end()) return;
  auto& s = it->second->stream;
  s.clear();
  s.seekg(0);
  s.seekp(0);
  it->second->last_record = -1;
  if (it->second->status == OpenStatus::Unknown) it->second->replace_on_write = true;
}

void FileTable::truncate_and_rewind(int unit) {
  auto it = files_.find(unit);
  if (it == files_.end()) return;
  File& f = *it->second;
  f.stream.close();
  f.stream.open(f.name, std::ios::in | std::ios::out | std::ios::trunc | std::ios::binary);
  f.last_record = -1;
  f.replace_on_write = false;
}

}  // namespace kestovar
