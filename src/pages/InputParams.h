#pragma once
// The input page's echo and reverb rules live in the core, where the command line uses them too.
#include "dsp/InputParams.h"
