#include "model/Report.h"

namespace {
std::atomic<ReportSink*> g_sink{nullptr};
} // namespace

Report MakeReport(uint8_t command)
{
    Report r{};
    r[0] = kReportId;
    r[1] = command;
    return r;
}

void AttachReportSink(ReportSink* sink)
{
    g_sink.store(sink);
}

ReportSink* AttachedReportSink()
{
    return g_sink.load();
}

bool SendReport(const Report& report)
{
    ReportSink* sink = g_sink.load();
    return sink != nullptr && sink->Send(report);
}

bool RecordingSink::Send(const Report& report)
{
    std::lock_guard lock(mutex_);
    reports_.push_back(report);
    return true;
}

std::vector<Report> RecordingSink::Reports() const
{
    std::lock_guard lock(mutex_);
    return reports_;
}

size_t RecordingSink::Count() const
{
    std::lock_guard lock(mutex_);
    return reports_.size();
}

void RecordingSink::Clear()
{
    std::lock_guard lock(mutex_);
    reports_.clear();
}

ScopedReportSink::ScopedReportSink(ReportSink* sink) : previous_(AttachedReportSink())
{
    AttachReportSink(sink);
}

ScopedReportSink::~ScopedReportSink()
{
    AttachReportSink(previous_);
}
