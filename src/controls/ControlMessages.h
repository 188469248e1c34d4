#pragma once
// Numbers of the notifications the custom controls give their page. The controls deliver
// them as Qt signals; the numbers stay for traces and for pages that dispatch on them.

inline constexpr int SLIDER_MOVED = 3025;   // 0x0BD1: control id, position
inline constexpr int SLIDER_FOCUSED = 3026; // 0x0BD2: control id, 0
