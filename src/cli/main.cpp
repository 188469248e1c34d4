// dsp4620-cli: the scripting face of the core.
//
// Dispatching: the command is the first argument that is neither an option nor the value of a
// two-word target option, so options may stand before or after it ("dsp4620-cli --emulate
// info" is "dsp4620-cli info --emulate"). Every other argument goes to the command in its
// order. Plain commands parse them all; for target commands (CliCommand::onTarget) the target
// options are taken here, the target is opened, the command runs and the target is finished.
// See CliCommand.h for how to add a command.
#include "cli/CliCommand.h"
#include "cli/CliTarget.h"

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
    std::fputs("usage: dsp4620-cli COMMAND [ARGS] [OPTIONS]\n"
               "       dsp4620-cli [OPTIONS] COMMAND [ARGS]\n"
               "       dsp4620-cli COMMAND --help\n"
               "       dsp4620-cli --version\n\ncommands:\n",
               to);
    for (const CliCommand& c : CliCommands()) {
        std::fprintf(to, "  %-10s %s\n", c.name, c.summary);
    }
    std::fputs("\ntarget options (commands that read or change settings; see COMMAND "
               "--help):\n" CLI_TARGET_OPTIONS,
               to);
}

// Splits the target options off a target command's arguments; 0 when parsed.
int SplitTargetOptions(const CliCommand& command, const std::vector<std::string>& args,
                       TargetOptions* target, std::vector<std::string>* rest)
{
    for (size_t i = 0; i < args.size(); ++i) {
        std::string error;
        switch (TakeTargetOption(args, &i, target, true, &error)) {
        case TakeResult::Error:
            return CliUsageError(command, error);
        case TakeResult::Taken:
            break;
        case TakeResult::NotTarget:
            rest->push_back(args[i]);
            break;
        }
    }
    if (!target->output.empty() && !target->IsFile()) {
        return CliUsageError(command, "--output belongs to --file");
    }
    if (target->IsFile() && (target->emulate || !target->trace.empty())) {
        return CliUsageError(command, "--file works without a processor: no --emulate or --trace");
    }
    if (target->IsFile() && command.targets == CliTargets::DeviceOnly) {
        return CliUsageError(command, std::string("'") + command.name +
                                          "' needs a processor; a mode file cannot do it");
    }
    return 0;
}

int RunTargetCommand(const CliCommand& command, const std::vector<std::string>& args)
{
    if (CliWantsHelp(command, args)) {
        return 0;
    }
    TargetOptions options;
    std::vector<std::string> rest;
    if (const int status = SplitTargetOptions(command, args, &options, &rest); status != 0) {
        return status;
    }
    CliTarget target(options);
    // Arguments are checked before anything is opened where the command can do so; the
    // command itself checks its values before it changes anything.
    if (!target.Open()) {
        return 1;
    }
    const int status = RunOnOpenTarget(command, target, rest);
    // A failed command leaves a mode file as it was.
    const bool finished = target.Finish(status == 0);
    return status != 0 ? status : (finished ? 0 : 1);
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

const CliCommand* FindCliCommand(const std::string& name)
{
    for (const CliCommand& c : CliCommands()) {
        if (name == c.name) {
            return &c;
        }
    }
    return nullptr;
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

int RunOnOpenTarget(const CliCommand& command, CliTarget& target,
                    const std::vector<std::string>& args)
{
    if (target.IsFile() && command.targets == CliTargets::DeviceOnly) {
        std::fprintf(stderr, "dsp4620-cli: '%s' needs a processor; a mode file cannot do it\n",
                     command.name);
        return 2;
    }
    return command.onTarget(target, args);
}

int main(int argc, char** argv)
{
    const std::vector<std::string> all(argv + 1, argv + argc);
    // The command: the first word that is not an option or an option's value.
    size_t at = all.size();
    for (size_t i = 0; i < all.size(); ++i) {
        if (!all[i].empty() && all[i][0] == '-') {
            if (TargetOptionTakesValue(all[i])) {
                ++i;
            }
            continue;
        }
        at = i;
        break;
    }
    if (at == all.size()) {
        if (std::find(all.begin(), all.end(), "--version") != all.end()) {
            std::printf("dsp4620-cli %s\n", DSP4620_VERSION);
            return 0;
        }
        const bool help = std::any_of(all.begin(), all.end(), [](const std::string& a) {
            return a == "--help" || a == "-h";
        });
        PrintUsage(help ? stdout : stderr);
        return help ? 0 : 2;
    }
    const std::string name = all[at];
    if (name == "help") {
        PrintUsage(stdout);
        return 0;
    }
    std::vector<std::string> args(all.begin(), all.begin() + static_cast<long>(at));
    args.insert(args.end(), all.begin() + static_cast<long>(at) + 1, all.end());
    if (const CliCommand* c = FindCliCommand(name)) {
        return c->onTarget ? RunTargetCommand(*c, args) : c->run(args);
    }
    std::fprintf(stderr, "dsp4620-cli: unknown command '%s'\n", name.c_str());
    PrintUsage(stderr);
    return 2;
}
