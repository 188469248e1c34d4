// Settings by name: list, get, set; the processor's modes; status; scripts of commands.
#include "cli/CliCommand.h"
#include "cli/CliSettings.h"
#include "cli/CliTarget.h"
#include "dsp/SoundField.h"
#include "link/LinkState.h"
#include "link/Protocol.h"
#include "link/UsbTransport.h"
#include "link/controller/ModeFileNames.h"
#include "link/controller/RemoteControl.h"
#include "model/CmdVersion.h"

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

int RunList(const std::vector<std::string>& args);
int RunGet(CliTarget& target, const std::vector<std::string>& args);
int RunSet(CliTarget& target, const std::vector<std::string>& args);
int RunMode(CliTarget& target, const std::vector<std::string>& args);
int RunStatus(CliTarget& target, const std::vector<std::string>& args);
int RunScript(CliTarget& target, const std::vector<std::string>& args);
int RunSoundField(CliTarget& target, const std::vector<std::string>& args);
int RunRemote(CliTarget& target, const std::vector<std::string>& args);

const CliCommand kList{
    "list", "list every setting with its unit, range or choices and page",
    "usage: dsp4620-cli list [--json]\n"
    "  Prints every setting name that get and set take, with its unit, its range or choices\n"
    "  and the page or window it belongs to. Needs no processor.\n"
    "  --json  one object {\"settings\": [{\"name\", \"page\", \"unit\", \"kind\", \"min\", "
    "\"max\",\n"
    "          \"step\"} or {..., \"choices\": [...]}]}\n",
    RunList};
const CliCommand kGet{
    "get", "print settings by name (all without NAME)",
    "usage: dsp4620-cli get [NAME...] [--json] [OPTIONS]\n"
    "  Prints the current value of each named setting (every setting without NAME) as\n"
    "  NAME=VALUE lines, read from the processor or the mode file.\n"
    "  --json  one object: numbers are numbers, on/off are true/false, choices are strings,\n"
    "          points and room sizes are [X, Y] and [W, L]\n" CLI_TARGET_OPTIONS,
    nullptr, RunGet};
const CliCommand kSet{
    "set", "change settings by name",
    "usage: dsp4620-cli set NAME=VALUE [NAME=VALUE...] [OPTIONS]\n"
    "  Every assignment is checked first: an unknown name, a malformed value or one out of\n"
    "  range stops the command with exit status 2 before anything is sent or saved. Then\n"
    "  they are applied in order, as the same edits on the pages would be; assignments to\n"
    "  one EQ band, one compressor or the machine settings that follow each other are\n"
    "  written together (the machine settings with one Apply after the last of them).\n"
    "  Values: numbers, on/off, a choice word, X,Y (metres), WxL (whole "
    "metres).\n" CLI_TARGET_OPTIONS,
    nullptr, RunSet};
const CliCommand kMode{"mode",
                       "recall, store, reset or name one of the modes M1..M4",
                       "usage: dsp4620-cli mode recall|store|reset N [OPTIONS]\n"
                       "       dsp4620-cli mode name N TEXT [OPTIONS]\n"
                       "  recall  the processor loads mode N (1..4); its setting is read again\n"
                       "  store   the present setting is stored into mode N\n"
                       "  reset   mode N returns to its factory setting and is read again\n"
                       "  name    mode N is named TEXT (at most 20 characters are kept)\n"
                       "  These need a processor.\n" CLI_DEVICE_OPTIONS,
                       nullptr,
                       RunMode,
                       CliTargets::DeviceOnly};
const CliCommand kStatus{
    "status",
    "print the connection, versions, modes and level meters",
    "usage: dsp4620-cli status [--json] [--watch] [--period MS] [--count N] [OPTIONS]\n"
    "  Prints the processor's path, model and versions, the current mode and the mode names,\n"
    "  then the level meters of the status block (ten levels, 0..255, and the music input\n"
    "  level in dB).\n"
    "  --json     the same as one JSON object\n"
    "  --watch    then polls the levels and prints a line (a JSON object with --json) every\n"
    "             300 ms until interrupted\n"
    "  --period MS  the polling period of --watch (default 300)\n"
    "  --count N    stop --watch after N lines\n" CLI_DEVICE_OPTIONS,
    nullptr,
    RunStatus,
    CliTargets::DeviceOnly};
const CliCommand kRun{
    "run", "run a script of commands on one connection",
    "usage: dsp4620-cli run SCRIPT|- [OPTIONS]\n"
    "  Reads one command per line (get, set, mode, soundfield, remote, status, ... without\n"
    "  target options) from SCRIPT or from standard input ('-'); '#' starts a comment and\n"
    "  words may be quoted with \"...\". The target is opened and read once for the whole\n"
    "  script. The first failing line stops it: its line number is printed and its exit\n"
    "  status returned. With --file the file is saved only when every line "
    "succeeded.\n" CLI_TARGET_OPTIONS,
    nullptr, RunScript};

