#pragma once
// Small helpers shared by the link tests: a recording stand-in for the main view, trace
// capture, and report builders.

#include "link/LinkTrace.h"
#include "link/LinkUi.h"
#include "model/Report.h"

#include <chrono>
#include <cstdint>
#include <initializer_list>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// Records every box and message instead of showing them.
class RecordingLinkUi : public LinkUi
{
public:
    struct Box
    {
        std::string text;
        std::string caption;
        LinkBoxIcon icon;
    };
    struct Message
    {
        int message;
        uintptr_t wParam;
        bool synchronous;
    };

    void ShowMessageBox(const std::string& text, const std::string& caption,
                        LinkBoxIcon icon) override
    {
        std::lock_guard lock(mutex_);
        boxes_.push_back({text, caption, icon});
    }
    void SendViewMessage(int message, uintptr_t wParam) override
    {
        std::lock_guard lock(mutex_);
        messages_.push_back({message, wParam, true});
    }
    void PostViewMessage(int message, uintptr_t wParam) override
    {
        std::lock_guard lock(mutex_);
        messages_.push_back({message, wParam, false});
    }
    std::vector<Box> Boxes() const
    {
        std::lock_guard lock(mutex_);
        return boxes_;
    }
    std::vector<Message> Messages() const
    {
        std::lock_guard lock(mutex_);
        return messages_;
    }

private:
    mutable std::mutex mutex_;
    std::vector<Box> boxes_;
    std::vector<Message> messages_;
};

// Installs itself as the UI for the lifetime of the object.
class ScopedLinkUi : public RecordingLinkUi
{
public:
    ScopedLinkUi() { SetLinkUi(this); }
    ~ScopedLinkUi() override { SetLinkUi(nullptr); }
};

// Collects every trace text while alive.
class TraceCapture
{
public:
    TraceCapture()
    {
        SetLinkTraceHook([this](std::string_view text) {
            std::lock_guard lock(mutex_);
            texts_.emplace_back(text);
        });
    }
    ~TraceCapture() { SetLinkTraceHook({}); }
    std::vector<std::string> Texts() const
    {
        std::lock_guard lock(mutex_);
        return texts_;
    }
    bool Contains(const std::string& text) const
    {
        for (const std::string& t : Texts()) {
            if (t == text) {
                return true;
            }
        }
        return false;
    }

private:
    mutable std::mutex mutex_;
    std::vector<std::string> texts_;
};

// Report 02 cmd followed by the given payload bytes from byte 2 on, the rest zero.
inline Report InputReport(uint8_t command, std::initializer_list<int> payload = {})
{
    Report r = MakeReport(command);
    size_t i = 2;
    for (int b : payload) {
        if (i < r.size()) {
            r[i++] = static_cast<uint8_t>(b);
        }
    }
    return r;
}

// Polls a condition for up to two seconds (for effects that happen on the read thread).
template <class Pred>
bool WaitUntil(Pred pred, std::chrono::milliseconds limit = std::chrono::milliseconds(2000))
{
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!pred()) {
        if (std::chrono::steady_clock::now() > end) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}
