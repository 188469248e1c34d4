#pragma once
// How an emulated processor is set up: its identification, its timings and where it keeps
// its setting between runs. The defaults are an accepted processor answering in about 1 ms.

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

struct EmulatorOptions
{
    std::string model = "KW4620M"; // "KW4620A" is also accepted; anything else is refused
    uint8_t cmdVersion = 0x15;     // the program accepts only 0x15
    std::string mcuVersion = "2013-05-20";
    std::string dspVersion = "2013-04-18";

    // Time from a command's arrival to its answer (0 answers as fast as the thread runs).
    std::chrono::milliseconds latency{1};
    // Time until a learning command (0x60) is answered, as if the user pressed a key.
    std::chrono::milliseconds learnDelay{1500};
    // A restart command (0x68 0xAA) is acknowledged, and the processor drops off the bus this
    // long after (time for the acknowledgement to be read) ...
    std::chrono::milliseconds restartLeaveDelay{50};
    // ... and stays off the bus this long.
    std::chrono::milliseconds restartDelay{3000};
    // Code byte of the emulated remote; a learned key of function k reports key 0x40 + k.
    uint8_t remoteCode = 0x5A;
    // Seed of the level generator behind the status reports (0x0E).
    uint64_t seed = 1;

    // The processor acknowledges every command it knows with one report, even when the
    // program has no use for the answer (byte 1 the command, byte 2 a status: 0 applied,
    // 1 refused). Set this to leave those commands unanswered instead, so that each of them
    // costs the program its full pacing wait.
    bool silentOnUnusedAnswers = false;

    // Start with erased memory and mode names (all FF) instead of the factory setting
    // (when there is no state file to start from).
    bool blank = false;
    // When set: the setting is loaded from this file at start (a missing file starts from
    // the factory setting) and saved to it when the processor stops.
    std::string stateFile;
};

// Recognises "--emulate" (a fresh factory processor) and "--emulate=STATE_FILE" (persistent).
// Returns false for any other argument and leaves *out unchanged then.
bool ParseEmulateOption(std::string_view arg, EmulatorOptions* out);
