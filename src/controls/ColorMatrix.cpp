#include "controls/ColorMatrix.h"

#include <QColor>

#include <algorithm>
#include <cmath>

namespace {

int ToByte(float v)
{
    return static_cast<int>(std::lround(std::clamp(v, 0.0F, 1.0F) * 255.0F));
}

float ToUnit(int v)
{
    return static_cast<float>(v) / 255.0F;
}

// Runs `map` over the straight (not premultiplied) colour of every pixel.
template <typename Map> QImage MapPixels(const QImage& image, Map map)
{
    if (image.isNull())
        return {};
    QImage out = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            const QRgb px = line[x];
            float r = ToUnit(qRed(px));
            float g = ToUnit(qGreen(px));
            float b = ToUnit(qBlue(px));
            map(r, g, b);
            line[x] = qRgba(ToByte(r), ToByte(g), ToByte(b), qAlpha(px));
        }
    }
    out = out.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    out.setDevicePixelRatio(image.devicePixelRatio());
    return out;
}

} // namespace

QImage ApplyBrightenMatrix(const QImage& image)
{
    return MapPixels(image, [](float& r, float& g, float& b) {
        r = 1.05F * r + 0.05F;
        g = 1.05F * g + 0.05F;
        b = 1.05F * b + 0.05F;
    });
}

QImage ApplyGreyMatrix(const QImage& image)
{
    return MapPixels(image, [](float& r, float& g, float& b) {
        const float grey = 0.3F * r + 0.59F * g + 0.11F * b;
        r = grey;
        g = grey;
        b = grey;
    });
}
