// Lorentz-polarisation and instrument intensity factor of a reflection: Lorentz factor of the
// geometry, beam polarisation, absorption, low-angle scale factor and the user correction of
// the correction file. It depends only on the reflection's position and the instrument values
// of the control file.
#pragma once

namespace kestovar {

struct RunSettings;

// The factor for sin^2(theta) S, cos(theta) C and position T: 2theta in degrees (plus the
// hkl-dependent shift) for two-theta data, Dtt1 x d for time of flight, the energy in keV
// for energy-dispersive data. Abscissas in Q or S (Uni 3, 4) have no factor: 1.
float intensity_factor(const RunSettings& s, float S, float C, float T);

// The user correction at abscissa x: linear interpolation in the table of the correction
// file (Cor 1; below the first abscissa the first interval is extended, beyond the last
// entry the last factor is kept), otherwise the polynomial CorA(1) + sum CorA(j) x^(j-1).
float correction_factor(const RunSettings& s, float x);

}  // namespace kestovar
