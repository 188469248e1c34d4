#include "controls/CGdiPlusBitmapResource.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
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

// CRC-32 of the PNG chunks (polynomial 0xEDB88320).
uint32_t Crc32(const unsigned char* data, std::size_t size, uint32_t crc)
{
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1U) != 0 ? 0xEDB88320U ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    for (std::size_t i = 0; i < size; ++i)
        crc = table[(crc ^ data[i]) & 0xFFU] ^ (crc >> 8);
    return crc;
}

uint32_t BigEndian32(const unsigned char* p)
{
    return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}

// Checks the PNG signature and that every chunk lies within the data with a correct CRC,
// from IHDR to IEND. The decoder reports broken files on the debug output; checking first
// keeps a damaged picture quiet.
bool IsWholePng(const QByteArray& bytes)
{
    static constexpr unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.constData());
    const auto size = static_cast<std::size_t>(bytes.size());
    if (size < sizeof kSignature || std::memcmp(data, kSignature, sizeof kSignature) != 0)
        return false;
    std::size_t at = sizeof kSignature;
    bool first = true;
    while (size - at >= 12) {
        const std::size_t length = BigEndian32(data + at);
        if (length > size - at - 12)
            return false;
        const unsigned char* type = data + at + 4;
        const uint32_t crc = Crc32(type, length + 4, 0xFFFFFFFFU) ^ 0xFFFFFFFFU;
        if (crc != BigEndian32(type + 4 + length))
            return false;
        if (first && std::memcmp(type, "IHDR", 4) != 0)
            return false;
        first = false;
        if (std::memcmp(type, "IEND", 4) == 0)
            return true;
        at += 12 + length;
    }
    return false;
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
    if (!IsWholePng(bytes))
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
