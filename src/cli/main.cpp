// dsp4620-cli: the scripting face of the core.
#include "cli/CliCommand.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace {
std::vector<CliCommand>& Registry()
{
    static std::vector<CliCommand> commands;
    return commands;
}

void PrintUsage(std::FILE* to)
{
    std::fputs("usage: dsp4620-cli COMMAND [ARGS]\n"
               "       dsp4620-cli COMMAND --help\n"
               "       dsp4620-cli --version\n\ncommands:\n",
               to);
    for (const CliCommand& c : CliCommands()) {
        std::fprintf(to, "  %-10s %s\n", c.name, c.summary);
    }
}
} // namespace

CliRegistration::CliRegistration(const CliCommand& command)
{
    Registry().push_back(command);
    std::sort(Registry().begin(), Registry().end(), [](const CliCommand& a, const CliCommand& b) {
        return std::string(a.name) < b.name;
    });
}

const std::vector<CliCommand>& CliCommands()
{
    return Registry();
}

int CliUsageError(const CliCommand& command, const std::string& message)
{
    std::fprintf(stderr, "dsp4620-cli: %s\n%s", message.c_str(), command.usage);
    return 2;
}

bool CliWantsHelp(const CliCommand& command, const std::vector<std::string>& args)
{
    for (const std::string& a : args) {
        if (a == "--help" || a == "-h") {
            std::fputs(command.usage, stdout);
            return true;
        }
    }
    return false;
}

int main(int argc, char** argv)
{
    if (argc < 2) {
        PrintUsage(stderr);
        return 2;
    }
    const std::string name = argv[1];
    if (name == "--help" || name == "-h" || name == "help") {
        PrintUsage(stdout);
        return 0;
    }
    if (name == "--version") {
        std::printf("dsp4620-cli %s\n", DSP4620_VERSION);
        return 0;
    }
    for (const CliCommand& c : CliCommands()) {
        if (name == c.name) {
            return c.run(std::vector<std::string>(argv + 2, argv + argc));
        }
    }
    std::fprintf(stderr, "dsp4620-cli: unknown command '%s'\n", name.c_str());
    PrintUsage(stderr);
    return 2;
}
