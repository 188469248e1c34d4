#pragma once
// EQ filters as text, the way room-measurement programs export them: the configuration-line
// form of system-wide equalisers ("Filter 3: ON PK Fc 1000 Hz Gain 2 dB Q 4", "Preamp: -6 dB")
// and the measurement program's "Filter Settings file" (header lines, padded columns, "None"
// slots, decimal commas, kHz). Reading is tolerant and reports every line it passes over;
// writing gives the configuration-line form, which both kinds of program read back.

#include "model/EqBandRecord.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

enum class FilterShape
{
    Peak,
    LowShelf,
    HighShelf,
    LowPass,
    HighPass
};

struct TextFilter
{
    FilterShape shape = FilterShape::Peak;
    double freqHz = 1000.0;
    double gainDb = 0.0;
    double q = 0.707;
    int line = 0; // 1-based line of the file
};

struct FilterTextNote
{
    int line = 0; // 0: about the whole file
    std::string text;
};

struct FilterTextParse
{
    std::vector<TextFilter> filters;
    std::optional<double> preampDb;
    std::vector<FilterTextNote> skipped; // lines passed over, with the reason
    std::string refused;                 // not empty: the file as a whole was not read
};

// Larger files are refused as a whole: a filter file is a few kilobytes.
inline constexpr std::size_t kMaxFilterTextBytes = 1024 * 1024;

FilterTextParse ParseFilterText(std::string_view text);

// How the filters of a file become the bands of one EQ.
struct EqImportTarget
{
    int bandCount = 10; // bands (or, on the Sub, slots) the EQ offers
    bool subSlots = false;
    std::vector<EqBand> current; // the EQ's bands now: unused bands keep their frequency
};

struct EqImport
{
    std::string refused;                 // not empty: nothing is to change
    std::vector<EqBand> bands;           // one per band or slot, types 1..5
    std::vector<FilterTextNote> limited; // values brought into what a band takes
    int imported = 0;                    // filters placed in bands
};

EqImport MapFiltersToEq(const FilterTextParse& parse, const EqImportTarget& target);

// What a user is told after an import (or a refusal), in the current language.
std::string FilterImportSummary(const FilterTextParse& parse, const EqImport& import);

// The configuration-line form of an EQ: a comment naming it, then one line per band that
// changes the sound (flat peaks and shelves are left out; pass filters always count).
std::string FormatFilterText(std::string_view eqName, const std::vector<EqBand>& bands);
