#pragma once
// A software processor: it takes the program's command reports and answers them as the
// hardware does, one input report per command it knows, produced on its own thread after the
// configured latency. Commands whose answer the program has no use for get an
// acknowledgement (the command byte and a status byte); the learning command is answered
// only when a key has been learned. It holds every DSP parameter, the 999-byte memory, four modes
// with their names, the machine-settings record and the remote key table, and can keep them in a
// state file between runs. Faults can be switched on for tests.

#include "link/emulator/EmulatorOptions.h"
#include "link/emulator/ProcessorState.h"
#include "model/Report.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

// What the processor's place on a bus offers it. Called only from the processor's thread.
class ProcessorHost
{
public:
    virtual ~ProcessorHost() = default;
    // One input report to every open handle of the processor's interface.
    virtual void Deliver(const Report& report) = 0;
    // The processor restarts: it drops off the bus (removal) ...
    virtual void LeaveBus() = 0;
    // ... and comes back (arrival).
    virtual void ReturnToBus() = 0;
};

class EmulatedProcessor
{
public:
    // Builds a processor from the options; with a state file it starts from the file's
    // contents. nullptr with *error set when the state file exists but cannot be used.
    static std::shared_ptr<EmulatedProcessor> Create(const EmulatorOptions& options,
                                                     std::string* error);
    EmulatedProcessor(const EmulatorOptions& options, const ProcessorState& initial);
    // Stops the thread (pending answers are dropped) and saves the state file if there is one.
    ~EmulatedProcessor();
    EmulatedProcessor(const EmulatedProcessor&) = delete;
    EmulatedProcessor& operator=(const EmulatedProcessor&) = delete;

    // Bus side: where reports go (an empty pointer detaches; once it returns no host call is
    // running or will follow), and a command the program wrote.
    void AttachHost(std::weak_ptr<ProcessorHost> host);
    void Receive(const Report& command);

    // The front panel was used: the parameter is changed and a change report (0x14) is sent.
    // With no words only the change report is sent.
    void PanelChange(int block, int param, std::span<const uint32_t> words = {});

    // Faults and identification. Silent: commands received from now on are counted but
    // neither applied nor answered, and no unprompted report is sent. Dropping: commands are
    // applied, but every nth answer from now on is lost (0 = off).
    void SetSilent(bool silent);
    void DropEveryNthAnswer(unsigned n);
    void SetModel(const std::string& model);
    void SetCmdVersion(uint8_t version);
    void SetLatency(std::chrono::milliseconds latency);

    // Commands received, by command byte (also while silent), and their total.
    uint64_t RequestCount(uint8_t command) const;
    uint64_t TotalRequests() const;
    // Input reports handed to the bus (answers and unprompted reports).
    uint64_t ReportsSent() const;
    // Parameter reads and writes refused with a non-zero status.
    uint64_t ParameterErrors() const;

    // A copy of everything the processor holds, for tests and tools.
    ProcessorState State() const;
    // Writes the state file now (false with *error on failure; true when there is none).
    bool Save(std::string* error) const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};
