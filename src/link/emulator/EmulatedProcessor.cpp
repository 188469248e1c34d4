#include "link/emulator/EmulatedProcessor.h"

#include "link/emulator/LevelGenerator.h"
#include "link/emulator/StateFile.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <bit>
#include <condition_variable>
#include <cstdio>
#include <map>
#include <mutex>
#include <thread>

namespace {
constexpr size_t kMaxBlockBytes = 56;             // data bytes one memory report carries
constexpr size_t kMaxReportWords = 13;            // values one parameter report carries
constexpr size_t kTextCapacity = kReportSize - 2; // text in bytes 2..60, zero after it if room

enum : uint8_t
{
    CMD_SELECT_MODE = 0x03,
    CMD_STORE_MODE = 0x04,
    CMD_LOAD_MODE = 0x05,
    CMD_RESET_MODE = 0x06,
    CMD_CURRENT_MODE = 0x07,
    CMD_WRITE_PARAM = 0x09,
    CMD_READ_PARAM = 0x0A,
    CMD_STATUS = 0x0E,
    CMD_CHANGED = 0x14,
    CMD_LEARN_KEY = 0x60,
    CMD_STOP_LEARNING = 0x61,
    CMD_READ_KEYS = 0x62,
    CMD_WRITE_KEYS = 0x63,
    CMD_RESTART = 0x68,
    CMD_DSP_VERSION = 0x7E,
    CMD_CMD_VERSION = 0x7F,
    CMD_MODEL = 0x80,
    CMD_MCU_VERSION = 0x81,
    CMD_WRITE_MEMORY = 0x85,
    CMD_READ_MEMORY = 0x86,
    CMD_FAREWELL = 0x8A,
    CMD_WRITE_SETTINGS = 0x91,
    CMD_READ_SETTINGS = 0x92,
    CMD_WRITE_NAME = 0xDA,
    CMD_READ_NAME = 0xDB,
};
constexpr uint8_t kRestartKey = 0xAA;
// Status byte of an acknowledgement.
constexpr uint8_t kAckApplied = 0x00;
constexpr uint8_t kAckRefused = 0x01; // no such mode, address outside the memory, wrong key

uint32_t GetU32(const uint8_t* at)
{
    return static_cast<uint32_t>(at[0]) << 24 | static_cast<uint32_t>(at[1]) << 16 |
           static_cast<uint32_t>(at[2]) << 8 | static_cast<uint32_t>(at[3]);
}

void PutU32(uint8_t* at, uint32_t v)
{
    at[0] = static_cast<uint8_t>(v >> 24);
    at[1] = static_cast<uint8_t>(v >> 16);
    at[2] = static_cast<uint8_t>(v >> 8);
    at[3] = static_cast<uint8_t>(v);
}

Report TextAnswer(uint8_t command, const std::string& text)
{
    Report r = MakeReport(command);
    const size_t n = std::min(text.size(), kTextCapacity);
    std::copy_n(text.begin(), n, r.begin() + 2);
    return r;
}

int Address(const Report& in)
{
    return in[2] << 8 | in[3];
}

bool InputOn(const ParameterSet& p, int param)
{
    return std::bit_cast<float>(p.Word(4, param)) > 0.5F;
}
} // namespace

// Everything behind the public face: the command queue, the thread and the state.
struct EmulatedProcessor::Impl
{
    Impl(const EmulatorOptions& options, const ProcessorState& initial);
    ~Impl();

    void AttachHost(std::weak_ptr<ProcessorHost> host);
    void Receive(const Report& command);
    void PanelChange(int block, int param, std::span<const uint32_t> words);
    void SetSilent(bool silent);
    void DropEveryNthAnswer(unsigned n);
    void SetModel(const std::string& model);
    void SetCmdVersion(uint8_t version);
    void SetLatency(std::chrono::milliseconds latency);
    uint64_t RequestCount(uint8_t command) const;
    uint64_t TotalRequests() const;
    uint64_t ReportsSent() const;
    uint64_t ParameterErrors() const;
    ProcessorState State() const;
    bool Save(std::string* error) const;

    enum class Job
    {
        Command,
        Learned,
        Leave,
        Return,
        Panel
    };
    struct Pending
    {
        Job job;
        Report report{};
        uint64_t token = 0;
    };
    using Clock = std::chrono::steady_clock;
    using Key = std::pair<Clock::time_point, uint64_t>; // due time, arrival order

