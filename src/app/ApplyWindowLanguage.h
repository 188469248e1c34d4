#pragma once
// Moved below the pages and the shell; kept for sources that still include it here.
#include "pageapi/ApplyWindowLanguage.h"
