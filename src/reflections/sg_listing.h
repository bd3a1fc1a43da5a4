// The reflection listing of the space-group explorer:
//   kestovar-sg SYMBOL --cell A B C ALPHA BETA GAMMA --dmin D [--lambda L]
// lists the independent reflections of the group as a phase generates them, one per line:
// h, k, l, multiplicity, d and, with a wavelength, 2theta, in order of decreasing d.
#pragma once

#include <iosfwd>

namespace kestovar {

// Runs the listing when the arguments hold --cell or --dmin: returns the exit status
// (0 done, 1 bad symbol, 2 bad arguments). Returns -1 when they hold neither option, so that
// the caller goes on with its own work.
int reflection_listing_main(int argc, const char* const* argv, std::ostream& out,
                            std::ostream& err);

}  // namespace kestovar
