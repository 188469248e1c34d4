#pragma once
// The processor's command-set version from identification (1 until a processor answers).
// Several writers and the read-back decoder depend on it, so it lives with the model.

#include <atomic>

extern std::atomic<int> g_nCmdVersion;
