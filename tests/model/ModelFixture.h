#pragma once
// Shared by the model tests: a store in its start-up state, a chosen command-set version and
// a recording sink, plus a readable text form of reports for golden comparisons.

#include "model/CmdVersion.h"
#include "model/ParamStore.h"
#include "model/Report.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

// Bytes 0..n-1 as "02 09 00 ...".
inline std::string HexBytes(const Report& r, size_t n)
{
    std::string s;
    char buf[4];
    for (size_t i = 0; i < n && i < r.size(); ++i) {
        std::snprintf(buf, sizeof buf, "%02X", r[i]);
        if (!s.empty()) {
            s += ' ';
        }
        s += buf;
    }
    return s;
}

// A parameter write or read as far as its values go; a report with anything but zeros after
// its used bytes gets " +tail" so the comparison fails visibly.
inline std::string Frame(const Report& r)
{
    size_t n = 6;
    if (r[1] == 0x09) {
        n = 6 + 4 * static_cast<size_t>(r[5]);
    }
    std::string s = HexBytes(r, n);
    for (size_t i = n; i < r.size(); ++i) {
        if (r[i] != 0) {
            s += " +tail";
            break;
        }
    }
    return s;
}

inline std::vector<std::string> Frames(const std::vector<Report>& reports)
{
    std::vector<std::string> out;
    for (const auto& r : reports) {
        out.push_back(Frame(r));
    }
    return out;
}

class ModelFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ParamStore.ResetToDefaults();
        savedVersion_ = g_nCmdVersion.load();
        g_nCmdVersion.store(0x15);
    }
    void TearDown() override
    {
        g_nCmdVersion.store(savedVersion_);
        ParamStore.ResetToDefaults();
    }

    std::vector<std::string> Sent() const { return Frames(sink_.Reports()); }

    RecordingSink sink_;
    ScopedReportSink attach_{&sink_};

private:
    int savedVersion_ = 1;
};
