#include "controls/CGdiPlusBitmap.h"

QSize CGdiPlusBitmap::Size() const
{
    if (image_.isNull())
        return {};
    return image_.deviceIndependentSize().toSize();
}
