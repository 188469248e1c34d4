#include "eq/CEqPanel.h"

#include "dsp/Crossover.h"
#include "eq/CardinalPath.h"
#include "eq/EqNotify.h"
#include "eq/EqTexts.h"
#include "i18n/Language.h"

#include <QAction>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {
constexpr int kGridGains[] = {-15, -12, -9, -6, -3, 0, 3, 6, 9, 12, 15};
constexpr int kGridFreqs[] = {18,   20,   30,   40,   50,   60,   70,   80,    90,    100,
                              200,  300,  400,  500,  600,  700,  800,  900,   1000,  2000,
                              3000, 4000, 5000, 6000, 7000, 8000, 9000, 10000, 20000, 23000};
struct FreqLabel
{
    int freq;
    const char* text;
};
constexpr FreqLabel kFreqLabels[] = {
    {20, "20Hz"},   {50, "50Hz"},   {100, "100Hz"}, {200, "200Hz"},   {500, "500Hz"},
    {1000, "1kHz"}, {2000, "2kHz"}, {5000, "5kHz"}, {10000, "10kHz"}, {20000, "20kHz"},
};

const QVector<QColor>& DefaultBandColours()
{
    static const QVector<QColor> colours = {
        {250, 100, 180}, {255, 80, 255}, {80, 80, 255},   {80, 255, 100},  {255, 255, 100},
        {255, 100, 100}, {255, 180, 20}, {255, 100, 180}, {180, 100, 255}, {140, 180, 255},
        {20, 180, 255},  {80, 255, 255}, {40, 255, 160},  {20, 90, 250},   {80, 255, 255},
        {255, 255, 20},  {80, 100, 255}, {20, 255, 80},   {80, 255, 40},   {180, 255, 20},
        {255, 80, 255},  {80, 120, 250}, {250, 250, 250}, {250, 100, 123},
    };
    return colours;
}

// Default layouts of SetBandCount: frequencies per slot (type and Q below).
const std::vector<float>& LayoutFreqs(int n)
{
    static const std::vector<float> k15 = {100,  160,  250,   400,   630,   1000,  1600, 2500,
                                           4000, 6300, 10000, 13000, 15000, 18000, 20000};
    static const std::vector<float> k4 = {31, 62, 125, 250};
    static const std::vector<float> k7 = {31, 62, 125, 250, 500, 1000, 2000};
    static const std::vector<float> k10 = {31, 62, 125, 250, 500, 1000, 2000, 4000, 8000, 12000};
    static const std::vector<float> k20 = [] {
        std::vector<float> v = k15;
        v.insert(v.end(), 5, 20000.0f);
        return v;
    }();
    static const std::vector<float> k24 = [] {
        std::vector<float> v = k15;
        for (float f :
             {100.0f, 160.0f, 250.0f, 400.0f, 630.0f, 1000.0f, 1600.0f, 2500.0f, 4000.0f}) {
            v.push_back(f);
        }
        return v;
    }();
    static const std::vector<float> none;
    switch (n) {
    case 4:
        return k4;
    case 7:
        return k7;
    case 10:
        return k10;
    case 15:
        return k15;
    case 20:
        return k20;
    case 24:
        return k24;
    default:
        return none;
    }
}

QColor WithAlpha(QColor c, int alpha)
{
    c.setAlpha(alpha);
    return c;
}

QFont MakeFont(const QStringList& families, double pointSize, int pixelSize = 0)
{
    QFont f;
    f.setFamilies(families);
    if (pixelSize > 0) {
        f.setPixelSize(pixelSize);
    } else {
        f.setPointSizeF(pointSize);
    }
    f.setStyleStrategy(QFont::PreferAntialias);
    return f;
}

const QStringList& SongFamilies()
{
    static const QStringList f = {"宋体", "SimSun", "NSimSun", "WenQuanYi Micro Hei",
                                  "Noto Sans CJK SC"};
    return f;
}
const QStringList& HeiFamilies()
{
    static const QStringList f = {"黑体", "SimHei", "WenQuanYi Micro Hei", "Noto Sans CJK SC"};
    return f;
}
const QStringList& ArialFamilies()
{
    static const QStringList f = {"Arial", "Liberation Sans", "Helvetica", "DejaVu Sans"};
    return f;
}

} // namespace

