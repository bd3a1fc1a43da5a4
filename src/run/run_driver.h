// The top of the program: settings file, choice of the control and data files, the banner,
// the job loop with its end-of-job prompts, and one job in its order.
#pragma once

#include <string>
#include <vector>

#include "ui/ui.h"

namespace kestovar {

struct ModelStore;

// Runs the program on the command-line arguments; returns the exit status (0 after the
// normal end, non-zero after a fatal stop).
int run_program(ui::Ui& window, const std::vector<std::string>& args);

// Runs one job on PcrCode and DatFile.
void run_job(ModelStore& store);

// Shows the end-of-job questions and sets ContinueAnswer ('s', 'a' or 'k').
void ask_continue(ModelStore& store);

// Splits a path at its last '/': the directory keeps the '/', the name is the rest
// without trailing blanks.
void split_path(const std::string& path, std::string& name, std::string& directory);

// Splits the command-line text into the control-file code and the data-file code.
void codes_from_command_line(const std::string& command_line, std::string& pcr_code,
                             std::string& dat_file);

// The banner lines of the text window and of the listing files.
std::vector<std::string> window_banner();
std::vector<std::string> listing_banner();

}  // namespace kestovar
