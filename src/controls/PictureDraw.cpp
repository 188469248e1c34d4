#include "controls/PictureDraw.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

// One axis of the nine-slice: start, rim before, rim after and length, in target pixels.
struct Slices
{
    int lead;
    int trail;
};

Slices FitSlices(int lead, int trail, int length)
{
    if (lead + trail <= length)
        return {lead, trail};
    // Too small for both rims: share what there is in their proportion.
    const int total = std::max(lead + trail, 1);
    const int fitLead = length * lead / total;
    return {fitLead, length - fitLead};
}

} // namespace

QMargins DefaultPictureBorder(const QImage& picture, int limit)
{
    const QSizeF size = picture.deviceIndependentSize();
    const int shorter = static_cast<int>(std::min(size.width(), size.height()));
    const int rim = std::clamp(shorter / 3, 0, limit);
    return {rim, rim, rim, rim};
}

void DrawNineSlice(QPainter& painter, const QRect& target, const QImage& picture,
                   const QMargins& border)
{
    if (picture.isNull() || target.isEmpty())
        return;
    const QSizeF logical = picture.deviceIndependentSize();
    if (qFuzzyCompare(logical.width(), static_cast<qreal>(target.width())) &&
        qFuzzyCompare(logical.height(), static_cast<qreal>(target.height()))) {
        painter.drawImage(target.topLeft(), picture);
        return;
    }
    const qreal dpr = picture.devicePixelRatio();
    const int srcW = picture.width();
    const int srcH = picture.height();
    // Source rims in image pixels.
    const auto px = [dpr](int v) { return static_cast<int>(std::lround(v * dpr)); };
    const int sl = std::min(px(border.left()), srcW / 2);
    const int sr = std::min(px(border.right()), srcW - sl);
    const int st = std::min(px(border.top()), srcH / 2);
    const int sb = std::min(px(border.bottom()), srcH - st);
    const Slices h = FitSlices(border.left(), border.right(), target.width());
    const Slices v = FitSlices(border.top(), border.bottom(), target.height());

    const int sx[4] = {0, sl, srcW - sr, srcW};
    const int sy[4] = {0, st, srcH - sb, srcH};
    const int dx[4] = {target.left(), target.left() + h.lead, target.right() + 1 - h.trail,
                       target.right() + 1};
    const int dy[4] = {target.top(), target.top() + v.lead, target.bottom() + 1 - v.trail,
                       target.bottom() + 1};
    const bool smooth = painter.renderHints().testFlag(QPainter::SmoothPixmapTransform);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) {
            const QRect src(sx[col], sy[row], sx[col + 1] - sx[col], sy[row + 1] - sy[row]);
            const QRect dst(dx[col], dy[row], dx[col + 1] - dx[col], dy[row + 1] - dy[row]);
            if (src.isEmpty() || dst.isEmpty())
                continue;
            painter.drawImage(dst, picture, src);
        }
    }
    painter.setRenderHint(QPainter::SmoothPixmapTransform, smooth);
}
