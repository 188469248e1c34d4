// dsp4620-cli info, backup and restore: the processor itself, reached through the hidraw
// backend or the built-in emulated processor, with the program's own synchronisations.
#include "cli/CmdDevice.h"

#include "cli/CliCommand.h"
#include "dsp/Dynamics.h"
#include "files/ModeFile.h"
#include "i18n/Language.h"
#include "link/HidrawBackend.h"
#include "link/LinkState.h"
#include "link/Protocol.h"
#include "link/UsbTransport.h"
#include "link/WireTrace.h"
#include "link/controller/AccessHint.h"
#include "link/controller/Identification.h"
#include "link/controller/Synchronizer.h"
#include "link/emulator/EmulatedProcessor.h"
#include "link/emulator/VirtualHidBus.h"
#include "model/CmdVersion.h"
#include "model/DeviceMemory.h"
#include "model/ParamStore.h"

#include <array>
#include <atomic>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

int RunInfo(const std::vector<std::string>& args);
int RunBackup(const std::vector<std::string>& args);
int RunRestore(const std::vector<std::string>& args);

#define DEVICE_OPTIONS                                                                             \
    "  --emulate             a fresh built-in emulated processor\n"                                \
    "  --emulate=STATE_FILE  an emulated processor that keeps its setting in STATE_FILE\n"         \
    "                        (without either: the first processor found on the hidraw nodes)\n"    \
    "  --trace FILE          write the wire traffic to FILE ('>' sent, '<' received, hex)\n"       \
    "  --short-waits         skip the synchronisation's settling pauses (2800, 200, 100 and\n"     \
    "                        50 ms); always so with the emulated processor\n"

const CliCommand kInfo = {
    "info",
    "identify the processor and print its versions, mode and mode names",
    "usage: dsp4620-cli info [OPTIONS]\n"
    "  Reads the processor as the program does on connection and prints its model, version\n"
    "  texts, command-set version, current mode and the four mode names.\n" DEVICE_OPTIONS,
    RunInfo,
};
const CliCommand kBackup = {
    "backup",
    "read the processor's setting into a mode file",
    "usage: dsp4620-cli backup FILE [OPTIONS]\n"
    "  Reads the whole setting from the processor and writes it as a version 4 mode file.\n"
    "  Nothing is written unless the read finished.\n" DEVICE_OPTIONS,
    RunBackup,
};
const CliCommand kRestore = {
    "restore",
    "write a mode file's setting to the processor",
    "usage: dsp4620-cli restore FILE [OPTIONS]\n"
    "  Reads FILE, identifies the processor (a wrong model or version is refused before\n"
    "  anything is written), reads its machine settings and pushes the whole setting.\n"
    "  No mode name is written and no mode is stored.\n" DEVICE_OPTIONS,
    RunRestore,
};
const CliRegistration kInfoRegistration(kInfo);
const CliRegistration kBackupRegistration(kBackup);
const CliRegistration kRestoreRegistration(kRestore);

struct DeviceArgs
{
    bool emulate = false;
    EmulatorOptions emulator;
    std::string trace;
    bool shortWaits = false;
    bool silent = false; // the emulated processor answers nothing (for tests)
    std::string file;
};

// 0 when parsed; otherwise the exit status.
int ParseDeviceArgs(const CliCommand& command, const std::vector<std::string>& args, bool needsFile,
                    DeviceArgs* out)
{
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (ParseEmulateOption(a, &out->emulator)) {
            out->emulate = true;
        } else if (a == "--trace") {
            if (i + 1 >= args.size()) {
                return CliUsageError(command, "--trace needs a file");
            }
            out->trace = args[++i];
        } else if (a.rfind("--trace=", 0) == 0 && a.size() > 8) {
            out->trace = a.substr(8);
        } else if (a == "--short-waits") {
            out->shortWaits = true;
        } else if (a.rfind("--emulate-model=", 0) == 0) {
            // For tests of the rejection: the emulated processor reports this model.
            out->emulator.model = a.substr(16);
        } else if (a.rfind("--emulate-cmd-version=", 0) == 0) {
            // Decimal, or hexadecimal with 0x.
            int v = 0;
            const char* first = a.data() + 22;
            const bool hex =
                a.size() > 24 && first[0] == '0' && (first[1] == 'x' || first[1] == 'X');
            const auto [end, ec] =
                std::from_chars(hex ? first + 2 : first, a.data() + a.size(), v, hex ? 16 : 10);
            if (ec != std::errc() || end != a.data() + a.size() || v < 0 || v > 255) {
                return CliUsageError(command, "bad command-set version in '" + a + "'");
            }
            out->emulator.cmdVersion = static_cast<uint8_t>(v);
        } else if (a == "--emulate-silent") {
            out->silent = true;
        } else if (a == "--dry-run") {
            return CliUsageError(command, "--dry-run belongs to 'push'");
        } else if (needsFile && !a.empty() && a[0] != '-' && out->file.empty()) {
            out->file = a;
        } else {
            return CliUsageError(command, "unknown argument '" + a + "'");
        }
    }
    if (needsFile && out->file.empty()) {
        return CliUsageError(command, "a mode file is needed");
    }
    return 0;
}

