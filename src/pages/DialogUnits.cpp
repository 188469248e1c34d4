#include "pages/DialogUnits.h"

namespace {
// a * b / c rounded half away from zero, the platform's MulDiv.
int MulDiv(int a, int b, int c)
{
    const long long p = static_cast<long long>(a) * b;
    const long long half = c / 2;
    return static_cast<int>(p >= 0 ? (p + half) / c : (p - half) / c);
}
} // namespace

int DluToPixelsX(int units)
{
    return MulDiv(units, kDialogBaseUnitX, 4);
}

int DluToPixelsY(int units)
{
    return MulDiv(units, kDialogBaseUnitY, 8);
}

QRect DluRect(int x, int y, int width, int height)
{
    return {DluToPixelsX(x), DluToPixelsY(y), DluToPixelsX(width), DluToPixelsY(height)};
}
