#include "controlfile/scattering_entries.h"

#include "run/model_store.h"
#include "tables/species.h"

namespace kestovar {

void lookup_internal_xray(ModelStore& store, int entry) {
  lookup_user_xray(store, entry);
}
void fit_user_form_factor(ModelStore& store, int entry, int npoints) {
  fit_user_table(store, entry, npoints);
}

}  // namespace kestovar
