#pragma once
// The ribbon's master writes live in the core, where the command line uses them too.
#include "dsp/MasterWrites.h"
