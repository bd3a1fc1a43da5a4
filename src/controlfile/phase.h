// A phase and the atoms of all phases. Parameter slots are 1-based: phase slots 1..MPAR,
// atom slots 1..NAT_P; propagation vectors 1..NEQV with three components each.
#pragma once

#include <array>
#include <string>

#include "controlfile/codeword.h"
#include "run/capacities.h"

namespace kestovar {

// One atom of the asymmetric unit. Slot use depends on the phase's job (Jbt):
//  crystal structure: 1-5 X Y Z Biso Occ, 13-18 beta11..beta23, 19-32 form-factor parameters;
//  magnetic (1, -1, 5): 1-5 as above, 6-8 Rx Ry Rz, 9-11 Ix Iy Iz, 13-15 beta11..beta33
//  (spherical: Rm Rphi Rtheta, Im Iphi Itheta), with the magnetic phase in MagPh;
//  crystal and magnetic (10): 1-5, 6-12 Rx Ry Rz Ix Iy Iz MagPh, 13-18 betas;
//  user model (4): 1-16 P1..P16 (P16 has no codeword).
struct AtomSite {
  std::string Label = std::string(LABEL_LEN, ' ');
  std::string Type = std::string(LABEL_LEN, ' ');  // scattering type
  int phase = 0;                                   // phase number 1..NPHT
  int N_t = 0;  // 0 isotropic, 2 betas, 4 form factors; magnetic formats: kind of extra lines
  int In = 0, Fin = 0;  // first and last symmetry operator used (crystal format)
  int MagType = 0;      // label Mag: the magnetic-matrix set acting on the moment
  int Vek = 0;          // propagation-vector index
  ParamSlot MagPh{};  // magnetic phase (formats of Jbt 1, -1, 5); its codeword is kept, not decoded
  int Species = 0, MagSpecies = 0;  // species index (negative: object); magnetic species
  std::array<ParamSlot, NAT_P + 1> slot{};
};

// A soft distance restraint: the distance between the first atom and the image of the second
// under a rotation of the fixed rotation table (negative: times the inversion) plus a
// translation.
struct DistanceRestraint {
  std::string Label1 = std::string(LABEL_LEN, ' ');
  std::string Label2 = std::string(LABEL_LEN, ' ');
  int Op = 1;
  std::array<float, 3> Trans{};
  float Dist = 0.0f, Sigma = 0.0f;
};

// A soft moment restraint on the atoms whose label begins with Prefix.
struct MomentRestraint {
  std::string Prefix = std::string(2, ' ');
  float Moment = 0.0f, Sigma = 0.0f;
};

struct Phase {
  std::string PhaseName = std::string(PHASE_NAME_LEN, ' ');
  std::string SpaceGroupSymbol = std::string(SYMBOL_LEN, ' ');  // columns 1-20 of its line
  bool MagneticGroup = false;  // "Mag" after the symbol (crystal and magnetic phases)

  // First flag line.
  int Nat = 0;                      // atoms of the phase
  int FirstAtom = 0;                // index of its first atom in ModelStore::atoms
  int Dis = 0;                      // distance restraints
  int Mom = 0;                      // moment restraints
  float Pr1 = 0, Pr2 = 0, Pr3 = 0;  // preferred-orientation direction
  int Jbt = 0;
  int Irf = 0;
  int Isy = 0;
  int Str = 0;
  int Furth = 0;
  float ATZ = 0;
  int Nvk = 0;                 // propagation vectors (positive; doubled when augmented)
  bool KvecAugmented = false;  // the file gave Nvk negative: -k follows every k
  int PhaseNpr = 0;            // profile function, file value + 1
  int More = 0;

  // Second flag line.
  int Jvi = 0, Jdi = 0, Hel = 0, Sol = 0;
  int Mom2 = 0;  // the Mom of the second flag line (output flag)
  int Ter = 0;
  float Brind = 0, RMua = 0, RMub = 0, RMuc = 0;
  int Jtyp = 0;  // radiation of the phase: 0 X-ray, 1 neutron, -1 time of flight

  int AtomExtras = 0;
  int AtomicRefined = 0;  // atomic parameters refined in the phase

  // Parameter slots (PhasePar with PhaseCode): after the cell line slots 6-11 hold the
  // reciprocal metric A..F and DirectCell the direct cell.
  std::array<ParamSlot, MPAR + 1> slot{};
  std::array<std::array<ParamSlot, 3>, NEQV + 1> kvec{};
  std::array<bool, NEQV + 1> KvecEquivalent{};  // k equivalent to -k (2k on the lattice)
  std::array<float, 6> DirectCell{};            // a, b, c, alpha, beta, gamma
  float CellVolume = 0;
  int FurtherBase = 59;
  std::array<std::string, MPAR + 1> FurthLabel{};  // labels of the further parameters, 1..Furth

  // Models of the profile lines.
  int StrainModel = 0, SizeModel = 0;
  int ModA = 0, ModS = 0;  // hkl-dependent asymmetry and shift models
  std::array<float, 3> SizeAxis{}, StrainAxis{}, ShiftAxis{};

  // Restraints, 1..Dis and 1..Mom.
  std::array<DistanceRestraint, NCONST + 1> Distance{};
  std::array<MomentRestraint, NCONST + 1> Moment{};

  int NObjects = 0;  // atoms whose type is an extended object
};

}  // namespace kestovar
