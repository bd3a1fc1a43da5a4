// The text export of a laboratory diffractometer (Ins 9): underscore key lines, comment
// lines, then "_COUNTS" followed by the counts of the first range.
#pragma once

namespace kestovar {

class DataFile;
struct Pattern;

// Fills NPTS, Thmin, Step, Thmax, Tsample, Yobs, Variance and Ncount and writes the
// "Experimental conditions" block to the listing and the summary. The caller builds X.
void read_export_data(DataFile& in, Pattern& p);

}  // namespace kestovar
