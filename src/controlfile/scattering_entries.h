// Completion of the user scattering-factor entries of the control file from the element
// tables: internal coefficients by name (kind 2) and the fit of tabulated points.
#pragma once

namespace kestovar {

struct ModelStore;

// Copies the internal X-ray coefficients named by the label of user entry `entry`.
void lookup_internal_xray(ModelStore& store, int entry);
// Fits the nine coefficients of user entry `entry` to its `npoints` tabulated points.
void fit_user_form_factor(ModelStore& store, int entry, int npoints);

}  // namespace kestovar
