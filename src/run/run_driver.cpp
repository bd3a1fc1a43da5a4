#include "run/run_driver.h"

#include <cstdlib>
#include <exception>
#include <filesystem>

#include "controlfile/control_file.h"
#include "run/clock.h"
#include "run/job_stages.h"
#include "run/messages.h"
#include "run/model_store.h"
#include "run/stop.h"
#include "text/fortran_format.h"

namespace kestovar {

namespace {

const std::string kStars(56, '*');

std::string program_line() {
  const std::string inner = "PROGRAM KESTOVAR.99 : Version 0.3 (Apr99)";
  const size_t room = 56 - 4 - inner.size();
  return "**" + std::string(room / 2, ' ') + inner + std::string(room - room / 2, ' ') + "**";
}

bool file_exists(const std::string& name) {
  std::error_code ec;
  return std::filesystem::is_regular_file(name, ec);
}

std::string with_slash(std::string dir) {
  dir = text::trim(dir);
  if (!dir.empty() && dir.back() != '/') dir += '/';
  return dir;
}

// Finds the settings file: the current directory, else the directory in KESTOVAR.
void open_settings(ModelStore& store) {
  RunState& run = store.run;
  std::string path;
  bool read_first = false;
  if (file_exists("kestovar.dir")) {
    path = "kestovar.dir";
    read_first = true;
  } else {
    const char* env = std::getenv("KESTOVAR");
    std::string dir = env ? text::trim(env) : "";
    if (dir.empty()) return;
    path = with_slash(dir) + "kestovar.dir";
    read_first = file_exists(path);
    if (!read_first) {
      if (!store.files.open(unit::DIR, path, OpenStatus::ReadWrite)) return;
      store.files.close(unit::DIR);
    }
  }
  run.DirFileOpen = true;
  // Kept as an absolute path: choosing a file later changes the current directory.
  std::error_code ec;
  std::filesystem::path absolute = std::filesystem::absolute(path, ec);
  run.DirFilePath = ec ? path : absolute.string();
  if (read_first && store.files.open(unit::DIR, path, OpenStatus::Old)) {
    std::string line;
    if (store.files.read_line(unit::DIR, line)) run.WorkDir = with_slash(line);
    store.files.close(unit::DIR);
  }
}

void rewrite_settings(ModelStore& store) {
  if (!store.run.DirFileOpen) return;
  if (!store.files.open(unit::DIR, store.run.DirFilePath, OpenStatus::Unknown)) return;
  store.files.write_line(unit::DIR, text::trim(store.run.WorkDir));
  store.files.write_line(unit::DIR, text::trim(store.run.PcrCode));
  store.files.close(unit::DIR);
}

std::string code_of(const std::string& name) {
  size_t dot = name.find('.');
  return dot == std::string::npos ? name : name.substr(0, dot);
}

// Chooses the files through the dialogs; a cancelled dialog leaves the code unchanged.
void choose_by_dialog(ModelStore& store) {
  RunState& run = store.run;
  auto pcr = store.ui->open_file("Select input PCR file:", "PCR files", "*.PCR", run.WorkDir);
  if (!pcr) return;
  std::string name, dir;
  split_path(*pcr, name, dir);
  run.WorkDir = dir;
  run.PcrCode = code_of(name);
  std::error_code ec;
  // Every file of the job is named from the code: work in the chosen directory, and keep
  // it as an absolute directory for the next dialog and the settings file.
  if (!dir.empty()) {
    std::filesystem::current_path(dir, ec);
    if (!ec) run.WorkDir = with_slash(std::filesystem::current_path(ec).string());
  }
  for (const char* ext : {".dat", ".uxd", ".int"}) {
    if (file_exists(run.PcrCode + ext)) {
      run.DatFile = run.PcrCode;
      return;
    }
  }
  auto dat = store.ui->open_file("Select data file:", "Data files", "*.dat; *.uxd; *.int; *.acq",
                                 run.WorkDir);
  if (!dat) return;
  split_path(*dat, name, dir);
  run.DatFile = code_of(name);
  if (dir.empty()) return;
  // A data file outside the working directory keeps its directory in the code.
  const std::filesystem::path data_dir = std::filesystem::absolute(dir, ec);
  if (ec) return;
  run.WorkDir = with_slash(data_dir.string());
  if (!std::filesystem::equivalent(data_dir, std::filesystem::current_path(ec), ec))
    run.DatFile = run.WorkDir + run.DatFile;
}

}  // namespace

void split_path(const std::string& path, std::string& name, std::string& directory) {
  size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) {
    directory.clear();
    name = text::trim_right(path);
  } else {
    directory = path.substr(0, slash + 1);
    name = text::trim_right(path.substr(slash + 1));
  }
}

