// Filter files from room-measurement programs into an EQ, and an EQ out as filter text.
#include "cli/CliCommand.h"
#include "cli/CliTarget.h"
#include "files/EqFilterFile.h"
#include "files/SafeFileWriter.h"
#include "i18n/Language.h"

#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <vector>

namespace {

int RunEqImport(CliTarget& target, const std::vector<std::string>& args);
int RunEqExport(CliTarget& target, const std::vector<std::string>& args);

#define CLI_EQ_NAMES                                                                               \
    "  EQ: mic-a, mic-b, music, echo-a, echo-b, reverb-a, reverb-b, main, rear, center, sub,\n"    \
    "      top\n"

const CliCommand kEqImport{
    "eq-import", "import a filter file (REW or Equalizer APO text) into an EQ",
    "usage: dsp4620-cli eq-import EQ FILE [OPTIONS]\n"
    "  Reads the filters of FILE (a room-measurement program's filter settings export or\n"
    "  equaliser configuration lines) into the EQ's bands 1, 2, ... in file order; the bands\n"
    "  left over become flat. Values beyond what a band takes are limited. A summary of what\n"
    "  was imported, skipped or limited goes to stderr. Exit status 0 when filters were\n"
    "  imported, 1 when nothing importable was found (nothing changes), 2 for bad "
    "arguments.\n" CLI_EQ_NAMES CLI_TARGET_OPTIONS,
    nullptr, RunEqImport};
const CliCommand kEqExport{
    "eq-export", "write an EQ as filter text (to standard output without FILE)",
    "usage: dsp4620-cli eq-export EQ [FILE] [OPTIONS]\n"
    "  Writes the EQ's bands that shape the sound as equaliser configuration lines\n"
    "  (\"Filter N: ON PK Fc ... Hz Gain ... dB Q ...\"), which eq-import reads "
    "back.\n" CLI_EQ_NAMES CLI_TARGET_OPTIONS,
    nullptr, RunEqExport};
const CliRegistration registerEqImport(kEqImport);
const CliRegistration registerEqExport(kEqExport);

// The EQ named by args[0]; -1 after a usage error.
int EqArgument(const CliCommand& command, const std::vector<std::string>& args, size_t least,
               size_t most, int* status)
{
    if (args.size() < least || args.size() > most) {
        *status = CliUsageError(command, "wrong number of arguments");
        return -1;
    }
    const int kind = EqKindFromScriptName(args[0]);
    if (kind < 0) {
        *status = CliUsageError(command, "'" + args[0] + "' is no EQ");
    }
    return kind;
}

int RunEqImport(CliTarget& target, const std::vector<std::string>& args)
{
    int status = 0;
    const int kind = EqArgument(kEqImport, args, 2, 2, &status);
    if (kind < 0) {
        return status;
    }
    SetLanguage(kLanguageEnglish); // the command line's texts are English
    std::string text;
    std::string reason;
    if (!ReadFilterFile(args[1], &text, &reason)) {
        std::fprintf(stderr, "dsp4620-cli: %s: %s\n", args[1].c_str(), reason.c_str());
        return 1;
    }
    const EqFilterImportResult result = ImportFiltersIntoEq(kind, text);
    std::fprintf(stderr, "%s\n", result.summary.c_str());
    if (!result.imported) {
        return 1;
    }
    target.MarkChanged();
    return 0;
}

int RunEqExport(CliTarget&, const std::vector<std::string>& args)
{
    int status = 0;
    const int kind = EqArgument(kEqExport, args, 1, 2, &status);
    if (kind < 0) {
        return status;
    }
    const std::string text = ExportEqFilters(kind);
    if (args.size() == 1) {
        std::fputs(text.c_str(), stdout);
        return 0;
    }
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
    const FileWriteResult written =
        WriteFileReplacing(args[1], std::span<const uint8_t>(bytes, text.size()));
    if (!written.ok) {
        std::fprintf(stderr, "dsp4620-cli: %s: %s\n", args[1].c_str(), written.reason.c_str());
        return 1;
    }
    return 0;
}

} // namespace
