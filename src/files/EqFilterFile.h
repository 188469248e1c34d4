#pragma once
// Filter files and the program's equalisers: importing a file's filters into one EQ (every
// band written once, through the EQ's band writer) and exporting an EQ as filter text. The
// EQ panel's menu and the command line both come here.

#include <filesystem>
#include <string>
#include <string_view>

struct EqFilterImportResult
{
    bool imported = false; // the EQ was changed
    std::string summary;   // what the user is told, in the current language
};

EqFilterImportResult ImportFiltersIntoEq(int pageKind, std::string_view text);

// Reads a filter file whole; false with a one-line reason (the file is not changed).
bool ReadFilterFile(const std::filesystem::path& path, std::string* text, std::string* reason);

// The EQ as configuration lines, with a comment naming it.
std::string ExportEqFilters(int pageKind);

// The EQs by the names scripts use: mic-a, mic-b, music, echo-a, echo-b, reverb-a, reverb-b,
// main, rear, center, sub, top. -1 / "" for unknown ones.
int EqKindFromScriptName(std::string_view name);
const char* EqScriptName(int pageKind);
