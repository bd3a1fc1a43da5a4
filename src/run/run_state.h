// Run-wide values that survive from job to job.
#pragma once

#include <string>

namespace kestovar {

struct RunState {
  std::string PcrCode;       // control-file code: name without directory and extension
  std::string DatFile;       // intensity-data code
  std::string WorkDir;       // directory of the last chosen file, ends in '/'
  std::string CommandLine;   // the command-line arguments
  bool DirFileOpen = false;  // the settings file is kept and rewritten at the end
  std::string DirFilePath;   // where the settings file is
  int CyclicMode = 0;
  char ContinueAnswer = 's';
  int StopFlag = 0;
  std::string DateTimeText = std::string(70, ' ');
  long long ClockStart = 0, ClockRate = 1;
  int StartDay = 0;
  int StartDate = 0;  // yyyymmdd taken at job start, for the day count across months
};

}  // namespace kestovar
