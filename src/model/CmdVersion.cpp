#include "model/CmdVersion.h"

std::atomic<int> g_nCmdVersion{1};