CEqPanel::CEqPanel(QWidget* parent) : QWidget(parent), bandColours_(DefaultBandColours())
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);
    setFocusPolicy(Qt::TabFocus);
    // Texts follow the program's language from the start; the owner may still set another.
    language_ = CurrentLanguage();
    panelFont_ = MakeFont(SongFamilies(), 0, 13);
    labelFont_ = MakeFont(ArialFamilies(), 8.4);
    numberFont_ = MakeFont(ArialFamilies(), 8.0);
    infoFont_ = MakeFont(SongFamilies(), 9.0);
    bypassFont_ = MakeFont(HeiFamilies(), 0, 72);
    axes_.plot = EqPlotRectForClient(width(), height());
    for (int i = 0; i < kSlots; ++i) {
        bands_[static_cast<size_t>(i)] = EqPanelBand{};
    }
    CurvesChanged();
}

CEqPanel::~CEqPanel() = default;

EqPanelBand& CEqPanel::Band(int i)
{
    return bands_[static_cast<size_t>(std::clamp(i, 0, kSlots - 1))];
}

const EqPanelBand& CEqPanel::Band(int i) const
{
    return bands_[static_cast<size_t>(std::clamp(i, 0, kSlots - 1))];
}

int CEqPanel::VisibleCount() const
{
    return IsSubMode() ? std::min(kSubVisible, bandCount_) : bandCount_;
}

std::array<int, 3> CEqPanel::SubCompanions(int k)
{
    return {5 + 3 * k, 6 + 3 * k, 7 + 3 * k};
}

void CEqPanel::SetPanelKind(int kind)
{
    kind_ = kind;
    sumColour_ = kind == 7 ? QColor(0, 220, 0, 255) : QColor(0, 200, 255, 255);
    InvalidateGrid();
    CurvesChanged();
}

void CEqPanel::SetBandCount(int n)
{
    bandCount_ = std::clamp(n, 0, kSlots);
    const std::vector<float>& freqs = LayoutFreqs(n);
    for (size_t i = 0; i < freqs.size(); ++i) {
        EqPanelBand& b = bands_[i];
        b.freq = freqs[i];
        if (n == 4) {
            b.type = i == 0 ? 3 : (i == 3 ? 2 : 1);
            b.q = 0.707f;
        } else {
            b.type = 1;
            b.q = 1.41f;
        }
    }
    for (int i = 0; i < bandCount_; ++i) {
        EqPanelBand& b = bands_[static_cast<size_t>(i)];
        b.index = i;
        b.gain = 0.0f;
    }
    for (int i = 0; i < bandCount_; ++i) {
        ComputeCurve(i);
    }
    CurvesChanged();
}

void CEqPanel::SetBandType(int i, int type)
{
    if (!ValidSlot(i)) {
        return;
    }
    bands_[static_cast<size_t>(i)].type = type;
    if (type == 1) {
        SetBandQ(i, 1.41);
    } else if (type >= 2 && type <= 5) {
        SetBandGain(i, 0.0);
        SetBandQ(i, 0.7);
    } else {
        UpdateBandCurve(i);
    }
}

void CEqPanel::SetBandGain(int i, double gain)
{
    if (!ValidSlot(i)) {
        return;
    }
    EqPanelBand& b = bands_[static_cast<size_t>(i)];
    if (GainForcedZero(b.type) || !std::isfinite(gain)) {
        gain = 0.0;
    }
    b.gain = static_cast<float>(std::clamp(gain, editGainMin_, editGainMax_));
    UpdateBandCurve(i);
}

void CEqPanel::SetBandQ(int i, double q)
{
    if (!ValidSlot(i) || !std::isfinite(q) || std::fabs(q) < 0.0000001) {
        return;
    }
    EqPanelBand& b = bands_[static_cast<size_t>(i)];
    b.q = static_cast<float>(std::clamp(q, 0.1, b.type == 1 ? 30.0 : 2.0));
    UpdateBandCurve(i);
}

void CEqPanel::UpdateBandCurve(int band)
{
    if (!ValidSlot(band)) {
        return;
    }
    ComputeCurveWithCompanions(band);
    CurvesChanged();
}

void CEqPanel::ComputeCurveWithCompanions(int i)
{
    const EqPanelBand& b = bands_[static_cast<size_t>(i)];
    if (b.type == 0) {
        return;
    }
    // Slots 0..4 are the visible SUB bands (their index after SetBandCount); going by the
    // slot keeps a companion from ever being taken for a visible band.
    if (IsSubMode() && i < kSubVisible) {
        for (int c : SubCompanions(i)) {
            EqPanelBand& s = bands_[static_cast<size_t>(c)];
            s.freq = b.freq;
            s.q = b.q;
            s.gain = 0.0f;
            ComputeCurve(c);
        }
    }
    ComputeCurve(i);
}

