#pragma once
// A 61-byte report as exchanged with the processor (byte 0 is the report id, 2), and the
// sink that carries finished reports to it. With no sink attached (no processor) reports are
// dropped: setters still store their values.

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <vector>

inline constexpr size_t kReportSize = 61;
inline constexpr uint8_t kReportId = 0x02;
using Report = std::array<uint8_t, kReportSize>;

// A report with the id and command byte set and the rest zero.
Report MakeReport(uint8_t command);

class ReportSink
{
public:
    virtual ~ReportSink() = default;
    // Hands one report to the processor. Returns false when it could not go out.
    virtual bool Send(const Report& report) = 0;
};

// The sink every writer uses; nullptr detaches. Safe to call from any thread.
void AttachReportSink(ReportSink* sink);
ReportSink* AttachedReportSink();

// Sends through the attached sink; false (dropped) when none is attached.
bool SendReport(const Report& report);

// Keeps every report it is given, for tests and dry runs.
class RecordingSink : public ReportSink
{
public:
    bool Send(const Report& report) override;
    std::vector<Report> Reports() const;
    size_t Count() const;
    void Clear();

private:
    mutable std::mutex mutex_;
    std::vector<Report> reports_;
};

// Attaches a sink for the lifetime of the object and restores the previous one after.
class ScopedReportSink
{
public:
    explicit ScopedReportSink(ReportSink* sink);
    ~ScopedReportSink();
    ScopedReportSink(const ScopedReportSink&) = delete;
    ScopedReportSink& operator=(const ScopedReportSink&) = delete;

private:
    ReportSink* previous_;
};
