// The settings catalogue of the command line. Each entry reads its value from the parameter
// store, the band memory, the memory blocks or the link state, and applies a value through
// the setter the page or tool window calls, so the processor sees the same reports.
#include "cli/CliSettings.h"

#include "dsp/CompressorControl.h"
#include "dsp/Crossover.h"
#include "dsp/DelayControl.h"
#include "dsp/Dynamics.h"
#include "dsp/EqBands.h"
#include "dsp/Features.h"
#include "dsp/InputParams.h"
#include "dsp/MasterWrites.h"
#include "dsp/SoundField.h"
#include "files/EqFilterFile.h"
#include "link/LinkState.h"
#include "link/MachineSettings.h"
#include "model/CellRanges.h"
#include "model/DeviceMemory.h"
#include "model/Outputs.h"
#include "model/ParamIds.h"
#include "model/ParamStore.h"
#include "model/Setters.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <tuple>

namespace {

// ---- Building entries ---------------------------------------------------------------------

SettingRange Range(double minimum, double maximum, double step = 1.0, int decimals = 0)
{
    return {minimum, maximum, step, decimals};
}

std::function<SettingRange()> Fixed(SettingRange r)
{
    return [r] { return r; };
}

SettingValue Number(double v)
{
    return {v, 0.0};
}

int Whole(const SettingValue& v)
{
    return static_cast<int>(std::lround(v.a));
}

bool On(const SettingValue& v)
{
    return v.a != 0.0;
}

// Decimals that show a step: 1 -> 0, 0.1 -> 1, 0.01 -> 2.
int DecimalsOf(double step)
{
    int decimals = 0;
    while (decimals < 3 && std::fabs(step * std::pow(10.0, decimals) -
                                     std::round(step * std::pow(10.0, decimals))) > 1e-9) {
        ++decimals;
    }
    return decimals;
}

// The range of a cell from the model's range table, divided by `scale` (the Sub's music mix
// holds three times its percent).
SettingRange CellSettingRange(int cell, int scale = 1)
{
    const CellRange* r = FindCellRange(cell);
    const double step = r->step / scale;
    return Range(r->min / scale, r->max / scale, step, DecimalsOf(step));
}

struct Catalogue
{
    std::vector<Setting> settings;
    std::vector<SettingGroup> groups;
    std::map<std::string, size_t> byName;

