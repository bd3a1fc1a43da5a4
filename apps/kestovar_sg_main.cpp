// kestovar-sg: the space-group explorer. Interprets a Hermann-Mauguin symbol as the control
// file would, and prints the interpreter's report, the generator codes, the symmetry section
// of the output listing and the operators of the general position, one per line.
#include <iostream>
#include <string>

#include "reflections/sg_listing.h"
#include "run/messages.h"
#include "run/model_store.h"
#include "run/stop.h"
#include "symmetry/expansion.h"
#include "symmetry/operator_text.h"
#include "text/fortran_format.h"
#include "ui/console_ui.h"

namespace {

void usage(std::ostream& out) {
  out << "Usage: kestovar-sg \"SYMBOL\"\n"
         "\n"
         "Interprets a Hermann-Mauguin space-group symbol (at most 20 characters, fields\n"
         "separated by blanks, e.g. \"P 21/c\", \"P b n m\", \"F d 3 m\", \"R -3 m\", \"R -3 m "
         "R\")\n"
         "and prints:\n"
         "  - the interpreter's report and the generator codes M(1)..M(8);\n"
         "  - the symmetry section as the output listing prints it;\n"
         "  - after the line \" => General position:\", every operator of the general\n"
         "    position (centring and inversion copies included), one per line, such as\n"
         "    -x+1/2,y+1/2,-z.\n"
         "A symbol that cannot be interpreted prints the error and exits with status 1.\n"
         "\n"
         "       kestovar-sg SYMBOL --cell A B C ALPHA BETA GAMMA --dmin D [--lambda L]\n"
         "\n"
         "lists the independent reflections with d >= D as a phase generates them, one per\n"
         "line: h, k, l, multiplicity, d and, with a wavelength L, 2theta, in order of\n"
         "decreasing d.\n";
}

}  // namespace

int main(int argc, char** argv) {
  using namespace kestovar;
  if (argc < 2) {
    usage(std::cerr);
    return 2;
  }
  if (int rc = reflection_listing_main(argc, argv, std::cout, std::cerr); rc >= 0) return rc;
  std::string arg = argv[1];
  if (arg == "--help" || arg == "-h") {
    usage(std::cout);
    return 0;
  }
  // Several words without quotes form one symbol.
  for (int k = 2; k < argc; ++k) arg += std::string(" ") + argv[k];

  ui::ConsoleUi window(std::cin, std::cout);
  ModelStore store(window);
  try {
    SymmetryWork work;
    work.info = interpret_symbol(store, arg, 0, unit::SCREEN);
    int bad = 0;
    if (!expand_generators(work, &bad)) {
      show_message(store, " => The symmetry operator " + text::fmt_i(bad, 10) + " is wrong");
      stop_box(store, " The program generated wrong symmetry operator", 1);
    }
    build_rotation_list(work);
    LatticeCentring lattice = read_lattice_letter(store, arg);
    (void)lattice;
    SpaceGroup g;
    fill_group_from_symbol(arg, work, g);

    std::string codes;
    for (int k = 1; k <= MAX_GENERATORS; ++k) codes += text::fmt_i(work.info.Generator[k], 7);
    write_unit(store, unit::SCREEN,
               "  NSPGRP:  " + text::fmt_i(g.Laue, 4) + " -->  " + text::pad(arg, SYMBOL_LEN));
    write_unit(store, unit::SCREEN, " => Laue class: " + std::string(laue_class_name(g.Laue)));
    write_unit(store, unit::SCREEN, "   M(1)   M(2)   M(3)   M(4)   M(5)   M(6)   M(7)   M(8)");
    write_unit(store, unit::SCREEN, codes);
    write_symmetry_listing(store, unit::SCREEN, g);
    write_unit(store, unit::SCREEN, "");
    write_unit(store, unit::SCREEN, " => General position:");
    for (const SymmetryOperator& op : general_positions(g))
      write_unit(store, unit::SCREEN, operator_to_text(op));
  } catch (const StopError& e) {
    window.message_box(STOP_BOX_TITLE, e.text());
    return 1;
  }
  return 0;
}
