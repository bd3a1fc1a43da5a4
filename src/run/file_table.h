// Open text files by unit number. Reading is by records (lines, with LF or CRLF ends)
// and can step back by one record.
#pragma once

#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <string_view>

namespace kestovar {

enum class OpenStatus {
  Old,       // must exist; opened for reading
  Unknown,   // created when missing, opened at its start; the first write replaces the
             // content from the current record on (records read before it stay)
  Append,    // created when missing, positioned at its end
  ReadWrite  // created when missing, opened for reading and writing at its start
};

class FileTable {
 public:
  FileTable();
  ~FileTable();
  FileTable(const FileTable&) = delete;
  FileTable& operator=(const FileTable&) = delete;

  // Opens `name` on `unit` (closing what the unit had). False when it cannot be opened.
  bool open(int unit, const std::string& name, OpenStatus status);
  bool is_open(int unit) const;
  void close(int unit);
  void close_all();
  const std::string& name(int unit) const;

  // Writes one record. A unit that is not open ignores the line.
  void write_line(int unit, std::string_view line);
  // Reads the next record into `line` (line end removed). False at end of file or when the
  // unit is not open for reading.
  bool read_line(int unit, std::string& line);
  // Steps back over the record read last.
  void backspace(int unit);
  // Goes back to the first record.
  void rewind(int unit);
  // Replaces the whole content of a file opened for reading and writing.
  void truncate_and_rewind(int unit);

 private:
  struct File;
  static void close_file(File& f);
  std::map<int, std::unique_ptr<File>> files_;
};

}  // namespace kestovar
