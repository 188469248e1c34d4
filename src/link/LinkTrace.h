#pragma once
// The link's debug channel. Silent unless the user sets DSP4620_TRACE to a list containing
// "link" (or "all"), e.g. DSP4620_TRACE=link: then every trace text goes to stderr. Tests
// capture the texts through a hook, whether or not the channel is switched on.

#include <functional>
#include <string>
#include <string_view>

// Emits one trace text exactly as given (a newline is added on stderr when it has none).
void LinkTrace(std::string_view text);
// printf-style variant for the texts that carry a value.
void LinkTraceF(const char* format, ...) __attribute__((format(printf, 1, 2)));

// True when DSP4620_TRACE switches the link channel on (read once per run).
bool LinkTraceEnabled();
// Forces the stderr channel on or off (command-line switches).
void SetLinkTraceEnabled(bool enabled);

// Receives every trace text (any thread); an empty function removes the hook.
using LinkTraceHook = std::function<void(std::string_view)>;
void SetLinkTraceHook(LinkTraceHook hook);
