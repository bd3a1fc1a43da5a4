// The intensity data reader: reads the observed pattern from the data file (DatFile + ".dat",
// ".uxd" or ".acq") in the layout chosen by the output flag Ins, then applies the step
// reduction Ste and sets the extra abscissa X[NPTS+1].
//
//   Ins  0 free format          1 (counter, count) pairs   2 400-cell detector
//        3 multicounter         4 counts and sigmas        -4 dated multi-set, dead time
//        5 two-axis general     6 summed pairs, -1000 end  7 (X, Y, sigma) triplets
//        8 counts, sigmas       9 diffractometer export    10 X, Y, sigma free format
//       11 variable time       12 GSAS (STD, ESD, ALT)
//
// Every failure stops the job; the store's pattern is replaced only when the whole file
// was read.
#pragma once

namespace kestovar {

struct ModelStore;
struct Pattern;

void read_intensity_data(ModelStore& store);

// Keeps every ste-th point (ste > 1): NPTS/ste points, ste times the step, point i taking
// the values of point 1 + (i-1)*ste.
void reduce_steps(Pattern& p, int ste);

// X[NPTS+1] = 2*X[NPTS] - X[NPTS-1] (X[1] + Step for a single point).
void set_extra_abscissa(Pattern& p);

}  // namespace kestovar
