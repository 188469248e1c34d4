#include "controls/SliderGeometry.h"

#include <algorithm>
#include <cmath>

namespace {

// Room the thumb travels in along the slider's axis, never negative.
int Travel(const SliderGeometry& g)
{
    const int travel = g.vertical ? g.height - g.thumbHeight - g.marginBottom - g.marginTop
                                  : g.width - g.thumbWidth - g.marginRight - g.marginLeft;
    return std::max(travel, 0);
}

// Wide enough for any pair of int ends.
long long Span(const SliderGeometry& g)
{
    return static_cast<long long>(g.maximum) - static_cast<long long>(g.minimum);
}

// Truncates towards zero; values beyond any int range are limited first, so the conversion
// is always defined.
long long Truncate(float v)
{
    if (std::isnan(v))
        return 0;
    constexpr float kLimit = 1.0e18F;
    return static_cast<long long>(std::clamp(v, -kLimit, kLimit));
}

// Clamps a value computed in the wide type, so a pointer far outside cannot overflow.
int ClampWide(const SliderGeometry& g, long long value)
{
    return static_cast<int>(
        std::clamp(value, static_cast<long long>(g.minimum), static_cast<long long>(g.maximum)));
}

} // namespace

int ClampSliderPosition(const SliderGeometry& g, int position)
{
    if (g.maximum < g.minimum)
        return g.minimum;
    return std::clamp(position, g.minimum, g.maximum);
}

SliderThumbRect SliderThumbAt(const SliderGeometry& g, int position)
{
    const int pos = ClampSliderPosition(g, position);
    SliderThumbRect rect{0, 0, g.thumbWidth, g.thumbHeight};
    const long long span = Span(g);
    int offset = 0;
    if (span > 0) {
        const float pixelsPerStep = static_cast<float>(Travel(g)) / static_cast<float>(span);
        const long long steps = g.vertical ? static_cast<long long>(g.maximum) - pos
                                           : static_cast<long long>(pos) - g.minimum;
        offset = static_cast<int>(
            std::min<long long>(Truncate(pixelsPerStep * static_cast<float>(steps)), Travel(g)));
    }
    if (g.vertical) {
        rect.x = g.marginLeft;
        rect.y = offset + g.marginTop;
    } else {
        rect.x = offset + g.marginLeft;
        rect.y = g.marginTop;
    }
    return rect;
}

int SliderPositionFromPointer(const SliderGeometry& g, int x, int y)
{
    const long long span = Span(g);
    const int travel = Travel(g);
    if (span <= 0 || travel <= 0)
        return ClampSliderPosition(g, g.minimum);
    const float pixelsPerStep = static_cast<float>(travel) / static_cast<float>(span);
    if (g.vertical) {
        const int along = y - g.thumbHeight / 2 - g.marginTop;
        const long long steps = Truncate(static_cast<float>(along) / pixelsPerStep);
        return ClampWide(g, static_cast<long long>(g.maximum) - steps);
    }
    const int along = x - g.thumbWidth / 2 - g.marginLeft;
    const long long steps = Truncate(static_cast<float>(along) / pixelsPerStep);
    return ClampWide(g, steps + g.minimum);
}

int SliderTrackStep(const SliderGeometry& g, int position, int x, int y)
{
    const SliderThumbRect thumb = SliderThumbAt(g, position);
    if (g.vertical)
        return y > thumb.y + thumb.height / 2 ? -1 : +1;
    return x <= thumb.x + thumb.width / 2 ? -1 : +1;
}
