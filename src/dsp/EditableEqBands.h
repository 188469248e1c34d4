#pragma once
// An equaliser's bands as its page shows them: the editable bands of a page kind (10 or 7;
// on the Sub the five slots, each shown by its first stage). Used where a whole EQ is taken
// or given at once, such as filter files.

#include "model/EqBandRecord.h"

#include <vector>

// The bands from the band memory; empty for a bad page kind.
std::vector<EqBand> ReadEditableEqBands(int pageKind);

// Writes bands 0..size-1 through the equaliser's band writer, each band once. On the Sub a
// band sets its slot's user type (a pass type builds the slot's default crossover). Returns
// false, writing nothing, for a bad page kind or more bands than the page has.
bool WriteEditableEqBands(int pageKind, const std::vector<EqBand>& bands);
