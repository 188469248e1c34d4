// dsp4620-cli push: the reports of a full push of the parameter set.
#include "cli/CliCommand.h"
#include "dsp/Dynamics.h"
#include "dsp/EqBands.h"
#include "dsp/FullPush.h"
#include "model/Report.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {
int RunPush(const std::vector<std::string>& args);

const CliCommand kPush = {
    "push",
    "print the reports of a full push of the setting",
    "usage: dsp4620-cli push --dry-run\n"
    "  --dry-run  print every report of the parameter push (ramp switch 0) followed by the\n"
    "             equaliser biquads, for the start-up setting, one report per line as 122\n"
    "             hex digits; nothing is sent\n",
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
    bool dryRun = false;
    for (const std::string& a : args) {
        if (a == "--dry-run") {
            dryRun = true;
        } else {
            return CliUsageError(kPush, "unknown argument '" + a + "'");
        }
    }
    if (!dryRun) {
        return CliUsageError(kPush, "push needs --dry-run (this command sends nothing)");
    }
    PrintReports(RecordPush());
    return 0;
}
} // namespace
