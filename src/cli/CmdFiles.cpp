// Mode-file commands: dump, new, convert.
#include "cli/CliCommand.h"
#include "files/ModeFile.h"
#include "files/SettingDump.h"
#include "model/DeviceMemory.h"
#include "model/ParamStore.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {
// The program's state right after start-up: what a file is read over.
void ResetToStartup()
{
    ParamStore.ResetToDefaults();
    ResetDeviceMemoryToStartup();
}

int FileError(const std::string& path, const std::string& reason)
{
    std::fprintf(stderr, "dsp4620-cli: %s: %s\n", path.c_str(), reason.c_str());
    return 1;
}

// Options start with "-"; everything else is a file argument.
std::vector<std::string> Positional(const std::vector<std::string>& args)
{
    std::vector<std::string> out;
    for (const std::string& a : args) {
        if (a.empty() || a[0] != '-') {
            out.push_back(a);
        }
    }
    return out;
}

bool ReadInto(const std::string& path, ModeFileDeviceInfo& info, int32_t& version, int& status)
{
    ResetToStartup();
    const ModeFileResult r = ReadModeFile(path, info);
    if (!r.Ok()) {
        status = FileError(path, r.reason);
        return false;
    }
    version = r.version;
    if (r.limited > 0) {
        std::fprintf(stderr, "dsp4620-cli: %s: %d values out of range were limited\n", path.c_str(),
                     r.limited);
    }
    return true;
}

extern const CliCommand kDump;
extern const CliCommand kNew;
extern const CliCommand kConvert;

int RunDump(const std::vector<std::string>& args)
{
    if (CliWantsHelp(kDump, args)) {
        return 0;
    }
    bool json = false;
    for (const std::string& a : args) {
        if (a == "--json") {
            json = true;
        } else if (!a.empty() && a[0] == '-') {
            return CliUsageError(kDump, "unknown option '" + a + "'");
        }
    }
    const std::vector<std::string> files = Positional(args);
    if (files.size() != 1) {
        return CliUsageError(kDump, "dump takes one FILE");
    }
    DumpHeader header;
    header.file = files[0];
    int status = 0;
    if (!ReadInto(files[0], header.deviceInfo, header.version, status)) {
        return status;
    }
    const std::string text = json ? DumpSettingJson(header) : DumpSettingText(header);
    std::fwrite(text.data(), 1, text.size(), stdout);
    return 0;
}

int RunNew(const std::vector<std::string>& args)
{
    if (CliWantsHelp(kNew, args)) {
        return 0;
    }
    const std::vector<std::string> files = Positional(args);
    if (files.size() != 1 || files.size() != args.size()) {
        return CliUsageError(kNew, "new takes one FILE and no options");
    }
    ResetToStartup();
    const ModeFileResult r = WriteModeFile(files[0], ModeFileDeviceInfo{});
    return r.Ok() ? 0 : FileError(files[0], r.reason);
}

int RunConvert(const std::vector<std::string>& args)
{
    if (CliWantsHelp(kConvert, args)) {
        return 0;
    }
    const std::vector<std::string> files = Positional(args);
    if (files.size() != 2 || files.size() != args.size()) {
        return CliUsageError(kConvert, "convert takes IN and OUT and no options");
    }
    ModeFileDeviceInfo info{};
    int32_t version = 0;
    int status = 0;
    if (!ReadInto(files[0], info, version, status)) {
        return status;
    }
    const ModeFileResult r = WriteModeFile(files[1], info);
    return r.Ok() ? 0 : FileError(files[1], r.reason);
}

const CliCommand kDump{
    "dump", "list the setting held in a mode file",
    "usage: dsp4620-cli dump [--json] FILE\n"
    "  Reads a mode file (version 1, 2 or 4) over the start-up setting and lists every cell by\n"
    "  its PRM_ name with its value and unit, every EQ with its bands (type, gain, frequency,\n"
    "  Q), the speaker levels, the sound-field geometry and the mic boost level. Cells and\n"
    "  bands an old version does not carry show their start-up values.\n"
    "  --json  the same as one JSON object: cells under \"cells\" keyed by PRM_ name, bands\n"
    "          under \"eq\" keyed by page kind, each {\"type\",\"gain\",\"freq\",\"q\"}.\n",
    RunDump};
const CliCommand kNew{"new", "write the start-up setting as a mode file",
                      "usage: dsp4620-cli new FILE\n"
                      "  Writes the setting the program starts with as a version 4 mode file\n"
                      "  (1645 bytes), as saving right after start-up does.\n",
                      RunNew};
const CliCommand kConvert{"convert", "rewrite a mode file of any version as version 4",
                          "usage: dsp4620-cli convert IN OUT\n"
                          "  Reads IN (version 1, 2 or 4) over the start-up setting and writes it\n"
                          "  to OUT as version 4. OUT is replaced only once it is complete.\n",
                          RunConvert};

const CliRegistration registerDump(kDump);
const CliRegistration registerNew(kNew);
const CliRegistration registerConvert(kConvert);
} // namespace
