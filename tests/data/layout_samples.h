// Small data files of every layout, used by the layout tests and by the robustness loop
// over their truncations.
#pragma once

#include <string>
#include <vector>

#include "data_reader_support.h"

namespace kestovar::test {

using text::Item;

inline Item R(double v) {
  return v;
}
inline Item I(long long v) {
  return v;
}
inline Item S(const char* s) {
  return std::string(s);
}

// Ins 0: two comment lines, a range too short to use, the range 10.0 0.05 20.0 and 201 counts.
inline std::string sample_ins0() {
  std::string d = "PbSO4 test pattern\nsecond comment 12\n10.0 0.05 10.1\n10.0 0.05 20.0\n";
  for (int i = 1; i <= 201; ++i) d += std::to_string(100 + i) + (i % 7 == 0 ? "\n" : " ");
  return d + "\n";
}

// Ins 1: range 10 1 12, three (counter, count) pairs, the first with counter 0 and count 0.
inline std::string sample_ins1() {
  return " 10.0 1.0 12.0\n 0     0 2   100 1    50\n";
}

// Ins 2: five heading lines and 40 data lines; the angle is 5 degrees and count i is 1000 + i.
inline std::string sample_ins2() {
  std::string d = "12-DEC-90\nSample title\n17 4321\nmore one\nmore two\n";
  std::vector<Item> first{R(5.0)};
  for (int k = 1; k <= 10; ++k) first.push_back(R(1000 + k));
  d += lines("(F7.3,10F6.0)", first);
  for (int l = 1; l < 40; ++l) {
    std::vector<Item> v;
    for (int k = 1; k <= 10; ++k) v.push_back(R(1000 + 10 * l + k));
    d += lines("(F7.0,9F6.0)", v);
  }
  return d;
}

// Ins 3: multicounter layout with 25 points on three lines; Iset 3.
inline std::string sample_ins3() {
  std::string d = lines("(I5)", {I(2)});
  d += lines("(A18,1X,A10,1X,A72)", {S("D20 multicounter"), S("01-JAN-99"), S("Test sample")});
  d += lines("(I3,1X,I6,1X,I4)", {I(1), I(54321), I(7)});
  d += lines("(F13.0,F9.0,1X,10(F8.3,1X))",
             {R(1), R(2), R(5.0), R(4), R(5), R(6), R(7), R(8), R(0.1), R(10), R(11), R(1.5)});
  d +=
      lines("(I4,1X,5(F9.3,1X),29X,I6,3X,I6)", {I(25), R(1), R(2), R(3), R(4), R(5), I(11), I(12)});
  std::vector<Item> v;
  for (int i = 1; i <= 30; ++i) {
    v.push_back(I(i == 2 ? 0 : 2));
    v.push_back(R(i == 3 ? 0 : 100 * i));
  }
  d += lines("(10(I2,F8.0))", v);
  return d + lines("(I10)", {I(3)});
}

// Ins 4: range 10 1 14 (five points), one block of counts and sigmas.
inline std::string sample_ins4() {
  return "10 1 14\n" + lines("(10F8.0)", {R(100), R(0), R(50), R(60), R(70)}) +
         lines("(10F8.1)", {R(10), R(5), R(0), R(6), R(7)});
}

// Ins -4: two OCT85 sets, 0..2 and 2..4 by 1; every point 1000 counts, monitor 1100.
inline std::string sample_ins_minus4() {
  std::string d = "OCT85Test of dated sets\n" + lines("(I8,F8.0,F10.0)", {I(2), R(1000), R(2e-6)});
  d += lines("(6F8.0)", {R(0), R(1), R(2), R(10), R(100), R(0)});
  for (int k = 0; k < 3; ++k) d += lines("(24X,F7.0,1X,F7.0)", {R(1000), R(1100)});
  d += lines("(6F8.0)", {R(2), R(1), R(4), R(10), R(100), R(0)});
  for (int k = 0; k < 2; ++k) d += lines("(24X,F7.0,1X,F7.0)", {R(1000), R(1100)});
  return d;
}

// Ins 5: four points from 20 by 0.5, monitors 2000 and 1000, sigma flag `sigmas`.
inline std::string sample_ins5(int sigmas = 0) {
  std::string d = "head one\nhead two\nhead three\n";
  d += lines("(I6,1X,2F10.3,I5,2F10.1)", {I(4), R(10), R(12), I(sigmas), R(2000), R(1000)});
  d += lines("(3F10.4)", {R(20), R(0.5), R(21.5)});
  d += sigmas == 0 ? "10 20 30 40\n" : "10 0 30 40\n1 2 0 4\n";
  return d;
}

// Ins 6: step 0.05 from 10, monitors 2000/1000, three full lines and the -1000 marker.
inline std::string sample_ins6() {
  std::string d =
      "Summed D1A data\n" + std::string(16, ' ') + "   0.050\n  10.000\n  2000.  1000.\n";
  std::vector<Item> v;
  for (int i = 1; i <= 30; ++i) {
    v.push_back(I(i == 1 ? 2 : 1));
    v.push_back(R(10 * i));
  }
  d += lines("(10(I2,F6.0))", v);
  return d + lines("(10(I2,F6.0))", {I(0), R(-1000)});
}

// Ins 7: three triplets with irregular abscissas.
inline std::string sample_ins7() {
  return lines("(I5,1X,F5.0,1X,A72)", {I(3), R(4), S("D4 sample")}) +
         lines("(5(F7.2,1X,F8.1,1X,F5.1))",
               {R(1.0), R(100), R(10), R(1.5), R(200), R(20), R(2.5), R(0), R(2)});
}

// Ins 8: range 10 0.5 12 (five points), counts and sigmas.
inline std::string sample_ins8() {
  return "DMC head one\nDMC head two\n10 0.5 12\n" +
         lines("(10F8.0)", {R(100), R(200), R(300), R(400), R(0)}) +
         lines("(10F8.0)", {R(10), R(20), R(30), R(40), R(1)});
}

// Ins 9: an export file with its keys and ten counts (the last line unreadable).
inline std::string sample_ins9() {
  return "; Export of a scan\n"
         "; FILE1.RAW  exported\n"
         "_FILEVERSION=1\n"
         "_SAMPLE='Quartz standard'\n"
         "_DATEMEASURED='12-Mar-2001 10:00:00'\n"
         "_DRIVE='COUPLED'\n"
         "_STEPMODE=C\n"
         "_STEPTIME=1.0\n"
         "_STEPSIZE=0.020\n"
         "_STEPCOUNT=10\n"
         "_2THETA=10.000\n"
         "_KV=40\n"
         "_MA=30\n"
         "_ANODE=Cu\n"
         "_WL1=1.54056\n"
         "_TEMPERATURE=25\n"
         "; RANGE 1\n"
         "_COUNTS\n" +
         lines("(8F8.0)", {R(10), R(20), R(0), R(40), R(50), R(60), R(70), R(80)}) + "   junk!\n";
}

// Ins 10 without heading: six comment lines, three points, then the zero line.
inline std::string sample_ins10() {
  return "c1\nc2\nc3\nc4\nc5\nc6\n10.0 100 0\n! a comment line\n10.1 200 0\n10.3 300 0\n"
         "0 0 0\n11.0 400 0\n";
}

// Ins 10 with an XYDATA heading and an INTER line: y = 100 + 10x and sigma 0.5 on 0..1 by 0.1,
// resampled to the step 0.05.
inline std::string sample_ins10_inter() {
  std::string d = "XYDATA\nINTER 1.0 1.0 1 0.05\nTEMP 77.5\nh4\nh5\nh6\n";
  for (int i = 0; i <= 10; ++i)
    d += text::fmt_f(0.1 * i, 6, 2) + text::fmt_f(100 + i, 8, 1) + "  0.5\n";
  return d;
}

// Ins 11: four heading lines, range 10 1 12, times 1, 2, 3.
inline std::string sample_ins11() {
  return "h1\nh2\nh3\nh4\n10 1 12\n" +
         lines("(5(F6.0,F10.0))", {R(1), R(100), R(2), R(100), R(3), R(300)});
}

// Ins 12: a GSAS STD file, start 1000 and step 5 centidegrees, 12 channels.
inline std::string sample_ins12() {
  std::string d = "GSAS test title\nBANK 1 12 2 CONST 1000 5 0 0 STD\n";
  std::vector<Item> v;
  for (int i = 1; i <= 20; ++i) {
    v.push_back(I(i == 2 ? 2 : 0));
    v.push_back(R(i == 1 ? 0 : 100 + i));
  }
  return d + lines("(10(I2,F6.0))", v);
}

struct LayoutSample {
  int ins;
  std::string content;
};

inline std::vector<LayoutSample> all_samples() {
  return {
      {0, sample_ins0()},   {1, sample_ins1()},         {2, sample_ins2()},   {3, sample_ins3()},
      {4, sample_ins4()},   {-4, sample_ins_minus4()},  {5, sample_ins5(0)},  {5, sample_ins5(1)},
      {6, sample_ins6()},   {7, sample_ins7()},         {8, sample_ins8()},   {9, sample_ins9()},
      {10, sample_ins10()}, {10, sample_ins10_inter()}, {11, sample_ins11()}, {12, sample_ins12()}};
}

}  // namespace kestovar::test