    void Run();
    void Schedule(Clock::time_point due, Pending item);
    // Applies one command under the state lock; fills *answer when one is due.
    bool Handle(const Report& command, Report* answer, bool* leaveBus);
    void HandleParamWrite(const Report& in, Report* answer);
    void HandleParamRead(const Report& in, Report* answer);
    // An acknowledgement of a command whose answer carries nothing more than its status;
    // false (no answer) when the processor is set to stay silent on those.
    bool Acknowledge(uint8_t command, bool applied, Report* answer) const;
    bool HandleMemoryWrite(const Report& in);
    void HandleMemoryRead(const Report& in, Report* answer);
    bool HandleNameWrite(const Report& in);
    void HandleNameRead(const Report& in, Report* answer);
    void HandleStatus(Report* answer);
    void Restart();

    EmulatorOptions options_;

    mutable std::mutex mutex_; // guards everything below except the counters
    std::condition_variable wake_;
    std::map<Key, Pending> queue_;
    uint64_t nextSeq_ = 0;
    Clock::time_point lastCommandDue_{};
    bool stop_ = false;
    bool offline_ = false;
    bool silent_ = false;
    unsigned dropEvery_ = 0;
    uint64_t answerCount_ = 0;
    uint64_t learnToken_ = 0;
    ProcessorState state_;
    std::mutex hostMutex_;              // held around every host call; taken before any bus lock
    std::weak_ptr<ProcessorHost> host_; // guarded by hostMutex_
    LevelGenerator levels_;

    std::array<std::atomic<uint64_t>, 256> requests_{};
    std::atomic<uint64_t> total_{0};
    std::atomic<uint64_t> sent_{0};
    std::atomic<uint64_t> paramErrors_{0};

    std::thread thread_; // last: started once everything above exists
};

std::shared_ptr<EmulatedProcessor> EmulatedProcessor::Create(const EmulatorOptions& options,
                                                             std::string* error)
{
    ProcessorState initial = options.blank ? ProcessorState::Blank() : ProcessorState::Factory();
    if (!options.stateFile.empty()) {
        ProcessorState loaded;
        std::string why;
        switch (LoadStateFile(options.stateFile, &loaded, &why)) {
        case StateFileResult::Loaded:
            initial = loaded;
            break;
        case StateFileResult::Missing:
            break;
        case StateFileResult::Damaged:
            if (error != nullptr) {
                *error = why;
            }
            return nullptr;
        }
    }
    return std::make_shared<EmulatedProcessor>(options, initial);
}

EmulatedProcessor::EmulatedProcessor(const EmulatorOptions& options, const ProcessorState& initial)
    : impl_(std::make_unique<Impl>(options, initial))
{
}

EmulatedProcessor::~EmulatedProcessor() = default;

void EmulatedProcessor::AttachHost(std::weak_ptr<ProcessorHost> host)
{
    impl_->AttachHost(std::move(host));
}
void EmulatedProcessor::Receive(const Report& command)
{
    impl_->Receive(command);
}
void EmulatedProcessor::PanelChange(int block, int param, std::span<const uint32_t> words)
{
    impl_->PanelChange(block, param, words);
}
void EmulatedProcessor::SetSilent(bool silent)
{
    impl_->SetSilent(silent);
}
void EmulatedProcessor::DropEveryNthAnswer(unsigned n)
{
    impl_->DropEveryNthAnswer(n);
}
void EmulatedProcessor::SetModel(const std::string& model)
{
    impl_->SetModel(model);
}
void EmulatedProcessor::SetCmdVersion(uint8_t version)
{
    impl_->SetCmdVersion(version);
}
void EmulatedProcessor::SetLatency(std::chrono::milliseconds latency)
{
    impl_->SetLatency(latency);
}
uint64_t EmulatedProcessor::RequestCount(uint8_t command) const
{
    return impl_->RequestCount(command);
}
uint64_t EmulatedProcessor::TotalRequests() const
{
    return impl_->TotalRequests();
}
uint64_t EmulatedProcessor::ReportsSent() const
{
    return impl_->ReportsSent();
}
uint64_t EmulatedProcessor::ParameterErrors() const
{
    return impl_->ParameterErrors();
}
ProcessorState EmulatedProcessor::State() const
{
    return impl_->State();
}
bool EmulatedProcessor::Save(std::string* error) const
{
    return impl_->Save(error);
}