void codes_from_command_line(const std::string& command_line, std::string& pcr_code,
                             std::string& dat_file) {
  std::string line = text::trim(command_line);
  size_t blank = line.find(' ');
  pcr_code = blank == std::string::npos ? line : line.substr(0, blank);
  dat_file = blank == std::string::npos ? "" : text::trim(line.substr(blank + 1));
  // A code given with the extension of the control file names the same job.
  auto strip = [](std::string& code, const char* ext) {
    if (code.size() > 4) {
      std::string tail = code.substr(code.size() - 4);
      for (char& c : tail) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      if (tail == ext) code.resize(code.size() - 4);
    }
  };
  strip(pcr_code, ".pcr");
}

std::vector<std::string> window_banner() {
  return {"   " + kStars,
          "   " + program_line(),
          "   " + kStars,
          "      Rietveld, Profile Matching & Integrated Intensity",
          "           Refinement of X-ray and/or Neutron Data",
          "             (Single_Pattern: Windows-version)",
          ""};
}

std::vector<std::string> listing_banner() {
  return {"",
          "",
          "        " + kStars,
          "        " + program_line(),
          "        " + kStars,
          "           Rietveld, Profile Matching & Integrated Intensity",
          "                Refinement of X-ray and/or Neutron Data",
          "",
          ""};
}

void ask_continue(ModelStore& store) {
  const std::string title = "Kestovar Refinement";
  if (store.ui->question(title, "Continue with the same data?")) {
    store.run.ContinueAnswer = 's';
    return;
  }
  store.run.ContinueAnswer = store.ui->question(title, "Continue with other data?") ? 'a' : 'k';
}

void run_job(ModelStore& store) {
  RunState& run = store.run;
  cpu_clock(store, 1);
  open_run_file(store, 1);
  const std::string code = text::trim(run.PcrCode);
  if (code.size() > 7 && code.compare(code.size() - 8, 8, "starting") == 0) {
    initialise_model(store);
    write_starting_template(store);
    throw StopError(" Template File: 'starting.pcr' has been created", 0);
  }
  open_run_file(store, 2);
  for (const std::string& line : listing_banner()) write_out_sum(store, line);
  const DateTime start = date_time(store);
  write_out_sum(store, run.DateTimeText);
  write_out_sum(store, "");
  show_message(store, "");
  show_message(store, " => START Date:" + date_ddmmyyyy(start) + "  Time => " + time_hhmmss(start));
  write_out_sum(store, " => PCR file code: " + code);
  run.StopFlag = 0;
  initialise_model(store);
  read_control_file(store);
  run_refinement_stage(store);
  if (run.StopFlag == 0) write_final_output(store);
  cpu_clock(store, 2);
  const DateTime end = date_time(store);
  write_out_sum(store, "");
  write_out_sum(store, " => Run finished at: " + run.DateTimeText);
  show_message(store, "");
  show_message(store, " => END   Date:" + date_ddmmyyyy(end) + "  Time => " + time_hhmmss(end));
  store.files.close(unit::OUT);
  store.files.close(unit::SUM);
}

int run_program(ui::Ui& window, const std::vector<std::string>& args) {
  auto store_ptr = std::make_unique<ModelStore>(window);
  ModelStore& store = *store_ptr;
  RunState& run = store.run;
  store.MessageUnit = unit::SCREEN;
  for (size_t i = 0; i < args.size(); ++i) run.CommandLine += (i ? " " : "") + args[i];
  try {
    open_settings(store);
    window.open_main_window("Kestovar.99_Single_Pattern");
    bool first = true;
    for (;;) {
      if (first && !text::trim(run.CommandLine).empty())
        codes_from_command_line(run.CommandLine, run.PcrCode, run.DatFile);
      else
        choose_by_dialog(store);
      first = false;
      for (const std::string& line : window_banner()) show_message(store, line);
      const std::string code = text::trim(run.PcrCode);
      if (code == "cyc" || code == "CYC" || code == "Cyc") {
        run.CyclicMode = 1;
        run_cyclic_mode(store);
        break;
      }
      run.CyclicMode = 0;
      if (text::trim(run.DatFile).empty()) run.DatFile = run.PcrCode;
      while (run.ContinueAnswer == 's' || run.ContinueAnswer == 'S') {
        run_job(store);
        show_message(store, "");
        show_message(store, " => Files : " + run.PcrCode + text::trim(run.DatFile));
        ask_continue(store);
      }
      rewrite_settings(store);
      if (run.ContinueAnswer == 'a' || run.ContinueAnswer == 'A') {
        run.ContinueAnswer = 's';
        run.CommandLine.clear();
        continue;
      }
      break;
    }
    rewrite_settings(store);
    window.message_box(STOP_BOX_TITLE, " END");
    store.files.close_all();
    return 0;
  } catch (const StopError& stop) {
    if (stop.show_box()) window.message_box(STOP_BOX_TITLE, stop.text());
    store.files.close_all();
    return stop.exit_status();
  } catch (const std::exception& e) {
    // A failure of the run-time layer (memory, file system, a read the readers did not
    // guard) still ends with a box and a failure status rather than an abort.
    window.message_box(STOP_BOX_TITLE, std::string(" => Run-time error: ") + e.what());
    store.files.close_all();
    return 1;
  }
}

}  // namespace kestovar
