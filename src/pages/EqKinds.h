#pragma once
// Display names of the equalisers the pages show. Where each EQ lives (block, bands, bypass
// cell, band writer) is the core's table in dsp/EqBands.h.

#include "dsp/EqBands.h"

// The display title of a page kind in the given language ("回声通道B均衡" / "CH B Echo EQ").
const char* EqKindTitle(int kind, int language);
