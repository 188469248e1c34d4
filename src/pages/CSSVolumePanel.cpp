#include "pages/CSSVolumePanel.h"

#include "controls/CGdiPlusBitmapResource.h"
#include "pages/PageLook.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {
constexpr int kListenerPicture = 4250;
constexpr int kSpeakerPicture = 4251;

const QColor kRoomFill(252, 254, 255);
const QColor kInnerLine(150, 178, 206);
const QColor kCentreLine(96, 134, 178);
const QColor kEdgeLine(206, 222, 238);
const QColor kGridText(84, 104, 128);
const QColor kLabelText(20, 30, 44);
const QColor kLevelText(24, 110, 200);

struct SpeakerText
{
    const char* zh;
    const char* en;
};
const SpeakerText kLabels[] = {
    {"前置左(ML)", "Main.L(ML)"}, {"中置(C)", "Center(C)"},    {"前置右(MR)", "Main.R(MR)"},
    {"后置左(RL)", "Rear.L(RL)"}, {"超低(S)", "Sub(S)"},       {"后置右(RR)", "Rear.R(RR)"},
    {"顶置左(TL)", "Top.L(TL)"},  {"顶置右(TR)", "Top.R(TR)"},
};
const QColor kNumberColours[] = {
    QColor(255, 92, 92),   QColor(255, 214, 64), QColor(80, 220, 110),  QColor(64, 200, 255),
    QColor(210, 120, 255), QColor(255, 150, 60), QColor(120, 255, 220), QColor(255, 120, 200),
};

QImage LoadPicture(int number, qreal ratio)
{
    CGdiPlusBitmapResource picture;
    if (!picture.Load(number, ratio)) {
        return {};
    }
    return picture.Image();
}

QFont PixelFont(const QFont& base, int pixels, bool bold)
{
    QFont f = base;
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}
} // namespace

// The pictures live in this static library, which nothing else references by name: register
// them by hand, or the linker may drop them.
static void InitSoundFieldResources()
{
    static const bool done = [] {
        Q_INIT_RESOURCE(soundfield);
        return true;
    }();
    (void)done;
}

CSSVolumePanel::CSSVolumePanel(QWidget* parent) : QWidget(parent)
{
    InitSoundFieldResources();
    setObjectName(QStringLiteral("CSSVolumePanel"));
    ApplyPageBackground(this);
    ApplyDialogFont(this);
    const qreal ratio = devicePixelRatioF();
    listenerPicture_ = LoadPicture(kListenerPicture, ratio);
    speakerPicture_ = LoadPicture(kSpeakerPicture, ratio);
    for (int i = 0; i < kSoundFieldPointCount; ++i) {
        points_[static_cast<size_t>(i)].number = i;
    }
    setMinimumSize(2 * static_cast<int>(kSoundFieldMargin) + 60,
                   2 * static_cast<int>(kSoundFieldMargin) + 60);
    PlaceAll();
}

QString CSSVolumePanel::SpeakerLabel(int point, int language)
{
    if (point < 1 || point >= kSoundFieldPointCount) {
        return {};
    }
    const SpeakerText& t = kLabels[point - 1];
    return QString::fromUtf8(language == 1 ? t.en : t.zh);
}

QColor CSSVolumePanel::SpeakerColour(int point)
{
    if (point < 1 || point >= kSoundFieldPointCount) {
        return kLabelText;
    }
    return kNumberColours[point - 1];
}

SoundFieldView CSSVolumePanel::View() const
{
    return {0.0f,       0.0f,       static_cast<float>(width()), static_cast<float>(height()),
            roomWidth_, roomLength_};
}

void CSSVolumePanel::Place(PointRecord& point) const
{
    const SoundFieldPixel p = PixelFromMetres(View(), {point.x, point.y});
    point.pixel = QPointF(p.x, p.y);
}

void CSSVolumePanel::PlaceAll()
{
    for (PointRecord& p : points_) {
        Place(p);
    }
}

void CSSVolumePanel::SetRoomSize(int width, int length)
{
    roomWidth_ = static_cast<float>(LimitRoomMetres(width));
    roomLength_ = static_cast<float>(LimitRoomMetres(length));
    PlaceAll();
    update();
}

void CSSVolumePanel::SetPointPosition(int point, float x, float y)
{
    if (point < 0 || point >= kSoundFieldPointCount) {
        return;
    }
    PointRecord& r = points_[static_cast<size_t>(point)];
    r.x = std::isfinite(x) ? x : 0.0f;
    r.y = std::isfinite(y) ? y : 0.0f;
    Place(r);
    update();
}