void CEqPanel::ComputeCurve(int i)
{
    EqPanelBand& b = bands_[static_cast<size_t>(i)];
    if (b.type == 0) {
        return;
    }
    ComputeBandCurve(b.type, static_cast<double>(b.gain), static_cast<double>(b.freq),
                     static_cast<double>(b.q), b.curve);
    if (b.type == 1) {
        const int idx = PeqPeakIndex(static_cast<double>(b.freq), axes_.plot.Width());
        if (idx >= 0) {
            b.curve[static_cast<size_t>(idx)] = b.gain;
        }
    }
}

void CEqPanel::SetSubStages(int i, const std::array<int, 4>& codes)
{
    const std::array<int, 3> comp = SubCompanions(i);
    bands_[static_cast<size_t>(i)].gain = 0.0f;
    for (int c : comp) {
        bands_[static_cast<size_t>(c)].gain = 0.0f;
    }
    SetBandType(i, codes[0]);
    for (size_t s = 0; s < 3; ++s) {
        SetBandType(comp[s], codes[s + 1]);
    }
    // SetBandType gives flat companions their own Q; they follow the band again.
    UpdateBandCurve(i);
}

void CEqPanel::SetSubFilterType(int i, int type)
{
    if (!IsSubMode()) {
        SetBandType(i, type);
        return;
    }
    if (i < 0 || i >= kSubVisible || type < 0 || type > 5) {
        return;
    }
    SetSubStages(i, SubUserTypeStages(type));
}

void CEqPanel::SetSubCrossover(int i, int shape)
{
    if (!IsSubMode() || i < 0 || i >= kSubVisible) {
        return;
    }
    SetSubStages(i,
                 CrossoverStages(shape, CrossoverSideOfType(bands_[static_cast<size_t>(i)].type)));
}

void CEqPanel::OnMenuCommand(int id)
{
    if (id >= EQ_MENU_TYPE_FIRST && id <= EQ_MENU_TYPE_LAST) {
        if (selected_ >= 0) {
            SetSubFilterType(selected_, id - 2024);
            NotifyChanged(selected_);
        }
    } else if (id == EQ_MENU_COPY || id == EQ_MENU_PASTE) {
        emit CopyPaste(id - EQ_MENU_COPY, kind_);
    } else if (id == EQ_MENU_IMPORT_FILTERS || id == EQ_MENU_EXPORT_FILTERS) {
        emit FilterFile(id - EQ_MENU_IMPORT_FILTERS, kind_);
    }
}

void CEqPanel::SetSelected(int slot)
{
    selected_ = (slot >= 0 && slot < kSlots) ? slot : -1;
    RebuildPaths();
    update();
}

void CEqPanel::SetBypass(bool on)
{
    bypass_ = on;
    update();
}

void CEqPanel::SetLanguage(int language)
{
    if (language_ != language) {
        language_ = language;
        InvalidateGrid();
        update();
    }
}

QPointF CEqPanel::MarkerPoint(int slot) const
{
    const EqPanelBand& b = Band(slot);
    return {axes_.FreqToX(static_cast<double>(b.freq)), axes_.GainToY(static_cast<double>(b.gain))};
}

void CEqPanel::SetSumColour(const QColor& c)
{
    sumColour_ = c;
    update();
}

void CEqPanel::SetBackgroundColour(const QColor& c)
{
    backgroundColour_ = c;
    InvalidateGrid();
}

void CEqPanel::SetGridColour(const QColor& c)
{
    gridColour_ = c;
    InvalidateGrid();
}

void CEqPanel::SetGridLabelColour(const QColor& c)
{
    gridLabelColour_ = c;
    InvalidateGrid();
}

void CEqPanel::SetTitleColour(const QColor& c)
{
    titleColour_ = c;
    InvalidateGrid();
}

void CEqPanel::SetBandColours(const QVector<QColor>& colours)
{
    if (!colours.isEmpty()) {
        bandColours_ = colours;
        RebuildPaths();
        update();
    }
}

QColor CEqPanel::BandColour(int slot) const
{
    return bandColours_[static_cast<int>(static_cast<qsizetype>(slot) % bandColours_.size())];
}

