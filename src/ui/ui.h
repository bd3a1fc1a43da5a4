// The windowing layer as the program sees it: a scrolling text window, a line input,
// question boxes, message boxes, file-open dialogs and plot windows with a recorded
// drawing. The console backend (console_ui.h) is the default.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kestovar::ui {

// One recorded drawing operation of a plot window, in user coordinates.
struct DrawOp {
  enum class Kind { Line, Polyline, Circle, Rectangle, Text, Pen, Brush, Font, Clear };
  Kind kind = Kind::Line;
  std::vector<double> xy;  // coordinates (pairs), or centre and radius, or corners
  std::string text;        // text, or the colour / font name
  double size = 0;         // line width, font size
};

struct Drawing {
  std::string title;
  double x_min = 0, x_max = 1, y_min = 0, y_max = 1;  // user coordinate window
  std::vector<DrawOp> ops;
};

class Ui {
 public:
  virtual ~Ui() = default;
  // Creates the main window with its scrolling text area; a console has nothing to create.
  virtual void open_main_window(const std::string& title) { (void)title; }
  // Appends one line to the scrolling text window.
  virtual void text_line(const std::string& line) = 0;
  // Reads one line typed by the user; nothing at end of input.
  virtual std::optional<std::string> read_line() = 0;
  // Question box with the answers yes and no; true for yes.
  virtual bool question(const std::string& title, const std::string& text) = 0;
  // Modal message box with one button.
  virtual void message_box(const std::string& title, const std::string& text) = 0;
  // File-open dialog; the chosen path, or nothing when cancelled.
  virtual std::optional<std::string> open_file(const std::string& title,
                                               const std::string& filter_name,
                                               const std::string& pattern,
                                               const std::string& start_dir) = 0;
  // Shows (or replaces) the content of a plot window.
  virtual void show_plot(const Drawing& drawing) = 0;
};

}  // namespace kestovar::ui