void CSSVolumePanel::SetSpeakerLevel(int point, float db)
{
    if (point < 1 || point >= kSoundFieldPointCount) {
        return;
    }
    levels_[static_cast<size_t>(point)] = db;
    update();
}

void CSSVolumePanel::SetLanguage(int language)
{
    language_ = language == 1 ? 1 : 0;
    update();
}

SoundFieldPosition CSSVolumePanel::PointPosition(int point) const
{
    if (point < 0 || point >= kSoundFieldPointCount) {
        return {};
    }
    const PointRecord& r = points_[static_cast<size_t>(point)];
    return {r.x, r.y};
}

QPointF CSSVolumePanel::PointPixel(int point) const
{
    if (point < 0 || point >= kSoundFieldPointCount) {
        return {};
    }
    return points_[static_cast<size_t>(point)].pixel;
}

void CSSVolumePanel::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    PlaceAll();
}

void CSSVolumePanel::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    const QPointF at = event->position();
    for (const PointRecord& p : points_) {
        if (std::fabs(at.x() - p.pixel.x()) <= kGrabRadius &&
            std::fabs(at.y() - p.pixel.y()) <= kGrabRadius) {
            grabbed_ = p.number;
            emit PointGrabbed(p.number, p.x, p.y);
            return;
        }
    }
}

void CSSVolumePanel::mouseMoveEvent(QMouseEvent* event)
{
    if (grabbed_ < 0 || !(event->buttons() & Qt::LeftButton)) {
        QWidget::mouseMoveEvent(event);
        return;
    }
    const SoundFieldView view = View();
    const QPointF at = event->position();
    const SoundFieldPixel held =
        ClampToInner(view, {static_cast<float>(at.x()), static_cast<float>(at.y())});
    const SoundFieldPosition m = MetresFromPixel(view, held);
    PointRecord& r = points_[static_cast<size_t>(grabbed_)];
    r.x = m.x;
    r.y = m.y;
    r.pixel = QPointF(held.x, held.y);
    update();
    emit PointMoved(r.number, r.x, r.y);
}

void CSSVolumePanel::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        grabbed_ = -1;
    }
    QWidget::mouseReleaseEvent(event);
}

void CSSVolumePanel::DrawGrid(QPainter& p) const
{
    const SoundFieldView view = View();
    const int w = static_cast<int>(roomWidth_);
    const int l = static_cast<int>(roomLength_);
    const QPointF topLeft(PixelFromMetres(view, {-roomWidth_ / 2, roomLength_ / 2}).x,
                          PixelFromMetres(view, {-roomWidth_ / 2, roomLength_ / 2}).y);
    const SoundFieldPixel br = PixelFromMetres(view, {roomWidth_ / 2, -roomLength_ / 2});
    const QRectF room(topLeft, QPointF(br.x, br.y));
    p.fillRect(room, kRoomFill);

    p.setFont(PixelFont(font(), 10, false));
    const QFontMetrics fm(p.font());
    const qreal textH = fm.height();

    // Lines across the width (x = k) and along it (y = k), the centre line darker.
    for (const int k : SoundFieldGridLines(w)) {
        const qreal x = PixelFromMetres(view, {static_cast<float>(k), 0}).x;
        p.setPen(
            QPen(k == 0 ? kCentreLine : kInnerLine, 1.0, k == 0 ? Qt::SolidLine : Qt::DashLine));
        p.drawLine(QPointF(x, room.top()), QPointF(x, room.bottom()));
        p.setPen(kGridText);
        const QString text = QString::fromStdString(SoundFieldGridLabel(k));
        p.drawText(QRectF(x - 30, room.bottom() + 2, 60, textH), Qt::AlignHCenter | Qt::AlignTop,
                   text);
    }
    for (const int k : SoundFieldGridLines(l)) {
        const qreal y = PixelFromMetres(view, {0, static_cast<float>(k)}).y;
        p.setPen(
            QPen(k == 0 ? kCentreLine : kInnerLine, 1.0, k == 0 ? Qt::SolidLine : Qt::DashLine));
        p.drawLine(QPointF(room.left(), y), QPointF(room.right(), y));
        p.setPen(kGridText);
        const QString text = QString::fromStdString(SoundFieldGridLabel(k));
        p.drawText(QRectF(0, y - textH / 2, room.left() - 3, textH),
                   Qt::AlignRight | Qt::AlignVCenter, text);
    }

    // The edges, lighter than the inner lines, with their distance from the centre.
    p.setPen(QPen(kEdgeLine, 2.0));
    p.setBrush(Qt::NoBrush);
    p.drawRect(room);
    p.setPen(kGridText);
    const QString left = QString::fromStdString(SoundFieldEdgeLabel(w, false));
    const QString right = QString::fromStdString(SoundFieldEdgeLabel(w, true));
    const QString front = QString::fromStdString(SoundFieldEdgeLabel(l, true));
    const QString back = QString::fromStdString(SoundFieldEdgeLabel(l, false));
    p.drawText(QRectF(room.left() - 30, room.bottom() + 2, 60, textH),
               Qt::AlignHCenter | Qt::AlignTop, left);
    p.drawText(QRectF(room.right() - 30, room.bottom() + 2, 60, textH),
               Qt::AlignHCenter | Qt::AlignTop, right);
    p.drawText(QRectF(0, room.top() - textH / 2, room.left() - 3, textH),
               Qt::AlignRight | Qt::AlignVCenter, front);
    p.drawText(QRectF(0, room.bottom() - textH / 2, room.left() - 3, textH),
               Qt::AlignRight | Qt::AlignVCenter, back);
}

