#pragma once
// Where the pages find each equaliser they show: the block and first band of its records in
// the band memory, its bypass cell, and its reset.

#include "model/EqBandRecord.h"

// Band i (from 0) of the EQ of a page kind, read from the band memory. Channel B's mic bands
// follow the ten channel A bands; channel B's echo and reverb bands are 7..13 of their blocks.
EqBand LoadKindBand(int kind, int band);

// The bypass cell of a page kind, 0 for a kind without one.
int EqBypassCell(int kind);

// The display title of a page kind in the given language ("回声通道B均衡" / "CH B Echo EQ").
const char* EqKindTitle(int kind, int language);
