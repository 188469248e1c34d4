#include "model/DeviceMemory.h"

#include "model/EqBandRecord.h"
#include "model/SoundFieldGeometry.h"

#include <algorithm>
#include <initializer_list>

MemoryMirror DeviceImage(0, kDeviceImageSize);
MemoryMirror Block945(945, 20);
MemoryMirror Block965(965, 32);
MemoryMirror Block997(997, 2);

MemoryMirror::MemoryMirror(int address, size_t size)
    : address_(address), size_(size), bytes_(std::make_unique<std::atomic<uint8_t>[]>(size))
{
    Fill(0);
}

uint8_t MemoryMirror::Get(size_t index) const
{
    return index < size_ ? bytes_[index].load(std::memory_order_relaxed) : 0;
}

void MemoryMirror::Set(size_t index, uint8_t value)
{
    if (index < size_) {
        bytes_[index].store(value, std::memory_order_relaxed);
    }
}

size_t MemoryMirror::Read(size_t offset, std::span<uint8_t> out) const
{
    if (offset >= size_) {
        return 0;
    }
    const size_t n = std::min(out.size(), size_ - offset);
    for (size_t i = 0; i < n; ++i) {
        out[i] = bytes_[offset + i].load(std::memory_order_relaxed);
    }
    return n;
}

size_t MemoryMirror::Write(size_t offset, std::span<const uint8_t> in)
{
    if (offset >= size_) {
        return 0;
    }
    const size_t n = std::min(in.size(), size_ - offset);
    for (size_t i = 0; i < n; ++i) {
        bytes_[offset + i].store(in[i], std::memory_order_relaxed);
    }
    return n;
}

std::vector<uint8_t> MemoryMirror::Snapshot() const
{
    std::vector<uint8_t> v(size_);
    Read(0, v);
    return v;
}

void MemoryMirror::Fill(uint8_t value)
{
    for (size_t i = 0; i < size_; ++i) {
        bytes_[i].store(value, std::memory_order_relaxed);
    }
}

MemoryMirror* MirrorForAddress(int address)
{
    for (MemoryMirror* m : {&DeviceImage, &Block945, &Block965, &Block997}) {
        if (address >= m->Address() && address < m->Address() + static_cast<int>(m->Size())) {
            return m;
        }
    }
    return nullptr;
}

namespace {
void PutBand(MemoryMirror& image, int firstByte, int band, const EqBand& b)
{
    const EqBandRecord r = EncodeEqBand(b);
    image.Write(static_cast<size_t>(firstByte + 7 * band), r);
}

void PutTenBandEq(MemoryMirror& image, int firstByte)
{
    const int freqs[10] = {31, 62, 125, 250, 500, 1000, 2000, 4000, 8000, 16000};
    for (int i = 0; i < 10; ++i) {
        PutBand(image, firstByte, i, EqBand{0.0, freqs[i], 1.414, EQ_TYPE_PEQ});
    }
}

void PutSevenBandEq(MemoryMirror& image, int firstByte)
{
    const int freqs[7] = {31, 62, 125, 250, 500, 1000, 2000};
    for (int i = 0; i < 7; ++i) {
        PutBand(image, firstByte, i, EqBand{0.0, freqs[i], 1.414, EQ_TYPE_PEQ});
    }
}

void PutSplit(MemoryMirror& image, int firstByte, int band)
{
    PutBand(image, firstByte, band, EqBand{0.0, 500, 0.707, EQ_TYPE_HP});
    PutBand(image, firstByte, band + 1, EqBand{0.0, 1000, 0.707, EQ_TYPE_LP});
}
} // namespace

void ResetDeviceMemoryToStartup()
{
    DeviceImage.Fill(0);
    Block945.Fill(0);
    Block965.Fill(0);
    Block997.Fill(0);
    FillStartupBandTable(DeviceImage);

    // The sound-field geometry starts as after "Reset all".
    Block945.Write(0, EncodeSoundFieldGeometry(DefaultSoundFieldGeometry()));
    DecodeBlock945IntoGeometry();
}

void FillStartupBandTable(MemoryMirror& image)
{
    PutTenBandEq(image, 0);   // mic A
    PutTenBandEq(image, 70);  // mic B
    PutTenBandEq(image, 336); // music 0..9
    PutBand(image, 336, 10, EqBand{0.0, 100, 1.414, EQ_TYPE_LP});
    for (int first : {413, 511, 847}) { // main, rear, top
        PutTenBandEq(image, first);
        PutSplit(image, first, 10);
        PutSplit(image, first, 12);
    }
    PutTenBandEq(image, 609); // center
    PutSplit(image, 609, 10);
    for (int first : {140, 189, 238, 287}) { // echo A/B, reverb A/B
        PutSevenBandEq(image, first);
    }

    // Sub: five slots of four stages, then its delay split.
    const int sub = 693;
    const struct
    {
        int freq;
        double q;
    } subBands[16] = {{20, 1.414}, {20, 1.414}, {20, 1.414}, {20, 1.414}, {31, 1.414}, {31, 1.414},
                      {31, 1.414}, {31, 0.707}, {40, 0.707}, {40, 0.707}, {40, 1.414}, {40, 1.414},
                      {62, 1.414}, {62, 1.414}, {62, 1.414}, {62, 1.414}};
    for (int i = 0; i < 16; ++i) {
        PutBand(image, sub, i, EqBand{0.0, subBands[i].freq, subBands[i].q, EQ_TYPE_PEQ});
    }
    PutBand(image, sub, 16, EqBand{0.0, 100, 1.414, 18});
    PutBand(image, sub, 17, EqBand{0.0, 100, 0.707, 20});
    PutBand(image, sub, 18, EqBand{0.0, 100, 0.707, EQ_TYPE_PEQ});
    PutBand(image, sub, 19, EqBand{0.0, 100, 0.707, EQ_TYPE_PEQ});
    PutSplit(image, sub, 20);
}

namespace {
// The mirrors hold the start-up contents from the first moment, like the store.
[[maybe_unused]] const bool g_startupFilled = (ResetDeviceMemoryToStartup(), true);
} // namespace