void CSSVolumePanel::DrawSpeaker(QPainter& p, const PointRecord& point) const
{
    const QPointF c = point.pixel;
    const QSizeF size = speakerPicture_.isNull()
                            ? QSizeF(30, 38)
                            : QSizeF(speakerPicture_.size()) / speakerPicture_.devicePixelRatio();
    const QRectF box(c.x() - size.width() / 2, c.y() - size.height() / 2, size.width(),
                     size.height());
    if (!speakerPicture_.isNull()) {
        p.drawImage(box, speakerPicture_);
    } else {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(50, 58, 72));
        p.drawRoundedRect(box, 5, 5);
    }
    // The number on the woofer (which sits 24 of 38 pixels down), in the speaker's colour.
    const QPointF woofer(c.x(), box.top() + box.height() * 24.0 / 38.0);
    p.setFont(PixelFont(font(), 11, true));
    p.setPen(SpeakerColour(point.number));
    p.drawText(QRectF(woofer.x() - 8, woofer.y() - 8, 16, 16), Qt::AlignCenter,
               QString::number(point.number));

    // The label beneath, the current level beside it.
    const QString label = SpeakerLabel(point.number, language_);
    const QString level = QString::asprintf(
        "%+.1fdB", static_cast<double>(levels_[static_cast<size_t>(point.number)]));
    const QFont labelFont = PixelFont(font(), 11, false);
    const QFont levelFont = PixelFont(font(), 10, true);
    const QFontMetrics lm(labelFont);
    const QFontMetrics vm(levelFont);
    const int gap = 4;
    const qreal total = lm.horizontalAdvance(label) + gap + vm.horizontalAdvance(level);
    // Beneath the picture, or above it where the drawing ends; kept inside the drawing.
    qreal top = box.bottom() + 1;
    if (top + lm.height() > height() && box.top() - lm.height() - 1 >= 0) {
        top = box.top() - lm.height() - 1;
    }
    const qreal x0 = std::clamp(c.x() - total / 2, 2.0, std::max(2.0, width() - total - 2));
    p.setFont(labelFont);
    p.setPen(kLabelText);
    p.drawText(QRectF(x0, top, lm.horizontalAdvance(label), lm.height()),
               Qt::AlignLeft | Qt::AlignTop, label);
    p.setFont(levelFont);
    p.setPen(kLevelText);
    p.drawText(QRectF(x0 + lm.horizontalAdvance(label) + gap, top, vm.horizontalAdvance(level) + 1,
                      lm.height()),
               Qt::AlignLeft | Qt::AlignVCenter, level);
}

void CSSVolumePanel::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
    DrawGrid(p);
    for (int i = 1; i < kSoundFieldPointCount; ++i) {
        DrawSpeaker(p, points_[static_cast<size_t>(i)]);
    }
    // The listener last, on top.
    const QPointF c = points_[SF_LISTENER].pixel;
    if (!listenerPicture_.isNull()) {
        const QSizeF size = QSizeF(listenerPicture_.size()) / listenerPicture_.devicePixelRatio();
        p.drawImage(QRectF(c.x() - size.width() / 2, c.y() - size.height() / 2, size.width(),
                           size.height()),
                    listenerPicture_);
    } else {
        p.setPen(QPen(QColor(38, 132, 226), 2.0));
        p.setBrush(QColor(38, 132, 226, 60));
        p.drawEllipse(c, 16, 16);
    }
}