// ---- derived layers -------------------------------------------------------------------------

void CEqPanel::CurvesChanged()
{
    RebuildSum();
    RebuildPaths();
    PlaceMarkers();
    update();
}

void CEqPanel::RebuildSum()
{
    sum_.fill(0.0f);
    for (int i = 0; i < bandCount_; ++i) {
        const EqPanelBand& b = bands_[static_cast<size_t>(i)];
        if (b.type == 0) {
            continue;
        }
        for (int k = 0; k < kEqCurvePoints; ++k) {
            sum_[static_cast<size_t>(k)] += b.curve[static_cast<size_t>(k)];
        }
    }
}

void CEqPanel::RebuildPaths()
{
    const EqPlotRect& r = axes_.plot;
    const int w = r.Width();
    // Deep stop bands map far below the plot; a point there would pull the spline's tangents
    // (and a closed fill's closing segment) back into view. Points are kept within 20 pixels
    // of the plot, which leaves the visible part of the curves as it is.
    const double yMin = r.top - 20.0;
    const double yMax = r.bottom + 20.0;
    auto yOf = [&](float db) {
        return std::clamp(axes_.GainToY(static_cast<double>(db)), yMin, yMax);
    };
    std::array<QPointF, kEqCurvePoints> pts;
    for (int i = 0; i < kEqCurvePoints; ++i) {
        pts[static_cast<size_t>(i)] = QPointF(axes_.SampleX(i), yOf(sum_[static_cast<size_t>(i)]));
    }
    sumPath_ = CardinalPath(pts, 0.1, false);

    hasFill_ = false;
    fillPath_ = QPainterPath();
    if (selected_ < 0 || selected_ >= kSlots || bands_[static_cast<size_t>(selected_)].type == 0) {
        return;
    }
    const EqPanelBand& sel = bands_[static_cast<size_t>(selected_)];
    std::array<float, kEqCurvePoints> area = sel.curve;
    if (IsSubMode() && selected_ < kSubVisible) {
        for (int c : SubCompanions(selected_)) {
            const EqPanelBand& s = bands_[static_cast<size_t>(c)];
            if (s.type == 0) {
                continue;
            }
            for (size_t k = 0; k < area.size(); ++k) {
                area[k] += s.curve[k];
            }
        }
    }
    std::array<QPointF, kEqCurvePoints + 2> fill;
    const double zeroY = axes_.GainToY(0.0);
    for (int i = 1; i <= kEqCurvePoints; ++i) {
        fill[static_cast<size_t>(i)] =
            QPointF(r.left + w * i / kEqCurvePoints, yOf(area[static_cast<size_t>(i - 1)]));
    }
    if (IsSlopeType(sel.type)) {
        fill[0] = QPointF(fill[1].x(), r.bottom + 20);
        fill[kEqCurvePoints + 1] = QPointF(fill[kEqCurvePoints].x(), r.bottom + 20);
    } else {
        fill[0] = QPointF(r.left, zeroY);
        fill[kEqCurvePoints + 1] = QPointF(r.right, zeroY);
    }
    fillPath_ = CardinalPath(fill, 0.5, true);
    fillColour_ = WithAlpha(BandColour(selected_), 32);
    hasFill_ = true;
}

void CEqPanel::StoreMarker(int slot)
{
    EqPanelBand& b = bands_[static_cast<size_t>(slot)];
    const QPointF p = MarkerPoint(slot);
    b.posX = static_cast<float>(p.x() - axes_.plot.left);
    b.posY = static_cast<float>(p.y() - axes_.plot.top);
}

void CEqPanel::PlaceMarkers()
{
    for (int i = 0; i < VisibleCount(); ++i) {
        if (bands_[static_cast<size_t>(i)].type != 0) {
            StoreMarker(i);
        }
    }
    if (hover_ >= 0 && bands_[static_cast<size_t>(hover_)].type != 0) {
        StoreMarker(hover_);
    }
}

void CEqPanel::InvalidateGrid()
{
    gridValid_ = false;
    update();
}

