// Helpers for the tests: a model store with a recording window, and a scratch directory.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "run/model_store.h"
#include "ui/console_ui.h"

namespace kestovar::test {

// A model store whose window records every line, box and question.
struct TestStore {
  ui::RecordingUi window;
  std::unique_ptr<ModelStore> store = std::make_unique<ModelStore>(window);
  ModelStore& operator*() { return *store; }
  ModelStore* operator->() { return store.get(); }
};

// Creates a fresh scratch directory and makes it the current directory for its lifetime.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  const std::filesystem::path& path() const { return path_; }
  // Writes a text file in the directory (relative name) with the given content.
  void write(const std::string& name, const std::string& content) const;
  // Reads a whole file of the directory.
  std::string read(const std::string& name) const;
  // Reads a whole file anywhere.
  static std::string read_file(const std::filesystem::path& path);

 private:
  std::filesystem::path path_;
  std::filesystem::path previous_;
};

// Directory of the public data set, or "" when it is absent.
std::string shared_data_dir();

// Replaces the varying parts of a listing (dates, times, elapsed seconds) by fixed marks.
std::string mask_run_details(const std::string& listing);

// Compares `actual` with the golden file tests/<relative> (after masking run details).
// With KESTOVAR_REGENERATE=1 in the environment the golden file is rewritten instead.
void expect_golden(const std::string& actual, const std::string& relative);

}  // namespace kestovar::test
