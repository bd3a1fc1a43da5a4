// kestovar CODE [DATACODE]: runs Rietveld jobs on CODE.pcr with the data of DATACODE.
#include <iostream>
#include <string>
#include <vector>

#include "run/run_driver.h"
#include "ui/console_ui.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (!args.empty() && (args[0] == "--help" || args[0] == "-h")) {
    std::cout << "Usage: kestovar [CODE [DATACODE]]\n"
                 "  Runs the job described by the control file CODE.pcr on the intensity data\n"
                 "  DATACODE.dat (or .uxd, .acq; DATACODE defaults to CODE). Listings go to\n"
                 "  CODE.out and CODE.sum. Without CODE the files are asked for on standard\n"
                 "  input. At the end of each job the program asks whether to run again; at\n"
                 "  end of input every question answers no.\n"
                 "Options:\n"
                 "  --help      this text\n"
                 "  --version   the program version\n";
    return 0;
  }
  if (!args.empty() && args[0] == "--version") {
    std::cout << "kestovar " << KESTOVAR_VERSION << "\n";
    return 0;
  }
  kestovar::ui::ConsoleUi window(std::cin, std::cout);
  return kestovar::run_program(window, args);
}
