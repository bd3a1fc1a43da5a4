// The chemical species of a run: at most N_SPE entries shared by all phases, each holding
// what the structure-factor calculation needs for one scattering type (X-ray form-factor
// coefficients with f' and f'', a neutron scattering length, or magnetic form-factor
// coefficients), and the resolution of the atom types of a phase to species.
#pragma once

#include <array>
#include <functional>
#include <string>

#include "run/capacities.h"

namespace kestovar {

struct ModelStore;
struct AtomSite;

// What a species holds: a user entry of the control file (reused by every lookup that names
// it), or an entry taken from one of the internal tables.
enum class SpeciesKind { User, Xray, Neutron, Magnetic };

struct Species {
  std::string Name = std::string(LABEL_LEN, ' ');
  SpeciesKind Kind = SpeciesKind::User;
  // 1..9: a1 b1 a2 b2 a3 b3 a4 b4 c (X-rays); A a B b C c D in 1..7 (magnetic).
  std::array<float, 10> Coeff{};
  float Dfp = 0.0f;   // f' (X-rays); the scattering length (neutrons); 0 for magnetic species
  float Dfpp = 0.0f;  // f'' (X-rays)
  int NTab = 0;       // points of a user table of (sin(theta)/lambda, f); 0 for coefficients
  std::array<float, N_FORM + 1> TabS{}, TabF{};  // the table, 1-based
};

struct SpeciesList {
  int N = 0;                // species in use
  int NUser = 0;            // the first NUser come from the user entries of the control file
  bool UserLoaded = false;  // the user entries have been copied in
  std::array<Species, N_SPE + 1> entry{};  // 1-based
};

enum class Radiation { Xray, Neutron };

// What the resolution of a phase needs besides the phase record.
struct ScatteringOptions {
  Radiation radiation = Radiation::Xray;
  int column = 3;  // wavelength column 1..5 of the dispersion table (X-rays)
  // For phases with |Jbt| 10: true for the atoms that carry a magnetic moment.
  std::function<bool(const AtomSite&)> magnetic;
};

// Prepares the tables for a new run: the species list becomes empty. The four element
// tables themselves are constant data (tables/element_tables.h).
void initialise_tables(ModelStore& store);

// Dispersion column for a wavelength: the first of the five tabulated wavelengths that is
// smaller than lambda + 0.1 angstrom; 5 (the shortest) for still shorter wavelengths.
int wavelength_column(float lambda);

// Copies the |Nsc| user scattering entries of the run settings into species 1..|Nsc|, once
// per run. resolve_scattering_types calls it itself.
void load_user_species(ModelStore& store);

// Assigns a species to each of the `nat` atoms of `phase` (from Phase::FirstAtom), extending
// the species list, writes the coefficients found to the listing and counts the object atoms
// of the phase. Stops when a type is found nowhere or the list would exceed N_SPE.
void resolve_scattering_types(ModelStore& store, int phase, int nat,
                              const ScatteringOptions& options);

// User entry `entry` (kind 2): copies the nine internal X-ray coefficients of its label;
// stops when the label is not a key of the X-ray table.
void lookup_user_xray(ModelStore& store, int entry);

// User entry `entry`: fits its nine coefficients to its first `npoints` tabulated points.
void fit_user_table(ModelStore& store, int entry, int npoints);

// Upper or lower case of the ASCII letters among the first `length` characters, in place.
void to_upper_case(std::string& text, size_t length);
void to_lower_case(std::string& text, size_t length);

}  // namespace kestovar