const QPixmap& CEqPanel::GridLayer()
{
    const qreal dpr = devicePixelRatioF();
    const QSize px = (QSizeF(size()) * dpr).toSize();
    if (gridValid_ && grid_.size() == px && qFuzzyCompare(grid_.devicePixelRatio(), dpr)) {
        return grid_;
    }
    grid_ = QPixmap(px);
    grid_.setDevicePixelRatio(dpr);
    grid_.fill(backgroundColour_);
    QPainter p(&grid_);
    const EqPlotRect& r = axes_.plot;
    p.setPen(QPen(gridColour_, 1));
    for (int g : kGridGains) {
        const int y = static_cast<int>(axes_.GainToY(g));
        p.drawLine(r.left, y, r.right, y);
    }
    for (int f : kGridFreqs) {
        const int x = static_cast<int>(axes_.FreqToX(f));
        p.drawLine(x, r.top + 1, x, r.bottom);
    }
    p.setFont(labelFont_);
    p.setPen(gridLabelColour_);
    const QFontMetrics fm(labelFont_);
    for (int g : kGridGains) {
        char buf[16];
        std::snprintf(buf, sizeof buf, "%+-.0fdB", static_cast<double>(g));
        const int y = static_cast<int>(axes_.GainToY(g));
        p.drawText(QRect(0, y - fm.height(), r.left - 3, 2 * fm.height()),
                   Qt::AlignRight | Qt::AlignVCenter, QString::fromLatin1(buf));
    }
    for (const FreqLabel& l : kFreqLabels) {
        const int x = static_cast<int>(axes_.FreqToX(l.freq));
        p.drawText(QRect(x - 40, r.bottom + 4, 80, fm.height()), Qt::AlignHCenter | Qt::AlignTop,
                   QString::fromLatin1(l.text));
    }
    if (kind_ >= 0 && kind_ < kEqPanelKinds) {
        p.setFont(panelFont_);
        p.setPen(titleColour_);
        const QFontMetrics tm(panelFont_);
        p.drawText(QRect(0, r.top - 1 - tm.height(), r.right - 2, tm.height()),
                   Qt::AlignRight | Qt::AlignBottom,
                   QString::fromUtf8(kEqKindTitles[kind_][language_]));
    }
    gridValid_ = true;
    return grid_;
}

// ---- painting -------------------------------------------------------------------------------

void CEqPanel::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.drawPixmap(0, 0, GridLayer());
    const EqPlotRect& r = axes_.plot;
    p.save();
    p.setClipRect(QRect(r.left, r.top, r.Width(), r.Height()));
    p.setRenderHint(QPainter::Antialiasing, true);
    if (hasFill_) {
        p.fillPath(fillPath_, fillColour_);
    }
    QPen sumPen(sumColour_, 2.0);
    sumPen.setJoinStyle(Qt::RoundJoin);
    p.strokePath(sumPath_, sumPen);
    p.restore();

    p.setRenderHint(QPainter::Antialiasing, true);
    DrawMarkers(p);
    if (hover_ >= 0 && bands_[static_cast<size_t>(hover_)].type != 0) {
        DrawValueLabels(p, hover_);
    }
    if (bypass_) {
        p.setFont(bypassFont_);
        p.setPen(bypassColour_);
        p.drawText(rect(), Qt::AlignCenter, QStringLiteral("BYPASS"));
    }
}

void CEqPanel::DrawMarkers(QPainter& p) const
{
    const EqPlotRect& r = axes_.plot;
    for (int i = 0; i < VisibleCount(); ++i) {
        const EqPanelBand& b = bands_[static_cast<size_t>(i)];
        if (b.type == 0) {
            continue;
        }
        const QPointF c(r.left + static_cast<double>(b.posX), r.top + static_cast<double>(b.posY));
        const QColor colour = BandColour(i);
        const bool sel = i == selected_;
        const QColor fill = WithAlpha(colour, sel ? 80 : 37);
        if (b.type == 1) {
            p.setPen(QPen(WithAlpha(colour, 127), 2.0));
            p.setBrush(Qt::NoBrush);
            const QRectF ring(c.x() - 9, c.y() - 9, 18, 18);
            p.drawArc(ring, -15 * 16, -150 * 16);
            p.drawArc(ring, -195 * 16, -150 * 16);
            p.setPen(Qt::NoPen);
            p.setBrush(fill);
            p.drawEllipse(QRectF(c.x() - 7, c.y() - 7, 14, 14));
        } else {
            const QRectF sq(c.x() - 7, c.y() - 7, 14, 14);
            p.fillRect(sq, fill);
            QPen dash(WithAlpha(colour, 127), 1.5, Qt::DashLine);
            p.setPen(dash);
            p.setBrush(Qt::NoBrush);
            p.drawRect(sq);
            if (sel) {
                p.setPen(QPen(cursorColour_, 1.5, Qt::DashLine));
                p.drawLine(QPointF(c.x(), r.top), QPointF(c.x(), r.bottom));
            }
        }
        p.setBrush(Qt::NoBrush);
        p.setFont(numberFont_);
        p.setPen(colour);
        p.drawText(QRectF(c.x() - 20, c.y() - 10, 40, 20), Qt::AlignCenter, QString::number(i + 1));
        if (sel) {
            if (hover_ < 0) {
                DrawValueLabels(p, i);
            }
            DrawInfoLine(p, i);
        }
    }
}

