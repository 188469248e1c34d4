// The settings catalogue of the command line. Each entry reads its value from the parameter
// store, the band memory, the memory blocks or the link state, and applies a value through
// the setter the page or tool window calls, so the processor sees the same reports.
#include "cli/CliSettings.h"

#include "dsp/Crossover.h"
#include "dsp/Dynamics.h"
#include "dsp/EqBands.h"
#include "link/LinkState.h"
#include "model/DeviceMemory.h"
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

// A plain cell read as an integer.
std::function<SettingValue()> CellGet(int cell)
{
    return [cell] { return Number(ParamStore.GetInt(cell)); };
}

// A switch cell; inverted: the cell holds 0 for "on" (the delay and compressor switches).
std::function<SettingValue()> SwitchGet(int cell, bool inverted)
{
    return [cell, inverted] {
        const bool set = ParamStore.GetInt(cell) != 0;
        return Number(set != inverted ? 1.0 : 0.0);
    };
}

int Whole(const SettingValue& v)
{
    return static_cast<int>(std::lround(v.a));
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

Setting IntSetting(std::string name, std::string page, std::string unit, SettingRange range,
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
        int volumeCell;
        int muteCell;
        void (*setVolume)(int);
        void (*setMute)(int);
        int limitByte; // byte of the machine-settings record with the maximum; -1 none
    };
    static const std::array<Channel, 4> kChannels{{
        {"mic", PRM_MIC_VOL, PRM_MIC_MUTE, SetMicVolume, SetMicMute, 3},
        {"music", PRM_MUSIC_VOL, PRM_MUSIC_MUTE, SetMusicVolume, SetMusicMute, 4},
        {"echo", PRM_ECHO_VOL, PRM_ECHO_MUTE, SetEchoVolume, SetEchoMute, -1},
        {"reverb", PRM_REVERB_VOL, PRM_REVERB_MUTE, SetReverbVolume, SetReverbMute, -1},
    }};
    for (const Channel& ch : kChannels) {
        Setting volume = IntSetting(std::string(ch.name) + ".volume", "master", "%", Range(0, 99),
                                    CellGet(ch.volumeCell),
                                    [set = ch.setVolume](const SettingValue& v) { set(Whole(v)); });
        if (ch.limitByte >= 0) {
            // The mic and music volumes go no higher than the machine settings' maximum.
            volume.range = [byte = static_cast<size_t>(ch.limitByte)] {
                const int limit = g_MachineSettings.Get(byte);
                return Range(0, limit >= 1 && limit <= 99 ? limit : 99);
            };
        }
        c.Add(std::move(volume));
        c.Add(SwitchSetting(std::string(ch.name) + ".mute", "master", SwitchGet(ch.muteCell, false),
                            [set = ch.setMute](const SettingValue& v) { set(Whole(v)); }));
    }
    c.Add(IntSetting("music.pitch", "master", "", Range(-5, 5), CellGet(PRM_MUSIC_PITCH),
                     [](const SettingValue& v) { SetMusicPitch(Whole(v)); }));
    c.Add(IntSetting("music.noisegate", "master", "", Range(0, 100),
                     CellGet(PRM_MUSIC_NG_THRESHOLD),
                     [](const SettingValue& v) { SetMusicNoiseGateThreshold(Whole(v)); }));
    struct Input
    {
        const char* name;
        int onCell;
        int levelCell;
    };
    static const std::array<Input, 3> kInputs{{
        {"spdif", PRM_SPDIF_ON, PRM_SPDIF_GAIN},
        {"aux1", PRM_AUX1_ON, PRM_AUX1_GAIN},
        {"aux2", PRM_AUX2_ON, PRM_AUX2_GAIN},
    }};
    for (const Input& in : kInputs) {
        c.Add(SwitchSetting(std::string("music.") + in.name, "master", SwitchGet(in.onCell, false),
                            [cell = in.onCell](const SettingValue& v) {
                                SetParamCell(cell, Whole(v) != 0 ? 100 : 0);
                            }));
        c.Add(IntSetting(std::string("music.") + in.name + ".level", "master", "%", Range(0, 100),
                         CellGet(in.levelCell), [cell = in.levelCell](const SettingValue& v) {
                             SetParamCell(cell, Whole(v));
                         }));
    }
}

EqBand StoredBand(int kind, int band);

