// The one exception type for fatal conditions. It carries the text of the stop box;
// only the run driver catches it, shows the box and ends the program.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace kestovar {

class StopError : public std::runtime_error {
 public:
  // exit_status 0 marks a stop that ends the program normally (the template box);
  // every failure carries a non-zero status. show_box false ends without a box.
  explicit StopError(std::string text, int exit_status = 1, bool show_box = true)
      : std::runtime_error(text),
        text_(std::move(text)),
        exit_status_(exit_status),
        show_box_(show_box) {}
  const std::string& text() const { return text_; }
  int exit_status() const { return exit_status_; }
  bool show_box() const { return show_box_; }

 private:
  std::string text_;
  int exit_status_;
  bool show_box_;
};

// Ends the job with the given stop-box text. Callers show their messages first.
[[noreturn]] inline void fail(std::string_view text) {
  throw StopError(std::string(text));
}

}  // namespace kestovar
