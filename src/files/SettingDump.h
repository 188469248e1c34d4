#pragma once
// Readable and JSON listings of the current setting (store, EQ band memory, speaker levels,
// sound-field geometry, mic boost level), for the command-line tool and for diagnostics.

#include "files/ModeFile.h"

#include <string>

struct EqRegionInfo
{
    int pageKind;
    const char* name;
    int firstByte;
    int bands;
};

// The equalisers of the band memory, in memory order.
extern const EqRegionInfo kEqRegions[12];

// The unit a cell's value is kept in ("%", "flag", "ms", "dB", "Hz", ...; "" for plain numbers).
const char* CellUnit(int cell);

struct DumpHeader
{
    std::string file;
    int32_t version = 0;
    ModeFileDeviceInfo deviceInfo{};
};

std::string DumpSettingText(const DumpHeader& header);
std::string DumpSettingJson(const DumpHeader& header);
