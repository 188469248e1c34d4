#pragma once
// The wire trace: one line per report, "> " for sent and "< " for received, then the 61
// bytes as 122 lowercase hex digits. Users switch it on to see what went over the wire;
// tests replay captured traces against the parser.

#include "link/UsbTransport.h"
#include "model/Report.h"

#include <cstdio>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

std::string FormatWireTraceLine(char direction, const Report& report);

struct WireTraceEntry
{
    char direction; // '>' or '<'
    Report report;
};
// nullopt when the line is not in the format above (trailing "\r\n" or "\n" is accepted).
std::optional<WireTraceEntry> ParseWireTraceLine(std::string_view line);

// Appends lines to a file; safe to call from the writer threads and the read thread at once.
class WireTraceWriter
{
public:
    WireTraceWriter() = default;
    ~WireTraceWriter();
    WireTraceWriter(const WireTraceWriter&) = delete;
    WireTraceWriter& operator=(const WireTraceWriter&) = delete;

    // Creates or truncates the file; false with *error set when it cannot be opened.
    bool Open(const std::string& path, std::string* error);
    void Close();
    bool IsOpen() const;
    void Record(char direction, const Report& report);
    // An observer for SetUsbWireObserver that records into this writer.
    UsbWireObserver Observer();

private:
    mutable std::mutex mutex_;
    std::FILE* file_ = nullptr;
};