// The open link of one command: backend, transport, trace and reply counters. Closing says
// farewell (unless told otherwise) and saves the emulated processor's state file.
class DeviceLink
{
public:
    ~DeviceLink() { Close(true); }

    // One line on stderr and false when no processor can be reached.
    bool Open(const DeviceArgs& args)
    {
        if (!args.trace.empty()) {
            std::string error;
            if (!trace_.Open(args.trace, &error)) {
                std::fprintf(stderr, "dsp4620-cli: %s\n", error.c_str());
                return false;
            }
        }
        SetUsbWireObserver([this](char direction, const Report& report) {
            if (direction == '<') {
                received_[report[1]].fetch_add(1);
                total_.fetch_add(1);
            }
            if (trace_.IsOpen()) {
                trace_.Record(direction, report);
            }
        });
        if (args.emulate) {
            EmulatorOptions options = args.emulator;
            options.latency = std::chrono::milliseconds(0);
            std::string error;
            bus_ = MakeEmulatedBus(options, &error);
            if (!bus_) {
                std::fprintf(stderr, "dsp4620-cli: %s: %s\n", options.stateFile.c_str(),
                             error.c_str());
                return false;
            }
            // The emulated processor answers at once; commands without an answer need not
            // hold up the next one for long.
            SetUsbTimings({std::chrono::milliseconds(20), std::chrono::milliseconds(200)});
            if (args.silent) {
                bus_->Processor(kEmulatedProcessorPath)->SetSilent(true);
            }
            SetUsbBackend(bus_.get());
        } else {
            hidraw_ = std::make_unique<HidrawBackend>();
            SetUsbTimings({});
            SetUsbBackend(hidraw_.get());
        }
        timings_ = args.emulate || args.shortWaits ? SyncTimings::Zero() : SyncTimings{};
        if (ConnectUsbDevice() != 1) {
            const std::string denied = UsbAccessDeniedPath();
            if (!denied.empty()) {
                std::fprintf(stderr, "dsp4620-cli: %s\n",
                             AccessDeniedText(denied, kLanguageEnglish).c_str());
            } else {
                std::fprintf(stderr, "dsp4620-cli: no processor found (USB HID 2010:1031)%s\n",
                             args.emulate ? "" : "; is it plugged in?");
            }
            return false;
        }
        path_ = UsbDevicePath();
        return true;
    }

    void Close(bool farewell)
    {
        CloseUsbDevice(farewell);
        SetUsbBackend(nullptr);
        SetUsbWireObserver({});
        if (bus_) {
            if (auto processor = bus_->Processor(kEmulatedProcessorPath)) {
                std::string error;
                if (!processor->Save(&error)) {
                    std::fprintf(stderr, "dsp4620-cli: state file: %s\n", error.c_str());
                    saveFailed_ = true;
                }
            }
            bus_.reset();
        }
        hidraw_.reset();
        trace_.Close();
    }

