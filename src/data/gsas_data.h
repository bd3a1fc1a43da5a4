// The GSAS powder-file layout of the intensity data (Ins 12): a heading with a BANK line,
// then standard (counter, count) records, (count, sigma) ESD records or (X, Y, sigma) ALT
// records.
#pragma once

namespace kestovar {

class DataFile;
struct Pattern;

inline constexpr const char* GSAS_NO_BANK_TEXT =
    " => Error in the input GSAS-file: BANK not found!";
inline constexpr const char* GSAS_STD_BINTYP_TEXT =
    " => Only BINTYP=CONST is allowed for standard data";
inline constexpr const char* GSAS_ESD_BINTYP_TEXT = " => Only BINTYP=CONST is allowed for ESD data";
inline constexpr const char* GSAS_ALT_BINTYP_TEXT =
    " => Only BINTYP=RALF or CONST is allowed for ALT data";

// Fills NPTS, Thmin, Step, Thmax, ConstantStep, Cnorm, X, Yobs, Variance and Ncount.
// `Job` negative (time of flight) takes the CONST coefficients as they are; otherwise they
// are centidegrees.
void read_gsas_data(DataFile& in, int Job, Pattern& p);

}  // namespace kestovar
