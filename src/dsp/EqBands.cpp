#include "dsp/EqBands.h"

#include "dsp/Biquad.h"
#include "model/DeviceMemory.h"
#include "model/ParamIds.h"
#include "model/Writer.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace {
using EqRegion = EqKindPlace;

// Indexed by page kind.
constexpr std::array<EqRegion, kEqPanelKindCount> kRegions = {{
    {336, 11, 4, 0, 10, PRM_MUSIC_EQ_BYPASS, SetMusicEqBand},   // 0 music (band 10: low-pass)
    {0, 10, 1, 0, 10, PRM_MICA_EQ_BYPASS, SetMicAEqBand},       // 1 mic A
    {693, 22, 8, 0, 5, PRM_SUB_EQ_BYPASS, SetSubEqBand},        // 2 sub (20 slot stages, 2 splits)
    {609, 12, 7, 0, 10, PRM_CENTER_EQ_BYPASS, SetCenterEqBand}, // 3 center
    {511, 14, 6, 0, 10, PRM_REAR_EQ_BYPASS, SetRearEqBand},     // 4 rear
    {413, 14, 5, 0, 10, PRM_MAIN_EQ_BYPASS, SetMainEqBand},     // 5 main
    {238, 7, 3, 0, 7, PRM_REVA_EQ_BYPASS, SetReverbAEqBand},    // 6 reverb A
    {140, 7, 2, 0, 7, PRM_ECHOA_EQ_BYPASS, SetEchoAEqBand},     // 7 echo A
    {70, 10, 1, 10, 10, PRM_MICB_EQ_BYPASS, SetMicBEqBand},     // 8 mic B
    {287, 7, 3, 7, 7, PRM_REVB_EQ_BYPASS, SetReverbBEqBand},    // 9 reverb B
    {189, 7, 2, 7, 7, PRM_ECHOB_EQ_BYPASS, SetEchoBEqBand},     // 10 echo B
    {847, 14, 9, 0, 10, PRM_TOP_EQ_BYPASS, SetTopEqBand},       // 11 top
}};

const EqRegion* RegionOf(int pageKind)
{
    if (pageKind < 0 || pageKind >= kEqPanelKindCount) {
        return nullptr;
    }
    return &kRegions[static_cast<size_t>(pageKind)];
}

bool SetRegionBand(int pageKind, int band, int type, double gainDb, int freqHz, double q)
{
    const EqRegion* r = RegionOf(pageKind);
    if (r == nullptr || band < 0 || band >= r->bands) {
        return false;
    }
    const int blockBand = r->firstBand + band;
    if (!StoreEqBand(r->block, blockBand, gainDb, freqHz, q, type)) {
        return false;
    }
    const BiquadCoefs c = DesignBiquad(type, gainDb, freqHz, q);
    WriteBiquad(r->block, blockBand, c.a1, c.a2, c.b0, c.b1, c.b2);
    return true;
}

constexpr std::array<int, 10> kTenBandFreqs = {31,   62,   125,  250,  500,
                                               1000, 2000, 4000, 8000, 16000};
constexpr std::array<int, 7> kSevenBandFreqs = {63, 125, 250, 500, 1000, 2300, 5000};
constexpr double kResetQ = 1.41;

template <size_t N> void ResetPeaking(int pageKind, const std::array<int, N>& freqs)
{
    for (size_t i = 0; i < N; ++i) {
        SetRegionBand(pageKind, static_cast<int>(i), EQ_TYPE_PEQ, 0.0, freqs[i], kResetQ);
    }
}
} // namespace

int EqBandOffset(int eq, int band)
{
    static constexpr std::array<int, 10> kBase = {0, 0, 140, 238, 336, 413, 511, 609, 693, 847};
    const int base = (eq < 2 || eq > 9) ? 0 : kBase[static_cast<size_t>(eq)];
    return base + kBandRecordSize * band;
}

EqBand LoadEqBand(int eq, int band)
{
    EqBandRecord rec{};
    const int offset = EqBandOffset(eq, band);
    if (offset >= 0) {
        DeviceImage.Read(static_cast<size_t>(offset), rec);
    }
    return DecodeEqBand(rec);
}

bool StoreEqBand(int eq, int band, double gainDb, int freqHz, double q, int type)
{
    const int offset = EqBandOffset(eq, band);
    if (offset < 0 || offset + kBandRecordSize > kDeviceImageSize) {
        return false;
    }
    const EqBandRecord rec = EncodeEqBand(EqBand{gainDb, freqHz, q, type});
    DeviceImage.Write(static_cast<size_t>(offset), rec);
    WriteDeviceBlock(offset, rec);
    return true;
}

void WriteEqBiquad(int block, int param, const EqBand& band)
{
    const BiquadCoefs c = DesignBiquad(band.type, band.gain, band.freq, band.q);
    WriteBiquad(block, param, c.a1, c.a2, c.b0, c.b1, c.b2);
}