    Setting& Add(Setting s)
    {
        byName[s.name] = settings.size();
        settings.push_back(std::move(s));
        return settings.back();
    }
};

Setting NumberSetting(std::string name, std::string page, std::string unit, SettingRange range,
                      std::function<SettingValue()> get,
                      std::function<void(const SettingValue&)> apply)
{
    Setting s;
    s.name = std::move(name);
    s.page = std::move(page);
    s.unit = std::move(unit);
    s.kind = range.decimals > 0 ? SettingKind::Real : SettingKind::Int;
    s.range = Fixed(range);
    s.get = std::move(get);
    s.apply = std::move(apply);
    return s;
}

// A number kept in one cell: range, unit and range text from the model's range table.
Setting CellNumber(std::string name, std::string page, int cell,
                   std::function<void(const SettingValue&)> apply)
{
    const SettingRange range = CellSettingRange(cell);
    Setting s = NumberSetting(
        std::move(name), std::move(page), CellUnit(FindCellRange(cell)->kind), range,
        [cell, decimals = range.decimals] {
            if (!IsFloatCell(cell)) {
                return Number(ParamStore.GetInt(cell));
            }
            const double scale = std::pow(10.0, decimals);
            return Number(std::round(static_cast<double>(ParamStore.GetFloat(cell)) * scale) /
                          scale);
        },
        std::move(apply));
    s.rangeText = [cell] { return CellRangeText(*FindCellRange(cell)); };
    return s;
}

Setting SwitchSetting(std::string name, std::string page, std::function<SettingValue()> get,
                      std::function<void(const SettingValue&)> apply)
{
    Setting s;
    s.name = std::move(name);
    s.page = std::move(page);
    s.kind = SettingKind::Switch;
    s.choices = {"off", "on"};
    s.range = Fixed(Range(0, 1));
    s.get = std::move(get);
    s.apply = std::move(apply);
    return s;
}

// A switch cell; inverted: the cell holds 0 for "on" (the delay and compressor switches).
std::function<SettingValue()> SwitchGet(int cell, bool inverted)
{
    return [cell, inverted] {
        const bool set = ParamStore.GetInt(cell) != 0;
        return Number(set != inverted ? 1.0 : 0.0);
    };
}

Setting ChoiceSetting(std::string name, std::string page, std::vector<std::string> choices,
                      std::function<SettingValue()> get,
                      std::function<void(const SettingValue&)> apply)
{
    Setting s;
    s.name = std::move(name);
    s.page = std::move(page);
    s.kind = SettingKind::Choice;
    s.range = Fixed(Range(0, static_cast<double>(choices.size()) - 1));
    s.choices = std::move(choices);
    s.get = std::move(get);
    s.apply = std::move(apply);
    return s;
}

// ---- Master controls ----------------------------------------------------------------------

void AddMaster(Catalogue& c)
{
    struct Channel
    {
        const char* name;
        MasterVolume volume;
        int volumeCell;
        int muteCell;
        int limitByte; // byte of the machine-settings record with the maximum; -1 none
    };
    static const std::array<Channel, 4> kChannels{{
        {"mic", MasterVolume::Mic, PRM_MIC_VOL, PRM_MIC_MUTE, MS_MIC_MAX},
        {"music", MasterVolume::Music, PRM_MUSIC_VOL, PRM_MUSIC_MUTE, MS_MUSIC_MAX},
        {"echo", MasterVolume::Echo, PRM_ECHO_VOL, PRM_ECHO_MUTE, -1},
        {"reverb", MasterVolume::Reverb, PRM_REVERB_VOL, PRM_REVERB_MUTE, -1},
    }};
    for (const Channel& ch : kChannels) {
        Setting volume = CellNumber(
            std::string(ch.name) + ".volume", "master", ch.volumeCell,
            [which = ch.volume](const SettingValue& v) { SetMasterVolume(which, Whole(v)); });
        if (ch.limitByte >= 0) {
            // The mic and music volumes go no higher than the machine settings' maximum.
            volume.range = [cell = ch.volumeCell, byte = static_cast<size_t>(ch.limitByte)] {
                SettingRange r = CellSettingRange(cell);
                const int limit = CommittedMachineSettings()[byte];
                if (limit >= kMaxVolumeBottom && limit < r.maximum) {
                    r.maximum = limit;
                }
                return r;
            };
            volume.rangeText = [range = volume.range, cell = ch.volumeCell] {
                const SettingRange r = range();
                const CellRange* full = FindCellRange(cell);
                return r.maximum < full->max ? "0.." + std::to_string(static_cast<int>(r.maximum)) +
                                                   "% (the machine settings' maximum)"
                                             : CellRangeText(*full);
            };
        }
        c.Add(std::move(volume));
        c.Add(SwitchSetting(
            std::string(ch.name) + ".mute", "master", SwitchGet(ch.muteCell, false),
            [which = ch.volume](const SettingValue& v) { SetMasterMute(which, On(v), {}); }));
    }
    c.Add(CellNumber("music.pitch", "master", PRM_MUSIC_PITCH,
                     [](const SettingValue& v) { SetRibbonPitch(Whole(v)); }));
    c.Add(CellNumber("music.noisegate", "master", PRM_MUSIC_NG_THRESHOLD,
                     [](const SettingValue& v) { SetRibbonNoiseGate(Whole(v)); }));
    struct Input
    {
        const char* name;
        MusicInput input;
    };
    static const std::array<Input, 3> kInputs{{
        {"spdif", MusicInput::Spdif},
        {"aux1", MusicInput::Aux1},
        {"aux2", MusicInput::Aux2},
    }};
    for (const Input& in : kInputs) {
        c.Add(SwitchSetting(
            std::string("music.") + in.name, "master", SwitchGet(MusicInputOnCell(in.input), false),
            [which = in.input](const SettingValue& v) { SetMusicInputOn(which, On(v)); }));
        c.Add(CellNumber(
            std::string("music.") + in.name + ".level", "master", MusicInputLevelCell(in.input),
            [which = in.input](const SettingValue& v) { SetMusicInputLevel(which, Whole(v)); }));
    }
}

// ---- Input page and noise gates ------------------------------------------------------------

void AddInputs(Catalogue& c)
{
    constexpr std::array<int, 4> kToA{PRM_MICPORT1_TO_A, PRM_MICPORT2_TO_A, PRM_MICPORT3_TO_A,
                                      PRM_MICPORT4_TO_A};
    constexpr std::array<int, 4> kVolume{PRM_MICPORT1_VOL, PRM_MICPORT2_VOL, PRM_MICPORT3_VOL,
                                         PRM_MICPORT4_VOL};
    constexpr std::array<int, 4> kGate{PRM_MICPORT1_NG, PRM_MICPORT2_NG, PRM_MICPORT3_NG,
                                       PRM_MICPORT4_NG};
    for (int port = 0; port < 4; ++port) {
        const std::string base = "mic.port" + std::to_string(port + 1);
        const size_t i = static_cast<size_t>(port);
        c.Add(ChoiceSetting(
            base + ".channel", "inputs", {"a", "b"},
            [cell = kToA[i]] { return Number(ParamStore.GetInt(cell) != 0 ? 0 : 1); },
            [port](const SettingValue& v) { SetMicPortRouting(port, Whole(v)); }));
        c.Add(CellNumber(base + ".volume", "inputs", kVolume[i],
                         [port](const SettingValue& v) { SetMicPortVolume(port, Whole(v)); }));
        c.Add(CellNumber(base + ".noisegate", "inputs", kGate[i],
                         [port](const SettingValue& v) { SetMicPortNoiseGate(port, Whole(v)); }));
    }
    // The noise gate dialog's times: its sliders run 1..100, the cells hold 101 - slider.
    struct GateTime
    {
        const char* name;
        int cell;
        void (*set)(int stored);
    };
    static const std::array<GateTime, 4> kTimes{{
        {"mic.noisegate.attack", PRM_MIC_NG_ATTACK, SetMicNoiseGateAttack},
        {"mic.noisegate.release", PRM_MIC_NG_RELEASE, SetMicNoiseGateRelease},
        {"music.noisegate.attack", PRM_MUSIC_NG_ATTACK, SetMusicNoiseGateAttack},
        {"music.noisegate.release", PRM_MUSIC_NG_RELEASE, SetMusicNoiseGateRelease},
    }};
    for (const GateTime& t : kTimes) {
        const CellRange* r = FindCellRange(t.cell);
        Setting s = NumberSetting(
            t.name, "noise gate", "", Range(r->min, r->max),
            [cell = t.cell] { return Number(101 - ParamStore.GetInt(cell)); },
            [set = t.set](const SettingValue& v) { set(101 - Whole(v)); });
        s.rangeText = [cell = t.cell] { return CellRangeText(*FindCellRange(cell)); };
        c.Add(std::move(s));
    }
    // The echo and reverb list of the input page, per mic channel.
    struct Row
    {
        const char* name;
        int row;
        const char* unit;
    };
    static const std::array<Row, kInputParamRows> kRows{{
        {"reverb-?.level", PARAM_REVERB_LEVEL, "%"},
        {"reverb-?.predelay", PARAM_REVERB_PREDELAY, "ms"},
        {"reverb-?.time", PARAM_REVERB_TIME, ""},
        {"echo-?.level", PARAM_ECHO_LEVEL, "%"},
        {"echo-?.predelay", PARAM_ECHO_PREDELAY, "ms"},
        {"echo-?.time", PARAM_ECHO_TIME, "ms"},
        {"echo-?.decay", PARAM_ECHO_DECAY, "%"},
        {"mic-?.shift", PARAM_SHIFT, "Hz"},
    }};
    for (int channel = 0; channel < 2; ++channel) {
        for (const Row& row : kRows) {
            std::string name = row.name; // '?' stands for the channel letter
            name[name.find('?')] = channel == 0 ? 'a' : 'b';
            const ParamRange r = InputParamRange(row.row);
            Setting s = NumberSetting(
                name, "inputs", row.unit, Range(r.minimum, r.maximum),
                [row = row.row, channel] { return Number(InputParamValue(row, channel)); },
                [row = row.row, channel](const SettingValue& v) {
                    ApplyInputParam(row, channel, Whole(v));
                });
            if (row.row == PARAM_SHIFT) {
                s.rangeText = [r] {
                    return std::to_string(r.minimum) + ".." + std::to_string(r.maximum) +
                           " Hz, 1 is off";
                };
            }
            c.Add(std::move(s));
        }
    }
}

// ---- Features window ----------------------------------------------------------------------

void AddFeatures(Catalogue& c)
{
    c.Add(SwitchSetting(
        "mic.boost", "features", [] { return Number(ReadFeatures().boostOn); },
        [](const SettingValue& v) { SetFeatureMicBoostOn(On(v)); }));
    c.Add(NumberSetting(
        "mic.boost.level", "features", "dB", Range(0, kMicBoostMax),
        [] { return Number(ReadFeatures().boostDb); },
        [](const SettingValue& v) { SetFeatureMicBoost(Whole(v)); }));
    c.Add(NumberSetting(
        "music.lpf.freq", "features", "Hz", Range(kMusicLowPassMinHz, kMusicLowPassMaxHz),
        [] { return Number(ReadFeatures().lowPassHz); },
        [](const SettingValue& v) { SetMusicLowPassFrequency(Whole(v)); }));
    c.Add(CellNumber("music.lpf.delay", "features", PRM_MUSIC_LPF_DELAY,
                     [](const SettingValue& v) { SetMusicLowPassDelay(Whole(v)); }));
    c.Add(CellNumber("music.lpf.gain", "features", PRM_MUSIC_LPF_GAIN,
                     [](const SettingValue& v) { SetMusicLowPassGain(Whole(v)); }));
    // Music AGC exists from command set 9 on; older processors refuse it.
    const auto agcCheck = [](const SettingValue&, const EarlierValue&) {
        return AgcAvailableNow() ? std::string()
                                 : "music AGC needs a processor with command set " +
                                       std::to_string(kMusicAgcFirstCmdSet) + " or newer";
    };
    Setting agc = SwitchSetting(
        "music.agc", "features", [] { return Number(ReadFeatures().agcOn); },
        [](const SettingValue& v) { SetFeatureMusicAgcOn(On(v)); });
    agc.check = agcCheck;
    c.Add(std::move(agc));
    Setting agcLevel =
        CellNumber("music.agc.level", "features", PRM_MUSIC_AGC_LEVEL, [](const SettingValue& v) {
            SetFeatureMusicAgcTenths(static_cast<int>(std::lround(v.a * 10.0)));
        });
    agcLevel.get = [] { return Number(ReadFeatures().agcTenths / 10.0); };
    agcLevel.check = agcCheck;
    c.Add(std::move(agcLevel));
    c.Add(SwitchSetting(
        "autosub", "features", [] { return Number(ReadFeatures().autoSubOn); },
        [](const SettingValue& v) { SetAutoSubOn(On(v)); }));
    c.Add(CellNumber("autosub.level", "features", PRM_AUTOSUB_LEVEL,
                     [](const SettingValue& v) { SetAutoSubLevel(Whole(v)); }));
}

// ---- Machine settings ---------------------------------------------------------------------

void AddMachine(Catalogue& c)
{
    const char* page = "machine settings";
    c.groups.push_back(
        {"machine", [] { BeginMachineSettingsEdit(); }, [] { ApplyMachineSettings(); }, true});
    const auto add = [&c](Setting s) {
        s.group = "machine";
        s.deviceOnly = true;
        c.Add(std::move(s));
    };
    for (const auto& [name, which, startByte, maxByte] :
         {std::tuple{"machine.mic-start", StartVolume::Mic, MS_MIC_START, MS_MIC_MAX},
          std::tuple{"machine.music-start", StartVolume::Music, MS_MUSIC_START, MS_MUSIC_MAX}}) {
        Setting start = NumberSetting(
            name, page, "%", Range(0, kStartVolumeTop),
            [byte = startByte] {
                const int v = WorkingMachineSettings()[static_cast<size_t>(byte)];
                return Number(v == kStartVolumeOff ? -1 : v);
            },
            [which = which](const SettingValue& v) {
                if (v.a < 0) {
                    SetStartVolumeEnabled(which, false);
                } else {
                    SetStartVolume(which, Whole(v));
                }
            });
        start.kind = SettingKind::IntOrOff;
        // Not above the maximum, as the slider's range is (a maximum set in the same command
        // counts).
        start.check = [maxByte = maxByte](const SettingValue& v, const EarlierValue& earlier) {
            const std::string maxName =
                maxByte == MS_MIC_MAX ? "machine.mic-max" : "machine.music-max";
            const std::optional<SettingValue> newMax = earlier(maxName);
            const int maximum =
                newMax ? Whole(*newMax) : WorkingMachineSettings()[static_cast<size_t>(maxByte)];
            return v.a > maximum ? "above " + maxName + " (" + std::to_string(maximum) + ")"
                                 : std::string();
        };
        add(std::move(start));
    }
    for (const auto& [name, which, byte] :
         {std::tuple{"machine.mic-max", StartVolume::Mic, MS_MIC_MAX},
          std::tuple{"machine.music-max", StartVolume::Music, MS_MUSIC_MAX}}) {
        add(NumberSetting(
            name, page, "%", Range(kMaxVolumeBottom, kStartVolumeTop),
            [byte = byte] { return Number(WorkingMachineSettings()[static_cast<size_t>(byte)]); },
            [which = which](const SettingValue& v) { SetMaxVolume(which, Whole(v)); }));
    }
    add(ChoiceSetting(
        "machine.volume-save", page, {"power", "mode"},
        [] { return Number(WorkingMachineSettings()[MS_VOLUME_SAVE_MODE] != 0); },
        [](const SettingValue& v) { SetVolumeSaveMode(Whole(v)); }));
    add(SwitchSetting(
        "machine.lock-panel", page,
        [] { return Number(WorkingMachineSettings()[MS_PANEL_LOCK] != 0); },
        [](const SettingValue& v) { SetPanelLock(On(v)); }));
    add(SwitchSetting(
        "machine.lock-volume", page,
        [] { return Number((WorkingMachineSettings()[MS_LOCK_FLAGS] & 0x01) != 0); },
        [](const SettingValue& v) { SetLockVolume(On(v)); }));
    add(SwitchSetting(
        "machine.lock-mode", page,
        [] { return Number((WorkingMachineSettings()[MS_LOCK_FLAGS] & kLockModeBit) != 0); },
        [](const SettingValue& v) { SetLockMode(On(v)); }));
    add(ChoiceSetting(
        "machine.power-on-mode", page, {"auto", "m1", "m2", "m3", "m4"},
        [] {
            const int m = WorkingMachineSettings()[MS_POWER_ON_MODE];
            return Number(m < kPowerOnModeCount ? m : 0);
        },
        [](const SettingValue& v) { SetPowerOnMode(Whole(v)); }));
    // The mic phase switches of the machine-settings window are parameters written at once,
    // and kept in mode files.
    for (const auto& [name, cell, channel] : {std::tuple{"mic-a.phase", PRM_MICA_PHASE, 0},
                                              std::tuple{"mic-b.phase", PRM_MICB_PHASE, 1}}) {
        c.Add(ChoiceSetting(
            name, page, {"normal", "reverse"},
            [cell = cell] { return Number(ParamStore.GetInt(cell) != 0 ? 0.0 : 1.0); },
            [channel = channel](const SettingValue& v) {
                SetMicPhaseReversed(channel, Whole(v) == 1);
            }));
    }
}

// ---- Equalisers ---------------------------------------------------------------------------

// The EQs in the order `list` shows them, with the page each belongs to. Their names and
// band counts are the core's (EqScriptName, EqEditableBandCount).
struct EqName
{
    int kind;
    const char* page;
};

constexpr std::array<EqName, 12> kEqs{{
    {EQ_KIND_MIC_A, "inputs"},
    {EQ_KIND_MIC_B, "inputs"},
    {EQ_KIND_MUSIC, "inputs"},
    {EQ_KIND_ECHO_A, "echo and reverb EQ"},
    {EQ_KIND_ECHO_B, "echo and reverb EQ"},
    {EQ_KIND_REVERB_A, "echo and reverb EQ"},
    {EQ_KIND_REVERB_B, "echo and reverb EQ"},
    {EQ_KIND_MAIN, "outputs"},
    {EQ_KIND_REAR, "outputs"},
    {EQ_KIND_CENTER, "outputs"},
    {EQ_KIND_SUB, "outputs"},
    {EQ_KIND_TOP, "outputs"},
}};

const std::vector<std::string> kBandTypes = {"off", "peq", "lp", "hp", "ls", "hs"};

// The band as stored in the band memory (band counts from 0 within the equaliser).
EqBand StoredBand(int kind, int band)
{
    return LoadKindBand(kind, band);
}

bool IsPassType(int type)
{
    return type == EQ_TYPE_LP || type == EQ_TYPE_HP || type > EQ_TYPE_HS;
}

// The band being edited by consecutive assignments of one command.
struct PendingBand
{
    int kind = 0;
    int band = 0;
    EqBand value;
};

double QMaximum(int type)
{
    return BandQRangeForType(type).maxRaw / 1000.0;
}

// ---- The Sub's filter slots ----------------------------------------------------------------

// A Sub slot being edited: its visible band and whether its type was chosen.
struct PendingSlot
{
    int slot = 0;
    EqBand band;
    bool typeChosen = false;
    bool gainGiven = false;
};

const std::vector<std::string> kCrossoverNames = {
    "lr12",     "lr24",          "lr36",          "lr48",          "bessel12",   "bessel18",
    "bessel24", "butterworth12", "butterworth18", "butterworth24", "chebyshev12"};

// The user type a slot's first stage shows: the crossover codes read as LP (even) or HP (odd).
int SlotUserType(int slot)
{
    const int t = LoadKindBand(EQ_KIND_SUB, kStagesPerSubSlot * slot).type;
    return t >= 0 && t <= EQ_TYPE_HS ? t : (t % 2 == 0 ? EQ_TYPE_LP : EQ_TYPE_HP);
}

void AddSubSlots(Catalogue& c, const std::string& base, const char* page)
{
    auto pending = std::make_shared<PendingSlot>();
    for (int slot = 0; slot < kSubSlotCount; ++slot) {
        const std::string prefix = base + "." + std::to_string(slot + 1);
        c.groups.push_back(
            {prefix,
             [pending, slot] {
                 pending->slot = slot;
                 pending->band = LoadKindBand(EQ_KIND_SUB, kStagesPerSubSlot * slot);
                 pending->band.type = SlotUserType(slot);
                 pending->typeChosen = false;
                 pending->gainGiven = false;
             },
             [pending] {
                 EqBand b = pending->band;
                 if (IsPassType(b.type)) {
                     b.gain = 0.0;
                 }
                 b.q = std::clamp(b.q, BandQRangeForType(b.type).minRaw / 1000.0, QMaximum(b.type));
                 if (pending->typeChosen) {
                     // A type chosen on the page sets the slot's four stages at once, without
                     // a gain unless one is given with it.
                     SetSubSlotType(pending->slot, b.type, pending->gainGiven ? b.gain : 0.0,
                                    b.freq, b.q);
                     return;
                 }
                 // The slot keeps its stage codes; the hidden stages follow the visible band's
                 // frequency and Q.
                 std::array<EqBand, kStagesPerSubSlot> stages{};
                 for (int i = 0; i < kStagesPerSubSlot; ++i) {
                     stages[static_cast<size_t>(i)] =
                         LoadKindBand(EQ_KIND_SUB, kStagesPerSubSlot * pending->slot + i);
                     stages[static_cast<size_t>(i)].freq = b.freq;
                     stages[static_cast<size_t>(i)].q = b.q;
                 }
                 const int storedType = stages[0].type;
                 stages[0].gain = IsPassType(storedType) ? 0.0 : b.gain;
                 WriteSubSlot(pending->slot, stages);
             },
             false});
        Setting type = ChoiceSetting(
            prefix + ".type", page, kBandTypes, [slot] { return Number(SlotUserType(slot)); },
            [pending](const SettingValue& v) {
                pending->band.type = Whole(v);
                pending->typeChosen = true;
            });
        type.group = prefix;
        c.Add(std::move(type));
        Setting gain = NumberSetting(
            prefix + ".gain", page, "dB",
            Range(-kBandGainRawMax / 20.0, kBandGainRawMax / 20.0, 0.1, 1),
            [slot] {
                return Number(
                    std::round(LoadKindBand(EQ_KIND_SUB, kStagesPerSubSlot * slot).gain * 10) / 10);
            },
            [pending](const SettingValue& v) {
                pending->band.gain = v.a;
                pending->gainGiven = true;
            });
        gain.group = prefix;
        c.Add(std::move(gain));
        Setting freq = NumberSetting(
            prefix + ".freq", page, "Hz", Range(kBandFreqMin, kBandFreqMax),
            [slot] { return Number(LoadKindBand(EQ_KIND_SUB, kStagesPerSubSlot * slot).freq); },
            [pending](const SettingValue& v) { pending->band.freq = Whole(v); });
        freq.group = prefix;
        c.Add(std::move(freq));
        Setting q = NumberSetting(
            prefix + ".q", page, "",
            Range(BandQRangeForType(EQ_TYPE_PEQ).minRaw / 1000.0, QMaximum(EQ_TYPE_PEQ), 0.01, 2),
            [slot] {
                return Number(
                    std::round(LoadKindBand(EQ_KIND_SUB, kStagesPerSubSlot * slot).q * 100) / 100);
            },
            [pending](const SettingValue& v) { pending->band.q = v.a; });
        q.rangeText = [] { return "0.1..30 for peq, 0.1..2 for the other types"; };
        q.check = [prefix, slot](const SettingValue& v, const EarlierValue& earlier) {
            const std::optional<SettingValue> newType = earlier(prefix + ".type");
            const int t = newType ? Whole(*newType) : SlotUserType(slot);
            return v.a > QMaximum(t) + 1e-9
                       ? "a " + kBandTypes[static_cast<size_t>(t)] + " band takes Q 0.1..2"
                       : std::string();
        };
        q.group = prefix;
        c.Add(std::move(q));
        // The crossover kind of a low or high pass slot; "none" when the slot is no crossover.
        std::vector<std::string> kinds = kCrossoverNames;
        kinds.push_back("none");
        Setting crossover = ChoiceSetting(
            prefix + ".crossover", page, kinds,
            [slot] {
                const SubSlotMatch m = RecogniseSubSlot(LoadSubSlotStages(slot));
                return Number(m.found && m.kind >= 0 ? m.kind
                                                     : static_cast<double>(kCrossoverNames.size()));
            },
            [slot](const SettingValue& v) { BuildSubCrossover(slot, Whole(v)); });
        crossover.rangeText = [] {
            std::string text;
            for (const std::string& k : kCrossoverNames) {
                text += (text.empty() ? "" : ", ") + k;
            }
            return text + "; the slot must be lp or hp";
        };
        crossover.check = [prefix, slot](const SettingValue& v, const EarlierValue& earlier) {
            if (Whole(v) >= static_cast<int>(kCrossoverNames.size())) {
                return std::string("choose one of the crossover kinds");
            }
            const std::optional<SettingValue> newType = earlier(prefix + ".type");
            const int t = newType ? Whole(*newType) : SlotUserType(slot);
            return t == EQ_TYPE_LP || t == EQ_TYPE_HP
                       ? std::string()
                       : "the slot is " + kBandTypes[static_cast<size_t>(t)] +
                             "; a crossover needs " + prefix + ".type lp or hp";
        };
        c.Add(std::move(crossover));
    }
}

// ---- Outputs ------------------------------------------------------------------------------

void AddOutputs(Catalogue& c)
{
    static const std::array<const char*, 4> kSources{"direct", "reverb", "echo", "music"};
    for (const OutputCells& out : AllOutputs()) {
        const std::string base = out.name;
        const int kind = out.pageKind;
        for (int source = 0; source < 4; ++source) {
            Setting mix = NumberSetting(
                base + ".mix." + kSources[static_cast<size_t>(source)], "outputs", "%",
                Range(0, kMixMax),
                [kind, source] { return Number(OutputMixPosition(kind, source)); },
                [kind, source](const SettingValue& v) { SetOutputMix(kind, source, Whole(v)); });
            // The range table's text of the cell, except for the Sub's music cell, which holds
            // three times the percent.
            const int cell = out.mix[static_cast<size_t>(source)];
            if (FindCellRange(cell)->max == kMixMax) {
                mix.rangeText = [cell] { return CellRangeText(*FindCellRange(cell)); };
            }
            c.Add(std::move(mix));
        }
        if (out.surround != 0) {
            c.Add(CellNumber(base + ".srs", "outputs", out.surround,
                             [kind](const SettingValue& v) { SetOutputSurround(kind, Whole(v)); }));
        }
        c.Add(SwitchSetting(
            base + ".mute", "outputs", [kind] { return Number(OutputMuted(kind)); },
            [kind](const SettingValue& v) { SetOutputMute(kind, On(v)); }));
    }
}

void AddEqs(Catalogue& c)
{
    auto pending = std::make_shared<PendingBand>();
    for (const EqName& eq : kEqs) {
        const std::string base = std::string("eq.") + EqScriptName(eq.kind);
        c.Add(SwitchSetting(base + ".bypass", eq.page, SwitchGet(EqBypassCell(eq.kind), false),
                            [cell = EqBypassCell(eq.kind)](const SettingValue& v) {
                                SetParamCell(cell, On(v) ? 1 : 0);
                            }));
        if (eq.kind == EQ_KIND_SUB) {
            AddSubSlots(c, base, eq.page);
            continue;
        }
        for (int band = 0; band < EqEditableBandCount(eq.kind); ++band) {
            const std::string prefix = base + "." + std::to_string(band + 1);
            const int kind = eq.kind;
            c.groups.push_back({prefix,
                                [pending, kind, band] {
                                    pending->kind = kind;
                                    pending->band = band;
                                    pending->value = StoredBand(kind, band);
                                },
                                [pending] {
                                    EqBand& b = pending->value;
                                    // Pass filters have no gain; Q stays within its type's
                                    // range, as the band editor keeps it.
                                    if (IsPassType(b.type)) {
                                        b.gain = 0.0;
                                    }
                                    b.q = std::clamp(b.q, BandQRangeForType(b.type).minRaw / 1000.0,
                                                     QMaximum(b.type));
                                    SetEqBand(pending->kind, pending->band, b.type, b.gain, b.freq,
                                              b.q);
                                },
                                false});
            Setting type = ChoiceSetting(
                prefix + ".type", eq.page, kBandTypes,
                [kind, band] {
                    const int t = StoredBand(kind, band).type;
                    return Number(t >= 0 && t <= EQ_TYPE_HS ? t : (t % 2 == 0 ? 2 : 3));
                },
                [pending](const SettingValue& v) { pending->value.type = Whole(v); });
            type.group = prefix;
            c.Add(std::move(type));
            Setting gain = NumberSetting(
                prefix + ".gain", eq.page, "dB",
                Range(-kBandGainRawMax / 20.0, kBandGainRawMax / 20.0, 0.1, 1),
                [kind, band] { return Number(std::round(StoredBand(kind, band).gain * 10) / 10); },
                [pending](const SettingValue& v) { pending->value.gain = v.a; });
            gain.group = prefix;
            c.Add(std::move(gain));
            Setting freq = NumberSetting(
                prefix + ".freq", eq.page, "Hz", Range(kBandFreqMin, kBandFreqMax),
                [kind, band] { return Number(StoredBand(kind, band).freq); },
                [pending](const SettingValue& v) { pending->value.freq = Whole(v); });
            freq.group = prefix;
            c.Add(std::move(freq));
            Setting q = NumberSetting(
                prefix + ".q", eq.page, "",
                Range(BandQRangeForType(EQ_TYPE_PEQ).minRaw / 1000.0, QMaximum(EQ_TYPE_PEQ), 0.01,
                      2),
                [kind, band] { return Number(std::round(StoredBand(kind, band).q * 100) / 100); },
                [pending](const SettingValue& v) { pending->value.q = v.a; });
            q.rangeText = [] { return "0.1..30 for peq, 0.1..2 for the other types"; };
            // The Q of a band that is (or becomes in the same command) no peaking band stays
            // within 0.1..2.
            q.check = [prefix, kind, band](const SettingValue& v, const EarlierValue& earlier) {
                const std::optional<SettingValue> newType = earlier(prefix + ".type");
                const int t = newType ? Whole(*newType) : StoredBand(kind, band).type;
                return v.a > QMaximum(t) + 1e-9
                           ? "a " +
                                 (t >= 0 && t <= EQ_TYPE_HS ? kBandTypes[static_cast<size_t>(t)]
                                                            : std::string("crossover")) +
                                 " band takes Q 0.1..2"
                           : std::string();
            };
            q.group = prefix;
            c.Add(std::move(q));
        }
    }
}

// ---- Compressors --------------------------------------------------------------------------

struct OutputName
{
    const char* name;
    CompGroup group;
    int bypassCell;
};

constexpr std::array<OutputName, 5> kCompressors{{
    {"main", COMP_GROUP_MAIN, PRM_MAIN_COMP_BYPASS},
    {"rear", COMP_GROUP_REAR, PRM_REAR_COMP_BYPASS},
    {"center", COMP_GROUP_CENTER, PRM_CENTER_COMP_BYPASS},
    {"sub", COMP_GROUP_SUB, PRM_SUB_COMP_BYPASS},
    {"top", COMP_GROUP_TOP, PRM_TOP_COMP_BYPASS},
}};

// The compressor being edited: the four slider positions.
struct PendingCompressor
{
    int group = 0;
    std::array<int, COMP_SLIDER_COUNT> positions{};
};

void AddCompressors(Catalogue& c)
{
    auto pending = std::make_shared<PendingCompressor>();
    for (const OutputName& out : kCompressors) {
        const std::string base = std::string("comp.") + out.name;
        const int group = out.group;
        c.Add(SwitchSetting(
            base + ".on", "compressor", [group] { return Number(GroupCompressorOn(group)); },
            [group](const SettingValue& v) { SetGroupCompressorOn(group, On(v)); }));
        c.groups.push_back(
            {base,
             [pending, group] {
                 pending->group = group;
                 for (int slider = 0; slider < COMP_SLIDER_COUNT; ++slider) {
                     pending->positions[static_cast<size_t>(slider)] =
                         CompressorSliderPosition(slider, GroupCompressorValue(group, slider));
                 }
             },
             [pending] {
                 // One write with the four sliders' values, as one slider move makes.
                 std::array<float, COMP_SLIDER_COUNT> v{};
                 for (int slider = 0; slider < COMP_SLIDER_COUNT; ++slider) {
                     v[static_cast<size_t>(slider)] = CompressorSliderValue(
                         slider, pending->positions[static_cast<size_t>(slider)]);
                 }
                 WriteCompressor(CompressorOfGroup(pending->group), v[0], v[1], v[2], v[3]);
             },
             false});
        struct Field
        {
            const char* name;
            int slider;
            int cellOffset; // from the threshold cell
        };
        static constexpr std::array<Field, 4> kFields{{
            {"threshold", COMP_SLIDER_THRESHOLD, 0},
            {"ratio", COMP_SLIDER_RATIO, 1},
            {"attack", COMP_SLIDER_ATTACK, 2},
            {"release", COMP_SLIDER_RELEASE, 3},
        }};
        const int threshold = out.bypassCell + 1;
        for (const Field& field : kFields) {
            const int slider = field.slider;
            Setting s =
                CellNumber(base + "." + field.name, "compressor", threshold + field.cellOffset,
                           [pending, slider](const SettingValue& v) {
                               pending->positions[static_cast<size_t>(slider)] =
                                   CompressorSliderPosition(slider, static_cast<float>(v.a));
                           });
            s.group = base;
            c.Add(std::move(s));
        }
    }
}

// ---- Delays -------------------------------------------------------------------------------

constexpr std::array<const char*, kDelayChannelCount> kDelayNames{
    "main-l", "main-r", "center", "sub", "rear-l", "rear-r", "top-l", "top-r"};

void AddDelays(Catalogue& c)
{
    for (int channel = 0; channel < kDelayChannelCount; ++channel) {
        const std::string base = std::string("delay.") + kDelayNames[static_cast<size_t>(channel)];
        const DelaySideCells cells = DelayCellsOf(DelaySideOfChannel(channel));
        // Values below 1.5 ms are taken and raised to 1.5 ms, as the page does.
        Setting ms =
            CellNumber(base + ".ms", "delay", cells.delayCell,
                       [channel](const SettingValue& v) { ApplyChannelDelay(channel, v.a); });
        ms.range = Fixed(Range(0.0, static_cast<double>(kDelayMaxMs), 0.1, 1));
        ms.get = [channel] {
            return Number(std::round(static_cast<double>(ChannelDelay(channel)) * 10.0) / 10.0);
        };
        ms.rangeText = [cell = cells.delayCell] {
            return CellRangeText(*FindCellRange(cell)) + ", less is raised to 1.5";
        };
        c.Add(std::move(ms));
        c.Add(SwitchSetting(
            base + ".on", "delay", [channel] { return Number(ChannelDelayOn(channel)); },
            [channel](const SettingValue& v) { SetChannelDelayOn(channel, On(v)); }));
        c.Add(ChoiceSetting(
            base + ".mode", "delay", {"high", "channel"},
            [channel] { return Number(ChannelDelayMode(channel)); },
            [channel](const SettingValue& v) { SetChannelDelayMode(channel, Whole(v)); }));
        Setting split = NumberSetting(
            base + ".split", "delay", "Hz",
            Range(SplitStepHz(0), SplitStepHz(kHfSplitStepCount - 1), 100),
            [channel] { return Number(SplitStepHz(ChannelSplitStep(channel))); },
            [channel](const SettingValue& v) {
                SetChannelSplitStep(channel, (Whole(v) - SplitStepHz(0)) / 100);
            });
        const std::string modeName = base + ".mode";
        split.check = [channel, modeName](const SettingValue&, const EarlierValue& earlier) {
            const std::optional<SettingValue> mode = earlier(modeName);
            const int m = mode ? Whole(*mode) : ChannelDelayMode(channel);
            return m != 0 ? "the split is not used while " + modeName + " is channel"
                          : std::string();
        };
        c.Add(std::move(split));
    }
}

// ---- Sound field --------------------------------------------------------------------------

constexpr std::array<const char*, kSoundFieldPointCount> kPointNames{
    "listener", "main-l", "center", "main-r", "rear-l", "sub", "rear-r", "top-l", "top-r"};

void AddSoundField(Catalogue& c)
{
    Setting room;
    room.name = "soundfield.room";
    room.page = "sound field";
    room.unit = "m";
    room.kind = SettingKind::Room;
    room.range = Fixed(Range(kMinRoomMetres, kMaxRoomMetres));
    room.get = [] {
        const SoundFieldGeometry g = CurrentSoundFieldGeometry();
        return SettingValue{static_cast<double>(g.width), static_cast<double>(g.length)};
    };
    room.apply = [](const SettingValue& v) {
        SetSoundFieldRoomSize(static_cast<int>(v.a), static_cast<int>(v.b));
    };
    c.Add(std::move(room));
    for (int point = 0; point < kSoundFieldPointCount; ++point) {
        Setting s;
        s.name = std::string("soundfield.") + kPointNames[static_cast<size_t>(point)];
        s.page = "sound field";
        s.unit = "m";
        s.kind = SettingKind::Point;
        s.range = Fixed(Range(-kMaxRoomMetres / 2.0, kMaxRoomMetres / 2.0, 0.1, 1));
        s.get = [point] {
            const SoundFieldPosition p =
                CurrentSoundFieldGeometry().points[static_cast<size_t>(point)];
            return SettingValue{PositionTenths(p.x) / 10.0, PositionTenths(p.y) / 10.0};
        };
        // Typed positions are limited to the room (as it is when the assignment is applied),
        // as the page's edit boxes are.
        s.apply = [point](const SettingValue& v) {
            const SoundFieldGeometry g = CurrentSoundFieldGeometry();
            const SoundFieldPosition at =
                LimitToRoom({static_cast<float>(v.a), static_cast<float>(v.b)}, g.width, g.length);
            MoveSoundFieldPoint(point, at, SoundFieldMove::Typed);
        };
        c.Add(std::move(s));
    }
}

const Catalogue& TheCatalogue()
{
    static const Catalogue catalogue = [] {
        Catalogue c;
        AddMaster(c);
        AddInputs(c);
        AddOutputs(c);
        AddFeatures(c);
        AddMachine(c);
        AddEqs(c);
        AddCompressors(c);
        AddDelays(c);
        AddSoundField(c);
        return c;
    }();
    return catalogue;
}

// ---- Values as text -----------------------------------------------------------------------

std::string FormatNumber(double v, int decimals)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, v);
    std::string s = text;
    return s == "-0" || s == "-0.0" || s == "-0.00" ? s.substr(1) : s;
}

