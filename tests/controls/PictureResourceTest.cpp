// Loading pictures by number, and the two colour matrices of the image button.
#include "controls/CGdiPlusBitmapResource.h"
#include "controls/ColorMatrix.h"
#include "controls/QtPrinters.h"

#include <QBuffer>
#include <QtGlobal>

#include <gtest/gtest.h>

#include <vector>

namespace {

// Collects every Qt message while it lives, to show that a failure stays quiet.
class MessageCatcher
{
public:
    MessageCatcher() { previous_ = qInstallMessageHandler(&MessageCatcher::Catch); }
    ~MessageCatcher() { qInstallMessageHandler(previous_); }
    MessageCatcher(const MessageCatcher&) = delete;
    MessageCatcher& operator=(const MessageCatcher&) = delete;
    static std::vector<QString>& Messages()
    {
        static std::vector<QString> messages;
        return messages;
    }

private:
    static void Catch(QtMsgType, const QMessageLogContext&, const QString& text)
    {
        Messages().push_back(text);
    }
    QtMessageHandler previous_ = nullptr;
};

struct PictureCase
{
    int number;
    int width;
    int height;
};

TEST(CGdiPlusBitmapResource, EveryPictureThePagesNameExistsAtBothDensities)
{
    const PictureCase cases[] = {
        {324, 120, 22}, {320, 13, 17}, {369, 13, 17}, {325, 13, 17}, {448, 22, 130}, {449, 17, 13},
        {447, 17, 13},  {450, 17, 13}, {413, 96, 32}, {414, 96, 32}, {395, 96, 32},
    };
    for (const PictureCase& c : cases) {
        for (const qreal ratio : {1.0, 2.0}) {
            CGdiPlusBitmapResource picture;
            ASSERT_TRUE(picture.Load(c.number, ratio)) << c.number;
            EXPECT_EQ(picture.Size(), QSize(c.width, c.height)) << c.number << " at " << ratio;
            EXPECT_EQ(picture.Image().devicePixelRatio(), ratio) << c.number;
            EXPECT_EQ(picture.Image().size(), QSize(c.width, c.height) * static_cast<int>(ratio))
                << c.number;
        }
    }
}

TEST(CGdiPlusBitmapResource, MissingEmptyOrBrokenPicturesFailQuietly)
{
    MessageCatcher catcher;
    MessageCatcher::Messages().clear();
    CGdiPlusBitmapResource picture(324);
    ASSERT_TRUE(picture.IsLoaded());

    EXPECT_FALSE(picture.Load(9999));
    EXPECT_FALSE(picture.IsLoaded()); // a failed load holds nothing, not the old picture
    EXPECT_TRUE(picture.Size().isEmpty());

    EXPECT_FALSE(picture.LoadFromBytes(QByteArray()));
    EXPECT_FALSE(picture.LoadFromBytes(QByteArray("\x89PNG\r\n\x1a\n garbage", 17)));
    EXPECT_FALSE(picture.LoadFromBytes(QByteArray(4096, '\xff')));
    EXPECT_FALSE(picture.IsLoaded());
    EXPECT_TRUE(MessageCatcher::Messages().empty())
        << MessageCatcher::Messages().front().toStdString();
}

TEST(CGdiPlusBitmapResource, BytesOfAPictureDecode)
{
    QImage source(4, 2, QImage::Format_ARGB32);
    source.fill(QColor(10, 20, 30, 128));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(source.save(&buffer, "png"));
    CGdiPlusBitmapResource picture;
    ASSERT_TRUE(picture.LoadFromBytes(bytes, 2.0));
    EXPECT_EQ(picture.Image().size(), QSize(4, 2));
    EXPECT_EQ(picture.Size(), QSize(2, 1)); // device-independent: 4 x 2 at 2x

    // The same file cut short, or with one byte of its pixel data changed, fails quietly.
    MessageCatcher catcher;
    MessageCatcher::Messages().clear();
    EXPECT_FALSE(picture.LoadFromBytes(bytes.left(bytes.size() - 5)));
    QByteArray damaged = bytes;
    damaged[damaged.indexOf("IDAT") + 6] =
        static_cast<char>(damaged[damaged.indexOf("IDAT") + 6] ^ 0x55);
    EXPECT_FALSE(picture.LoadFromBytes(damaged));
    EXPECT_FALSE(picture.IsLoaded());
    EXPECT_TRUE(MessageCatcher::Messages().empty());
}

struct MatrixCase
{
    QColor in;
    QColor brightened;
    QColor grey;
};

TEST(ColorMatrix, BrightenAndGreyKeepAlphaAndLimitToOne)
{
    const MatrixCase cases[] = {
        // 1.05 * c + 0.05: 0 -> 13, 100 -> 118, 255 -> 255 (limited).
        {QColor(0, 100, 255, 255), QColor(13, 118, 255, 255), QColor(87, 87, 87, 255)},
        // 0.3 * 200 + 0.59 * 50 + 0.11 * 10 = 90.6.
        {QColor(200, 50, 10, 255), QColor(223, 65, 23, 255), QColor(91, 91, 91, 255)},
        {QColor(255, 255, 255, 255), QColor(255, 255, 255, 255), QColor(255, 255, 255, 255)},
    };
    for (const MatrixCase& c : cases) {
        QImage one(1, 1, QImage::Format_ARGB32_Premultiplied);
        one.fill(c.in);
        EXPECT_EQ(ApplyBrightenMatrix(one).pixelColor(0, 0), c.brightened)
            << c.in.name().toStdString();
        EXPECT_EQ(ApplyGreyMatrix(one).pixelColor(0, 0), c.grey) << c.in.name().toStdString();
    }
    QImage translucent(1, 1, QImage::Format_ARGB32);
    translucent.fill(QColor(100, 100, 100, 64));
    EXPECT_EQ(ApplyBrightenMatrix(translucent).pixelColor(0, 0).alpha(), 64);
    EXPECT_EQ(ApplyGreyMatrix(translucent).pixelColor(0, 0).alpha(), 64);
}

} // namespace
