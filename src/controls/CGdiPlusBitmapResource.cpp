#include "controls/CGdiPlusBitmapResource.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>

#include <utility>

// The picture resources live in this static library; nothing else references them, so the
// linker would drop them unless they are registered by hand.
static void InitPictureResources()
{
    static const bool done = [] {
        Q_INIT_RESOURCE(pictures);
        return true;
    }();
    (void)done;
}

namespace {

// The whole file, or an empty array when it is missing or unreadable.
QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

} // namespace

CGdiPlusBitmapResource::CGdiPlusBitmapResource(int number, qreal devicePixelRatio)
{
    Load(number, devicePixelRatio);
}

QString CGdiPlusBitmapResource::ResourcePath(int number, bool twoX)
{
    return QStringLiteral(":/pictures/%1%2.png").arg(number).arg(twoX ? "@2x" : "");
}

bool CGdiPlusBitmapResource::Load(int number, qreal devicePixelRatio)
{
    InitPictureResources();
    Empty();
    const bool preferTwoX = devicePixelRatio > 1.0;
    for (const bool twoX : {preferTwoX, !preferTwoX}) {
        const QByteArray bytes = ReadAll(ResourcePath(number, twoX));
        if (!bytes.isEmpty())
            return LoadFromBytes(bytes, twoX ? 2.0 : 1.0);
    }
    return false;
}

bool CGdiPlusBitmapResource::LoadFromBytes(const QByteArray& bytes, qreal imageDevicePixelRatio)
{
    Empty();
    if (bytes.isEmpty())
        return false;
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "png");
    QImage image = reader.read();
    if (image.isNull())
        return false;
    image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(imageDevicePixelRatio > 0.0 ? imageDevicePixelRatio : 1.0);
    image_ = std::move(image);
    return true;
}
