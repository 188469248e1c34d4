#pragma once
// The PC's mirrors of the processor's 999-byte memory (addresses 0..998): the EQ band memory
// and the three small blocks after it. Bytes are atomic because the read thread fills them
// from memory-read replies while the UI thread edits them.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

class MemoryMirror
{
public:
    MemoryMirror(int address, size_t size);

    int Address() const { return address_; }
    size_t Size() const { return size_; }

    // Out-of-range indices read 0 and are not written.
    uint8_t Get(size_t index) const;
    void Set(size_t index, uint8_t value);
    // Copies min(out.size(), Size() - offset) bytes; returns the number copied.
    size_t Read(size_t offset, std::span<uint8_t> out) const;
    size_t Write(size_t offset, std::span<const uint8_t> in);
    std::vector<uint8_t> Snapshot() const;
    void Fill(uint8_t value);

private:
    int address_;
    size_t size_;
    std::unique_ptr<std::atomic<uint8_t>[]> bytes_;
};

inline constexpr int kDeviceMemorySize = 999;
inline constexpr int kDeviceImageSize = 945;
inline constexpr int kBandRecordSize = 7;
inline constexpr int kBandRecordCount = 135;

extern MemoryMirror DeviceImage; // 0..944: 135 EQ band records of 7 bytes
extern MemoryMirror Block945;    // 945..964: stored form of the sound-field geometry
extern MemoryMirror Block965;    // 965..996: eight speaker levels, big-endian floats (dB)
extern MemoryMirror Block997;    // 997..998: mic boost level, upper 16 bits of a float

// The mirror holding device address `address`, or nullptr outside 0..998.
MemoryMirror* MirrorForAddress(int address);

// Start-up contents: the start-up band table in DeviceImage, the "Reset all" sound-field
// geometry in Block945 (also decoded into the program-wide geometry), the other blocks zero.
void ResetDeviceMemoryToStartup();
// Writes the start-up band table into a 945-byte band image (the emulated processor's factory
// setting uses the same table without touching the PC's mirrors).
void FillStartupBandTable(MemoryMirror& image);
