#include "link/LinkTrace.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <vector>

namespace {

bool EnvironmentSwitchesLinkOn()
{
    const char* value = std::getenv("DSP4620_TRACE");
    if (value == nullptr) {
        return false;
    }
    std::string_view list(value);
    while (!list.empty()) {
        const size_t end = list.find_first_of(", ");
        const std::string_view item = list.substr(0, end);
        if (item == "link" || item == "all" || item == "1") {
            return true;
        }
        if (end == std::string_view::npos) {
            break;
        }
        list.remove_prefix(end + 1);
    }
    return false;
}

std::atomic<bool>& Enabled()
{
    static std::atomic<bool> enabled{EnvironmentSwitchesLinkOn()};
    return enabled;
}

std::mutex g_hookMutex;
LinkTraceHook g_hook;

} // namespace

bool LinkTraceEnabled()
{
    return Enabled().load();
}

void SetLinkTraceEnabled(bool enabled)
{
    Enabled().store(enabled);
}

void SetLinkTraceHook(LinkTraceHook hook)
{
    std::lock_guard lock(g_hookMutex);
    g_hook = std::move(hook);
}

void LinkTrace(std::string_view text)
{
    {
        std::lock_guard lock(g_hookMutex);
        if (g_hook) {
            g_hook(text);
        }
    }
    if (LinkTraceEnabled()) {
        const bool newline = !text.empty() && text.back() == '\n';
        std::fprintf(stderr, "link: %.*s%s", static_cast<int>(text.size()), text.data(),
                     newline ? "" : "\n");
    }
}

void LinkTraceF(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int size = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (size < 0) {
        va_end(args);
        return;
    }
    std::vector<char> buffer(static_cast<size_t>(size) + 1);
    std::vsnprintf(buffer.data(), buffer.size(), format, args);
    va_end(args);
    LinkTrace(std::string_view(buffer.data(), static_cast<size_t>(size)));
}
