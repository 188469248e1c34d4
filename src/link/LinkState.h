#pragma once
// What the processor last told us: identification texts, mode names, status block, remote
// key table, device information and the machine-settings record. The parser fills it on the
// read thread; the window thread reads it. Bytes are atomic and texts sit behind a small lock,
// so a reader sees either the old or the new value of each unit, never a data race.

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <span>
#include <string>
#include <string_view>

// A fixed-size byte table whose bytes may be written and read from different threads.
template <size_t N> class LinkBytes
{
public:
    LinkBytes() { Fill(0); }

    static constexpr size_t Size() { return N; }
    // Out-of-range indices read 0 and are not written.
    uint8_t Get(size_t index) const
    {
        return index < N ? bytes_[index].load(std::memory_order_relaxed) : 0;
    }
    void Set(size_t index, uint8_t value)
    {
        if (index < N) {
            bytes_[index].store(value, std::memory_order_relaxed);
        }
    }
    // Copies what fits from offset on; returns the number of bytes stored.
    size_t Write(size_t offset, std::span<const uint8_t> in)
    {
        size_t n = 0;
        for (; n < in.size() && offset + n < N; ++n) {
            Set(offset + n, in[n]);
        }
        return n;
    }
    std::array<uint8_t, N> Snapshot() const
    {
        std::array<uint8_t, N> out{};
        for (size_t i = 0; i < N; ++i) {
            out[i] = Get(i);
        }
        return out;
    }
    void Fill(uint8_t value)
    {
        for (auto& b : bytes_) {
            b.store(value, std::memory_order_relaxed);
        }
    }

private:
    std::array<std::atomic<uint8_t>, N> bytes_;
};

// A zero-terminated UTF-16 text field of fixed capacity (terminator included), as the
// processor's texts are kept. Longer values are cut to capacity - 1 units.
class LinkText
{
public:
    LinkText(size_t capacity, std::u16string_view initial);

    size_t Capacity() const { return capacity_; }
    void Set(std::u16string_view value);
    std::u16string Get() const;
    std::string Utf8() const;
    void Reset();

private:
    const size_t capacity_;
    const std::u16string initial_;
    mutable std::mutex mutex_;
    std::u16string value_;
};

// UTF-16 to UTF-8 for display and the command-line tool (lone surrogates become U+FFFD).
std::string Utf16ToUtf8(std::u16string_view text);

inline constexpr size_t kLinkModelTextSize = 30;
inline constexpr size_t kLinkVersionTextSize = 11;
inline constexpr size_t kLinkModeNameSize = 24;
inline constexpr int kLinkModeCount = 4;
inline constexpr size_t kLinkStatusBlockSize = 15;
inline constexpr size_t kLinkRemoteTableSize = 16;
inline constexpr size_t kLinkDeviceInfoSize = 6;
inline constexpr size_t kLinkMachineSettingsSize = 13;

extern std::atomic<int> g_bParamChanged; // a processor parameter changed since load/save
extern std::atomic<int> g_bErrorShown;   // the parameter-error box was shown this run
extern std::atomic<int> g_nCurMode;      // 0..3 for M1..M4
extern std::atomic<int> g_bMeterEnable;  // status poll allowed (off while syncing, after errors)

extern LinkText g_szModel;                                // "KW4620" until the processor answers
extern LinkText g_szMcuVer;                               // "2012-10-03"
extern LinkText g_szDspVer;                               // "2012-11-30"
extern std::array<LinkText, kLinkModeCount> g_szModeName; // "Mode1".."Mode4"

extern LinkBytes<kLinkStatusBlockSize> g_StatusBlock;
extern LinkBytes<kLinkRemoteTableSize> g_RemoteTable;
extern LinkBytes<kLinkDeviceInfoSize> DeviceInfoBytes;
// The machine-settings record: the committed copy (as reported or last applied) and the
// working copy the settings dialog edits.
extern LinkBytes<kLinkMachineSettingsSize> g_MachineSettings;
extern LinkBytes<kLinkMachineSettingsSize> g_MachineSettingsWork;

// Start-up values of everything above (and of g_nCmdVersion); the transport flags are not
// touched.
void ResetLinkState();