// ---- Features window ----------------------------------------------------------------------

void AddFeatures(Catalogue& c)
{
    c.Add(SwitchSetting("mic.boost", "features", SwitchGet(PRM_MIC_BOOST_ON, false),
                        [](const SettingValue& v) { SetMicBoostOn(Whole(v)); }));
    c.Add(IntSetting(
        "mic.boost.level", "features", "dB", Range(0, 40),
        [] { return Number(std::trunc(-static_cast<double>(MicBoostLevel()))); },
        [](const SettingValue& v) { WriteMicBoost(-static_cast<float>(Whole(v))); }));
    c.Add(IntSetting(
        "music.lpf.freq", "features", "Hz", Range(20, 300),
        [] { return Number(StoredBand(EQ_KIND_MUSIC, 10).freq); },
        [](const SettingValue& v) { SetMusicLowPass(Whole(v)); }));
    c.Add(IntSetting("music.lpf.delay", "features", "ms", Range(0, 20),
                     CellGet(PRM_MUSIC_LPF_DELAY),
                     [](const SettingValue& v) { SetParamCell(PRM_MUSIC_LPF_DELAY, Whole(v)); }));
    c.Add(IntSetting("music.lpf.gain", "features", "%", Range(0, 800), CellGet(PRM_MUSIC_LPF_GAIN),
                     [](const SettingValue& v) { SetParamCell(PRM_MUSIC_LPF_GAIN, Whole(v)); }));
    c.Add(SwitchSetting("music.agc", "features", SwitchGet(PRM_MUSIC_AGC_ON, false),
                        [](const SettingValue& v) { SetMusicAgcOn(Whole(v)); }));
    c.Add(IntSetting(
        "music.agc.level", "features", "dB", Range(-50.0, 0.0, 0.1, 1),
        [] {
            return Number(
                std::round(static_cast<double>(ParamStore.GetFloat(PRM_MUSIC_AGC_LEVEL)) * 10.0) /
                10.0);
        },
        [](const SettingValue& v) {
            SetMusicAgcLevel(static_cast<float>(std::lround(v.a * 10.0)) / 10.0f);
        }));
    c.Add(SwitchSetting("autosub", "features", SwitchGet(PRM_AUTOSUB_ON, false),
                        [](const SettingValue& v) { SetParamCell(PRM_AUTOSUB_ON, Whole(v)); }));
    c.Add(IntSetting("autosub.level", "features", "%", Range(0, 100), CellGet(PRM_AUTOSUB_LEVEL),
                     [](const SettingValue& v) { SetParamCell(PRM_AUTOSUB_LEVEL, Whole(v)); }));
    // The mic phase switches of the machine-settings window are parameters written at once.
    for (const auto& [name, cell] :
         {std::pair{"mic-a.phase", PRM_MICA_PHASE}, std::pair{"mic-b.phase", PRM_MICB_PHASE}}) {
        c.Add(ChoiceSetting(
            name, "machine settings", {"normal", "reverse"},
            [cell = cell] { return Number(ParamStore.GetInt(cell) != 0 ? 0.0 : 1.0); },
            [cell = cell](const SettingValue& v) { SetParamCell(cell, Whole(v) == 0 ? 1 : 0); }));
    }
}

// ---- Equalisers ---------------------------------------------------------------------------

struct EqName
{
    const char* name;
    int kind;
    int bypassCell;
    int bands; // bands edited on the page
    const char* page;
};

constexpr std::array<EqName, 12> kEqs{{
    {"mic-a", EQ_KIND_MIC_A, PRM_MICA_EQ_BYPASS, 10, "inputs"},
    {"mic-b", EQ_KIND_MIC_B, PRM_MICB_EQ_BYPASS, 10, "inputs"},
    {"music", EQ_KIND_MUSIC, PRM_MUSIC_EQ_BYPASS, 10, "inputs"},
    {"echo-a", EQ_KIND_ECHO_A, PRM_ECHOA_EQ_BYPASS, 7, "echo and reverb EQ"},
    {"echo-b", EQ_KIND_ECHO_B, PRM_ECHOB_EQ_BYPASS, 7, "echo and reverb EQ"},
    {"reverb-a", EQ_KIND_REVERB_A, PRM_REVA_EQ_BYPASS, 7, "echo and reverb EQ"},
    {"reverb-b", EQ_KIND_REVERB_B, PRM_REVB_EQ_BYPASS, 7, "echo and reverb EQ"},
    {"main", EQ_KIND_MAIN, PRM_MAIN_EQ_BYPASS, 10, "outputs"},
    {"rear", EQ_KIND_REAR, PRM_REAR_EQ_BYPASS, 10, "outputs"},
    {"center", EQ_KIND_CENTER, PRM_CENTER_EQ_BYPASS, 10, "outputs"},
    {"sub", EQ_KIND_SUB, PRM_SUB_EQ_BYPASS, 5, "outputs"},
    {"top", EQ_KIND_TOP, PRM_TOP_EQ_BYPASS, 10, "outputs"},
}};

