#include "link/WireTrace.h"

#include <cerrno>
#include <cstring>

namespace {
int HexValue(char c)
{
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}
} // namespace

std::string FormatWireTraceLine(char direction, const Report& report)
{
    static constexpr char kHex[] = "0123456789abcdef";
    std::string line;
    line.reserve(2 + 2 * kReportSize);
    line += direction;
    line += ' ';
    for (uint8_t b : report) {
        line += kHex[b >> 4];
        line += kHex[b & 0x0F];
    }
    return line;
}

std::optional<WireTraceEntry> ParseWireTraceLine(std::string_view line)
{
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) {
        line.remove_suffix(1);
    }
    if (line.size() != 2 + 2 * kReportSize || (line[0] != '>' && line[0] != '<') ||
        line[1] != ' ') {
        return std::nullopt;
    }
    WireTraceEntry entry{line[0], {}};
    for (size_t i = 0; i < kReportSize; ++i) {
        const int high = HexValue(line[2 + 2 * i]);
        const int low = HexValue(line[3 + 2 * i]);
        if (high < 0 || low < 0) {
            return std::nullopt;
        }
        entry.report[i] = static_cast<uint8_t>(high << 4 | low);
    }
    return entry;
}

WireTraceWriter::~WireTraceWriter()
{
    Close();
}

bool WireTraceWriter::Open(const std::string& path, std::string* error)
{
    std::lock_guard lock(mutex_);
    if (file_ != nullptr) {
        std::fclose(file_);
    }
    file_ = std::fopen(path.c_str(), "w");
    if (file_ == nullptr) {
        if (error != nullptr) {
            *error = path + ": " + std::strerror(errno);
        }
        return false;
    }
    return true;
}

void WireTraceWriter::Close()
{
    std::lock_guard lock(mutex_);
    if (file_ != nullptr) {
        std::fclose(file_);
        file_ = nullptr;
    }
}

bool WireTraceWriter::IsOpen() const
{
    std::lock_guard lock(mutex_);
    return file_ != nullptr;
}

void WireTraceWriter::Record(char direction, const Report& report)
{
    const std::string line = FormatWireTraceLine(direction, report) + "\n";
    std::lock_guard lock(mutex_);
    if (file_ != nullptr) {
        std::fputs(line.c_str(), file_);
        std::fflush(file_);
    }
}

UsbWireObserver WireTraceWriter::Observer()
{
    return [this](char direction, const Report& report) { Record(direction, report); };
}
