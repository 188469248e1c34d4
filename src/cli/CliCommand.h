#pragma once
// Subcommands of dsp4620-cli. Each Cmd*.cpp file registers its commands with a static
// CliRegistration, so adding a command touches only its own file.
//
// Two kinds of command exist:
//  - plain commands fill `run` and parse all their arguments themselves;
//  - target commands fill `onTarget` (and leave `run` empty). The dispatcher takes the target
//    options (--emulate[=STATE], --trace FILE, --short-waits, --file MODEFILE, --output NEW)
//    off the command line wherever they stand, opens the target (a processor is identified
//    and read first; a mode file is read), calls `onTarget` with the remaining arguments and
//    finishes the target (farewell, or the edited file saved when the command called
//    MarkChanged). A target command also runs as a line of `run SCRIPT`, on the script's one
//    target. `targets` says which targets it accepts.
// A new target command is one file, for example CmdEqFile.cpp:
//     int RunEqImport(CliTarget& target, const std::vector<std::string>& args);
//     const CliCommand kEqImport{"eq-import", "one-line summary", "usage: ...\n"
//     CLI_TARGET_OPTIONS,
//                                nullptr, RunEqImport, CliTargets::Any};
//     const CliRegistration registerEqImport(kEqImport);

#include <string>
#include <vector>

class CliTarget;

enum class CliTargets
{
    Any,        // a processor or a mode file
    DeviceOnly, // needs a processor (refused with --file)
};

struct CliCommand
{
    const char* name;
    const char* summary;
    const char* usage; // printed for --help and after a usage error
    // args excludes the program and the command name. Returns the exit status:
    // 0 success, 1 failure (one line naming the file and the reason), 2 usage error.
    int (*run)(const std::vector<std::string>& args);
    // Target commands: args are the command's own arguments (target options removed). Usage
    // errors and refusals must come before anything is changed on the target.
    int (*onTarget)(CliTarget& target, const std::vector<std::string>& args) = nullptr;
    CliTargets targets = CliTargets::Any;
};

class CliRegistration
{
public:
    explicit CliRegistration(const CliCommand& command);
};

const std::vector<CliCommand>& CliCommands();
// The registered command of this name, or nullptr.
const CliCommand* FindCliCommand(const std::string& name);

// Prints "dsp4620-cli: <message>" and the command's usage to stderr; returns 2.
int CliUsageError(const CliCommand& command, const std::string& message);
// True (after printing the usage to stdout) when args hold --help or -h.
bool CliWantsHelp(const CliCommand& command, const std::vector<std::string>& args);
// Runs a target command on a target already open (used by `run` for each line). Returns the
// exit status; the target is not finished.
int RunOnOpenTarget(const CliCommand& command, CliTarget& target,
                    const std::vector<std::string>& args);
