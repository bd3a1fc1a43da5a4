// Settings of a job read from the control-file header: the job line, the output flags,
// the instrument and cycle lines, background points, excluded regions, user scattering
// entries, the global parameters with their codewords, corrections and numerical profile.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "controlfile/codeword.h"
#include "run/capacities.h"

namespace kestovar {

// A user scattering-factor entry (NSCAT lines).
struct ScatteringEntry {
  std::string label;     // up to 4 characters
  float v1 = 0, v2 = 0;  // the two reals of the entry line
  int kind = 0;
  int npoints = 0;                         // tabulated pairs (negative Nsc)
  std::array<float, N_FORM + 1> s{}, f{};  // sin(theta)/lambda and f, 1-based
  std::array<float, 10> coeff{};           // a1 b1 a2 b2 a3 b3 a4 b4 c (index 1..9)
  bool has_coefficients = false;
};

struct RunSettings {
  std::string Title = std::string(TITLE_LEN, ' ');

  // Job line.
  int Job = 0, Npr = 6, Nph = 1, Nba = 0, Nex = 0, Nsc = 0, Nor = 0, Dum = 0, Iwg = 0, Ilo = 0,
      Ias = 0, Res = 0, Ste = 0, Nre = 0, Cry = 0, Uni = 0, Cor = 0;
  int NbaSign = 1;         // -1 when the file value of Nba was negative
  int AsyMode = 0;         // 1: second asymmetry correction (negative Nph)
  float DumFactor = 0.0f;  // 1.0 when Dum is 3

  // Output-flag line.
  int Ipr = 0, Ppl = 0, Ioc = 1, Mat = 0, Pcr = 1, Ls1 = 0, Ls2 = 0, Ls3 = 0, Syo = 1, Prf = 1,
      Ins = 0, Rpa = 0, Sym = 0, Hkl = 0, Fou = 0, Sho = 0, Ana = 0;

  // Instrument line.
  float Lambda1 = 0, Lambda2 = 0, Ratio = 0, Bkpos = 0, Wdt = 0, Cthm = 0, muR = 0, AsyLim = 0,
        Rpolarz = 0;
  int RatioNegative = 0;
  int Iabscor = 2;

  // Cycle line.
  int NCY = 1;
  float Eps = 0.2f, R_at = 1.0f, R_an = 1.0f, R_pr = 1.0f, R_gl = 1.0f;
  float Thmin = 0, Step = 0, Thmax = 0, PSD = 0, Sent0 = 0;

  // Number of refined parameters.
  int NPAR = 0;

  // Resolution file named in the control file.
  std::string ResolutionFile;

  // Background points and excluded regions (1-based).
  std::array<float, IBACP + 1> BackPos{}, BackInt{};
  std::array<float, IEXCL + 1> ExclLow{}, ExclHigh{};

  // User scattering entries (1-based).
  std::array<ScatteringEntry, N_SPE + 1> Scatter{};

  // Global parameters and their codewords (slots 1..40).
  std::array<ParamSlot, NGL + 1> Global{};
  int More = 0;
  float FourierWindow = 0;

  // Intensity corrections.
  int CorKind = 1, CorFunc = 1, NCor = 0;
  std::vector<float> CorA = std::vector<float>(NPRC + 1, 1.0f);
  std::vector<float> CorB = std::vector<float>(NPRC + 1, 1.0f);

  // Numerical profile (file Npr = 8): NpNum abscissas, NtNum positions, values and slopes.
  int NpNum = 0, NtNum = 0;
  std::array<float, NPR + 1> NumX{};
  std::array<float, INPR + 1> NumT{};
  std::vector<float> NumG =
      std::vector<float>((NPR + 1) * (INPR + 1), 0.0f);  // (i, j) at i*(INPR+1)+j
  std::vector<float> NumD = std::vector<float>((NPR + 1) * (INPR + 1), 0.0f);

  // Starting-configuration search line.
  int Nconfg = 0, Nsolu = 0, Num_Ref = 0, Nscalef = 0;

  // Set by the phase reader: some phase observes integrated intensities (|Irf| 4); some
  // phase has distance or moment restraints.
  int IntegratedIntensities = 0;
  int HasRestraints = 0;

  // Last optional lines, read by the final output.
  int Iscale = 100, Idif = 100;
  float Th1 = 0, Th2 = 0;

  // The control-file writer writes its "!" label lines.
  int WriteComments = 1;
};

}  // namespace kestovar