void CEqPanel::DrawValueLabels(QPainter& p, int slot) const
{
    const EqPanelBand& b = bands_[static_cast<size_t>(slot)];
    const double mx = axes_.plot.left + static_cast<double>(b.posX);
    const double my = axes_.plot.top + static_cast<double>(b.posY);
    const char* captions[3] = {"F:", "G:", "Q:"};
    const std::string values[3] = {FormatFreqHz(static_cast<double>(b.freq)),
                                   FormatGainDb(static_cast<double>(b.gain)),
                                   FormatQ(static_cast<double>(b.q))};
    p.setFont(labelFont_);
    const QFontMetrics fm(labelFont_);
    for (int line = 0; line < 3; ++line) {
        const std::string& v = values[line];
        const ValueLabelPos pos =
            ValueLabelPlacement(mx, my, slot, b.gain, line, static_cast<int>(v.size()));
        p.setPen(captionColour_);
        p.drawText(QPoint(pos.captionX, pos.y + fm.ascent()), QString::fromLatin1(captions[line]));
        p.setPen(valueColour_);
        p.drawText(QPoint(pos.valueX, pos.y + fm.ascent()), QString::fromStdString(v));
    }
}

void CEqPanel::DrawInfoLine(QPainter& p, int slot) const
{
    const EqPanelBand& b = bands_[static_cast<size_t>(slot)];
    char buf[160];
    const double f = static_cast<double>(b.freq);
    const double q = static_cast<double>(b.q);
    if (language_ == 0) {
        std::snprintf(buf, sizeof buf, "EQ号=%d    频率=%.0fHz    Q值=%.2f     增益=", slot + 1, f,
                      q);
    } else {
        std::snprintf(buf, sizeof buf,
                      "Index=%d     Frequency=%.0fHz    Q=%.2f     Gain=", slot + 1, f, q);
    }
    const QString head = QString::fromUtf8(buf);
    const QString gain = QString::fromStdString(FormatGainDb(static_cast<double>(b.gain)) + " ");
    p.setFont(infoFont_);
    const QFontMetrics fm(infoFont_);
    const int x = 36;
    const int y = 3 + fm.ascent();
    p.setPen(infoColour_);
    p.drawText(QPoint(x, y), head);
    const int level = InfoGainLevel(b.gain);
    p.setPen(level == 0 ? infoColour_ : (level == 1 ? warnColour_ : alarmColour_));
    p.drawText(QPoint(x + fm.horizontalAdvance(head), y), gain);
}

// ---- input ----------------------------------------------------------------------------------

void CEqPanel::resizeEvent(QResizeEvent*)
{
    axes_.plot = EqPlotRectForClient(width(), height());
    // The PEQ peak sample depends on the plot width.
    for (int i = 0; i < kSlots; ++i) {
        ComputeCurve(i);
    }
    InvalidateGrid();
    CurvesChanged();
}

void CEqPanel::NotifyChanged(int slot)
{
    emit BandChanged(bands_[static_cast<size_t>(slot)], slot);
}

