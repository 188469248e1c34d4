// dsp4620-cli push: the reports of a full push of the parameter set.
#include "cli/CliCommand.h"
#include "cli/CmdDevice.h"
#include "dsp/Dynamics.h"
#include "dsp/EqBands.h"
#include "dsp/FullPush.h"
#include "files/ModeFile.h"
#include "model/DeviceMemory.h"
#include "model/ParamStore.h"
#include "model/Report.h"
#include "model/SoundFieldGeometry.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {
int RunPush(const std::vector<std::string>& args);

const CliCommand kPush = {
    "push",
    "print the reports of a full push of the setting",
    "usage: dsp4620-cli push [FILE] --dry-run\n"
    "  --dry-run  print every report of the parameter push (ramp switch 0) followed by the\n"
    "             equaliser biquads, for the start-up setting, one report per line as 122\n"
    "             hex digits; nothing is sent\n"
    "  FILE       a mode file (version 1, 2 or 4), read over the start-up setting: print the\n"
    "             reports of the write synchronisation that loading it starts (parameters,\n"
    "             device memory with Block945 encoded from the geometry, equaliser biquads)\n"
    "usage: dsp4620-cli push FILE [--emulate[=STATE_FILE]] [--trace FILE] [--short-waits]\n"
    "  without --dry-run: the same as 'restore FILE', sent to the processor\n",
    RunPush,
};
const CliRegistration kPushRegistration(kPush);

// The reports of SendAllParams (ramp switch 0) and ResendAllEq for the current store and
// device memory, recorded instead of sent and without the music fade's pauses.
std::vector<Report> RecordPush()
{
    RecordingSink sink;
    const PauseFunction previous = SetPauseFunction([](int) {});
    {
        ScopedReportSink scoped(&sink);
        SendAllParams(0);
        ResendAllEq();
    }
    SetPauseFunction(previous);
    return sink.Reports();
}

// The write synchronisation's push of a loaded mode file (ramp switch 0: the machine-settings
// record is not known without a processor), recorded instead of sent.
std::vector<Report> RecordFilePush()
{
    RecordingSink sink;
    const PauseFunction previous = SetPauseFunction([](int) {});
    {
        ScopedReportSink scoped(&sink);
        PushWholeSetting(0, EncodeGeometryIntoBlock945);
    }
    SetPauseFunction(previous);
    return sink.Reports();
}

void PrintReports(const std::vector<Report>& reports)
{
    for (const Report& r : reports) {
        for (uint8_t byte : r) {
            std::printf("%02x", byte);
        }
        std::printf("\n");
    }
}

int RunPush(const std::vector<std::string>& args)
{
    if (CliWantsHelp(kPush, args)) {
        return 0;
    }
    if (std::find(args.begin(), args.end(), "--dry-run") == args.end() && !args.empty()) {
        return RunDeviceRestore(args);
    }
    bool dryRun = false;
    std::string file;
    for (const std::string& a : args) {
        if (a == "--dry-run") {
            dryRun = true;
        } else if (!a.empty() && a[0] != '-' && file.empty()) {
            file = a;
        } else {
            return CliUsageError(kPush, "unknown argument '" + a + "'");
        }
    }
    if (!dryRun) {
        return CliUsageError(kPush, "push needs --dry-run (this command sends nothing)");
    }
    if (file.empty()) {
        PrintReports(RecordPush());
        return 0;
    }
    ParamStore.ResetToDefaults();
    ResetDeviceMemoryToStartup();
    ModeFileDeviceInfo info{};
    const ModeFileResult read = ReadModeFile(file, info);
    if (!read.Ok()) {
        std::fprintf(stderr, "dsp4620-cli: %s: %s\n", file.c_str(), read.reason.c_str());
        return 1;
    }
    if (read.limited > 0) {
        std::fprintf(stderr, "dsp4620-cli: %s: %d values out of range were limited\n", file.c_str(),
                     read.limited);
    }
    PrintReports(RecordFilePush());
    return 0;
}
} // namespace
