#pragma once
// The device commands' entry that other command files forward to: `push FILE` without
// --dry-run is a restore.

#include <string>
#include <vector>

// Runs `restore` with the given arguments (the file and the device options).
int RunDeviceRestore(const std::vector<std::string>& args);