void CEqPanel::mousePressEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    const int px = pos.x() - axes_.plot.left;
    const int py = pos.y() - axes_.plot.top;
    if (event->button() == Qt::LeftButton) {
        if (rightDown_) {
            return;
        }
        setFocus(Qt::MouseFocusReason);
        pressX_ = px;
        pressY_ = py;
        leftDown_ = true;
        moved_ = false;
        selected_ = -1;
        for (int i = 0; i < VisibleCount(); ++i) {
            const EqPanelBand& b = bands_[static_cast<size_t>(i)];
            if (b.type != 0 && std::fabs(static_cast<float>(px) - b.posX) < 10.0f &&
                std::fabs(static_cast<float>(py) - b.posY) < 10.0f) {
                selected_ = i;
                grabX_ = static_cast<int>(static_cast<float>(px) - b.posX);
                grabY_ = static_cast<int>(static_cast<float>(py) - b.posY);
                break;
            }
        }
        RebuildPaths();
        if (selected_ >= 0) {
            NotifyChanged(selected_);
        }
        update();
    } else if (event->button() == Qt::RightButton) {
        if (leftDown_) {
            return;
        }
        pressX_ = px;
        pressY_ = py;
        rightDown_ = true;
        moved_ = false;
        selected_ = -1;
        for (int i = 0; i < VisibleCount(); ++i) {
            const EqPanelBand& b = bands_[static_cast<size_t>(i)];
            if (std::fabs(static_cast<float>(px) - b.posX) < 16.0f &&
                std::fabs(static_cast<float>(py) - b.posY) < 16.0f) {
                selected_ = i;
                grabX_ = px;
                break;
            }
        }
        RebuildPaths();
        if (selected_ >= 0) {
            NotifyChanged(selected_);
        }
        update();
    }
}

void CEqPanel::mouseDoubleClickEvent(QMouseEvent* event)
{
    // A double click is a second press like any other.
    mousePressEvent(event);
}

void CEqPanel::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    const int px = pos.x() - axes_.plot.left;
    const int py = pos.y() - axes_.plot.top;
    const int oldHover = hover_;
    hover_ = -1;
    if (!leftDown_ && !rightDown_) {
        for (int i = 0; i < bandCount_; ++i) {
            const EqPanelBand& b = bands_[static_cast<size_t>(i)];
            if (b.type != 0 && std::fabs(static_cast<float>(px) - b.posX) < 16.0f &&
                std::fabs(static_cast<float>(py) - b.posY) < 16.0f) {
                hover_ = i;
            }
        }
        if (hover_ >= 0) {
            StoreMarker(hover_);
        }
        if (hover_ != oldHover) {
            update();
        }
        return;
    }
    if (selected_ < 0) {
        update();
        return;
    }
    if (std::abs(px - pressX_) > 1 || std::abs(py - pressY_) > 1) {
        moved_ = true;
    }
    if (!moved_) {
        return;
    }
    EqPanelBand& b = bands_[static_cast<size_t>(selected_)];
    if (leftDown_) {
        b.freq = static_cast<float>(axes_.OffsetToFreq(px));
        if (HasUserGain(b.type)) {
            b.gain = static_cast<float>(axes_.OffsetToGain(py - grabY_));
        } else {
            b.gain = 0.0f;
        }
        b.gain = std::clamp(b.gain, b.gainMin, b.gainMax);
        b.freq = std::clamp(b.freq, b.freqMin, b.freqMax);
        UpdateBandCurve(selected_);
        NotifyChanged(selected_);
    } else if (rightDown_) {
        const bool narrow = b.type >= 2 && b.type <= 5;
        const double dq = (px - grabX_) / (narrow ? 80.0 : 12.0);
        b.q =
            static_cast<float>(std::clamp(static_cast<double>(b.q) + dq, 0.1, narrow ? 2.0 : 30.0));
        grabX_ = px;
        UpdateBandCurve(selected_);
        NotifyChanged(selected_);
    }
}

void CEqPanel::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        if (!leftDown_) {
            return;
        }
        leftDown_ = false;
        if (selected_ < 0) {
            emit BandNone();
        } else if (moved_) {
            NotifyChanged(selected_);
        }
    } else if (event->button() == Qt::RightButton) {
        if (!rightDown_) {
            return;
        }
        rightDown_ = false;
        const QPoint global = event->globalPosition().toPoint();
        if (selected_ >= 0) {
            NotifyChanged(selected_);
            if (!moved_) {
                QMenu menu(this);
                for (int t = 0; t < 5; ++t) {
                    QAction* a = menu.addAction(QString::fromUtf8(kEqTypeMenuItems[t][language_]));
                    a->setData(EQ_MENU_TYPE_FIRST + t);
                }
                OnMenuCommand(RunMenu(menu, global));
            }
        } else {
            // Copy and paste have no meaning for the Sub's slots; filter files do.
            QMenu menu(this);
            if (!IsSubMode()) {
                menu.addAction(QString::fromUtf8(kEqCopyItem[language_]))->setData(EQ_MENU_COPY);
                menu.addAction(QString::fromUtf8(kEqPasteItem[language_]))->setData(EQ_MENU_PASTE);
                menu.addSeparator();
            }
            menu.addAction(QString::fromUtf8(kEqImportFiltersItem[language_]))
                ->setData(EQ_MENU_IMPORT_FILTERS);
            menu.addAction(QString::fromUtf8(kEqExportFiltersItem[language_]))
                ->setData(EQ_MENU_EXPORT_FILTERS);
            OnMenuCommand(RunMenu(menu, global));
        }
    }
    update();
}

