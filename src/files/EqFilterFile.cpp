#include "files/EqFilterFile.h"

#include "dsp/EditableEqBands.h"
#include "dsp/EqBands.h"
#include "files/FilterText.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>

namespace {
struct EqScript
{
    const char* name;
    int kind;
};

constexpr std::array<EqScript, kEqPanelKindCount> kEqScripts{{
    {"mic-a", EQ_KIND_MIC_A},
    {"mic-b", EQ_KIND_MIC_B},
    {"music", EQ_KIND_MUSIC},
    {"echo-a", EQ_KIND_ECHO_A},
    {"echo-b", EQ_KIND_ECHO_B},
    {"reverb-a", EQ_KIND_REVERB_A},
    {"reverb-b", EQ_KIND_REVERB_B},
    {"main", EQ_KIND_MAIN},
    {"rear", EQ_KIND_REAR},
    {"center", EQ_KIND_CENTER},
    {"sub", EQ_KIND_SUB},
    {"top", EQ_KIND_TOP},
}};
} // namespace

EqFilterImportResult ImportFiltersIntoEq(int pageKind, std::string_view text)
{
    EqFilterImportResult result;
    const FilterTextParse parse = ParseFilterText(text);
    EqImportTarget target;
    target.bandCount = EqEditableBandCount(pageKind);
    target.subSlots = pageKind == EQ_KIND_SUB;
    target.current = ReadEditableEqBands(pageKind);
    const EqImport import = MapFiltersToEq(parse, target);
    result.summary = FilterImportSummary(parse, import);
    if (import.refused.empty() && target.bandCount > 0) {
        result.imported = WriteEditableEqBands(pageKind, import.bands);
    }
    return result;
}

bool ReadFilterFile(const std::filesystem::path& path, std::string* text, std::string* reason)
{
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (ec) {
        *reason = ec.message();
        return false;
    }
    if (size > kMaxFilterTextBytes) {
        *reason = "the file is too large to be a filter file";
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        *reason = std::strerror(errno);
        return false;
    }
    text->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (in.bad()) {
        *reason = std::strerror(errno);
        return false;
    }
    return true;
}

std::string ExportEqFilters(int pageKind)
{
    return FormatFilterText(EqScriptName(pageKind), ReadEditableEqBands(pageKind));
}

int EqKindFromScriptName(std::string_view name)
{
    for (const EqScript& e : kEqScripts) {
        if (name == e.name) {
            return e.kind;
        }
    }
    return -1;
}

const char* EqScriptName(int pageKind)
{
    for (const EqScript& e : kEqScripts) {
        if (pageKind == e.kind) {
            return e.name;
        }
    }
    return "";
}
