// Renders the custom controls in their states into one PNG, for looking at the artwork:
//   controls_gallery OUT.png        (QT_SCALE_FACTOR=2 gives the 2x rendering)

#include "controls/CGdipButton.h"
#include "controls/CPeakMeterCtrl.h"
#include "controls/CXBmpSlider.h"

#include <QApplication>
#include <QEnterEvent>
#include <QLabel>
#include <QPainter>
#include <QPalette>
#include <QWidget>

#include <cstdio>

namespace {

QLabel* Caption(QWidget* parent, const QString& text, int x, int y)
{
    auto* label = new QLabel(text, parent);
    label->move(x, y);
    label->adjustSize();
    return label;
}

} // namespace

int main(int argc, char** argv)
{
    if (qgetenv("QT_QPA_PLATFORM").isEmpty())
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUT.png\n", argv[0]);
        return 2;
    }
    QWidget page;
    page.resize(620, 420);
    QPalette palette = page.palette();
    palette.setColor(QPalette::Window, QColor(240, 250, 255));
    page.setPalette(palette);
    page.setAutoFillBackground(true);

    // Horizontal sliders: minimum, middle, maximum, focused, disabled, stretched.
    const int positions[] = {0, 50, 100};
    int y = 10;
    for (const int pos : positions) {
        auto* s = new CXBmpSlider(&page);
        s->SetupHorizontal();
        s->SetRange(0, 100);
        s->SetPos(pos);
        s->move(90, y);
        Caption(&page, QStringLiteral("pos %1").arg(pos), 10, y + 3);
        y += 28;
    }
    auto* focused = new CXBmpSlider(&page);
    focused->SetupHorizontal();
    focused->SetRange(0, 100);
    focused->SetPos(30);
    focused->move(90, y);
    Caption(&page, QStringLiteral("focused"), 10, y + 3);
    y += 28;
    auto* disabled = new CXBmpSlider(&page);
    disabled->SetupHorizontal();
    disabled->SetRange(0, 100);
    disabled->SetPos(70);
    disabled->SetSliderEnabled(false);
    disabled->move(90, y);
    Caption(&page, QStringLiteral("disabled"), 10, y + 3);
    y += 28;
    auto* wide = new CXBmpSlider(&page);
    wide->SetupHorizontal();
    wide->SetChannelSize(QSize(200, 22));
    wide->SetRange(0, 25);
    wide->SetPos(18);
    wide->move(90, y);
    Caption(&page, QStringLiteral("stretched"), 10, y + 3);
    y += 28;
    auto* plain = new CXBmpSlider(&page);
    plain->SetRange(0, 10);
    plain->SetPos(4);
    plain->resize(120, 22);
    plain->move(90, y);
    Caption(&page, QStringLiteral("no pictures"), 10, y + 3);

    // Vertical sliders: maximum, middle, minimum, focused, disabled.
    const int vpos[] = {150, 0, -150};
    int x = 320;
    for (const int pos : vpos) {
        auto* s = new CXBmpSlider(&page);
        s->SetupVertical();
        s->SetRange(-150, 150);
        s->SetPos(pos);
        s->move(x, 10);
        x += 30;
    }
    auto* vfocused = new CXBmpSlider(&page);
    vfocused->SetupVertical();
    vfocused->SetRange(20, 20000);
    vfocused->SetPos(1000);
    vfocused->move(x, 10);
    x += 30;
    auto* vdisabled = new CXBmpSlider(&page);
    vdisabled->SetupVertical();
    vdisabled->SetRange(10, 3000);
    vdisabled->SetPos(700);
    vdisabled->SetSliderEnabled(false);
    vdisabled->move(x, 10);
    x += 30;
    // The band editor's sliders: a channel sized from the page's layout.
    auto* vsized = new CXBmpSlider(&page);
    vsized->SetupVertical();
    vsized->SetChannelSize(QSize(24, 100));
    vsized->SetRange(-150, 150);
    vsized->SetPos(60);
    vsized->move(x, 10);

    // Buttons: the navigation row of the output pages with "Main" selected, then the states.
    const char* nav[] = {"Main", "Center", "Sub", "Rear", "Top", "Location", "Delay", "Comp"};
    int bx = 10;
    for (const char* name : nav) {
        auto* b = new CGdipButton(QString::fromLatin1(name), &page);
        b->LoadStdImage(414);
        b->LoadAltImage(395);
        b->SetTextColor(Qt::white);
        b->SetChecked(bx == 10);
        b->setGeometry(bx, 260, 72, 28);
        bx += 75;
    }
    struct Look
    {
        const char* caption;
        bool checked;
        bool disabled;
        bool hot;
    };
    const Look looks[] = {{"Action", false, false, false},
                          {"Hot", false, false, true},
                          {"Checked", true, false, false},
                          {"Checked hot", true, false, true},
                          {"Disabled", true, true, false}};
    bx = 10;
    for (const Look& look : looks) {
        auto* b = new CGdipButton(QString::fromLatin1(look.caption), &page);
        b->LoadStdImage(413);
        b->LoadAltImage(395);
        b->SetTextColor(Qt::white);
        b->SetChecked(look.checked);
        b->SetDisabledLook(look.disabled);
        b->setGeometry(bx, 300, 87, 23);
        if (look.hot) {
            QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
            QApplication::sendEvent(b, &enter);
        }
        bx += 95;
    }
    auto* chinese = new CGdipButton(QString::fromUtf8("话筒通道A"), &page);
    chinese->LoadStdImage(413);
    chinese->LoadAltImage(395);
    chinese->SetTextColor(Qt::white);
    chinese->setGeometry(10, 330, 87, 23);
    auto* back = new CGdipButton(QString::fromUtf8("返回"), &page);
    back->LoadStdImage(413);
    back->SetTextColor(Qt::white);
    back->setGeometry(105, 330, 87, 78);

    // Meters: the input page's 15 segments at several levels, and an 8-band meter.
    const int levels[] = {0, 60, 170, 190, 230};
    int my = 330;
    for (const int level : levels) {
        auto* m = new CPeakMeterCtrl(&page);
        m->SetBandCount(1);
        m->SetSegmentCount(15);
        m->SetBackgroundColor(QColor(240, 250, 255));
        m->SetData(level);
        m->setGeometry(220, my, 96, 5);
        my += 12;
    }
    auto* bands = new CPeakMeterCtrl(&page);
    const int values[] = {230, 200, 180, 120, 60, 20, 0, 150};
    bands->SetData(values);
    bands->setGeometry(340, 330, 160, 64);

    page.show();
    focused->setFocus();
    QApplication::processEvents();
    // vfocused shows its focused thumb only while it has the focus, so paint it twice.
    QImage shot = page.grab().toImage();
    vfocused->setFocus();
    QApplication::processEvents();
    const QImage second = page.grab().toImage();
    {
        // Take the vertical focused slider from the second shot.
        QPainter p(&shot);
        const QRect r = vfocused->geometry();
        const qreal dpr = shot.devicePixelRatio();
        p.drawImage(r.topLeft(), second.copy(QRect(r.topLeft() * dpr, r.size() * dpr)));
    }
    if (!shot.save(QString::fromLocal8Bit(argv[1])))
        return 1;
    return 0;
}