std::optional<double> ParseNumber(const std::string& text)
{
    if (text.empty()) {
        return std::nullopt;
    }
    const char* first = text.data();
    if (*first == '+') {
        ++first;
    }
    double v = 0.0;
    const auto [end, ec] = std::from_chars(first, text.data() + text.size(), v);
    if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(v)) {
        return std::nullopt;
    }
    return v;
}

std::string Lower(std::string s)
{
    for (char& ch : s) {
        if (ch >= 'A' && ch <= 'Z') {
            ch = static_cast<char>(ch - 'A' + 'a');
        }
    }
    return s;
}

bool OnStep(double v, const SettingRange& r)
{
    if (r.step <= 0.0) {
        return true;
    }
    const double k = (v - r.minimum) / r.step;
    return std::fabs(k - std::round(k)) < 1e-6;
}

} // namespace

const std::vector<Setting>& AllSettings()
{
    return TheCatalogue().settings;
}

const Setting* FindSetting(const std::string& name)
{
    const Catalogue& c = TheCatalogue();
    const auto it = c.byName.find(name);
    return it == c.byName.end() ? nullptr : &c.settings[it->second];
}

const SettingGroup* FindSettingGroup(const std::string& key)
{
    for (const SettingGroup& g : TheCatalogue().groups) {
        if (g.key == key) {
            return &g;
        }
    }
    return nullptr;
}

