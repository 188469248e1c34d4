#pragma once
// What the user is told when the processor is plugged in but its node may not be opened: the
// window's box and the command line's error name the node and the fix.

#include <string>

// The box caption, in the given language (0 Chinese, 1 English).
std::string AccessDeniedCaption(int language);
// The message for the node at path, in the given language.
std::string AccessDeniedText(const std::string& path, int language);
