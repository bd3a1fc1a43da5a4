// Hermann-Mauguin symbol interpreter: from the text of a space-group symbol to its Laue
// class, monoclinic unique axis and a short list of packed group generators, and the
// lattice-letter reader that gives the centring vectors.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "symmetry/space_group.h"

namespace kestovar {

struct ModelStore;

// A generator unpacked: kind, rotation rows and translation in twelfths.
struct GeneratorParts {
  int kind = 0;
  IntMatrix3 R{};
  std::array<int, 3> t12{};  // translation in units of 1/12
};
GeneratorParts decode_generator(int code);
// Packs a kind-0 operation; false when the rotation or translation cannot be coded.
bool encode_generator(const IntMatrix3& R, const std::array<int, 3>& t12, int& code);

// Result of the interpreter.
struct SymbolInfo {
  int Laue = 0;        // Laue class 1..14; 0 when the symbol failed
  int UniqueAxis = 0;  // 0 none, 1 a, 2 b, 3 c; 4 marks a symbol that failed
  int NumGenerators = 0;
  std::array<int, MAX_GENERATORS + 1> Generator{};  // codes 1..NumGenerators, then 0
  bool OffOriginCentre = false;  // a generated inversion still carries a translation
  bool ok() const { return UniqueAxis != 4; }
};

// Interprets a symbol (at most 20 characters are looked at); no messages.
SymbolInfo interpret_symbol(std::string_view symbol);

// The interpreter as the phase reader calls it: report 0 writes " => The SPACE GROUP is: "
// with the symbol to `unit`, any other value " => The SPACE GROUP symbol for HKL generation
// is: "; a centre off the origin is shown in the message window; a bad symbol shows the
// error lines and stops with " Error in S.G. symbol".
SymbolInfo interpret_symbol(ModelStore& store, std::string_view symbol, int report, int unit = 7);

// The lattice letter of a symbol: false when the first non-blank character is not one of
// P A B C I R F (either case).
bool lattice_centring(std::string_view symbol, LatticeCentring& out);

// The lattice-letter reader: stops with " *** ERROR: Wrong Space Group Symbol " on a bad
// letter. The letter is also stored in *letter when it is given.
LatticeCentring read_lattice_letter(ModelStore& store, std::string_view symbol,
                                    char* letter = nullptr);

}  // namespace kestovar
