#include "run/model_store.h"

#include "run/messages.h"
#include "text/fortran_format.h"

namespace kestovar {

void initialise_model(ModelStore& store) {
  // Fresh records carry the defaults; the run-wide values and the open files stay.
  store.job = std::make_unique<JobRecords>();
}

namespace {

struct Capacity {
  const char* name;
  int value;
  const char* text;
};

constexpr Capacity kCapacities[] = {
    {"NPATT", NPATT, "Max.num. of powder diffraction patterns"},
    {"IDSZ", IDSZ, "Max.num. of points(+int. Inten.)/diffraction pattern"},
    {"IRS", IRS, "Max.num. of reflections/diffraction pattern"},
    {"NATS", NATS, "Max.num. of atoms in asymmetric unit"},
    {"MPAR", MPAR, "Max.num. of non atomic parameters/phase"},
    {"MSZ", MSZ, "Max.num. of refinable parameters"},
    {"NOV", NOV, "Max.num. of overlapping reflections"},
    {"IEXCL", IEXCL, "Max.num. of excluded regions"},
    {"IBACP", IBACP, "Max.num. of background points for interpolation"},
    {"NPHT", NPHT, "Max.num. of phases (<=8)"},
    {"NMAGM", NMAGM, "Max.num. of rotation-matrices sets for magnetic structure"},
    {"NATM", NATM, "Max.num. of magnetic atoms (NATM+nonmag-atoms <=NATS)"},
    {"NEQV", NEQV, "Max.num. of user-supplied symmetry operators/propagation vectors"},
    {"NGL", NGL, "Max.num. of global parameters/diffraction pattern"},
    {"NAT_P", NAT_P, "Max.num. of atomic parameters per atom"},
    {"NCONST", NCONST, "Max.num. of slack constraints per phase"},
    {"N_SPE", N_SPE, "Max.num. of different chemical species"},
    {"N_FORM", N_FORM, "Max.num. of scattering factor values in a table"},
    {"NPR", NPR, "Max.num. of points defining a numerical profile"},
    {"INPR", INPR, "Max.num. of different numerical peak shapes"},
    {"NPRC", NPRC, "Max.num. of terms in the table for correcting intensities"},
    {"NSOL", NSOL, "Max.num. of solutions to be stored in Montecarlo searchs"},
};

}  // namespace

void print_dimensions(ModelStore& store, int u) {
  const std::string dashes = " " + std::string(52, '-');
  write_unit(store, u, "");
  write_unit(store, u, dashes);
  write_unit(store, u, " => Dimensions of arrays in this release of Kestovar:");
  write_unit(store, u, dashes);
  write_unit(store, u, "");
  write_unit(store, u, " => Approximate array memory: " + text::fmt_i(4224206, 9) + " bytes");
  for (const Capacity& c : kCapacities) {
    std::string name = "    " + text::pad(c.name, 6) + "= ";
    size_t width = std::string_view(c.name) == "NEQV" ? 65 : 60;
    write_unit(store, u,
               name + text::fmt_i(c.value, 8) + text::pad(std::string(" ") + c.text, width));
  }
}

}  // namespace kestovar
