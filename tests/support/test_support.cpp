#include "support/test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <random>
#include <regex>
#include <sstream>

namespace kestovar::test {

TempDir::TempDir() {
  previous_ = std::filesystem::current_path();
  std::random_device rd;
  auto base = std::filesystem::temp_directory_path();
  for (;;) {
    path_ = base / ("kestovar-test-" + std::to_string(rd()));
    if (std::filesystem::create_directory(path_)) break;
  }
  std::filesystem::current_path(path_);
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::current_path(previous_, ec);
  std::filesystem::remove_all(path_, ec);
}

void TempDir::write(const std::string& name, const std::string& content) const {
  std::ofstream f(path_ / name, std::ios::binary);
  f << content;
}

std::string TempDir::read(const std::string& name) const {
  return read_file(path_ / name);
}

std::string TempDir::read_file(const std::filesystem::path& path) {
  std::ifstream f(path, std::ios::binary);
  std::ostringstream s;
  s << f.rdbuf();
  return s.str();
}

std::string shared_data_dir() {
  std::error_code ec;
  if (std::filesystem::is_directory(KESTOVAR_SHARED_DATA, ec)) return KESTOVAR_SHARED_DATA;
  return "";
}

std::string mask_run_details(const std::string& listing) {
  static const std::regex date(R"(\d\d/\d\d/\d\d\d\d)");
  static const std::regex time(R"(\d\d:\d\d:\d\d\.\d\d\d)");
  static const std::regex seconds(R"((CPU Time:|      )( *\d+\.\d\d\d)( seconds| minutes))");
  std::string r = std::regex_replace(listing, date, "dd/mm/yyyy");
  r = std::regex_replace(r, time, "hh:mm:ss.sss");
  r = std::regex_replace(r, seconds, "$1     t.ttt$3");
  return r;
}

void expect_golden(const std::string& actual_raw, const std::string& relative) {
  const std::string actual = mask_run_details(actual_raw);
  const std::filesystem::path path = std::filesystem::path(KESTOVAR_TEST_DIR) / relative;
  const char* regen = std::getenv("KESTOVAR_REGENERATE");
  if (regen && std::string(regen) == "1") {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream f(path, std::ios::binary);
    f << actual;
    return;
  }
  std::ifstream f(path, std::ios::binary);
  ASSERT_TRUE(f) << "missing golden file " << path << " (run with KESTOVAR_REGENERATE=1)";
  std::ostringstream s;
  s << f.rdbuf();
  EXPECT_EQ(actual, s.str()) << "differs from golden file " << path;
}

}  // namespace kestovar::test
