#pragma once
// One decoded picture of the program. The image keeps its device pixel ratio, so Size() is
// the picture's size in device-independent pixels whether the 1x or the 2x artwork was read.

#include <QImage>
#include <QSize>

class CGdiPlusBitmap
{
public:
    CGdiPlusBitmap() = default;
    virtual ~CGdiPlusBitmap() = default;
    CGdiPlusBitmap(const CGdiPlusBitmap&) = default;
    CGdiPlusBitmap& operator=(const CGdiPlusBitmap&) = default;

    bool IsLoaded() const { return !image_.isNull(); }
    // 32-bit ARGB, premultiplied; null when nothing is loaded.
    const QImage& Image() const { return image_; }
    // Size in device-independent pixels; empty when nothing is loaded.
    QSize Size() const;
    void Empty() { image_ = QImage(); }

protected:
    QImage image_;
};