const CliCommand kSoundField{
    "soundfield", "reset the room plan or centre the listener",
    "usage: dsp4620-cli soundfield reset|center [OPTIONS]\n"
    "  reset   every speaker to 0 dB and the start-up room plan, as the\n"
    "          sound-field page's reset does\n"
    "  center  the listener to the middle of the room, and the eight\n"
    "          speaker levels from their new distances\n"
    "  Single points and the room size are settings: see 'list'.\n" CLI_TARGET_OPTIONS,
    nullptr, RunSoundField};
const CliCommand kRemote{"remote",
                         "send or save the remote-control key table",
                         "usage: dsp4620-cli remote apply|save FILE.remo [OPTIONS]\n"
                         "  apply  reads the key table from FILE.remo (16 bytes; a shorter file\n"
                         "         changes only the keys it holds) and sends it to the processor\n"
                         "  save   writes the processor's key table to FILE.remo (the extension\n"
                         "         remo is put on the name; an old file is replaced only once the\n"
                         "         new one is complete)\n"
                         "  These need a processor.\n" CLI_DEVICE_OPTIONS,
                         nullptr,
                         RunRemote,
                         CliTargets::DeviceOnly};

const CliRegistration registerList(kList);
const CliRegistration registerSoundField(kSoundField);
const CliRegistration registerRemote(kRemote);
const CliRegistration registerGet(kGet);
const CliRegistration registerSet(kSet);
const CliRegistration registerMode(kMode);
const CliRegistration registerStatus(kStatus);
const CliRegistration registerRun(kRun);

bool Flag(const std::vector<std::string>& args, const char* flag)
{
    for (const std::string& a : args) {
        if (a == flag) {
            return true;
        }
    }
    return false;
}

const char* KindName(SettingKind kind)
{
    switch (kind) {
    case SettingKind::Int:
        return "integer";
    case SettingKind::IntOrOff:
        return "integer-or-off";
    case SettingKind::Real:
        return "number";
    case SettingKind::Switch:
        return "switch";
    case SettingKind::Choice:
        return "choice";
    case SettingKind::Point:
        return "point";
    case SettingKind::Room:
        return "room";
    }
    return "";
}