std::string RangeText(const Setting& s)
{
    if (s.rangeText) {
        return s.rangeText();
    }
    std::string text;
    switch (s.kind) {
    case SettingKind::Switch:
        return "on or off";
    case SettingKind::Choice:
        for (const std::string& choice : s.choices) {
            text += (text.empty() ? "" : ", ") + choice;
        }
        return text;
    case SettingKind::Point:
        return "X,Y in metres within the room";
    case SettingKind::Room:
        return "WxL in whole metres, " + FormatNumber(s.range().minimum, 0) + ".." +
               FormatNumber(s.range().maximum, 0);
    default:
        break;
    }
    const SettingRange r = s.range();
    text = FormatNumber(r.minimum, r.decimals) + ".." + FormatNumber(r.maximum, r.decimals);
    if (!s.unit.empty()) {
        text += s.unit == "%" ? s.unit : " " + s.unit; // as the model's range texts write them
    }
    if (r.step > 0.0 && r.step != std::pow(10.0, -r.decimals)) {
        text += " in steps of " + FormatNumber(r.step, r.decimals);
    }
    if (s.kind == SettingKind::IntOrOff) {
        text += " or off";
    }
    return text;
}

std::string FormatValue(const Setting& s, const SettingValue& v)
{
    switch (s.kind) {
    case SettingKind::Switch:
        return v.a != 0.0 ? "on" : "off";
    case SettingKind::Choice: {
        const long i = std::lround(v.a);
        return i >= 0 && static_cast<size_t>(i) < s.choices.size()
                   ? s.choices[static_cast<size_t>(i)]
                   : "?";
    }
    case SettingKind::IntOrOff:
        return v.a < 0 ? "off" : FormatNumber(v.a, 0);
    case SettingKind::Point:
        return FormatNumber(v.a, 1) + "," + FormatNumber(v.b, 1);
    case SettingKind::Room:
        return FormatNumber(v.a, 0) + "x" + FormatNumber(v.b, 0);
    default:
        return FormatNumber(v.a, s.range().decimals);
    }
}

