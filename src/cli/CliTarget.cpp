// The targets of dsp4620-cli: the processor reached through the hidraw backend or the
// built-in emulated processor, with the program's own synchronisations, or a mode file.
#include "cli/CliTarget.h"

#include "dsp/Dynamics.h"
#include "files/ModeFile.h"
#include "i18n/Language.h"
#include "link/HidrawBackend.h"
#include "link/LinkState.h"
#include "link/Protocol.h"
#include "link/UsbTransport.h"
#include "link/controller/AccessHint.h"
#include "link/controller/Identification.h"
#include "link/emulator/EmulatedProcessor.h"
#include "link/emulator/VirtualHidBus.h"
#include "model/CmdVersion.h"
#include "model/DeviceMemory.h"
#include "model/ParamStore.h"

#include <charconv>
#include <chrono>
#include <cstdio>
#include <thread>

namespace {
// "--name VALUE" or "--name=VALUE"; true when args[*i] is this option (value in *value, empty
// when missing).
bool TakeValue(const std::vector<std::string>& args, size_t* i, const std::string& name,
               std::string* value, bool* present)
{
    const std::string& a = args[*i];
    if (a == name) {
        *present = true;
        if (*i + 1 < args.size()) {
            *value = args[++*i];
        } else {
            value->clear();
        }
        return true;
    }
    if (a.rfind(name + "=", 0) == 0) {
        *present = true;
        *value = a.substr(name.size() + 1);
        return true;
    }
    return false;
}
} // namespace

bool TargetOptionTakesValue(const std::string& arg)
{
    return arg == "--trace" || arg == "--file" || arg == "--output";
}

TakeResult TakeTargetOption(const std::vector<std::string>& args, size_t* i, TargetOptions* out,
                            bool withFile, std::string* error)
{
    const std::string& a = args[*i];
    std::string value;
    bool present = false;
    if (ParseEmulateOption(a, &out->emulator)) {
        out->emulate = true;
        return TakeResult::Taken;
    }
    if (a == "--short-waits") {
        out->shortWaits = true;
        return TakeResult::Taken;
    }
    if (a == "--emulate-silent") {
        out->silent = true;
        return TakeResult::Taken;
    }
    if (a.rfind("--emulate-unplug-after=", 0) == 0) {
        // For tests of a link lost on the way.
        long n = 0;
        const auto [end, ec] = std::from_chars(a.data() + 23, a.data() + a.size(), n);
        if (ec != std::errc() || end != a.data() + a.size() || n < 0) {
            *error = "bad report count in '" + a + "'";
            return TakeResult::Error;
        }
        out->unplugAfter = n;
        return TakeResult::Taken;
    }
    if (a.rfind("--emulate-model=", 0) == 0) {
        // For tests of the rejection: the emulated processor reports this model.
        out->emulator.model = a.substr(16);
        return TakeResult::Taken;
    }
    if (a.rfind("--emulate-cmd-version=", 0) == 0) {
        // Decimal, or hexadecimal with 0x.
        int v = 0;
        const char* first = a.data() + 22;
        const bool hex = a.size() > 24 && first[0] == '0' && (first[1] == 'x' || first[1] == 'X');
        const auto [end, ec] =
            std::from_chars(hex ? first + 2 : first, a.data() + a.size(), v, hex ? 16 : 10);
        if (ec != std::errc() || end != a.data() + a.size() || v < 0 || v > 255) {
            *error = "bad command-set version in '" + a + "'";
            return TakeResult::Error;
        }
        out->emulator.cmdVersion = static_cast<uint8_t>(v);
        return TakeResult::Taken;
    }
    if (TakeValue(args, i, "--trace", &value, &present)) {
        if (value.empty()) {
            *error = "--trace needs a file";
            return TakeResult::Error;
        }
        out->trace = value;
        return TakeResult::Taken;
    }
    if (!withFile) {
        return TakeResult::NotTarget;
    }
    if (TakeValue(args, i, "--file", &value, &present)) {
        if (value.empty()) {
            *error = "--file needs a mode file";
            return TakeResult::Error;
        }
        out->file = value;
        return TakeResult::Taken;
    }
    if (TakeValue(args, i, "--output", &value, &present)) {
        if (value.empty()) {
            *error = "--output needs a file";
            return TakeResult::Error;
        }
        out->output = value;
        return TakeResult::Taken;
    }
    return TakeResult::NotTarget;
}

