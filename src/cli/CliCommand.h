#pragma once
// Subcommands of dsp4620-cli. Each Cmd*.cpp file registers its commands with a static
// CliRegistration, so adding a command touches only its own file.

#include <string>
#include <vector>

struct CliCommand
{
    const char* name;
    const char* summary;
    const char* usage; // printed for --help and after a usage error
    // args excludes the program and the command name. Returns the exit status:
    // 0 success, 1 failure (one line naming the file and the reason), 2 usage error.
    int (*run)(const std::vector<std::string>& args);
};

class CliRegistration
{
public:
    explicit CliRegistration(const CliCommand& command);
};

const std::vector<CliCommand>& CliCommands();

// Prints "dsp4620-cli: <message>" and the command's usage to stderr; returns 2.
int CliUsageError(const CliCommand& command, const std::string& message);
// True (after printing the usage to stdout) when args hold --help or -h.
bool CliWantsHelp(const CliCommand& command, const std::vector<std::string>& args);