EmulatedProcessor::Impl::Impl(const EmulatorOptions& options, const ProcessorState& initial)
    : options_(options), state_(initial), levels_(options.seed)
{
    thread_ = std::thread([this] { Run(); });
}

EmulatedProcessor::Impl::~Impl()
{
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    thread_.join();
    std::string error;
    if (!Save(&error)) {
        std::fprintf(stderr, "dsp4620 emulator: %s\n", error.c_str());
    }
}

void EmulatedProcessor::Impl::AttachHost(std::weak_ptr<ProcessorHost> host)
{
    std::lock_guard lock(hostMutex_);
    host_ = std::move(host);
}

void EmulatedProcessor::Impl::Receive(const Report& command)
{
    requests_[command[1]].fetch_add(1);
    total_.fetch_add(1);
    {
        std::lock_guard lock(mutex_);
        if (stop_ || offline_ || silent_) {
            return;
        }
        // One command at a time: an answer never overtakes the one before it.
        const Clock::time_point due = std::max(Clock::now() + options_.latency, lastCommandDue_);
        lastCommandDue_ = due;
        Schedule(due, Pending{Job::Command, command, 0});
    }
    wake_.notify_all();
}

void EmulatedProcessor::Impl::PanelChange(int block, int param, std::span<const uint32_t> words)
{
    Report r = MakeReport(CMD_CHANGED);
    r[3] = static_cast<uint8_t>(block);
    r[4] = static_cast<uint8_t>(param);
    const size_t n = std::min(words.size(), kMaxReportWords);
    r[5] = static_cast<uint8_t>(n);
    for (size_t i = 0; i < n; ++i) {
        PutU32(&r[6 + 4 * i], words[i]);
    }
    {
        std::lock_guard lock(mutex_);
        Schedule(Clock::now(), Pending{Job::Panel, r, 0});
    }
    wake_.notify_all();
}

void EmulatedProcessor::Impl::SetSilent(bool silent)
{
    std::lock_guard lock(mutex_);
    silent_ = silent;
}

void EmulatedProcessor::Impl::DropEveryNthAnswer(unsigned n)
{
    std::lock_guard lock(mutex_);
    dropEvery_ = n;
    answerCount_ = 0;
}

void EmulatedProcessor::Impl::SetModel(const std::string& model)
{
    std::lock_guard lock(mutex_);
    options_.model = model;
}

void EmulatedProcessor::Impl::SetCmdVersion(uint8_t version)
{
    std::lock_guard lock(mutex_);
    options_.cmdVersion = version;
}

void EmulatedProcessor::Impl::SetLatency(std::chrono::milliseconds latency)
{
    std::lock_guard lock(mutex_);
    options_.latency = latency;
}

uint64_t EmulatedProcessor::Impl::RequestCount(uint8_t command) const
{
    return requests_[command].load();
}

uint64_t EmulatedProcessor::Impl::TotalRequests() const
{
    return total_.load();
}

uint64_t EmulatedProcessor::Impl::ReportsSent() const
{
    return sent_.load();
}

uint64_t EmulatedProcessor::Impl::ParameterErrors() const
{
    return paramErrors_.load();
}

ProcessorState EmulatedProcessor::Impl::State() const
{
    std::lock_guard lock(mutex_);
    return state_;
}

bool EmulatedProcessor::Impl::Save(std::string* error) const
{
    if (options_.stateFile.empty()) {
        return true;
    }
    return SaveStateFile(options_.stateFile, State(), error);
}

void EmulatedProcessor::Impl::Schedule(Clock::time_point due, Pending item)
{
    queue_.emplace(Key{due, nextSeq_++}, std::move(item));
}

