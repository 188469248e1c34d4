#pragma once
// Where a command works: the processor (the first one on the hidraw nodes, or the built-in
// emulated processor) or a mode file with no processor at all. The target options are the
// same for every command that works on a target and may stand anywhere on the command line.

#include "link/WireTrace.h"
#include "link/controller/Synchronizer.h"
#include "link/emulator/EmulatorOptions.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class HidrawBackend;
class VirtualHidBus;

struct TargetOptions
{
    bool emulate = false;
    EmulatorOptions emulator;
    std::string trace;
    bool shortWaits = false;
    bool silent = false;   // the emulated processor answers nothing (for tests)
    long unplugAfter = -1; // the emulated processor leaves the bus after this many reports read
                           // (for tests)
    std::string file;      // --file MODEFILE: edit this mode file, send nothing
    std::string output;    // --output NEW: save the edited mode file here instead
    bool IsFile() const { return !file.empty(); }
};

// The help lines of the target options, for the commands' usage texts.
#define CLI_DEVICE_OPTIONS                                                                         \
    "  --emulate             a fresh built-in emulated processor\n"                                \
    "  --emulate=STATE_FILE  an emulated processor that keeps its setting in STATE_FILE\n"         \
    "                        (without either: the first processor found on the hidraw nodes)\n"    \
    "  --trace FILE          write the wire traffic to FILE ('>' sent, '<' received, hex)\n"       \
    "  --short-waits         skip the synchronisation's settling pauses (2800, 200, 100 and\n"     \
    "                        50 ms); always so with the emulated processor\n"
#define CLI_FILE_OPTIONS                                                                           \
    "  --file MODEFILE       work on a mode file instead of a processor: it is read, edited\n"     \
    "                        and saved back (only when something changed); nothing is sent\n"      \
    "  --output NEW          with --file: save the edited setting to NEW instead\n"
#define CLI_TARGET_OPTIONS CLI_DEVICE_OPTIONS CLI_FILE_OPTIONS

enum class TakeResult
{
    NotTarget, // args[i] is no target option
    Taken,     // taken (with its value, *i moved past it)
    Error,     // a target option with a missing or bad value (*error says which)
};

// Takes the target option at args[*i]. withFile: --file and --output are target options too.
TakeResult TakeTargetOption(const std::vector<std::string>& args, size_t* i, TargetOptions* out,
                            bool withFile, std::string* error);
// True for a target option written as two words ("--trace FILE", "--file F", "--output F"):
// the dispatcher skips the value when it looks for the command name.
bool TargetOptionTakesValue(const std::string& arg);

// The open link of one command: backend, transport, trace and reply counters. Closing says
// farewell (unless told otherwise) and saves the emulated processor's state file.
class DeviceLink
{
public:
    DeviceLink();
    ~DeviceLink();
    DeviceLink(const DeviceLink&) = delete;
    DeviceLink& operator=(const DeviceLink&) = delete;

    // One line on stderr and false when no processor can be reached.
    bool Open(const TargetOptions& args);
    void Close(bool farewell);

    uint64_t Received(uint8_t command) const { return received_[command].load(); }
    uint64_t ReceivedTotal() const { return total_.load(); }
    // Waits (up to the pacing time) for a reply with `command` beyond `before`.
    bool WaitForReply(uint8_t command, uint64_t before) const;
    const SyncTimings& Timings() const { return timings_; }
    const std::string& Path() const { return path_; }
    bool SaveFailed() const { return saveFailed_; }

private:
    std::shared_ptr<VirtualHidBus> bus_;
    std::unique_ptr<HidrawBackend> hidraw_;
    WireTraceWriter trace_;
    std::array<std::atomic<uint64_t>, 256> received_{};
    std::atomic<uint64_t> total_{0};
    SyncTimings timings_;
    std::string path_;
    bool saveFailed_ = false;
};

// The program's state right after start-up: what a processor or a file is read over.
void StartFromScratch();
// The read synchronisation (identification, the whole setting); on failure one line on stderr,
// the link closed and false.
bool ReadWholeSetting(DeviceLink& link);
// Only the identification passes of the read synchronisation; false (link closed) when the
// processor is silent or refused.
bool IdentifyOnly(DeviceLink& link);

// One opened target for the length of a command (or of a whole script).
class CliTarget
{
public:
    explicit CliTarget(TargetOptions options);
    ~CliTarget();

    const TargetOptions& Options() const { return options_; }
    bool IsFile() const { return options_.IsFile(); }
    // A processor: connect, identify and read the whole setting. A file: read it over the
    // start-up setting. False (after one line on stderr) when that failed.
    bool Open();
    // The processor: farewell and close. The file: saved (to --output when given) when
    // `save` and something was changed or --output was given. False when saving failed.
    bool Finish(bool save);
    // A command changed the setting: the file is to be saved.
    void MarkChanged() { changed_ = true; }
    // After a mode recall or reset: the processor's setting is read again.
    bool ReadAgain();
    DeviceLink& Link() { return *link_; }

private:
    TargetOptions options_;
    std::unique_ptr<DeviceLink> link_;
    std::array<uint8_t, 6> deviceInfo_{};
    bool opened_ = false;
    bool changed_ = false;
};
