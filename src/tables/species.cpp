#include "tables/species.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "run/messages.h"
#include "run/model_store.h"
#include "run/stop.h"
#include "tables/element_tables.h"
#include "tables/form_factor_fit.h"
#include "text/fortran_format.h"

namespace kestovar {

namespace {

std::string key4(std::string_view s) {
  return text::pad(s, LABEL_LEN);
}

std::string upper(std::string s) {
  to_upper_case(s, s.size());
  return s;
}

std::string lower(std::string s) {
  to_lower_case(s, s.size());
  return s;
}

void listing(ModelStore& store, const std::string& line) {
  write_unit(store, unit::OUT, line);
}

[[noreturn]] void not_found(ModelStore& store, std::string_view head, std::string_view type,
                            std::string_view stop_text) {
  const std::string line = std::string(head) + "*" + key4(type) + "*";
  listing(store, line);
  show_message(store, line);
  stop_box(store, stop_text, 1);
  fail(stop_text);  // not reached: stop_box with 1 throws
}

[[noreturn]] void coefficients_not_found(ModelStore& store, std::string_view type) {
  not_found(store, " => Scattering coefficients NOT FOUND for ", type,
            " Some scattering coefficients NOT FOUND");
}

// Index of the species whose name equals `name` (lower-cased on both sides for X-rays), or 0.
// A species taken from an internal table serves only lookups of its own kind: in a run whose
// phases use different radiations, an X-ray atom "Fe" must not pick up the neutron length
// found for "FE" (nor a neutron atom the X-ray coefficients of "fe").
int find_species(const SpeciesList& list, const std::string& name, SpeciesKind kind) {
  const bool fold_case = kind == SpeciesKind::Xray;
  for (int j = 1; j <= list.N; ++j) {
    const Species& sp = list.entry[j];
    if (sp.Kind != SpeciesKind::User && sp.Kind != kind) continue;
    if (fold_case ? lower(sp.Name) == lower(name) : sp.Name == name) return j;
  }
  return 0;
}

Species& new_species(ModelStore& store, const std::string& name,
                     SpeciesKind kind = SpeciesKind::User) {
  SpeciesList& list = store.job->species;
  if (list.N >= N_SPE) {
    show_message(store, " => Maximum number of chemical species: " + text::fmt_i(N_SPE, 2));
    stop_box(store, " Too many chemical species", 1);
    fail(" Too many chemical species");
  }
  Species& sp = list.entry[++list.N];
  sp = Species{};
  sp.Name = key4(name);
  sp.Kind = kind;
  return sp;
}

std::string coefficient_line(const std::string& name, const float* values, int count) {
  std::vector<text::Item> items{upper(key4(name))};
  for (int k = 0; k < count; ++k) items.emplace_back(static_cast<double>(values[k]));
  return text::format("(1X,A4,1X,11F9.4)", items);
}

int xray_species(ModelStore& store, const std::string& type, int column) {
  const std::string key = lower(key4(type));
  if (int j = find_species(store.job->species, key, SpeciesKind::Xray)) return j;
  const int t = find_xray(key);
  if (t < 0) coefficients_not_found(store, type);
  const XrayEntry& e = kXrayTable[t];
  Species& sp = new_species(store, key, SpeciesKind::Xray);
  for (int k = 0; k < 9; ++k) sp.Coeff[k + 1] = e.coeff[k];
  sp.Dfp = kDispersionTable[e.row][column];
  sp.Dfpp = kDispersionTable[e.row][column + 5];
  float values[11];
  for (int k = 0; k < 9; ++k) values[k] = sp.Coeff[k + 1];
  values[9] = sp.Dfp;
  values[10] = sp.Dfpp;
  listing(store, coefficient_line(key, values, 11));
  return store.job->species.N;
}

// Species of `key` among the species, then among the neutron lengths; 0 when neither has it.
int neutron_lookup(ModelStore& store, const std::string& key) {
  if (int j = find_species(store.job->species, key, SpeciesKind::Neutron)) return j;
  const int t = find_neutron(key);
  if (t < 0) return 0;
  Species& sp = new_species(store, key, SpeciesKind::Neutron);
  sp.Dfp = kNeutronTable[t].b;
  listing(store, text::format("(1X,A4,1X,F8.4)", {key, static_cast<double>(sp.Dfp)}));
  return store.job->species.N;
}

// Nuclear species of one atom for neutrons: positive species index, or minus the object
// number for an extended object.
int nuclear_species(ModelStore& store, Phase& ph, const std::string& written, bool magnetic_atom) {
  const std::string type = key4(written);
  // A magnetic atom of a crystal+magnetic phase ("MFE3") is looked up by its element ("FE").
  const std::string key = magnetic_atom ? key4(type.substr(1, 2)) : type;
  if (int j = neutron_lookup(store, key)) return j;
  if (int obj = find_object(key)) {
    listing(store, " " + key + "  Form-factor of an user-supplied object   ");
    ++ph.NObjects;
    return -obj;
  }
  // Last try: the second character alone, so that "MV3 " finds "V   ".
  if (int j = neutron_lookup(store, key4(type.substr(1, 1)))) return j;
  not_found(store, " => scattering length NOT FOUND for ", type,
            " Some scattering length NOT FOUND");
}

int magnetic_species(ModelStore& store, const std::string& type) {
  const std::string key = key4(type);
  if (int j = find_species(store.job->species, key, SpeciesKind::Magnetic)) return j;
  const int t = find_magnetic(key);
  if (t < 0) coefficients_not_found(store, type);
  Species& sp = new_species(store, key, SpeciesKind::Magnetic);
  for (int k = 0; k < 7; ++k) sp.Coeff[k + 1] = kMagneticTable[t].coeff[k];
  listing(store, coefficient_line(key, kMagneticTable[t].coeff, 7));
  return store.job->species.N;
}

}  // namespace

void to_upper_case(std::string& text, size_t length) {
  for (size_t i = 0; i < length && i < text.size(); ++i)
    if (text[i] >= 'a' && text[i] <= 'z') text[i] = static_cast<char>(text[i] - 'a' + 'A');
}

void to_lower_case(std::string& text, size_t length) {
  for (size_t i = 0; i < length && i < text.size(); ++i)
    if (text[i] >= 'A' && text[i] <= 'Z') text[i] = static_cast<char>(text[i] - 'A' + 'a');
}

void initialise_tables(ModelStore& store) {
  store.job->species = SpeciesList{};
}

int wavelength_column(float lambda) {
  for (int c = 1; c <= 5; ++c)
    if (kDispersionLambda[c] < lambda + 0.1f) return c;
  return 5;
}

void load_user_species(ModelStore& store) {
  SpeciesList& list = store.job->species;
  if (list.UserLoaded) return;
  const RunSettings& s = store.settings();
  const int n = std::abs(s.Nsc);
  if (n > N_SPE) {
    show_message(store, " => Maximum number of chemical species: " + text::fmt_i(N_SPE, 2));
    stop_box(store, " Too many chemical species", 1);
  }
  list.UserLoaded = true;
  for (int e = 1; e <= n; ++e) {
    const ScatteringEntry& en = s.Scatter[e];
    Species& sp = new_species(store, en.label);
    sp.Coeff = en.coeff;
    sp.Coeff[0] = 0.0f;
    sp.Dfp = en.v1;
    sp.Dfpp = en.v2;
    if (s.Nsc < 0 && en.npoints > 0) {
      sp.NTab = std::min(en.npoints, N_FORM);
      sp.TabS = en.s;
      sp.TabF = en.f;
    }
  }
  list.NUser = n;
  if (s.Nsc < 0) listing(store, "     *(Tables for Linear Interpolation)*");
}

void resolve_scattering_types(ModelStore& store, int phase, int nat,
                              const ScatteringOptions& options) {
  load_user_species(store);
  Phase& ph = store.phase(phase);
  const int jbt = std::abs(ph.Jbt);
  ph.NObjects = 0;
  const int first = ph.FirstAtom;
  auto atom = [&](int i) -> AtomSite& { return store.job->atoms[first + i]; };

  listing(store, " => Scattering coefficients from internal table");
  if (options.radiation == Radiation::Xray) {
    const int column = std::clamp(options.column, 1, 5);
    listing(store, " => X-ray scattering coeff. (A1,B1,A2,...C,Dfp,Dfpp)");
    for (int i = 0; i < nat; ++i) atom(i).Species = xray_species(store, atom(i).Type, column);
    return;
  }

  const bool magnetic_phase = jbt == 1 || jbt == 5 || jbt == 10;
  auto carries_moment = [&](const AtomSite& a) {
    return jbt != 10 || (options.magnetic && options.magnetic(a));
  };
  if (jbt != 1 && jbt != 5) {
    listing(store, " => Scattering lengths:");
    for (int i = 0; i < nat; ++i) {
      AtomSite& a = atom(i);
      a.Species = nuclear_species(store, ph, a.Type, jbt == 10 && carries_moment(a));
    }
  }
  if (magnetic_phase) {
    listing(store, " => Magnetic form-factor coeff. (A,a,B,b,C,c,D)");
    for (int i = 0; i < nat; ++i) {
      AtomSite& a = atom(i);
      if (!carries_moment(a)) continue;
      const int j = magnetic_species(store, a.Type);
      (jbt == 10 ? a.MagSpecies : a.Species) = j;
    }
  }
}

void lookup_user_xray(ModelStore& store, int entry) {
  ScatteringEntry& en = store.settings().Scatter[entry];
  const int t = find_xray(lower(key4(en.label)));
  if (t < 0) coefficients_not_found(store, en.label);
  for (int k = 0; k < 9; ++k) en.coeff[k + 1] = kXrayTable[t].coeff[k];
  en.has_coefficients = true;
}

void fit_user_table(ModelStore& store, int entry, int npoints) {
  ScatteringEntry& en = store.settings().Scatter[entry];
  const FormFactorFit fit = fit_form_factor(en.s, en.f, npoints);
  en.coeff = fit.coeff;
  en.has_coefficients = true;
}

}  // namespace kestovar