void EmulatedProcessor::Impl::Run()
{
    std::unique_lock lock(mutex_);
    while (!stop_) {
        if (queue_.empty()) {
            wake_.wait(lock);
            continue;
        }
        const auto first = queue_.begin();
        if (first->first.first > Clock::now()) {
            wake_.wait_until(lock, first->first.first);
            continue;
        }
        const Pending item = first->second;
        queue_.erase(first);

        Report out{};
        bool send = false;
        bool leave = false;
        bool back = false;
        bool farewell = false;
        switch (item.job) {
        case Job::Command:
            send = Handle(item.report, &out, &leave);
            if (send && dropEvery_ != 0 && ++answerCount_ % dropEvery_ == 0) {
                send = false;
            }
            farewell = item.report[1] == CMD_FAREWELL;
            if (leave) {
                Restart();
                leave = false; // later, once the acknowledgement had time to be read
            }
            break;
        case Job::Learned:
            send = item.token == learnToken_ && !offline_ && !silent_;
            out = item.report;
            break;
        case Job::Panel: {
            const size_t n = item.report[5];
            std::array<uint32_t, kMaxReportWords> words{};
            for (size_t i = 0; i < n; ++i) {
                words[i] = GetU32(&item.report[6 + 4 * i]);
            }
            if (n != 0) {
                state_.working.params.Write(item.report[3], item.report[4],
                                            std::span<const uint32_t>(words.data(), n));
            }
            out = MakeReport(CMD_CHANGED);
            send = !offline_ && !silent_;
            break;
        }
        case Job::Leave:
            leave = true;
            break;
        case Job::Return:
            offline_ = false;
            back = true;
            break;
        }

        lock.unlock();
        {
            std::lock_guard hostLock(hostMutex_);
            const std::shared_ptr<ProcessorHost> host = host_.lock();
            if (send && host) {
                sent_.fetch_add(1); // counted first: a reader that has the report sees it
                host->Deliver(out);
            }
            if (leave && host) {
                host->LeaveBus();
            }
            if (back && host) {
                host->ReturnToBus();
            }
        }
        if (farewell) {
            // The program let go: keep the setting even if this process is killed later.
            std::string error;
            if (!Save(&error)) {
                std::fprintf(stderr, "dsp4620 emulator: %s\n", error.c_str());
            }
        }
        lock.lock();
    }
}