std::string FormatJsonValue(const Setting& s, const SettingValue& v)
{
    switch (s.kind) {
    case SettingKind::Switch:
        return v.a != 0.0 ? "true" : "false";
    case SettingKind::Choice:
        return JsonQuote(FormatValue(s, v));
    case SettingKind::IntOrOff:
        return v.a < 0 ? "\"off\"" : FormatNumber(v.a, 0);
    case SettingKind::Point:
        return "[" + FormatNumber(v.a, 1) + ", " + FormatNumber(v.b, 1) + "]";
    case SettingKind::Room:
        return "[" + FormatNumber(v.a, 0) + ", " + FormatNumber(v.b, 0) + "]";
    default:
        return FormatNumber(v.a, s.range().decimals);
    }
}

std::string JsonQuote(const std::string& text)
{
    std::string out = "\"";
    for (const char ch : text) {
        switch (ch) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(ch) < 0x20) {
                char esc[8];
                std::snprintf(esc, sizeof esc, "\\u%04x", static_cast<unsigned>(ch));
                out += esc;
            } else {
                out += ch;
            }
        }
    }
    return out + "\"";
}

std::optional<Assignment> ParseAssignment(const std::string& text, const EarlierValue& earlier,
                                          std::string* error)
{
    const size_t eq = text.find('=');
    if (eq == std::string::npos || eq == 0) {
        *error = "'" + text + "' is not NAME=VALUE";
        return std::nullopt;
    }
    const std::string name = text.substr(0, eq);
    const std::string valueText = text.substr(eq + 1);
    const Setting* s = FindSetting(name);
    if (!s) {
        *error = name + ": no such setting (dsp4620-cli list shows them all)";
        return std::nullopt;
    }
    const auto refuse = [&](const std::string& why) {
        *error = name + "=" + valueText + ": " + why + " (" + RangeText(*s) + ")";
        return std::nullopt;
    };
    SettingValue v;
    const std::string lower = Lower(valueText);
    switch (s->kind) {
    case SettingKind::Switch:
        if (lower == "on" || lower == "true" || lower == "1" || lower == "yes") {
            v.a = 1.0;
        } else if (lower == "off" || lower == "false" || lower == "0" || lower == "no") {
            v.a = 0.0;
        } else {
            return refuse("not on or off");
        }
        break;
    case SettingKind::Choice: {
        const auto it = std::find(s->choices.begin(), s->choices.end(), lower);
        if (it == s->choices.end()) {
            return refuse("not one of the choices");
        }
        v.a = static_cast<double>(it - s->choices.begin());
        break;
    }
    case SettingKind::Point:
    case SettingKind::Room: {
        const char sep = s->kind == SettingKind::Point ? ',' : 'x';
        const size_t at = lower.find(sep);
        const std::optional<double> x =
            at == std::string::npos ? std::nullopt : ParseNumber(lower.substr(0, at));
        const std::optional<double> y =
            at == std::string::npos ? std::nullopt : ParseNumber(lower.substr(at + 1));
        if (!x || !y) {
            return refuse("malformed value");
        }
        v = {*x, *y};
        if (s->kind == SettingKind::Room) {
            const SettingRange r = s->range();
            if (*x != std::trunc(*x) || *y != std::trunc(*y)) {
                return refuse("not whole metres");
            }
            if (*x < r.minimum || *x > r.maximum || *y < r.minimum || *y > r.maximum) {
                return refuse("out of range");
            }
        }
        break;
    }
    default: {
        if (s->kind == SettingKind::IntOrOff && lower == "off") {
            v.a = -1.0;
            break;
        }
        const std::optional<double> x = ParseNumber(valueText);
        if (!x) {
            return refuse("malformed value");
        }
        const SettingRange r = s->range();
        if (s->kind != SettingKind::Real && *x != std::trunc(*x)) {
            return refuse("not a whole number");
        }
        if (*x < r.minimum - 1e-9 || *x > r.maximum + 1e-9) {
            return refuse("out of range");
        }
        if (!OnStep(*x, r)) {
            return refuse("not a step of the setting");
        }
        v.a = *x;
        break;
    }
    }
    if (s->check) {
        const std::string why = s->check(v, earlier);
        if (!why.empty()) {
            *error = name + "=" + valueText + ": " + why;
            return std::nullopt;
        }
    }
    return Assignment{s, v};
}

void ApplyAssignments(const std::vector<Assignment>& assignments)
{
    // The last assignment of every group that is committed once after its last assignment.
    std::map<std::string, size_t> lastOf;
    for (size_t i = 0; i < assignments.size(); ++i) {
        if (!assignments[i].setting->group.empty()) {
            lastOf[assignments[i].setting->group] = i;
        }
    }
    std::map<std::string, bool> begun;  // groups committed after their last assignment
    const SettingGroup* open = nullptr; // a group of consecutive assignments
    for (size_t i = 0; i < assignments.size(); ++i) {
        const Setting& s = *assignments[i].setting;
        const SettingGroup* group = s.group.empty() ? nullptr : FindSettingGroup(s.group);
        if (open && open != group) {
            open->commit();
            open = nullptr;
        }
        if (group && group->commitAfterLast) {
            if (!begun[group->key]) {
                group->begin();
                begun[group->key] = true;
            }
            s.apply(assignments[i].value);
            if (lastOf[group->key] == i) {
                group->commit();
            }
            continue;
        }
        if (group && open != group) {
            group->begin();
            open = group;
        }
        s.apply(assignments[i].value);
    }
    if (open) {
        open->commit();
    }
}
