// dsp4620-cli design: the biquad of one EQ band, as designed and as sent to the processor.
#include "cli/CliCommand.h"
#include "dsp/Biquad.h"
#include "model/Report.h"
#include "model/Writer.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {
int RunDesign(const std::vector<std::string>& args);

const CliCommand kDesign = {
    "design",
    "print the biquad coefficients of one EQ band",
    "usage: dsp4620-cli design TYPE GAIN_DB FREQ_HZ Q\n"
    "  TYPE     filter type code (1 PEQ, 2 LP, 3 HP, 4 LS, 5 HS, 6..21 crossover sections,\n"
    "           anything else all-pass)\n"
    "  GAIN_DB  band gain in dB\n"
    "  FREQ_HZ  band frequency in Hz (sample rate 48000 Hz)\n"
    "  Q        band Q (ignored by the fixed shapes 6..21)\n"
    "Prints a1 a2 b0 b1 b2 of the double-precision design, then the five words sent to the\n"
    "processor (-a1, -a2, b0, b1, b2 as big-endian single-precision floats) in hex.\n",
    RunDesign,
};
const CliRegistration kDesignRegistration(kDesign);

bool ParseInt(const std::string& text, int& out)
{
    errno = 0;
    char* end = nullptr;
    const long v = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || errno != 0 || v < -1000000 || v > 1000000) {
        return false;
    }
    out = static_cast<int>(v);
    return true;
}

bool ParseNumber(const std::string& text, double& out)
{
    errno = 0;
    char* end = nullptr;
    const double v = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || errno != 0 || !std::isfinite(v)) {
        return false;
    }
    out = v;
    return true;
}

int RunDesign(const std::vector<std::string>& args)
{
    if (CliWantsHelp(kDesign, args)) {
        return 0;
    }
    if (args.size() != 4) {
        return CliUsageError(kDesign,
                             "design takes 4 arguments, got " + std::to_string(args.size()));
    }
    int type = 0;
    double gain = 0.0;
    double freq = 0.0;
    double q = 0.0;
    if (!ParseInt(args[0], type)) {
        return CliUsageError(kDesign, "TYPE must be an integer: '" + args[0] + "'");
    }
    if (!ParseNumber(args[1], gain)) {
        return CliUsageError(kDesign, "GAIN_DB must be a number: '" + args[1] + "'");
    }
    if (!ParseNumber(args[2], freq)) {
        return CliUsageError(kDesign, "FREQ_HZ must be a number: '" + args[2] + "'");
    }
    if (!ParseNumber(args[3], q)) {
        return CliUsageError(kDesign, "Q must be a number: '" + args[3] + "'");
    }

    const BiquadCoefs c = DesignBiquad(type, gain, freq, q);
    std::printf("%.9g %.9g %.9g %.9g %.9g\n", c.a1, c.a2, c.b0, c.b1, c.b2);

    // The words exactly as the biquad writer puts them into the report.
    RecordingSink sink;
    {
        ScopedReportSink scoped(&sink);
        WriteBiquad(1, 0, c.a1, c.a2, c.b0, c.b1, c.b2);
    }
    const Report r = sink.Reports().at(0);
    for (size_t i = 6; i < 26; ++i) {
        std::printf("%02x", r[i]);
    }
    std::printf("\n");
    return 0;
}
} // namespace