DeviceLink::DeviceLink() = default;

DeviceLink::~DeviceLink()
{
    Close(true);
}

bool DeviceLink::Open(const TargetOptions& args)
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
            std::fprintf(stderr, "dsp4620-cli: %s: %s\n", options.stateFile.c_str(), error.c_str());
            return false;
        }
        // The emulated processor answers at once; commands without an answer need not
        // hold up the next one for long.
        SetUsbTimings({std::chrono::milliseconds(20), std::chrono::milliseconds(200)});
        if (args.silent) {
            bus_->Processor(kEmulatedProcessorPath)->SetSilent(true);
        }
        if (args.unplugAfter >= 0) {
            bus_->UnplugAfter(kEmulatedProcessorPath, static_cast<unsigned>(args.unplugAfter));
        }
        SetUsbBackend(bus_.get());
    } else {
        hidraw_ = std::make_unique<HidrawBackend>();
        SetUsbTimings({});
        SetUsbBackend(hidraw_.get());
    }
    timings_ = args.emulate || args.shortWaits ? SyncTimings::Zero() : SyncTimings{};
    if (ConnectUsbDevice() != 1) {
        // Found but closed to this user: name the node and the fix.
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

void DeviceLink::Close(bool farewell)
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

bool DeviceLink::WaitForReply(uint8_t command, uint64_t before) const
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

namespace {
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
} // namespace

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

bool IdentifyOnly(DeviceLink& link)
{
    SyncWaiter waiter;
    waiter.WaitFor(link.Timings().settle);
    SyncResult ident;
    return Accepted(link, SendIdentification(&ident));
}

void StartFromScratch()
{
    ResetLinkState();
    ParamStore.ResetToDefaults();
    ResetDeviceMemoryToStartup();
    SetPauseFunction({});
}

CliTarget::CliTarget(TargetOptions options) : options_(std::move(options)) {}

CliTarget::~CliTarget()
{
    if (link_) {
        link_->Close(true);
    }
}

bool CliTarget::Open()
{
    StartFromScratch();
    if (IsFile()) {
        const ModeFileResult read = ReadModeFile(options_.file, deviceInfo_);
        if (!read.Ok()) {
            std::fprintf(stderr, "dsp4620-cli: %s: %s\n", options_.file.c_str(),
                         read.reason.empty() ? "not a mode file" : read.reason.c_str());
            return false;
        }
        // Mode files are made for the processor this program accepts: its command set decides
        // what an edit stores (music AGC, SRS 3D), not the start-up value of a missing link.
        g_nCmdVersion = kAcceptedCmdVersion;
        opened_ = true;
        return true;
    }
    link_ = std::make_unique<DeviceLink>();
    if (!link_->Open(options_) || !ReadWholeSetting(*link_)) {
        return false;
    }
    opened_ = true;
    return true;
}

bool CliTarget::ReadAgain()
{
    return link_ && ReadWholeSetting(*link_);
}

bool CliTarget::Finish(bool save)
{
    if (!opened_) {
        return false;
    }
    opened_ = false;
    if (IsFile()) {
        if (!save || (!changed_ && options_.output.empty())) {
            return true;
        }
        const std::string& path = options_.output.empty() ? options_.file : options_.output;
        const ModeFileResult written = WriteModeFile(path, deviceInfo_);
        if (!written.Ok()) {
            std::fprintf(stderr, "dsp4620-cli: %s: %s\n", path.c_str(), written.reason.c_str());
            return false;
        }
        return true;
    }
    // Writes to a link that died on the way were dropped: that is no success.
    const bool lost = g_bConnected.load() == 0 || g_bReadThreadEnd.load() == 1;
    if (lost) {
        std::fprintf(stderr, "dsp4620-cli: the link to the processor was lost; not everything "
                             "was sent\n");
    }
    link_->Close(!lost);
    return !lost && !link_->SaveFailed();
}
