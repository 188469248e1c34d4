#pragma once
// Every setting of the pages and tool windows by name, for the command line: its unit, its
// range or choices, the page it belongs to, how its value is read from the program's state,
// checked and applied through the same setters the pages use.
//
// Names: OUT.mix.direct, eq.main.3.gain, delay.main-l.ms, comp.sub.ratio, soundfield.listener,
// machine.mic-max, music.volume, ... (`dsp4620-cli list` prints them all).

#include <functional>
#include <optional>
#include <string>
#include <vector>

enum class SettingKind
{
    Int,      // a whole number
    IntOrOff, // a whole number or "off"
    Real,     // a decimal number
    Switch,   // on/off
    Choice,   // one of the choice words
    Point,    // "X,Y" in metres
    Room,     // "WxL" in whole metres
};

// A value: the number (the choice's index, 1/0 for a switch, -1 for "off") in `a`; Y or the
// room length in `b`.
struct SettingValue
{
    double a = 0.0;
    double b = 0.0;
    bool operator==(const SettingValue&) const = default;
};

struct SettingRange
{
    double minimum = 0.0;
    double maximum = 0.0;
    double step = 0.0; // 0: any value between; otherwise values are minimum + k * step
    int decimals = 0;  // how values are printed
};

// Earlier assignments of the same command, for checks that depend on another setting.
using EarlierValue = std::function<std::optional<SettingValue>(const std::string& name)>;

struct Setting
{
    std::string name;
    std::string page; // "master", "outputs", "delay", "compressor", "sound field", ...
    std::string unit; // "%", "dB", "Hz", "ms", "m", "" ...
    SettingKind kind = SettingKind::Int;
    std::vector<std::string> choices;
    // The range as it applies now (some depend on the state, such as the mic volume's limit).
    std::function<SettingRange()> range;
    // The range as messages and `list` show it, when it is not made from `range` (the model's
    // range table has the texts of the cells).
    std::function<std::string()> rangeText;
    std::function<SettingValue()> get;
    // A check beyond the range, against the state and the earlier assignments; an empty
    // text when the value may be applied.
    std::function<std::string(const SettingValue&, const EarlierValue&)> check;
    // Applies the value. Grouped settings only change the group's pending record, which the
    // group's commit writes.
    std::function<void(const SettingValue&)> apply;
    // Settings of one group (one EQ band, one compressor, the machine record) that follow each
    // other are written together.
    std::string group;
    bool deviceOnly = false; // not kept in a mode file (the machine settings)
};

struct SettingGroup
{
    std::string key;
    std::function<void()> begin;  // the pending record from the present state
    std::function<void()> commit; // one write of the pending record
    // Committed once after the last assignment of the group in a command, however the
    // assignments are spread (the machine settings' one Apply).
    bool commitAfterLast = false;
};

const std::vector<Setting>& AllSettings();
const Setting* FindSetting(const std::string& name);
const SettingGroup* FindSettingGroup(const std::string& key);

// The range as text: "0..100 %", "off, peq, lp, hp, ls, hs", "X,Y in metres within the room".
std::string RangeText(const Setting& setting);
// The value as text (the form `set` takes) and as JSON.
std::string FormatValue(const Setting& setting, const SettingValue& value);
std::string FormatJsonValue(const Setting& setting, const SettingValue& value);

// Parses and checks NAME=VALUE without applying. On failure an empty optional and *error the
// one-line message naming the setting and its range.
struct Assignment
{
    const Setting* setting = nullptr;
    SettingValue value;
};
std::optional<Assignment> ParseAssignment(const std::string& text, const EarlierValue& earlier,
                                          std::string* error);
// Applies checked assignments in order, merging consecutive ones of a group into one write.
void ApplyAssignments(const std::vector<Assignment>& assignments);

// JSON string quoting.
std::string JsonQuote(const std::string& text);
