#include "link/emulator/EmulatorOptions.h"

bool ParseEmulateOption(std::string_view arg, EmulatorOptions* out)
{
    constexpr std::string_view kFlag = "--emulate";
    if (arg.substr(0, kFlag.size()) != kFlag) {
        return false;
    }
    const std::string_view rest = arg.substr(kFlag.size());
    if (rest.empty()) {
        out->stateFile.clear();
        return true;
    }
    if (rest.front() != '=' || rest.size() == 1) {
        return false; // "--emulated", "--emulate=" are not ours
    }
    out->stateFile = std::string(rest.substr(1));
    return true;
}
