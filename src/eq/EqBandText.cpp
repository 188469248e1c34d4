#include "eq/EqBandText.h"

#include <charconv>
#include <cmath>

double ParseLeadingNumber(std::string_view text)
{
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    // from_chars also reads "inf" and "nan"; only digits or a point may start a number here.
    if (i >= text.size() || !((text[i] >= '0' && text[i] <= '9') || text[i] == '.')) {
        return 0.0;
    }
    double value = 0.0;
    const char* first = text.data() + i;
    const auto r =
        std::from_chars(first, text.data() + text.size(), value, std::chars_format::general);
    if (r.ec != std::errc() || !std::isfinite(value)) {
        return 0.0;
    }
    return negative ? -value : value;
}
