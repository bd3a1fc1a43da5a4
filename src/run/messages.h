// Messages for the user, stop boxes, and opening the files of a job by kind.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kestovar {

struct ModelStore;

inline constexpr const char* STOP_BOX_TITLE = "Stop/Warning Box";

// Writes one message line to the text window (or to MessageUnit): an empty text becomes two
// blanks; a text whose first or second character is not "=" gets " =>" in front.
void show_message(ModelStore& store, std::string_view text);
// Builds the message line of show_value: a prefix, the trimmed text and the values
// (kind 1: ival as I8; 2: rval as E12.4; 3: ival as I8, "and ", rval as E12.4).
std::string value_line(std::string_view text, int ival, float rval, int kind);
void show_value(ModelStore& store, std::string_view text, int ival, float rval, int kind);
// Shows the modal stop box; stop != 0 ends the job (throws StopError with the trimmed text).
void stop_box(ModelStore& store, std::string_view text, int stop);
[[noreturn]] void stop_program(ModelStore& store, std::string_view text);
// Blanks every character of text.
void blank_text(std::string& text);

// Writes a record to a unit: 6 is the text window, other units are files.
void write_unit(ModelStore& store, int unit, std::string_view line);
// Writes the same record to the output listing (7) and the summary (8).
void write_out_sum(ModelStore& store, std::string_view line);

// Opens the file of `kind` (1..22) on its unit; stops the job when it cannot be opened.
void open_run_file(ModelStore& store, int kind, int selector = 1, int phase = 1);

// Unit numbers of the files that the program opens by kind.
namespace unit {
inline constexpr int PCR = 1, RPA = 2, SYM = 3, DAT = 4, OUT = 7, SUM = 8, FOU = 9, HKL_OUT = 10,
                     SAV = 11, BAC = 12, RES = 13, SIM = 14, HKL_IN = 15, HKL_PHASE = 16, PRF = 17,
                     SCH = 18, NEW = 19, INP = 21, ATM = 22, SUB = 23, SHP = 24, COR = 25, INT = 26,
                     SOL = 50, DIR = 33, LOG = 34, SCREEN = 6;
}

// The file names tried for a kind, in order (empty for an illegal kind).
std::vector<std::string> run_file_names(const ModelStore& store, int kind, int selector, int phase);

}  // namespace kestovar
