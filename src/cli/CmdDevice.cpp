// dsp4620-cli info, backup and restore: the processor itself, reached through the hidraw
// backend or the built-in emulated processor, with the program's own synchronisations.
#include "cli/CmdDevice.h"

#include "cli/CliCommand.h"
#include "cli/CliTarget.h"
#include "dsp/Dynamics.h"
#include "files/ModeFile.h"
#include "link/HidrawBackend.h"
#include "link/LinkState.h"
#include "link/Protocol.h"
#include "link/UsbTransport.h"
#include "link/WireTrace.h"
#include "link/controller/Identification.h"
#include "link/controller/Synchronizer.h"
#include "link/emulator/EmulatedProcessor.h"
#include "link/emulator/VirtualHidBus.h"
#include "model/CellRanges.h"
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

#define DEVICE_OPTIONS CLI_DEVICE_OPTIONS

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
    TargetOptions target;
    std::string file; // the mode file of backup and restore
};

// 0 when parsed; otherwise the exit status.
int ParseDeviceArgs(const CliCommand& command, const std::vector<std::string>& args, bool needsFile,
                    DeviceArgs* out)
{
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        std::string error;
        const TakeResult taken = TakeTargetOption(args, &i, &out->target, false, &error);
        if (taken == TakeResult::Error) {
            return CliUsageError(command, error);
        }
        if (taken == TakeResult::Taken) {
            continue;
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
    if (!link.Open(device.target) || !ReadWholeSetting(link)) {
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
    if (!link.Open(device.target) || !ReadWholeSetting(link)) {
        return 1;
    }
    if (const int limited = LimitCurrentSetting(); limited > 0) {
        std::fprintf(stderr,
                     "dsp4620-cli: %d values read from the processor were out of range and were "
                     "limited\n",
                     limited);
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
    if (read.limited > 0) {
        std::fprintf(stderr, "dsp4620-cli: %s: %d values out of range were limited\n",
                     device.file.c_str(), read.limited);
    }
    DeviceInfoBytes.Write(0, info);

    DeviceLink link;
    if (!link.Open(device.target)) {
        return 1;
    }
    // The identification passes of the read synchronisation, then the machine settings that
    // decide the volume ramp, then the write synchronisation.
    if (!IdentifyOnly(link)) {
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
    SyncWaiter waiter;
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
