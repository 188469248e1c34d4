#pragma once
// Reading numbers typed into the band list and the band editor.

#include <string_view>

// The leading decimal number of a text, the way "+3.0dB" reads 3.0 and "1000Hz" reads 1000:
// optional blanks, an optional sign, digits with an optional fraction and exponent; whatever
// follows is ignored. A text that does not start with a number, or a number that is not
// finite, reads 0. Independent of the C locale.
double ParseLeadingNumber(std::string_view text);