int RunList(const std::vector<std::string>& args)
{
    if (CliWantsHelp(kList, args)) {
        return 0;
    }
    bool json = false;
    TargetOptions ignored; // target options are allowed and not needed
    for (size_t i = 0; i < args.size(); ++i) {
        std::string error;
        const TakeResult taken = TakeTargetOption(args, &i, &ignored, true, &error);
        if (taken == TakeResult::Error) {
            return CliUsageError(kList, error);
        }
        if (taken == TakeResult::Taken) {
            continue;
        }
        if (args[i] == "--json") {
            json = true;
        } else {
            return CliUsageError(kList, "unknown argument '" + args[i] + "'");
        }
    }
    std::string out = json ? "{\"settings\": [\n" : "";
    bool first = true;
    for (const Setting& s : AllSettings()) {
        if (!json) {
            out += s.name + "  " + RangeText(s) + "  [" + s.page + "]\n";
            continue;
        }
        out += first ? "  {" : ",\n  {";
        first = false;
        out += "\"name\": " + JsonQuote(s.name) + ", \"page\": " + JsonQuote(s.page) +
               ", \"unit\": " + JsonQuote(s.unit) + ", \"kind\": " + JsonQuote(KindName(s.kind)) +
               ", \"range\": " + JsonQuote(RangeText(s));
        if (s.kind == SettingKind::Choice || s.kind == SettingKind::Switch) {
            out += ", \"choices\": [";
            for (size_t i = 0; i < s.choices.size(); ++i) {
                out += (i ? ", " : "") + JsonQuote(s.choices[i]);
            }
            out += "]";
        } else if (s.kind != SettingKind::Point) {
            const SettingRange r = s.range();
            char numbers[160];
            std::snprintf(numbers, sizeof numbers, ", \"min\": %.*f, \"max\": %.*f, \"step\": %g",
                          r.decimals, r.minimum, r.decimals, r.maximum, r.step);
            out += numbers;
        }
        out += "}";
    }
    if (json) {
        out += "\n]}\n";
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
}

// A setting the target cannot hold is refused.
bool Holds(const CliTarget& target, const Setting& s)
{
    return !(target.IsFile() && s.deviceOnly);
}

int RunGet(CliTarget& target, const std::vector<std::string>& args)
{
    bool json = false;
    std::vector<const Setting*> chosen;
    for (const std::string& a : args) {
        if (a == "--json") {
            json = true;
            continue;
        }
        if (!a.empty() && a[0] == '-') {
            return CliUsageError(kGet, "unknown option '" + a + "'");
        }
        const Setting* s = FindSetting(a);
        if (!s) {
            std::fprintf(stderr,
                         "dsp4620-cli: %s: no such setting (dsp4620-cli list shows them all)\n",
                         a.c_str());
            return 2;
        }
        if (!Holds(target, *s)) {
            std::fprintf(stderr, "dsp4620-cli: %s: not kept in a mode file\n", a.c_str());
            return 2;
        }
        chosen.push_back(s);
    }
    if (chosen.empty()) {
        for (const Setting& s : AllSettings()) {
            if (Holds(target, s)) {
                chosen.push_back(&s);
            }
        }
    }
    std::string out = json ? "{" : "";
    for (size_t i = 0; i < chosen.size(); ++i) {
        const Setting& s = *chosen[i];
        const SettingValue v = s.get();
        if (json) {
            out += (i ? ",\n  " : "\n  ") + JsonQuote(s.name) + ": " + FormatJsonValue(s, v);
        } else {
            out += s.name + "=" + FormatValue(s, v) + "\n";
        }
    }
    if (json) {
        out += "\n}\n";
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
}

int RunSet(CliTarget& target, const std::vector<std::string>& args)
{
    if (args.empty()) {
        return CliUsageError(kSet, "set needs NAME=VALUE");
    }
    std::vector<Assignment> assignments;
    for (const std::string& a : args) {
        const EarlierValue earlier = [&assignments](const std::string& name) {
            std::optional<SettingValue> found;
            for (const Assignment& e : assignments) {
                if (e.setting->name == name) {
                    found = e.value;
                }
            }
            return found;
        };
        std::string error;
        const std::optional<Assignment> parsed = ParseAssignment(a, earlier, &error);
        if (!parsed) {
            std::fprintf(stderr, "dsp4620-cli: %s\n", error.c_str());
            return 2;
        }
        if (!Holds(target, *parsed->setting)) {
            std::fprintf(stderr, "dsp4620-cli: %s: not kept in a mode file; it needs a processor\n",
                         parsed->setting->name.c_str());
            return 2;
        }
        assignments.push_back(*parsed);
    }
    ApplyAssignments(assignments);
    target.MarkChanged();
    return 0;
}

// "1".."4" as 0..3; -1 otherwise.
int ModeNumber(const std::string& text)
{
    return text.size() == 1 && text[0] >= '1' && text[0] <= '4' ? text[0] - '1' : -1;
}

int RunMode(CliTarget& target, const std::vector<std::string>& args)
{
    const std::string action = args.empty() ? "" : args[0];
    const bool naming = action == "name";
    if (!(action == "recall" || action == "store" || action == "reset" || naming) ||
        args.size() != (naming ? 3u : 2u)) {
        return CliUsageError(kMode, "mode takes recall|store|reset N or name N TEXT");
    }
    const int mode = ModeNumber(args[1]);
    if (mode < 0) {
        return CliUsageError(kMode, "mode number '" + args[1] + "' is not 1..4");
    }
    if (naming) {
        std::u16string name = Utf8ToUtf16(args[2]);
        name = name.substr(0, std::min(name.size(), kModeNameMaxChars));
        WriteModeName(mode, name);
        g_szModeName[static_cast<size_t>(mode)].Set(name);
        return 0;
    }
    g_nCurMode = mode;
    if (action == "store") {
        g_bParamChanged = 0;
        SendCommand({kCmdStoreMode, mode, -1});
        return 0;
    }
    SendCommand({action == "recall" ? kCmdLoadMode : kCmdResetMode, mode, -1});
    return target.ReadAgain() ? 0 : 1;
}

int RunSoundField(CliTarget& target, const std::vector<std::string>& args)
{
    if (args.size() != 1 || (args[0] != "reset" && args[0] != "center")) {
        return CliUsageError(kSoundField, "soundfield takes reset or center");
    }
    if (args[0] == "reset") {
        ResetSoundField();
    } else {
        CenterSoundFieldListener();
    }
    target.MarkChanged();
    return 0;
}

int RunRemote(CliTarget& target, const std::vector<std::string>& args)
{
    if (args.size() != 2 || (args[0] != "apply" && args[0] != "save")) {
        return CliUsageError(kRemote, "remote takes apply FILE or save FILE");
    }
    if (args[0] == "apply") {
        const uint64_t before = target.Link().Received(kCmdWriteRemoteTable);
        const RemoteFileResult r = LoadRemoteTable(args[1]);
        if (!r.ok) {
            std::fprintf(stderr, "dsp4620-cli: %s: %s\n", args[1].c_str(), r.reason.c_str());
            return 1;
        }
        // The processor confirms the table before the link is closed.
        if (!target.Link().WaitForReply(kCmdWriteRemoteTable, before)) {
            std::fprintf(stderr, "dsp4620-cli: the processor did not confirm the key table\n");
            return 1;
        }
        return 0;
    }
    const RemoteFileResult r = SaveRemoteTable(args[1]);
    if (!r.ok) {
        std::fprintf(stderr, "dsp4620-cli: %s: %s\n", r.path.string().c_str(), r.reason.c_str());
        return 1;
    }
    return 0;
}

// ---- status -------------------------------------------------------------------------------

std::atomic<bool> g_interrupted{false};

extern "C" void OnInterrupt(int)
{
    g_interrupted = true;
}

std::string LevelsText(bool json)
{
    const auto block = g_StatusBlock.Snapshot();
    std::string out = json ? "\"levels\": [" : "levels:";
    for (size_t i = 0; i < 10; ++i) {
        out += (json && i ? ", " : (json ? "" : " ")) + std::to_string(block[i]);
    }
    const int music = static_cast<int8_t>(block[14]);
    out += json ? "], \"musicLevel\": " + std::to_string(music)
                : "  music level: " + std::to_string(music) + " dB";
    return out;
}

// Asks for the status block and waits for its answer.
bool PollStatus(CliTarget& target)
{
    const uint64_t before = target.Link().Received(kCmdStatus);
    SendCommand({kCmdStatus, -1});
    return target.Link().WaitForReply(kCmdStatus, before);
}

int ParseCount(const std::vector<std::string>& args, size_t* i, long* out)
{
    if (*i + 1 >= args.size()) {
        return -1;
    }
    const std::string& text = args[++*i];
    char* end = nullptr;
    const long v = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || v < 1 || v > 86400000) {
        return -1;
    }
    *out = v;
    return 0;
}

int RunStatus(CliTarget& target, const std::vector<std::string>& args)
{
    bool json = false;
    bool watch = false;
    long period = 300;
    long count = 0;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--json") {
            json = true;
        } else if (args[i] == "--watch") {
            watch = true;
        } else if (args[i] == "--period") {
            if (ParseCount(args, &i, &period) != 0) {
                return CliUsageError(kStatus, "--period needs a number of milliseconds");
            }
        } else if (args[i] == "--count") {
            if (ParseCount(args, &i, &count) != 0) {
                return CliUsageError(kStatus, "--count needs a positive number");
            }
        } else {
            return CliUsageError(kStatus, "unknown argument '" + args[i] + "'");
        }
    }
    const bool polled = PollStatus(target);
    std::string out;
    if (json) {
        out = "{\"connected\": true, \"path\": " + JsonQuote(target.Link().Path()) +
              ", \"model\": " + JsonQuote(g_szModel.Utf8()) +
              ", \"controllerVersion\": " + JsonQuote(g_szMcuVer.Utf8()) +
              ", \"dspVersion\": " + JsonQuote(g_szDspVer.Utf8()) +
              ", \"commandSetVersion\": " + std::to_string(g_nCmdVersion.load()) +
              ", \"mode\": " + std::to_string(g_nCurMode.load() + 1) + ", \"modeNames\": [";
        for (int m = 0; m < kLinkModeCount; ++m) {
            out += (m ? ", " : "") + JsonQuote(g_szModeName[static_cast<size_t>(m)].Utf8());
        }
        out += "], " + LevelsText(true) + "}\n";
    } else {
        out = "connected: " + target.Link().Path() + "\nmodel: " + g_szModel.Utf8() +
              "\ncontroller version: " + g_szMcuVer.Utf8() + "\nDSP version: " + g_szDspVer.Utf8();
        char version[64];
        std::snprintf(version, sizeof version, "\ncommand-set version: 0x%02X\ncurrent mode: M%d\n",
                      g_nCmdVersion.load(), g_nCurMode.load() + 1);
        out += version;
        for (int m = 0; m < kLinkModeCount; ++m) {
            out += "M" + std::to_string(m + 1) + ": " +
                   g_szModeName[static_cast<size_t>(m)].Utf8() + "\n";
        }
        out += LevelsText(false) + "\n";
    }
    std::fputs(out.c_str(), stdout);
    std::fflush(stdout);
    if (!polled) {
        std::fprintf(stderr, "dsp4620-cli: the processor did not report its levels\n");
        return 1;
    }
    if (!watch) {
        return 0;
    }
    g_interrupted = false;
    const auto previous = std::signal(SIGINT, OnInterrupt);
    const auto previousTerm = std::signal(SIGTERM, OnInterrupt);
    int status = 0;
    auto next = std::chrono::steady_clock::now();
    for (long lines = 0; !g_interrupted && (count == 0 || lines < count); ++lines) {
        next += std::chrono::milliseconds(period);
        // Short sleeps, so an interruption ends the watch at once.
        while (!g_interrupted && std::chrono::steady_clock::now() < next) {
            std::this_thread::sleep_for(std::chrono::milliseconds(std::min<long>(period, 20)));
        }
        if (g_interrupted) {
            break;
        }
        if (!PollStatus(target)) {
            std::fprintf(stderr, "dsp4620-cli: the processor did not report its levels\n");
            status = 1;
            break;
        }
        const std::string line = json ? "{" + LevelsText(true) + "}\n" : LevelsText(false) + "\n";
        std::fputs(line.c_str(), stdout);
        std::fflush(stdout);
    }
    std::signal(SIGINT, previous);
    std::signal(SIGTERM, previousTerm);
    return status;
}