bool EmulatedProcessor::Impl::Handle(const Report& in, Report* answer, bool* leaveBus)
{
    const uint8_t mode = in[2];
    const bool validMode = mode < kProcessorModeCount;
    switch (in[1]) {
    case CMD_SELECT_MODE:
        if (validMode) {
            state_.currentMode = mode;
        }
        return Acknowledge(in[1], validMode, answer);
    case CMD_STORE_MODE:
        if (validMode) {
            state_.modes[mode] = state_.working;
            state_.currentMode = mode;
        }
        return Acknowledge(in[1], validMode, answer);
    case CMD_LOAD_MODE:
        if (validMode) {
            state_.working = state_.modes[mode];
            state_.currentMode = mode;
        }
        return Acknowledge(in[1], validMode, answer);
    case CMD_RESET_MODE:
        // The mode goes back to the factory setting and becomes the working setting.
        if (validMode) {
            state_.modes[mode] = ProcessorSetting::Factory();
            state_.SetFactoryName(mode);
            state_.working = state_.modes[mode];
            state_.currentMode = mode;
        }
        return Acknowledge(in[1], validMode, answer);
    case CMD_CURRENT_MODE:
        *answer = MakeReport(CMD_CURRENT_MODE);
        (*answer)[2] = state_.currentMode;
        return true;
    case CMD_WRITE_PARAM:
        HandleParamWrite(in, answer);
        return true;
    case CMD_READ_PARAM:
        HandleParamRead(in, answer);
        return true;
    case CMD_STATUS:
        HandleStatus(answer);
        return true;
    case CMD_LEARN_KEY: {
        // Answered once the user has pressed a key on the remote, and only then: any report
        // 0x60 is taken by the program as a learned key, so there is no acknowledgement.
        Report learned = MakeReport(CMD_LEARN_KEY);
        learned[2] = options_.remoteCode;
        learned[3] = in[2];
        learned[4] = static_cast<uint8_t>(0x40 + in[2]);
        Schedule(Clock::now() + options_.learnDelay, Pending{Job::Learned, learned, ++learnToken_});
        return false;
    }
    case CMD_STOP_LEARNING:
        ++learnToken_;
        return Acknowledge(in[1], true, answer);
    case CMD_READ_KEYS:
        *answer = MakeReport(CMD_READ_KEYS);
        std::copy(state_.keyTable.begin(), state_.keyTable.end(), answer->begin() + 2);
        return true;
    case CMD_WRITE_KEYS:
        std::copy_n(in.begin() + 2, kRemoteKeyTableSize, state_.keyTable.begin());
        return Acknowledge(in[1], true, answer);
    case CMD_RESTART:
        // Acknowledged first; the processor then drops off the bus.
        *leaveBus = in[2] == kRestartKey;
        return Acknowledge(in[1], *leaveBus, answer);
    case CMD_DSP_VERSION:
        *answer = TextAnswer(CMD_DSP_VERSION, options_.dspVersion);
        return true;
    case CMD_CMD_VERSION:
        *answer = MakeReport(CMD_CMD_VERSION);
        (*answer)[2] = options_.cmdVersion;
        return true;
    case CMD_MODEL:
        *answer = TextAnswer(CMD_MODEL, options_.model);
        return true;
    case CMD_MCU_VERSION:
        *answer = TextAnswer(CMD_MCU_VERSION, options_.mcuVersion);
        return true;
    case CMD_WRITE_MEMORY:
        return Acknowledge(in[1], HandleMemoryWrite(in), answer);
    case CMD_READ_MEMORY:
        HandleMemoryRead(in, answer);
        return true;
    case CMD_WRITE_SETTINGS:
        std::copy_n(in.begin() + 2, kMachineSettingsSize, state_.machineSettings.begin());
        return Acknowledge(in[1], true, answer);
    case CMD_READ_SETTINGS:
        *answer = MakeReport(CMD_READ_SETTINGS);
        std::copy(state_.machineSettings.begin(), state_.machineSettings.end(),
                  answer->begin() + 2);
        return true;
    case CMD_WRITE_NAME:
        return Acknowledge(in[1], HandleNameWrite(in), answer);
    case CMD_READ_NAME:
        HandleNameRead(in, answer);
        return true;
    case CMD_FAREWELL: // harmless to acknowledge; the state file is saved after it
        return Acknowledge(in[1], true, answer);
    default:
        // A command it does not know is ignored. Echoing it could look like one of the
        // processor's own reports (0x14 marks the setting as changed, 0x20 device bytes).
        return false;
    }
}

bool EmulatedProcessor::Impl::Acknowledge(uint8_t command, bool applied, Report* answer) const
{
    if (options_.silentOnUnusedAnswers) {
        return false;
    }
    *answer = MakeReport(command);
    (*answer)[2] = applied ? kAckApplied : kAckRefused;
    return true;
}

void EmulatedProcessor::Impl::HandleParamWrite(const Report& in, Report* answer)
{
    const int block = in[3];
    const int param = in[4];
    const size_t count = in[5];
    uint8_t status = kParamStatusBadCount;
    if (count <= kMaxReportWords) {
        std::array<uint32_t, kMaxReportWords> words{};
        for (size_t i = 0; i < count; ++i) {
            words[i] = GetU32(&in[6 + 4 * i]);
        }
        status = state_.working.params.Write(block, param,
                                             std::span<const uint32_t>(words.data(), count));
    }
    if (status != kParamStatusOk) {
        paramErrors_.fetch_add(1);
    }
    *answer = MakeReport(CMD_WRITE_PARAM);
    (*answer)[2] = status;
    (*answer)[3] = in[3];
    (*answer)[4] = in[4];
    (*answer)[5] = in[5];
}

void EmulatedProcessor::Impl::HandleParamRead(const Report& in, Report* answer)
{
    const int block = in[3];
    const int param = in[4];
    const size_t count = in[5];
    *answer = MakeReport(CMD_READ_PARAM);
    (*answer)[3] = in[3];
    (*answer)[4] = in[4];
    (*answer)[5] = in[5];
    uint8_t status = kParamStatusBadCount;
    std::array<uint32_t, kMaxReportWords> words{};
    if (count <= kMaxReportWords) {
        status = state_.working.params.Read(block, param, std::span<uint32_t>(words.data(), count));
    }
    (*answer)[2] = status;
    if (status != kParamStatusOk) {
        paramErrors_.fetch_add(1);
        return;
    }
    for (size_t i = 0; i < count; ++i) {
        PutU32(&(*answer)[6 + 4 * i], words[i]);
    }
}

