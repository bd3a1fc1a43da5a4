// Space-group expansion: the generators of a symbol expanded into the operators of the
// general position (each held as the image of a reference point), the rotation-part list,
// the reduced operator list of the SpaceGroup (centring copies removed, proper half of a
// centrosymmetric group), operators read from the control file, magnetic matrices, the
// intensity factor and the symmetry section of the output listing.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "symmetry/operator_text.h"
#include "symmetry/space_group.h"
#include "symmetry/symbol_interpreter.h"

namespace kestovar {

struct ModelStore;

// The reference point whose images stand for the operators during the expansion:
// 1/54, 1/36, 1/27 are 2/108, 3/108, 4/108.
inline constexpr Vec3 REFERENCE_POINT = {1.0f / 54.0f, 1.0f / 36.0f, 1.0f / 27.0f};

// Work area of one phase while its symmetry is prepared.
struct SymmetryWork {
  SymbolInfo info;                 // from the interpreter
  std::vector<Vec3> image;         // images of the reference point; image[0] is the identity
  std::vector<int> rotation_code;  // rotation-part codes of the same operators
  bool NonCentro = true;           // no rotation code is the inversion
  int Multiplicity() const { return static_cast<int>(image.size()); }
};

// Decodes the operator of an image of the reference point (translations in 1/12).
SymmetryOperator decode_image(const Vec3& v);
// The image of the reference point under an operator, reduced into [0, 1).
Vec3 reference_image(const SymmetryOperator& op);

// Expands work.info's generators into work.image. False when an image other than the
// identity falls on the reference point (inconsistent generators); *bad_code then holds the
// generator code.
bool expand_generators(SymmetryWork& work, int* bad_code = nullptr);
// Builds work.rotation_code and work.NonCentro from the generators.
void build_rotation_list(SymmetryWork& work);
// The operators of the general position in generation order.
std::vector<SymmetryOperator> expanded_operators(const SymmetryWork& work);

// Interprets a symbol and expands it (no messages). False for a bad symbol or bad generators.
bool expand_symbol(std::string_view symbol, SymmetryWork& work);

// Fills a SpaceGroup from an expanded symbol: symbol, Laue class, unique axis, generator
// codes, lattice, Cen, multiplicity, the reduced list and the intensity factor. MagMat 0.
// False when the symbol has no valid lattice letter.
bool fill_group_from_symbol(std::string_view symbol, const SymmetryWork& work, SpaceGroup& g);

// A SpaceGroup straight from a symbol; false (with the interpreter's result) for a bad one.
bool space_group_from_symbol(std::string_view symbol, SpaceGroup& g);

// Removes centring copies from `ops` and stores at most NEQV of them as g.op[1..Nop].
// Returns false when a 49th operator was refused. `proper_only` keeps only positive
// rotation numbers (centrosymmetric group generated from a symbol). `remove_centring`
// false stores every operator (operators read from lines).
bool store_reduced_operators(const std::vector<SymmetryOperator>& ops, bool remove_centring,
                             bool proper_only, SpaceGroup& g);

// Every operator of the general position from the stored list: for each centring vector,
// the stored operators and then (centrosymmetric) their products with the inversion.
std::vector<SymmetryOperator> general_positions(const SpaceGroup& g);

// The operator k (1..Nop) of a group as rotation rows and translation.
SymmetryOperator stored_operator(const SpaceGroup& g, int k);

// The lines of the symmetry section of the output listing (generated or read case).
std::vector<std::string> symmetry_listing(const SpaceGroup& g);
void write_symmetry_listing(ModelStore& store, int unit, const SpaceGroup& g);

// What the phase reader knows about a phase when its symmetry is prepared.
struct SymmetryInput {
  std::string symbol = std::string(SYMBOL_LEN, ' ');  // columns 1-20 of the space-group line
  int Isy = 0;
  int Jbt = 0;
  int Irf = 0;
  bool MagneticGroup = false;  // "Mag" after the symbol (Jbt 10)
  int unit = 7;                // listing unit
};

// The symmetry of phase `phase` as the phase reader prepares it, into
// store.job->groups[phase]:
//  - Isy 0: the symbol is interpreted (listing report 0) and expanded; unless the phase is
//    pattern matching (|Jbt| 2 or 3) the symmetry section is listed and, for |Jbt| 10 with
//    MagneticGroup, the line of time reversals is read from the control file;
//  - Isy not 0: unless pattern matching, the operator lines (and magnetic matrices) are read
//    from the control file (unit 1) and listed; with Irf below 1 and not -4 the symbol is
//    also interpreted (report 1) and expanded, for the reflections.
// Every fault shows its messages and stops the run.
void setup_phase_symmetry(ModelStore& store, int phase, const SymmetryInput& input);

// Reads the operator lines of a phase (the IIII line, then SYMM/MSYM or integer lines) from
// the control file into g, applies the magnetic rules and lists the section. Used by
// setup_phase_symmetry; Isy, Jbt are taken from input.
void read_symmetry_operators(ModelStore& store, const SymmetryInput& input, SpaceGroup& g);

}  // namespace kestovar