    uint64_t Received(uint8_t command) const { return received_[command].load(); }
    uint64_t ReceivedTotal() const { return total_.load(); }
    // Waits (up to the pacing time) for a reply with `command` beyond `before`.
    bool WaitForReply(uint8_t command, uint64_t before) const
    {
        const auto end = std::chrono::steady_clock::now() + CurrentUsbTimings().pacing;
        while (Received(command) <= before) {
            if (std::chrono::steady_clock::now() > end || g_bReadThreadEnd.load() == 1) {
                return false;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return true;
    }
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

// Refuses a silent or rejected processor with one line; true when it was accepted.
bool Accepted(DeviceLink& link, IdentifyVerdict verdict)
{
    if (link.ReceivedTotal() == 0) {
        std::fprintf(stderr, "dsp4620-cli: the processor at %s does not answer\n",
                     link.Path().c_str());
        link.Close(false);
        return false;
    }
    if (verdict != IdentifyVerdict::Accepted) {
        std::fprintf(stderr, "dsp4620-cli: %s (model \"%s\", command-set version 0x%02X)\n",
                     RejectionText(verdict), g_szModel.Utf8().c_str(), g_nCmdVersion.load());
        link.Close(true);
        return false;
    }
    return true;
}

// The read synchronisation; true when the processor was accepted and everything was read.
bool ReadWholeSetting(DeviceLink& link)
{
    SyncWaiter waiter;
    const uint64_t tables = link.Received(kCmdReadRemoteTable);
    const SyncResult r = SynchronizeData(SyncDirection::Read, link.Timings(), waiter, {});
    if (!Accepted(link, r.verdict)) {
        return false;
    }
    // The last answer may still be on its way when the thread's commands are all out.
    if (!r.complete || !link.WaitForReply(kCmdReadRemoteTable, tables)) {
        std::fprintf(stderr,
                     "dsp4620-cli: the read from the processor did not finish (%d of %d "
                     "commands went out)\n",
                     r.sent, r.sent + r.refused);
        link.Close(false);
        return false;
    }
    return true;
}

void StartFromScratch()
{
    ResetLinkState();
    ParamStore.ResetToDefaults();
    ResetDeviceMemoryToStartup();
    SetPauseFunction({});
}

int RunInfo(const std::vector<std::string>& args)
{
    if (CliWantsHelp(kInfo, args)) {
        return 0;
    }
    DeviceArgs device;
    if (const int status = ParseDeviceArgs(kInfo, args, false, &device); status != 0) {
        return status;
    }
    StartFromScratch();
    DeviceLink link;
    if (!link.Open(device) || !ReadWholeSetting(link)) {
        return 1;
    }
    std::printf("model: %s\n", g_szModel.Utf8().c_str());
    std::printf("controller version: %s\n", g_szMcuVer.Utf8().c_str());
    std::printf("DSP version: %s\n", g_szDspVer.Utf8().c_str());
    std::printf("command-set version: 0x%02X\n", g_nCmdVersion.load());
    std::printf("current mode: M%d\n", g_nCurMode.load() + 1);
    for (int m = 0; m < kLinkModeCount; ++m) {
        std::printf("M%d: %s\n", m + 1, g_szModeName[static_cast<size_t>(m)].Utf8().c_str());
    }
    link.Close(true);
    return link.SaveFailed() ? 1 : 0;
}

int RunBackup(const std::vector<std::string>& args)
{
    if (CliWantsHelp(kBackup, args)) {
        return 0;
    }
    DeviceArgs device;
    if (const int status = ParseDeviceArgs(kBackup, args, true, &device); status != 0) {
        return status;
    }
    StartFromScratch();
    DeviceLink link;
    if (!link.Open(device) || !ReadWholeSetting(link)) {
        return 1;
    }
    link.Close(true);
    const ModeFileResult written = WriteModeFile(device.file, DeviceInfoBytes.Snapshot());
    if (!written.Ok()) {
        std::fprintf(stderr, "dsp4620-cli: %s: %s\n", device.file.c_str(), written.reason.c_str());
        return 1;
    }
    return link.SaveFailed() ? 1 : 0;
}

int RunRestoreWith(const CliCommand& command, const std::vector<std::string>& args)
{
    DeviceArgs device;
    if (const int status = ParseDeviceArgs(command, args, true, &device); status != 0) {
        return status;
    }
    StartFromScratch();
    // The file first: a file that cannot be read never reaches the processor.
    ModeFileDeviceInfo info{};
    const ModeFileResult read = ReadModeFile(device.file, info);
    if (!read.Ok()) {
        std::fprintf(stderr, "dsp4620-cli: %s: %s\n", device.file.c_str(),
                     read.reason.empty() ? "not a mode file" : read.reason.c_str());
        return 1;
    }
    DeviceInfoBytes.Write(0, info);

    DeviceLink link;
    if (!link.Open(device)) {
        return 1;
    }
    // The identification passes of the read synchronisation, then the machine settings that
    // decide the volume ramp, then the write synchronisation.
    SyncWaiter waiter;
    waiter.WaitFor(link.Timings().settle);
    SyncResult ident;
    const IdentifyVerdict verdict = SendIdentification(&ident);
    if (!Accepted(link, verdict)) {
        return 1;
    }
    const uint64_t settings = link.Received(kCmdReadMachineSettings);
    SendCommand({kCmdReadMachineSettings, -1});
    if (!link.WaitForReply(kCmdReadMachineSettings, settings)) {
        std::fprintf(stderr, "dsp4620-cli: the processor did not report its machine settings\n");
        link.Close(false);
        return 1;
    }
    const uint64_t readBacks = link.Received(0x0A);
    const SyncResult r = SynchronizeData(SyncDirection::Write, link.Timings(), waiter, {});
    if (!r.complete || !link.WaitForReply(0x0A, readBacks + 2)) {
        std::fprintf(stderr, "dsp4620-cli: the write to the processor did not finish\n");
        link.Close(false);
        return 1;
    }
    link.Close(true);
    return link.SaveFailed() ? 1 : 0;
}

int RunRestore(const std::vector<std::string>& args)
{
    if (CliWantsHelp(kRestore, args)) {
        return 0;
    }
    return RunRestoreWith(kRestore, args);
}

} // namespace

int RunDeviceRestore(const std::vector<std::string>& args)
{
    return RunRestoreWith(kRestore, args);
}