bool EmulatedProcessor::Impl::HandleMemoryWrite(const Report& in)
{
    const size_t address = static_cast<size_t>(Address(in));
    const size_t length = std::min<size_t>(in[4], kMaxBlockBytes);
    if (address >= kProcessorMemorySize) {
        return false;
    }
    const size_t n = std::min(length, kProcessorMemorySize - address);
    std::copy_n(in.begin() + 5, n, state_.working.memory.begin() + static_cast<long>(address));
    return true;
}

void EmulatedProcessor::Impl::HandleMemoryRead(const Report& in, Report* answer)
{
    const size_t address = static_cast<size_t>(Address(in));
    const size_t length = std::min<size_t>(in[4], kMaxBlockBytes);
    const size_t n =
        address < kProcessorMemorySize ? std::min(length, kProcessorMemorySize - address) : 0;
    *answer = MakeReport(CMD_READ_MEMORY);
    (*answer)[2] = in[2];
    (*answer)[3] = in[3];
    (*answer)[4] = static_cast<uint8_t>(n);
    std::copy_n(state_.working.memory.begin() +
                    static_cast<long>(std::min(address, kProcessorMemorySize)),
                n, answer->begin() + 5);
}

bool EmulatedProcessor::Impl::HandleNameWrite(const Report& in)
{
    const int address = Address(in);
    const size_t offset = static_cast<size_t>(address - kModeNameBase);
    if (address < kModeNameBase || offset >= kModeNameMemorySize) {
        return false;
    }
    const size_t n =
        std::min({static_cast<size_t>(in[4]), kMaxBlockBytes, kModeNameMemorySize - offset});
    std::copy_n(in.begin() + 5, n, state_.names.begin() + static_cast<long>(offset));
    return true;
}

void EmulatedProcessor::Impl::HandleNameRead(const Report& in, Report* answer)
{
    const int address = Address(in);
    const size_t offset = static_cast<size_t>(address - kModeNameBase);
    size_t n = 0;
    if (address >= kModeNameBase && offset < kModeNameMemorySize) {
        n = std::min({static_cast<size_t>(in[4]), kMaxBlockBytes, kModeNameMemorySize - offset});
    }
    *answer = MakeReport(CMD_READ_NAME);
    (*answer)[2] = in[2];
    (*answer)[3] = in[3];
    (*answer)[4] = static_cast<uint8_t>(n);
    if (n != 0) {
        std::copy_n(state_.names.begin() + static_cast<long>(offset), n, answer->begin() + 5);
    }
}

void EmulatedProcessor::Impl::HandleStatus(Report* answer)
{
    const ParameterSet& p = state_.working.params;
    const LevelGenerator::Inputs inputs{InputOn(p, 21), InputOn(p, 22), InputOn(p, 23)};
    const std::array<uint8_t, 10> levels = levels_.Next(inputs);
    *answer = MakeReport(CMD_STATUS);
    std::copy(levels.begin(), levels.end(), answer->begin() + 2);
    // Offsets 10..13 stay zero; offset 14 (report byte 16) is the signed level in dB of the
    // digital music stream, 0 while no digital input is selected.
    (*answer)[16] = static_cast<uint8_t>(levels_.MusicLevelDb());
}

void EmulatedProcessor::Impl::Restart()
{
    offline_ = true;
    ++learnToken_;
    for (auto it = queue_.begin(); it != queue_.end();) {
        const bool keep = it->second.job == Job::Leave || it->second.job == Job::Return;
        it = keep ? std::next(it) : queue_.erase(it);
    }
    // It comes back with its power-on mode (Auto: the mode that was current).
    const uint8_t powerOn = state_.machineSettings[12];
    if (powerOn >= 1 && powerOn <= kProcessorModeCount) {
        state_.currentMode = static_cast<uint8_t>(powerOn - 1);
    }
    state_.working = state_.modes[state_.currentMode];
    const Clock::time_point leave = Clock::now() + options_.restartLeaveDelay;
    Schedule(leave, Pending{Job::Leave, Report{}, 0});
    Schedule(leave + options_.restartDelay, Pending{Job::Return, Report{}, 0});
}