bool SetMicAEqBand(int band, int type, double gainDb, int freqHz, double q)
{
    return SetRegionBand(EQ_KIND_MIC_A, band, type, gainDb, freqHz, q);
}
bool SetMicBEqBand(int band, int type, double gainDb, int freqHz, double q)
{
    return SetRegionBand(EQ_KIND_MIC_B, band, type, gainDb, freqHz, q);
}
bool SetEchoAEqBand(int band, int type, double gainDb, int freqHz, double q)
{
    return SetRegionBand(EQ_KIND_ECHO_A, band, type, gainDb, freqHz, q);
}
bool SetEchoBEqBand(int band, int type, double gainDb, int freqHz, double q)
{
    return SetRegionBand(EQ_KIND_ECHO_B, band, type, gainDb, freqHz, q);
}
bool SetReverbAEqBand(int band, int type, double gainDb, int freqHz, double q)
{
    return SetRegionBand(EQ_KIND_REVERB_A, band, type, gainDb, freqHz, q);
}
bool SetReverbBEqBand(int band, int type, double gainDb, int freqHz, double q)
{
    return SetRegionBand(EQ_KIND_REVERB_B, band, type, gainDb, freqHz, q);
}
bool SetMusicEqBand(int band, int type, double gainDb, int freqHz, double q)
{
    return SetRegionBand(EQ_KIND_MUSIC, band, type, gainDb, freqHz, q);
}
bool SetMainEqBand(int band, int type, double gainDb, int freqHz, double q)
{
    return SetRegionBand(EQ_KIND_MAIN, band, type, gainDb, freqHz, q);
}
bool SetRearEqBand(int band, int type, double gainDb, int freqHz, double q)
{
    return SetRegionBand(EQ_KIND_REAR, band, type, gainDb, freqHz, q);
}
bool SetCenterEqBand(int band, int type, double gainDb, int freqHz, double q)
{
    return SetRegionBand(EQ_KIND_CENTER, band, type, gainDb, freqHz, q);
}
bool SetSubEqBand(int band, int type, double gainDb, int freqHz, double q)
{
    return SetRegionBand(EQ_KIND_SUB, band, type, gainDb, freqHz, q);
}
bool SetTopEqBand(int band, int type, double gainDb, int freqHz, double q)
{
    return SetRegionBand(EQ_KIND_TOP, band, type, gainDb, freqHz, q);
}

bool SetEqBand(int pageKind, int band, int type, double gainDb, int freqHz, double q)
{
    const EqRegion* r = RegionOf(pageKind);
    return r != nullptr && r->writer(band, type, gainDb, freqHz, q);
}

const EqKindPlace* EqKindPlaceOf(int pageKind)
{
    return RegionOf(pageKind);
}

EqBand LoadKindBand(int pageKind, int band)
{
    const EqRegion* r = RegionOf(pageKind);
    if (r == nullptr) {
        return LoadEqBand(1, band);
    }
    return LoadEqBand(r->block, r->firstBand + band);
}

int EqBypassCell(int pageKind)
{
    const EqRegion* r = RegionOf(pageKind);
    return r != nullptr ? r->bypassCell : 0;
}

int EqRegionBandCount(int pageKind)
{
    const EqRegion* r = RegionOf(pageKind);
    return r != nullptr ? r->bands : 0;
}

int EqRegionStart(int pageKind)
{
    const EqRegion* r = RegionOf(pageKind);
    return r != nullptr ? r->start : -1;
}

int EqEditableBandCount(int pageKind)
{
    const EqRegion* r = RegionOf(pageKind);
    return r != nullptr ? r->editableBands : 0;
}

void ResetMicAEq()
{
    ResetPeaking(EQ_KIND_MIC_A, kTenBandFreqs);
}
void ResetMicBEq()
{
    ResetPeaking(EQ_KIND_MIC_B, kTenBandFreqs);
}
void ResetEchoAEq()
{
    ResetPeaking(EQ_KIND_ECHO_A, kSevenBandFreqs);
}
void ResetEchoBEq()
{
    ResetPeaking(EQ_KIND_ECHO_B, kSevenBandFreqs);
}
void ResetReverbAEq()
{
    ResetPeaking(EQ_KIND_REVERB_A, kSevenBandFreqs);
}
void ResetReverbBEq()
{
    ResetPeaking(EQ_KIND_REVERB_B, kSevenBandFreqs);
}
void ResetMusicEq()
{
    ResetPeaking(EQ_KIND_MUSIC, kTenBandFreqs);
}
void ResetMainEq()
{
    ResetPeaking(EQ_KIND_MAIN, kTenBandFreqs);
}
void ResetRearEq()
{
    ResetPeaking(EQ_KIND_REAR, kTenBandFreqs);
}
void ResetCenterEq()
{
    ResetPeaking(EQ_KIND_CENTER, kTenBandFreqs);
}
void ResetTopEq()
{
    ResetPeaking(EQ_KIND_TOP, kTenBandFreqs);
}