int CEqPanel::RunMenu(QMenu& menu, const QPoint& globalPos)
{
    const QAction* chosen = menu.exec(globalPos);
    return chosen ? chosen->data().toInt() : 0;
}

void CEqPanel::leaveEvent(QEvent*)
{
    if (hover_ >= 0 && !leftDown_ && !rightDown_) {
        hover_ = -1;
        update();
    }
}

void CEqPanel::wheelEvent(QWheelEvent* event)
{
    const int delta =
        event->angleDelta().y() != 0 ? event->angleDelta().y() : event->angleDelta().x();
    if (selected_ < 0 || delta == 0 || !HasUserGain(bands_[static_cast<size_t>(selected_)].type)) {
        event->ignore();
        return;
    }
    EqPanelBand& b = bands_[static_cast<size_t>(selected_)];
    b.gain = std::clamp(b.gain + (delta < 0 ? -0.1f : 0.1f), b.gainMin, b.gainMax);
    UpdateBandCurve(selected_);
    NotifyChanged(selected_);
    event->accept();
}

void CEqPanel::ClampBand(int slot)
{
    EqPanelBand& b = bands_[static_cast<size_t>(slot)];
    b.gain = std::clamp(b.gain, b.gainMin, b.gainMax);
    b.q = std::clamp(b.q, 0.1f, static_cast<float>(MaxQForType(b.type)));
    b.freq = std::clamp(b.freq, b.freqMin, b.freqMax);
}

void CEqPanel::PickDigit(int slot)
{
    if (slot >= VisibleCount()) {
        return;
    }
    selected_ = slot;
    RebuildPaths();
    emit BandPicked(bands_[static_cast<size_t>(slot)], slot);
    update();
}

void CEqPanel::keyPressEvent(QKeyEvent* event)
{
    event->accept();
    const int key = event->key();
    if (key >= Qt::Key_0 && key <= Qt::Key_9) {
        PickDigit(key == Qt::Key_0 ? 9 : key - Qt::Key_1);
        return;
    }
    if (selected_ < 0 || selected_ >= kSlots) {
        return;
    }
    const bool ctrl = event->modifiers().testFlag(Qt::ControlModifier);
    const int last = IsSubMode() ? kSubVisible - 1 : bandCount_ - 1;
    EqPanelBand* b = &bands_[static_cast<size_t>(selected_)];
    switch (key) {
    case Qt::Key_PageUp:
        selected_ = std::max(0, selected_ - 1);
        break;
    case Qt::Key_PageDown:
        selected_ = std::max(0, std::min(last, selected_ + 1));
        break;
    case Qt::Key_Home:
        selected_ = 0;
        break;
    case Qt::Key_End:
        selected_ = std::max(0, last);
        break;
    case Qt::Key_Left:
    case Qt::Key_Right:
        b->freq = static_cast<float>(
            ArrowKeyFrequency(static_cast<double>(b->freq), key == Qt::Key_Right, ctrl));
        break;
    case Qt::Key_Up:
    case Qt::Key_Down:
        if (!HasUserGain(b->type)) {
            return;
        }
        b->gain += (key == Qt::Key_Up ? 1.0f : -1.0f) * (ctrl ? 0.1f : 0.2f);
        break;
    case Qt::Key_Plus:
    case Qt::Key_Equal:
    case Qt::Key_Minus:
    case Qt::Key_Underscore: {
        const float step = ctrl ? 0.01f : 0.1f;
        b->q += (key == Qt::Key_Plus || key == Qt::Key_Equal) ? step : -step;
        break;
    }
    case Qt::Key_Comma:
    case Qt::Key_Less:
        if (IsSubMode() || b->type < 2 || b->type > 5) {
            return;
        }
        SetBandType(selected_, b->type - 1);
        break;
    case Qt::Key_Period:
    case Qt::Key_Greater:
        if (IsSubMode() || b->type < 1 || b->type > 4) {
            return;
        }
        SetBandType(selected_, b->type + 1);
        break;
    default:
        return;
    }
    ClampBand(selected_);
    UpdateBandCurve(selected_);
    NotifyChanged(selected_);
}