// ---- run ----------------------------------------------------------------------------------

// Splits a script line into words: blanks separate, "..." quotes, '#' outside quotes ends the
// line. False when a quote is not closed.
bool SplitLine(const std::string& line, std::vector<std::string>* words)
{
    std::string word;
    bool inWord = false;
    bool quoted = false;
    for (size_t i = 0; i < line.size(); ++i) {
        const char ch = line[i];
        if (quoted) {
            if (ch == '"') {
                quoted = false;
            } else if (ch == '\\' && i + 1 < line.size() &&
                       (line[i + 1] == '"' || line[i + 1] == '\\')) {
                word += line[++i];
            } else {
                word += ch;
            }
        } else if (ch == '"') {
            quoted = true;
            inWord = true;
        } else if (ch == '#') {
            break;
        } else if (ch == ' ' || ch == '\t' || ch == '\r') {
            if (inWord) {
                words->push_back(word);
                word.clear();
                inWord = false;
            }
        } else {
            word += ch;
            inWord = true;
        }
    }
    if (quoted) {
        return false;
    }
    if (inWord) {
        words->push_back(word);
    }
    return true;
}

int RunScript(CliTarget& target, const std::vector<std::string>& args)
{
    if (args.size() != 1) {
        return CliUsageError(kRun, "run takes one SCRIPT (or - for standard input)");
    }
    std::ifstream file;
    std::istream* in = &std::cin;
    if (args[0] != "-") {
        file.open(args[0]);
        if (!file) {
            std::fprintf(stderr, "dsp4620-cli: %s: cannot read the script\n", args[0].c_str());
            return 1;
        }
        in = &file;
    }
    const std::string scriptName = args[0] == "-" ? "standard input" : args[0];
    std::string line;
    for (int number = 1; std::getline(*in, line); ++number) {
        std::vector<std::string> words;
        int status = 0;
        if (!SplitLine(line, &words)) {
            std::fprintf(stderr, "dsp4620-cli: unclosed quote\n");
            status = 2;
        } else if (words.empty()) {
            continue;
        } else {
            const CliCommand* command = FindCliCommand(words[0]);
            const std::vector<std::string> rest(words.begin() + 1, words.end());
            bool targetOption = false;
            for (const std::string& w : rest) {
                TargetOptions probe;
                size_t i = 0;
                std::string error;
                const std::vector<std::string> one{w};
                targetOption = targetOption || TakeTargetOption(one, &i, &probe, true, &error) !=
                                                   TakeResult::NotTarget;
            }
            if (!command || !command->onTarget || command->onTarget == RunScript) {
                std::fprintf(stderr, "dsp4620-cli: '%s' cannot be used in a script\n",
                             words[0].c_str());
                status = 2;
            } else if (targetOption) {
                std::fprintf(stderr,
                             "dsp4620-cli: target options belong to the run command, not to its "
                             "lines\n");
                status = 2;
            } else if (Flag(rest, "--help") || Flag(rest, "-h")) {
                std::fputs(command->usage, stdout);
            } else {
                status = RunOnOpenTarget(*command, target, rest);
            }
        }
        if (status != 0) {
            std::fprintf(stderr, "dsp4620-cli: %s: line %d failed: %s\n", scriptName.c_str(),
                         number, line.c_str());
            return status;
        }
    }
    return 0;
}

} // namespace