void ResetSubEq()
{
    // Four flat peaking slots at 20, 31, 40 and 62 Hz, then a Butterworth 24 dB low-pass at
    // 100 Hz in slot 4.
    constexpr std::array<int, 4> kSlotFreqs = {20, 31, 40, 62};
    for (int band = 0; band < 16; ++band) {
        SetSubEqBand(band, EQ_TYPE_PEQ, 0.0, kSlotFreqs[static_cast<size_t>(band / 4)], kResetQ);
    }
    SetSubEqBand(16, 18, 0.0, 100, 1.414);
    SetSubEqBand(17, 20, 0.0, 100, 1.414);
    SetSubEqBand(18, EQ_TYPE_PEQ, 0.0, 100, 1.414);
    SetSubEqBand(19, EQ_TYPE_PEQ, 0.0, 100, 1.414);
}

bool ResetEq(int pageKind)
{
    switch (pageKind) {
    case EQ_KIND_MUSIC:
        ResetMusicEq();
        return true;
    case EQ_KIND_MIC_A:
        ResetMicAEq();
        return true;
    case EQ_KIND_SUB:
        ResetSubEq();
        return true;
    case EQ_KIND_CENTER:
        ResetCenterEq();
        return true;
    case EQ_KIND_REAR:
        ResetRearEq();
        return true;
    case EQ_KIND_MAIN:
        ResetMainEq();
        return true;
    case EQ_KIND_REVERB_A:
        ResetReverbAEq();
        return true;
    case EQ_KIND_ECHO_A:
        ResetEchoAEq();
        return true;
    case EQ_KIND_MIC_B:
        ResetMicBEq();
        return true;
    case EQ_KIND_REVERB_B:
        ResetReverbBEq();
        return true;
    case EQ_KIND_ECHO_B:
        ResetEchoBEq();
        return true;
    case EQ_KIND_TOP:
        ResetTopEq();
        return true;
    default:
        return false;
    }
}

int ResendEq(int pageKind)
{
    const EqRegion* r = RegionOf(pageKind);
    if (r == nullptr || pageKind == EQ_KIND_SUB) {
        return 0;
    }
    // Each band is written back as the very bytes it is stored as. Re-encoding the decoded
    // band would lower 739 of the Q values by 0.001 on every resend (trunc of a single-
    // precision product), so repeated copies and pastes would drift the bands.
    for (int band = 0; band < r->editableBands; ++band) {
        const int blockBand = r->firstBand + band;
        const int offset = EqBandOffset(r->block, blockBand);
        EqBandRecord rec{};
        DeviceImage.Read(static_cast<size_t>(offset), rec);
        WriteDeviceBlock(offset, rec);
        WriteEqBiquad(r->block, blockBand, DecodeEqBand(rec));
    }
    return r->editableBands;
}

bool CopyEq(int fromKind, int toKind)
{
    const EqRegion* from = RegionOf(fromKind);
    const EqRegion* to = RegionOf(toKind);
    if (from == nullptr || to == nullptr || fromKind == EQ_KIND_SUB || toKind == EQ_KIND_SUB) {
        return false;
    }
    const int bands = std::min(from->editableBands, to->editableBands);
    std::vector<uint8_t> bytes(static_cast<size_t>(bands * kBandRecordSize));
    DeviceImage.Read(static_cast<size_t>(from->start), bytes);
    DeviceImage.Write(static_cast<size_t>(to->start), bytes);
    ResendEq(toKind);
    return true;
}

int ResendAllEq()
{
    static constexpr std::array<int, 9> kBands = {20, 14, 14, 11, 10, 10, 10, 20, 10};
    int sent = 0;
    for (int block = 1; block <= 9; ++block) {
        for (int band = 0; band < kBands[static_cast<size_t>(block - 1)]; ++band) {
            WriteEqBiquad(block, band, LoadEqBand(block, band));
            ++sent;
        }
    }
    return sent;
}

EqBand ClampLoadedBand(const EqBand& stored, const EqBand& previous, int maxType)
{
    EqBand b = previous;
    b.type = (stored.type < 0 || stored.type > maxType) ? EQ_TYPE_OFF : stored.type;
    const bool pass = b.type == EQ_TYPE_LP || b.type == EQ_TYPE_HP || b.type > EQ_TYPE_HS;
    const double gain = std::isfinite(stored.gain) ? stored.gain : 0.0;
    b.gain = pass ? 0.0 : std::clamp(gain, -kEqGainLimitDb, kEqGainLimitDb);
    if (stored.freq != 0) {
        b.freq = std::clamp(stored.freq, 20, 20000);
    }
    const double qMax = b.type == EQ_TYPE_PEQ ? 30.0 : 2.0;
    if (std::isfinite(stored.q) && std::fabs(stored.q) >= 1e-7) {
        b.q = std::clamp(stored.q, 0.1, qMax);
    } else if (b.type == EQ_TYPE_PEQ) {
        b.q = 1.41;
    } else if (b.type >= EQ_TYPE_LP && b.type <= EQ_TYPE_HS) {
        b.q = 0.7;
    }
    return b;
}