const std::vector<std::string> kBandTypes = {"off", "peq", "lp", "hp", "ls", "hs"};

// The band as stored in the band memory (band counts from 0 within the equaliser).
EqBand StoredBand(int kind, int band)
{
    EqBandRecord record{};
    DeviceImage.Read(static_cast<size_t>(EqRegionStart(kind) + kBandRecordSize * band), record);
    return DecodeEqBand(record);
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

void AddEqs(Catalogue& c)
{
    auto pending = std::make_shared<PendingBand>();
    for (const EqName& eq : kEqs) {
        const std::string base = std::string("eq.") + eq.name;
        c.Add(SwitchSetting(
            base + ".bypass", eq.page, SwitchGet(eq.bypassCell, false),
            [cell = eq.bypassCell](const SettingValue& v) { SetParamCell(cell, Whole(v)); }));
        if (eq.kind == EQ_KIND_SUB) {
            continue; // the Sub's slots are set with the crossover rules of the output page
        }
        for (int band = 0; band < eq.bands; ++band) {
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
                                    b.q = std::clamp(b.q, 0.1, b.type == EQ_TYPE_PEQ ? 30.0 : 2.0);
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
            Setting gain = IntSetting(
                prefix + ".gain", eq.page, "dB", Range(-15.0, 15.0, 0.1, 1),
                [kind, band] { return Number(std::round(StoredBand(kind, band).gain * 10) / 10); },
                [pending](const SettingValue& v) { pending->value.gain = v.a; });
            gain.group = prefix;
            c.Add(std::move(gain));
            Setting freq = IntSetting(
                prefix + ".freq", eq.page, "Hz", Range(20, 20000),
                [kind, band] { return Number(StoredBand(kind, band).freq); },
                [pending](const SettingValue& v) { pending->value.freq = Whole(v); });
            freq.group = prefix;
            c.Add(std::move(freq));
            Setting q = IntSetting(
                prefix + ".q", eq.page, "", Range(0.1, 30.0, 0.01, 2),
                [kind, band] { return Number(std::round(StoredBand(kind, band).q * 100) / 100); },
                [pending](const SettingValue& v) { pending->value.q = v.a; });
            q.group = prefix;
            c.Add(std::move(q));
        }
    }
}

// ---- Compressors --------------------------------------------------------------------------

struct OutputName
{
    const char* name;
    CompressorOutput comp;
    int bypassCell;
    int thresholdCell;
};

constexpr std::array<OutputName, 5> kOutputs{{
    {"main", COMP_MAIN, PRM_MAIN_COMP_BYPASS, PRM_MAIN_COMP_THRESHOLD},
    {"rear", COMP_REAR, PRM_REAR_COMP_BYPASS, PRM_REAR_COMP_THRESHOLD},
    {"center", COMP_CENTER, PRM_CENTER_COMP_BYPASS, PRM_CENTER_COMP_THRESHOLD},
    {"sub", COMP_SUB, PRM_SUB_COMP_BYPASS, PRM_SUB_COMP_THRESHOLD},
    {"top", COMP_TOP, PRM_TOP_COMP_BYPASS, PRM_TOP_COMP_THRESHOLD},
}};

struct PendingCompressor
{
    CompressorOutput output = COMP_MAIN;
    CompressorSettings value;
};

void AddCompressors(Catalogue& c)
{
    auto pending = std::make_shared<PendingCompressor>();
    for (const OutputName& out : kOutputs) {
        const std::string base = std::string("comp.") + out.name;
        const int first = out.thresholdCell; // threshold, ratio, attack, release follow
        const CompressorOutput comp = out.comp;
        c.Add(SwitchSetting(
            base + ".on", "compressor", SwitchGet(out.bypassCell, true),
            [comp](const SettingValue& v) { SetCompressorBypass(comp, Whole(v) != 0 ? 0 : 1); }));
        c.groups.push_back(
            {base,
             [pending, comp, first] {
                 pending->output = comp;
                 pending->value = SanitiseCompressor(
                     {ParamStore.GetFloat(first), ParamStore.GetFloat(first + 1),
                      ParamStore.GetFloat(first + 2), ParamStore.GetFloat(first + 3)});
             },
             [pending] {
                 const CompressorSettings& s = pending->value;
                 WriteCompressor(pending->output, s.threshold, s.ratio, s.attack, s.release);
             },
             false});
        struct Field
        {
            const char* name;
            const char* unit;
            SettingRange range;
            float CompressorSettings::*member;
        };
        const std::array<Field, 4> fields{{
            {"threshold", "dB", Range(-60, 0, 1, 0), &CompressorSettings::threshold},
            {"ratio", "", Range(1.0, 30.0, 0.1, 1), &CompressorSettings::ratio},
            {"attack", "ms", Range(1, 100), &CompressorSettings::attack},
            {"release", "ms", Range(1, 1000), &CompressorSettings::release},
        }};
        for (size_t f = 0; f < fields.size(); ++f) {
            const Field field = fields[f];
            const int cell = first + static_cast<int>(f);
            Setting s = IntSetting(
                base + "." + field.name, "compressor", field.unit, field.range,
                [cell, decimals = field.range.decimals] {
                    const double scale = std::pow(10.0, decimals);
                    return Number(
                        std::round(static_cast<double>(ParamStore.GetFloat(cell)) * scale) / scale);
                },
                [pending, member = field.member](const SettingValue& v) {
                    pending->value.*member = static_cast<float>(v.a);
                });
            s.group = base;
            c.Add(std::move(s));
        }
    }
}

// ---- Delays -------------------------------------------------------------------------------

struct DelayName
{
    const char* name;
    DelaySide side;
};

constexpr std::array<DelayName, 8> kDelays{{
    {"main-l", DELAY_MAIN_L},
    {"main-r", DELAY_MAIN_R},
    {"center", DELAY_CENTER},
    {"sub", DELAY_SUB},
    {"rear-l", DELAY_REAR_L},
    {"rear-r", DELAY_REAR_R},
    {"top-l", DELAY_TOP_L},
    {"top-r", DELAY_TOP_R},
}};

void AddDelays(Catalogue& c)
{
    for (const DelayName& d : kDelays) {
        const std::string base = std::string("delay.") + d.name;
        const DelaySide side = d.side;
        const DelaySideCells cells = DelayCellsOf(side);
        c.Add(SwitchSetting(
            base + ".on", "delay", SwitchGet(cells.offCell, true),
            [side](const SettingValue& v) { SetDelayOff(side, Whole(v) != 0 ? 0 : 1); }));
        c.Add(ChoiceSetting(base + ".mode", "delay", {"high", "channel"}, CellGet(cells.modeCell),
                            [side](const SettingValue& v) { SetDelayMode(side, Whole(v)); }));
        Setting split = IntSetting(
            base + ".split", "delay", "Hz", Range(500, 3000, 100),
            [side] { return Number(500 + 100 * CurrentSplitStep(side)); },
            [side](const SettingValue& v) { SetDelaySplit(side, (Whole(v) - 500) / 100, false); });
        const std::string modeName = base + ".mode";
        split.check = [modeCell = cells.modeCell, modeName](const SettingValue&,
                                                            const EarlierValue& earlier) {
            const std::optional<SettingValue> mode = earlier(modeName);
            const int m = mode ? Whole(*mode) : ParamStore.GetInt(modeCell);
            return m != 0 ? "the split is not used while " + modeName + " is channel"
                          : std::string();
        };
        c.Add(std::move(split));
    }
}

const Catalogue& TheCatalogue()
{
    static const Catalogue catalogue = [] {
        Catalogue c;
        AddMaster(c);
        AddFeatures(c);
        AddEqs(c);
        AddCompressors(c);
        AddDelays(c);
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
        text += " " + s.unit;
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
