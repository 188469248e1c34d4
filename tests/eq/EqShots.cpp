// Renders the EQ widgets offscreen with a known band set into PNG files for a visual check:
// eq_shots [DIR] (default: the current directory).
#include "eq/CEqBandList.h"
#include "eq/CEqPanel.h"
#include "eq/CSmallEqPanel.h"
#include "i18n/Language.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>

namespace {
void Save(QWidget& w, const QString& dir, const QString& name)
{
    QImage img(w.size(), QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::black);
    w.render(&img);
    img.save(dir + "/" + name);
}

void LoadTenBands(CEqPanel& p)
{
    p.SetBandCount(10);
    const int types[10] = {3, 1, 1, 4, 1, 1, 1, 5, 1, 2};
    const float gains[10] = {0, 6, -4, 3, 12, -10.5f, 2, 4, -2, 0};
    const float freqs[10] = {40, 80, 160, 300, 700, 1200, 2500, 5000, 9000, 16000};
    const float qs[10] = {0.7f, 1.41f, 2.0f, 0.7f, 3.0f, 1.0f, 1.41f, 0.7f, 5.0f, 0.7f};
    for (int i = 0; i < 10; ++i) {
        p.Band(i).type = types[i];
        p.Band(i).freq = freqs[i];
        p.Band(i).gain = gains[i];
        p.Band(i).q = qs[i];
        p.UpdateBandCurve(i);
    }
}
} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath();
    QDir().mkpath(dir);

    for (int lang = 0; lang < 2; ++lang) {
        CEqPanel p;
        p.resize(1000, 480);
        p.SetPanelKind(5);
        p.SetLanguage(lang);
        LoadTenBands(p);
        p.SetSelected(4);
        Save(p, dir, QString("eq_panel_%1.png").arg(lang));
    }
    {
        // Band 6 selected, the pointer over band 3: the hover labels replace the selection's.
        CEqPanel p;
        p.resize(1000, 480);
        p.SetPanelKind(7);
        p.SetLanguage(0);
        QImage warm(p.size(), QImage::Format_ARGB32_Premultiplied);
        p.render(&warm);
        LoadTenBands(p);
        p.SetSelected(5);
        const QPointF m = p.MarkerPoint(2);
        QMouseEvent move(QEvent::MouseMove, m + QPointF(3, 2), m + QPointF(3, 2), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&p, &move);
        Save(p, dir, "eq_panel_hover.png");
    }
    {
        CEqPanel p;
        p.resize(1000, 480);
        p.SetPanelKind(5);
        p.SetLanguage(1);
        LoadTenBands(p);
        p.SetSelected(9);
        p.SetBypass(true);
        Save(p, dir, "eq_panel_lp_bypass.png");
    }
    {
        CEqPanel p;
        p.resize(1000, 480);
        p.SetPanelKind(2);
        p.SetLanguage(1);
        p.SetBandCount(20);
        const float freqs[5] = {25, 31, 45, 62, 100};
        const float gains[5] = {4, -3, 2, 5, 0};
        for (int i = 0; i < 5; ++i) {
            p.Band(i).freq = freqs[i];
            p.SetSubFilterType(i, 1);
            p.SetBandGain(i, gains[i]);
        }
        p.SetSubFilterType(4, 2);
        p.SetSelected(4);
        Save(p, dir, "eq_panel_sub.png");
        p.SetSubCrossover(4, 3);
        p.SetSelected(1);
        Save(p, dir, "eq_panel_sub_lr48.png");
    }
    {
        CSmallEqPanel s;
        s.resize(180, 90);
        s.SetSmallBandGain(5, 12);
        s.SetSmallBandGain(1, -6);
        Save(s, dir, "small_eq.png");
        s.SetBypass(true);
        Save(s, dir, "small_eq_pass.png");
    }
    for (int lang = 0; lang < 2; ++lang) {
        SetLanguage(lang);
        CEqPanel p;
        p.resize(1000, 480);
        p.SetPanelKind(5);
        p.SetLanguage(lang);
        LoadTenBands(p);
        CEqBandList list;
        list.resize(list.sizeHint().width(), 300);
        list.SetBandCount(10);
        list.AttachPanel(&p);
        list.Retranslate();
        Save(list, dir, QString("band_list_%1.png").arg(lang));
        list.ShowBand(4, false);
        Save(list, dir, QString("band_editor_%1.png").arg(lang));
        list.ShowBand(9, false);
        Save(list, dir, QString("band_editor_lp_%1.png").arg(lang));
    }
    return 0;
}
