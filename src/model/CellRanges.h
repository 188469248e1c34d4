#pragma once
// The valid range of every value the program keeps for the processor: the 159 store cells,
// the EQ band records and the small memory blocks. The ranges are those of the controls that
// edit each value, so what a page or the ribbon can set is always in range.
//
// Settings that arrive from outside (a mode file, the processor's read-back) are limited to
// these ranges before anything is shown or sent; the command-line setters validate against
// them and use their texts in messages.
//
// One exception keeps settings intact: a cell holding its start-up value (0 for most cells)
// is never limited, so a setting saved straight after start-up loads exactly as it was saved.

#include "model/DeviceMemory.h"
#include "model/EqBandRecord.h"
#include "model/ParamStore.h"
#include "model/SoundFieldGeometry.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

// What kind of value a cell holds; decides its unit text and whether it is a choice.
enum class CellKind
{
    Percent,      // integer percent, 100 = unity
    Level,        // integer without unit (noise gate thresholds)
    GateTime,     // integer 1..100, stored as 101 - slider (noise gate attack and release)
    Switch,       // 0 or 1
    Routing,      // 0 or 100 (off / on)
    Steps,        // integer steps (music pitch)
    Hertz,        // integer Hz (frequency shift)
    Milliseconds, // ms, float cell unless the cell is an integer cell
    Decibels,     // dB, float cell
    Ratio,        // ratio R of R:1, float cell
    Hundredths,   // whole number held in a float cell (reverb time)
};

struct CellRange
{
    int cell;
    CellKind kind;
    double min;
    double max;
    double step;      // the editing step in the cell's unit
    const char* what; // what the cell is, in a few English words
};

// Every cell 26..184 in order.
std::span<const CellRange> AllCellRanges();
// nullptr outside 26..184.
const CellRange* FindCellRange(int cell);
// By name: "PRM_MIC_VOL" or "MIC_VOL", any letter case. nullptr when no cell has that name.
const CellRange* FindCellRange(std::string_view name);

// "PRM_MIC_VOL" and friends.
const char* CellName(const CellRange& range);
// "%", "ms", "dB", "Hz", ":1", "steps" or "" for plain numbers and choices.
const char* CellUnit(CellKind kind);
// The allowed values of a choice cell (switches {0, 1}, routing {0, 100}); empty otherwise.
std::span<const int> CellChoices(CellKind kind);
bool IsFloatCellRange(const CellRange& range);
// "0..100 %", "0 or 1", "1.5..100 ms", "-5..5 steps": the range as a message shows it.
std::string CellRangeText(const CellRange& range);

// Whether a value (in the cell's unit) may be set: finite, within min..max, one of the
// choices for a choice cell, a whole number for an integer cell. The start-up exception does
// not apply here.
bool CellValueAllowed(const CellRange& range, double value);

// The cell's value at start-up as raw bits.
uint32_t StartupCellBits(int cell);

// A stored cell (raw 32 bits) limited to its range: numbers are clamped to min..max, a
// choice cell at or below its lowest choice takes that choice and any other value its highest,
// a float that is not a number returns to the start-up value. A cell holding its start-up
// value is kept. Cells outside 26..184 are returned unchanged.
uint32_t LimitCellBits(int cell, uint32_t bits);
bool CellBitsInRange(int cell, uint32_t bits);

// EQ band records: type 0..21 (others become 0, off), gain -15..+15 dB (raw 0..300),
// frequency 20..20000 Hz, Q 0.1..30 (0.1..2 for the pass and shelf types 2..5, whose editor
// allows no more).
inline constexpr int kBandTypeMax = 21;
inline constexpr int kBandGainRawMax = 300; // +15 dB; 0 is -15 dB
inline constexpr int kBandFreqMin = 20;
inline constexpr int kBandFreqMax = 20000;
struct BandQRange
{
    int minRaw; // thousandths
    int maxRaw;
};
BandQRange BandQRangeForType(int type);
// Returns how many of the record's four fields were changed.
int LimitEqBandRecord(EqBandRecord& record);
// Limits every whole record of a band image (7 bytes each); returns the fields changed.
int LimitBandImage(std::span<uint8_t> image);

// Block945: room width and length 1..10 m, positions within +-5.0 m (the largest room's half
// size; the byte can hold 12.7 m). Returns the bytes changed.
inline constexpr int kMaxPositionTenths = kMaxRoomMetres * 5;
int LimitBlock945(std::span<uint8_t, kBlock945Size> block);
// Block965: eight speaker levels between -40 and +3 dB (a speaker on the listener is +3 dB,
// the farthest corner of the largest room about -39.4 dB); a level that is not a number
// becomes 0 dB. Returns the levels changed.
inline constexpr float kSpeakerLevelMinDb = -40.0f;
inline constexpr float kSpeakerLevelMaxDb = 3.0f;
int LimitBlock965(std::span<uint8_t, 32> block);
// Block997: the mic boost level, -40..0 dB; not a number becomes 0 dB. Returns 1 when changed.
inline constexpr float kMicBoostMinDb = -40.0f;
int LimitBlock997(std::span<uint8_t, 2> block);

// Limits the program's whole setting in place: the store, the band memory and the three
// blocks (the geometry is decoded again when Block945 changed). Returns how many values were
// out of range.
int LimitCurrentSetting();
