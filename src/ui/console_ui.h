// Console backend of the windowing layer: the text window is standard output,
// questions and dialogs read standard input. At end of input every question
// answers "no", every dialog is cancelled and message boxes return at once, so
// batch runs never wait. Plot windows are rendered as SVG files.
#pragma once

#include <iosfwd>
#include <string>

#include "ui/ui.h"

namespace kestovar::ui {

class ConsoleUi : public Ui {
 public:
  ConsoleUi(std::istream& in, std::ostream& out, std::string plot_file = "kestovar_plot.svg");
  void text_line(const std::string& line) override;
  std::optional<std::string> read_line() override;
  bool question(const std::string& title, const std::string& text) override;
  void message_box(const std::string& title, const std::string& text) override;
  std::optional<std::string> open_file(const std::string& title, const std::string& filter_name,
                                       const std::string& pattern,
                                       const std::string& start_dir) override;
  void show_plot(const Drawing& drawing) override;

 private:
  std::istream& in_;
  std::ostream& out_;
  std::string plot_file_;
  bool at_end_ = false;
};

// A backend that records everything and answers from a script; used by tests.
class RecordingUi : public Ui {
 public:
  std::vector<std::string> lines;           // text-window lines
  std::vector<std::string> boxes;           // "title|text" of every message box
  std::vector<std::string> questions;       // "title|text" of every question
  std::vector<bool> answers;                // answers given to questions, in order
  std::vector<std::string> dialog_results;  // paths returned by open_file, in order ("" cancels)
  std::vector<std::string> typed;           // lines returned by read_line
  std::vector<Drawing> plots;
  std::string main_title;  // title of the main window

  void open_main_window(const std::string& title) override { main_title = title; }
  void text_line(const std::string& line) override { lines.push_back(line); }
  std::optional<std::string> read_line() override;
  bool question(const std::string& title, const std::string& text) override;
  void message_box(const std::string& title, const std::string& text) override {
    boxes.push_back(title + "|" + text);
  }
  std::optional<std::string> open_file(const std::string& title, const std::string& filter_name,
                                       const std::string& pattern,
                                       const std::string& start_dir) override;
  void show_plot(const Drawing& drawing) override { plots.push_back(drawing); }

 private:
  size_t next_answer_ = 0, next_dialog_ = 0, next_typed_ = 0;
};

// Writes the recorded drawing as an SVG document.
void write_svg(const Drawing& drawing, std::ostream& out);

}  // namespace kestovar::ui
