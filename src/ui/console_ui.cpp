#include "ui/console_ui.h"

#include <algorithm>
#include <fstream>
#include <iomanip>
#include <istream>
#include <ostream>

namespace kestovar::ui {

ConsoleUi::ConsoleUi(std::istream& in, std::ostream& out, std::string plot_file)
    : in_(in), out_(out), plot_file_(std::move(plot_file)) {}

void ConsoleUi::text_line(const std::string& line) {
  out_ << line << '\n' << std::flush;
}

std::optional<std::string> ConsoleUi::read_line() {
  if (at_end_) return std::nullopt;
  std::string line;
  if (!std::getline(in_, line)) {
    at_end_ = true;
    return std::nullopt;
  }
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

bool ConsoleUi::question(const std::string& title, const std::string& text) {
  out_ << "[" << title << "] " << text << " (y/n) " << std::flush;
  auto answer = read_line();
  if (!answer) {
    out_ << "n\n";
    return false;
  }
  size_t i = answer->find_first_not_of(" \t");
  return i != std::string::npos && ((*answer)[i] == 'y' || (*answer)[i] == 'Y');
}

void ConsoleUi::message_box(const std::string& title, const std::string& text) {
  out_ << "[" << title << "] " << text << '\n' << std::flush;
}

std::optional<std::string> ConsoleUi::open_file(const std::string& title,
                                                const std::string& filter_name,
                                                const std::string& pattern,
                                                const std::string& start_dir) {
  out_ << "[" << title << "] " << filter_name << " (" << pattern << ") in "
       << (start_dir.empty() ? std::string("./") : start_dir) << ": " << std::flush;
  auto path = read_line();
  if (!path) out_ << '\n';
  if (!path || path->find_first_not_of(" \t") == std::string::npos) return std::nullopt;
  size_t a = path->find_first_not_of(" \t"), b = path->find_last_not_of(" \t");
  return path->substr(a, b - a + 1);
}

void ConsoleUi::show_plot(const Drawing& drawing) {
  std::ofstream f(plot_file_);
  if (f) write_svg(drawing, f);
}

std::optional<std::string> RecordingUi::read_line() {
  if (next_typed_ >= typed.size()) return std::nullopt;
  return typed[next_typed_++];
}

bool RecordingUi::question(const std::string& title, const std::string& text) {
  questions.push_back(title + "|" + text);
  return next_answer_ < answers.size() ? answers[next_answer_++] : false;
}

std::optional<std::string> RecordingUi::open_file(const std::string& title, const std::string&,
                                                  const std::string&, const std::string&) {
  boxes.push_back("dialog|" + title);
  if (next_dialog_ >= dialog_results.size()) return std::nullopt;
  const std::string& r = dialog_results[next_dialog_++];
  if (r.empty()) return std::nullopt;
  return r;
}

namespace {
std::string xml_escape(const std::string& s) {
  std::string r;
  for (char c : s) {
    switch (c) {
      case '&':
        r += "&amp;";
        break;
      case '<':
        r += "&lt;";
        break;
      case '>':
        r += "&gt;";
        break;
      case '"':
        r += "&quot;";
        break;
      default:
        r += c;
    }
  }
  return r;
}
}  // namespace

void write_svg(const Drawing& d, std::ostream& out) {
  const double width = 1000, height = 700;
  double dx = d.x_max - d.x_min, dy = d.y_max - d.y_min;
  if (dx == 0) dx = 1;
  if (dy == 0) dy = 1;
  auto X = [&](double x) { return (x - d.x_min) / dx * width; };
  auto Y = [&](double y) { return height - (y - d.y_min) / dy * height; };
  out << std::fixed << std::setprecision(2);
  out << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << width << "\" height=\"" << height
      << "\" viewBox=\"0 0 " << width << ' ' << height << "\">\n";
  out << "<title>" << xml_escape(d.title) << "</title>\n";
  out << "<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n";
  std::string pen = "black", brush = "none";
  double pen_width = 1, font_size = 12;
  std::string font = "monospace";
  for (const DrawOp& op : d.ops) {
    switch (op.kind) {
      case DrawOp::Kind::Pen:
        pen = op.text;
        if (op.size > 0) pen_width = op.size;
        break;
      case DrawOp::Kind::Brush:
        brush = op.text;
        break;
      case DrawOp::Kind::Font:
        font = op.text;
        if (op.size > 0) font_size = op.size;
        break;
      case DrawOp::Kind::Clear:
        break;
      case DrawOp::Kind::Line:
      case DrawOp::Kind::Polyline:
        if (op.xy.size() >= 4) {
          out << "<polyline fill=\"none\" stroke=\"" << pen << "\" stroke-width=\"" << pen_width
              << "\" points=\"";
          for (size_t i = 0; i + 1 < op.xy.size(); i += 2)
            out << X(op.xy[i]) << ',' << Y(op.xy[i + 1]) << ' ';
          out << "\"/>\n";
        }
        break;
      case DrawOp::Kind::Circle:
        if (op.xy.size() >= 3)
          out << "<circle cx=\"" << X(op.xy[0]) << "\" cy=\"" << Y(op.xy[1]) << "\" r=\""
              << op.xy[2] << "\" stroke=\"" << pen << "\" fill=\"" << brush << "\"/>\n";
        break;
      case DrawOp::Kind::Rectangle:
        if (op.xy.size() >= 4) {
          double x0 = std::min(X(op.xy[0]), X(op.xy[2])), x1 = std::max(X(op.xy[0]), X(op.xy[2]));
          double y0 = std::min(Y(op.xy[1]), Y(op.xy[3])), y1 = std::max(Y(op.xy[1]), Y(op.xy[3]));
          out << "<rect x=\"" << x0 << "\" y=\"" << y0 << "\" width=\"" << x1 - x0 << "\" height=\""
              << y1 - y0 << "\" stroke=\"" << pen << "\" fill=\"" << brush << "\"/>\n";
        }
        break;
      case DrawOp::Kind::Text:
        if (op.xy.size() >= 2)
          out << "<text x=\"" << X(op.xy[0]) << "\" y=\"" << Y(op.xy[1]) << "\" font-family=\""
              << xml_escape(font) << "\" font-size=\"" << font_size << "\" fill=\"" << pen << "\">"
              << xml_escape(op.text) << "</text>\n";
        break;
    }
  }
  out << "</svg>\n";
}

}  // namespace kestovar::ui
