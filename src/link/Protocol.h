#pragma once
// The report protocol: building command reports and interpreting every input report the
// processor sends. Each input report is interpreted by its command byte alone; there is no
// request id, so a late answer lands wherever its command byte says.

#include "model/Report.h"

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

// Commands the program sends (byte 1).
inline constexpr uint8_t kCmdSelectMode = 0x03;
inline constexpr uint8_t kCmdStoreMode = 0x04;
inline constexpr uint8_t kCmdLoadMode = 0x05;
inline constexpr uint8_t kCmdResetMode = 0x06;
inline constexpr uint8_t kCmdCurrentMode = 0x07;
inline constexpr uint8_t kCmdStatus = 0x0E;
inline constexpr uint8_t kCmdChangeReport = 0x14;
inline constexpr uint8_t kCmdDeviceInfo = 0x20;
inline constexpr uint8_t kCmdLearnKey = 0x60;
inline constexpr uint8_t kCmdStopLearning = 0x61;
inline constexpr uint8_t kCmdReadRemoteTable = 0x62;
inline constexpr uint8_t kCmdWriteRemoteTable = 0x63;
inline constexpr uint8_t kCmdRestart = 0x68;
inline constexpr uint8_t kCmdDspVersion = 0x7E;
inline constexpr uint8_t kCmdCmdVersion = 0x7F;
inline constexpr uint8_t kCmdModel = 0x80;
inline constexpr uint8_t kCmdMcuVersion = 0x81;
inline constexpr uint8_t kCmdReadBlock = 0x86;
inline constexpr uint8_t kCmdFarewell = 0x8A;
inline constexpr uint8_t kCmdDeviceInfo2 = 0x8F;
inline constexpr uint8_t kCmdWriteMachineSettings = 0x91;
inline constexpr uint8_t kCmdReadMachineSettings = 0x92;
inline constexpr uint8_t kCmdWriteModeName = 0xDA;
inline constexpr uint8_t kCmdReadModeName = 0xDB;

inline constexpr int kModeNameAddress = 0x0F00; // + 64 * mode
inline constexpr size_t kModeNameMaxChars = 20;
inline constexpr uint8_t kModeNameLengthByte = 0x2C;

// Report 02 v1 v2 ... from a list of values ended by the first -1 (at most 60 values are
// taken, each modulo 256); the rest is zero.
Report BuildCommandReport(std::span<const int> values);
// Builds the report as above and sends it with WriteUsbData; returns what that returns
// (61 on success, 0 when the link is not open). Example: SendCommand({0x80, -1}).
int SendCommand(std::initializer_list<int> values);
int SendCommand(std::span<const int> values);

// Address of the stored name of mode 0..3.
constexpr int ModeNameAddress(int mode)
{
    return kModeNameAddress + 64 * mode;
}
// Command 0xDA for mode 0..3: the address, the length byte 0x2C and at most 20 characters
// high byte first; everything after the last character is zero.
Report BuildModeNameReport(int mode, std::u16string_view name);
// Sends the report above; 0 when mode is outside 0..3 or the link is not open.
int WriteModeName(int mode, std::u16string_view name);

// Interprets one received 61-byte report and then releases the next writer (for every
// report, known or not). Parameter values go to the read-back decoder, a Block945 read is
// decoded into the sound-field geometry. Runs on the read thread; never reads or writes outside its
// buffers whatever the report holds.
void ParseInputReport(const Report& report);

// The text of the parameter-error box for a 0x0A reply with a non-zero status.
std::string ParamErrorText(const Report& report);
