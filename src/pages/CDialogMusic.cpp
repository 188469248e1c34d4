#include "pages/CDialogMusic.h"

#include "controls/CGdipButton.h"
#include "controls/CPeakMeterCtrl.h"
#include "controls/CXBmpSlider.h"
#include "dsp/EqBands.h"
#include "eq/CEqBandList.h"
#include "eq/CEqPanel.h"
#include "eq/CEqWheelForwarder.h"
#include "eq/CSmallEqPanel.h"
#include "i18n/DialogIds.h"
#include "i18n/Language.h"
#include "model/ParamIds.h"
#include "model/ParamStore.h"
#include "model/Setters.h"
#include "pageapi/DeviceSession.h"
#include "pages/CEqSection.h"
#include "pages/DialogUnits.h"
#include "pages/InputParams.h"
#include "pages/PageGlobals.h"
#include "pages/PageLook.h"
#include "pages/PanelLoading.h"

#include <QApplication>
#include <QButtonGroup>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QResizeEvent>
#include <QTableWidget>
#include <QWheelEvent>

#include <algorithm>

namespace {
constexpr int kPortX[4] = {17, 138, 268, 396};
constexpr int kMeterFirstId = 1168;
constexpr int kInputBands = 10;

constexpr TextPair kParamColumns[3] = {
    {"", " "}, {"参数名", "Parameter name"}, {"参数值", "Value"}};
constexpr int kParamColumnWidths[3] = {50, 130, 80};

const QColor kParamBackground(30, 30, 25);
const QColor kParamTextMic(0, 200, 255);
const QColor kParamTextMusic(100, 100, 100);
const QColor kPortCaption(0, 0, 238);
const QColor kSmallCaption(240, 0, 0);
const QColor kNumberOnDark(20, 20, 20);

QColor NumberColour(int view)
{
    switch (view) {
    case EQ_KIND_MUSIC:
        return {255, 200, 0};
    case EQ_KIND_MIC_B:
        return {0, 220, 0};
    default:
        return {0, 200, 255};
    }
}

QColor SmallCurveColour(int view)
{
    switch (view) {
    case EQ_KIND_MIC_A:
        return {0, 200, 255};
    case EQ_KIND_MIC_B:
        return {0, 220, 0};
    default:
        return {100, 100, 100};
    }
}

QString Utf8(const std::string& s)
{
    return QString::fromStdString(s);
}

QString Pair(const TextPair& p)
{
    return QString::fromUtf8(p.Text());
}

} // namespace

CDialogMusic::CDialogMusic(PageShell* shell, QWidget* parent)
    : CPageBase(parent), shell_(shell), texts_(this, IDD_DIALOG_MUSIC)
{
    setObjectName(QStringLiteral("CDialogMusic"));
    if (shell_) {
        status_ = [shell = shell_](int i) { return shell->Session().StatusByte(i); };
    }
    templateSize_ = DluRect(0, 0, 670, 314).size();
    ApplyPageBackground(this);
    ApplyDialogFont(this);

    for (int port = 0; port < 4; ++port) {
        BuildPortColumn(port);
    }
    BuildMusicPeak();
    BuildViewButtons();
    BuildParamList();
    BuildSmallPanels();
    BuildEq();

    // Wheel messages over the page go to the focused panel or slider; with the parameter
    // list focused they step the chosen parameter.
    CEqWheelForwarder* wheel = eq_->Wheel();
    for (int port = 0; port < 4; ++port) {
        wheel->AddTarget(gates_[static_cast<size_t>(port)]);
        wheel->AddTarget(volumes_[static_cast<size_t>(port)]);
    }
    wheel->AddTarget(paramSlider_);
    wheel->AddHandler(params_, [this](int step) {
        if (!MicView() || params_->selectedItems().isEmpty()) {
            return false;
        }
        OnParamWheel(step);
        return true;
    });

    ApplyLanguage();

    meterTimer_.setInterval(kMeterPollMs);
    connect(&meterTimer_, &QTimer::timeout, this, &CDialogMusic::PollMeters);
    meterTimer_.start();
    resize(templateSize_);
}

CDialogMusic::~CDialogMusic() = default;

void CDialogMusic::BuildPortColumn(int port)
{
    const size_t p = static_cast<size_t>(port);
    const int x = kPortX[port];
    portCaptions_[p] = MakeStatic(this, DluRect(x, 2, 33, 10));
    SetTextColour(portCaptions_[p], kPortCaption);
    texts_.Bind(portCaptions_[p], IDC_MUSIC_PORT_CAPTION + port,
                QStringLiteral("话筒口%1").arg(port + 1));

    auto* group = new QButtonGroup(this);
    for (int ch = 0; ch < 2; ++ch) {
        auto* r = new QRadioButton(this);
        r->setGeometry(DluRect(x + 33 + 37 * ch, 2, 37, 10));
        texts_.Bind(r, IDC_MUSIC_PORT_RADIO_A + 2 * port + ch,
                    ch == 0 ? QStringLiteral("通道A") : QStringLiteral("通道B"));
        group->addButton(r, ch);
        routes_[2 * p + static_cast<size_t>(ch)] = r;
        connect(r, &QRadioButton::clicked, this, [port, ch] { SetMicPortRouting(port, ch); });
    }

    auto* meter = new CPeakMeterCtrl(this);
    meter->setGeometry(DluRect(x + 24, 15, 64, 3));
    meters_[static_cast<size_t>(IDC_MUSIC_PORT_METER + port - kMeterFirstId)] = meter;

    for (int row = 0; row < 2; ++row) {
        const int y = row == 0 ? 21 : 35;
        const bool gate = row == 0;
        auto* caption = MakeStatic(this, DluRect(x, y + 2, 23, 10));
        texts_.Bind(caption, (gate ? IDC_MUSIC_NG_VALUE : IDC_MUSIC_VOL_VALUE) + 2 * port + 1,
                    gate ? QStringLiteral("噪声门") : QStringLiteral("音量"));
        auto* slider =
            new CXBmpSlider(this, (gate ? IDC_MUSIC_NG_SLIDER : IDC_MUSIC_VOL_SLIDER) + port);
        slider->SetupHorizontal();
        const QRect r = DluRect(x + 24, y, 67, 14);
        slider->SetChannelSize(r.size());
        slider->setGeometry(r);
        slider->SetRange(0, 100);
        connect(slider, &CXBmpSlider::SliderMoved, this, &CDialogMusic::OnSliderMoved);
        auto* value = MakeStatic(this, DluRect(x + 92, y + 2, 15, 10));
        value->setText(QStringLiteral("0"));
        value->setProperty("controlId",
                           (gate ? IDC_MUSIC_NG_VALUE : IDC_MUSIC_VOL_VALUE) + 2 * port);
        (gate ? gates_ : volumes_)[p] = slider;
        (gate ? gateValues_ : volumeValues_)[p] = value;
    }
}

void CDialogMusic::BuildMusicPeak()
{
    peakGroup_ = new QGroupBox(this);
    peakGroup_->setGeometry(DluRect(506, 9, 160, 38));
    texts_.Bind(peakGroup_, IDC_MUSIC_PEAK_GROUP, QStringLiteral("音乐电平"));
    const char* builtIn[3] = {"光纤/同轴", "模拟输入1", "模拟输入2"};
    const int firstMeter[3] = {1168, 1174, 1176};
    for (int s = 0; s < 3; ++s) {
        const int x = 514 + 52 * s;
        auto* caption = MakeStatic(this, DluRect(x, 19, 48, 10));
        texts_.Bind(caption, IDC_MUSIC_SOURCE_CAPTION + s, QString::fromUtf8(builtIn[s]));
        for (int side = 0; side < 2; ++side) {
            auto* meter = new CPeakMeterCtrl(this);
            meter->setGeometry(DluRect(x, 33 + 4 * side, 46, 3));
            meters_[static_cast<size_t>(firstMeter[s] + side - kMeterFirstId)] = meter;
        }
    }
    for (CPeakMeterCtrl* m : meters_) {
        m->SetBandCount(1);
        m->SetSegmentCount(15);
        m->SetBackgroundColor(kPageBackground);
        m->Start(35);
        m->raise();
    }
}

void CDialogMusic::BuildViewButtons()
{
    const int x[3] = {5, 64, 123};
    const int w[3] = {56, 56, 58};
    const int ids[3] = {IDC_MUSIC_VIEW_MIC_A, IDC_MUSIC_VIEW_MIC_B, IDC_MUSIC_VIEW_MUSIC};
    const char* builtIn[3] = {"话筒通道A", "话筒通道B", "音乐"};
    const int views[3] = {EQ_KIND_MIC_A, EQ_KIND_MIC_B, EQ_KIND_MUSIC};
    for (size_t i = 0; i < 3; ++i) {
        auto* b = new CGdipButton(this);
        b->setGeometry(DluRect(x[i], 50, w[i], 14));
        b->LoadStdImage(413);
        b->LoadAltImage(395);
        b->SetTextColor(Qt::white);
        texts_.Bind(b, ids[i], QString::fromUtf8(builtIn[i]));
        const int view = views[i];
        connect(b, &QPushButton::clicked, this, [this, view] { SetInputView(view); });
        viewButtons_[i] = b;
    }
}

void CDialogMusic::BuildParamList()
{
    params_ = new QTableWidget(this);
    params_->setObjectName(QStringLiteral("paramList"));
    params_->setGeometry(DluRect(1, 66, 189, 102));
    params_->setColumnCount(3);
    params_->setRowCount(kInputParamRows);
    params_->setSelectionBehavior(QAbstractItemView::SelectRows);
    params_->setSelectionMode(QAbstractItemView::SingleSelection);
    params_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    params_->setShowGrid(true);
    params_->verticalHeader()->hide();
    params_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    params_->horizontalHeader()->setHighlightSections(false);
    params_->horizontalHeader()->setStretchLastSection(true);
    params_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    params_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    params_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    params_->setStyleSheet(QStringLiteral("QTableWidget { background-color: rgb(30,30,25); "
                                          "gridline-color: rgb(70,70,62); }"
                                          "QTableWidget::item:selected { background-color: "
                                          "rgb(40,90,150); }"));
    for (int c = 0; c < 3; ++c) {
        params_->setColumnWidth(c, kParamColumnWidths[c]);
    }
    connect(params_, &QTableWidget::cellClicked, this, [this](int row, int) { SelectParam(row); });
    connect(params_, &QTableWidget::currentCellChanged, this, [this](int row, int, int, int) {
        if (row >= 0 && row != paramRow_) {
            SelectParam(row);
        }
    });

    paramCaption_ = MakeStatic(this, DluRect(192, 51, 63, 11), Qt::AlignHCenter);
    paramCaption_->setProperty("controlId", IDC_MUSIC_PARAM_CAPTION);
    paramSlider_ = new CXBmpSlider(this, IDC_MUSIC_PARAM_SLIDER);
    paramSlider_->SetupVertical();
    const QRect sr = DluRect(212, 62, 19, 86);
    paramSlider_->SetChannelSize(sr.size());
    paramSlider_->setGeometry(sr);
    paramSlider_->SetRange(0, 100);
    connect(paramSlider_, &CXBmpSlider::SliderMoved, this, &CDialogMusic::OnSliderMoved);
    paramEdit_ = new QLineEdit(this);
    paramEdit_->setGeometry(DluRect(206, 149, 33, 14));
    paramEdit_->setReadOnly(true);
    paramEdit_->setAlignment(Qt::AlignCenter);
    paramEdit_->setTextMargins(0, 0, 0, 0);
    paramEdit_->setProperty("controlId", IDC_MUSIC_PARAM_EDIT);
}

void CDialogMusic::BuildSmallPanels()
{
    const int x[2] = {259, 474};
    const int captionIds[2] = {IDC_MUSIC_REVERB_CAPTION, IDC_MUSIC_ECHO_CAPTION};
    const int hintIds[2] = {IDC_MUSIC_REVERB_HINT, IDC_MUSIC_ECHO_HINT};
    const char* captions[2] = {"混响均衡", "回声均衡"};
    const char* hints[2] = {"点击下面方框进入混响均衡调节界面", "点击下面方框进入回声均衡调节界面"};
    for (size_t i = 0; i < 2; ++i) {
        auto* panel = new CSmallEqPanel(this);
        panel->setGeometry(DluRect(x[i], 66, 191, 95));
        panel->setCursor(Qt::PointingHandCursor);
        (i == 0 ? reverbPanel_ : echoPanel_) = panel;
        const bool reverb = i == 0;
        connect(panel, &CSmallEqPanel::Clicked, this, [this, reverb] { OpenEffect(reverb); });

        auto* caption = MakeStatic(this, DluRect(x[i], 54, 44, 10));
        SetTextColour(caption, kSmallCaption);
        texts_.Bind(caption, captionIds[i], QString::fromUtf8(captions[i]));
        auto* hint = MakeStatic(this, DluRect(x[i] + 45, 54, 146, 10));
        texts_.Bind(hint, hintIds[i], QString::fromUtf8(hints[i]));
        smallCaptions_[2 * i] = caption;
        smallCaptions_[2 * i + 1] = hint;
    }
}

void CDialogMusic::BuildEq()
{
    eq_ = new CEqSection(this, IDD_DIALOG_MUSIC);
    eq_->SetGeometry(DluRect(194, 164, 472, 147), DluRect(1, 169, 189, 142));
    eq_->SetRaiseFrequencyTo20(true);
    eq_->SetKind(g_nInputView.load());
}

PageEq* CDialogMusic::Eq()
{
    return eq_;
}

CEqPanel* CDialogMusic::Panel() const
{
    return eq_->Panel();
}

CEqBandList* CDialogMusic::Bands() const
{
    return eq_->Bands();
}

int CDialogMusic::EditBand() const
{
    return eq_->EditBand();
}

CPeakMeterCtrl* CDialogMusic::Meter(int controlId) const
{
    const int i = controlId - kMeterFirstId;
    return (i >= 0 && i < 10) ? meters_[static_cast<size_t>(i)] : nullptr;
}

int CDialogMusic::Channel() const
{
    return g_nInputView.load() == EQ_KIND_MIC_A ? 0 : 1;
}

bool CDialogMusic::MicView() const
{
    const int v = g_nInputView.load();
    return v == EQ_KIND_MIC_A || v == EQ_KIND_MIC_B;
}

void CDialogMusic::Relabel()
{
    ApplyLanguage();
}

void CDialogMusic::ApplyLanguage()
{
    texts_.Apply();
    RebuildParamRows();
    eq_->Relabel();
    RefreshInputPage();
    paramCaption_->setText(Pair(InputParamName(paramRow_)));
}

void CDialogMusic::RebuildParamRows()
{
    QStringList titles;
    for (const TextPair& t : kParamColumns) {
        titles << Pair(t);
    }
    params_->setHorizontalHeaderLabels(titles);
    FitParamRows();
    const QSignalBlocker block(params_);
    for (int r = 0; r < kInputParamRows; ++r) {
        const QString texts[3] = {QString::number(r + 1), Pair(InputParamName(r)), QString()};
        const Qt::Alignment align[3] = {Qt::AlignCenter, Qt::AlignLeft | Qt::AlignVCenter,
                                        Qt::AlignCenter};
        for (int c = 0; c < 3; ++c) {
            auto* item = new QTableWidgetItem(texts[c]);
            item->setTextAlignment(align[c]);
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            params_->setItem(r, c, item);
        }
    }
    params_->selectRow(paramRow_);
}

void CDialogMusic::FitParamRows()
{
    // The eight rows share the list's height below the header, whatever the style's sizes.
    params_->ensurePolished();
    params_->verticalHeader()->setMinimumSectionSize(1);
    const int header = params_->horizontalHeader()->sizeHint().height();
    const int rowHeight =
        std::max(12, (params_->height() - header - 2 * params_->frameWidth()) / kInputParamRows);
    params_->verticalHeader()->setDefaultSectionSize(rowHeight);
}

void CDialogMusic::showEvent(QShowEvent* event)
{
    CPageBase::showEvent(event);
    FitParamRows();
}

void CDialogMusic::SetInputView(int view)
{
    g_nInputView = view;
    RefreshInputPage();
}

void CDialogMusic::RefreshInputPage()
{
    const int view = g_nInputView.load();
    // 1. Routing.
    for (int port = 0; port < 4; ++port) {
        const bool toA = ParamStore.GetInt(PRM_MICPORT1_TO_A + port) != 0;
        RouteRadio(port, toA ? 0 : 1)->setChecked(true);
    }
    // 2. View buttons and the effect controls, which only the mic views use.
    const int views[3] = {EQ_KIND_MIC_A, EQ_KIND_MIC_B, EQ_KIND_MUSIC};
    for (size_t i = 0; i < 3; ++i) {
        viewButtons_[i]->SetChecked(views[i] == view);
    }
    const bool mic = MicView();
    for (QWidget* w : std::initializer_list<QWidget*>{params_, paramSlider_, paramEdit_,
                                                      paramCaption_, reverbPanel_, echoPanel_}) {
        w->setEnabled(mic);
    }
    // 3. Mic port sliders.
    for (int port = 0; port < 4; ++port) {
        const size_t p = static_cast<size_t>(port);
        const int gate = ParamStore.GetInt(PRM_MICPORT1_NG + port);
        const int vol = ParamStore.GetInt(PRM_MICPORT1_VOL + port);
        gates_[p]->SetPos(gate);
        volumes_[p]->SetPos(vol);
        gateValues_[p]->setText(QString::number(gate));
        volumeValues_[p]->setText(QString::number(vol));
    }
    // 4. and 5. List mode and the EQ.
    RefreshEq();
    // 7. Parameter list.
    RefreshParamRows();
    // 8. Small panels.
    RefreshSmallPanels();
}

void CDialogMusic::RefreshEq()
{
    const int view = g_nInputView.load();
    eq_->SetKind(view);
    // 6. The number column in the colour of the view.
    eq_->SetNumberColours(NumberColour(view), kNumberOnDark);
    eq_->Refresh();
}

void CDialogMusic::SetRowValueText(int row, const QString& text)
{
    if (QTableWidgetItem* item = params_->item(row, 2)) {
        item->setText(text);
    }
}

void CDialogMusic::RefreshParamRows()
{
    const int channel = Channel();
    const QColor colour = MicView() ? kParamTextMic : kParamTextMusic;
    for (int r = 0; r < kInputParamRows; ++r) {
        SetRowValueText(r, Utf8(InputParamText(r, InputParamValue(r, channel))));
        for (int c = 0; c < 3; ++c) {
            if (QTableWidgetItem* item = params_->item(r, c)) {
                item->setForeground(c == 0 ? QColor(160, 160, 150) : colour);
            }
        }
    }
    const int value = InputParamValue(paramRow_, channel);
    paramEdit_->setText(Utf8(InputParamText(paramRow_, value)));
    if (MicView()) {
        const ParamRange range = InputParamRange(paramRow_);
        paramSlider_->SetRange(range.minimum, range.maximum);
        paramSlider_->SetPos(std::clamp(value, range.minimum, range.maximum));
    }
}

void CDialogMusic::RefreshSmallPanels()
{
    const int view = g_nInputView.load();
    const bool a = view == EQ_KIND_MIC_A;
    const int reverbKind = a ? EQ_KIND_REVERB_A : EQ_KIND_REVERB_B;
    const int echoKind = a ? EQ_KIND_ECHO_A : EQ_KIND_ECHO_B;
    LoadSmallPanelBands(*reverbPanel_, reverbKind);
    LoadSmallPanelBands(*echoPanel_, echoKind);
    reverbPanel_->SetCurveColour(SmallCurveColour(view));
    echoPanel_->SetCurveColour(SmallCurveColour(view));
    reverbPanel_->SetBypass(ParamStore.GetInt(EqBypassCell(reverbKind)) != 0);
    echoPanel_->SetBypass(ParamStore.GetInt(EqBypassCell(echoKind)) != 0);
}

void CDialogMusic::SelectParam(int row)
{
    if (row < 0 || row >= kInputParamRows) {
        return;
    }
    paramRow_ = row;
    {
        const QSignalBlocker block(params_);
        params_->selectRow(row);
    }
    const ParamRange range = InputParamRange(row);
    const int value = InputParamValue(row, Channel());
    paramSlider_->SetRange(range.minimum, range.maximum);
    paramSlider_->SetPos(std::clamp(value, range.minimum, range.maximum));
    paramEdit_->setText(Utf8(InputParamText(row, value)));
    paramCaption_->setText(Pair(InputParamName(row)));
}

void CDialogMusic::ApplyParam(int row, int v)
{
    if (row < 0 || row >= kInputParamRows) {
        return;
    }
    const int channel = Channel();
    const ParamApplyResult result = ApplyInputParam(row, channel, v);
    if (result.reverbPredelay != 0) {
        SetRowValueText(PARAM_REVERB_PREDELAY,
                        Utf8(InputParamText(PARAM_REVERB_PREDELAY, result.reverbPredelay)));
    }
    const QString text = Utf8(InputParamText(row, InputParamValue(row, channel)));
    SetRowValueText(row, text);
    paramEdit_->setText(text);
    if (result.notice && shell_) {
        shell_->ShowInfo(Pair(*result.notice), kParamNoticeMs);
    }
}

void CDialogMusic::OnSliderMoved(int controlId, int position)
{
    if (controlId == IDC_MUSIC_PARAM_SLIDER) {
        ApplyParam(paramRow_, position);
        return;
    }
    if (controlId >= IDC_MUSIC_NG_SLIDER && controlId < IDC_MUSIC_NG_SLIDER + 4) {
        const int port = controlId - IDC_MUSIC_NG_SLIDER;
        SetMicPortNoiseGate(port, position);
        gateValues_[static_cast<size_t>(port)]->setText(QString::number(position));
    } else if (controlId >= IDC_MUSIC_VOL_SLIDER && controlId < IDC_MUSIC_VOL_SLIDER + 4) {
        const int port = controlId - IDC_MUSIC_VOL_SLIDER;
        SetMicPortVolume(port, position);
        volumeValues_[static_cast<size_t>(port)]->setText(QString::number(position));
    }
}

void CDialogMusic::OpenEffect(bool reverb)
{
    if (!MicView() || !shell_) {
        return;
    }
    const bool a = g_nInputView.load() == EQ_KIND_MIC_A;
    g_nEffectKind =
        reverb ? (a ? EQ_KIND_REVERB_A : EQ_KIND_REVERB_B) : (a ? EQ_KIND_ECHO_A : EQ_KIND_ECHO_B);
    shell_->ShowPage(PageKind::Efx);
}

void CDialogMusic::PollMeters()
{
    if (!status_) {
        return;
    }
    for (int i = 0; i < 10; ++i) {
        meters_[static_cast<size_t>(i)]->SetData(status_(i));
    }
}

void CDialogMusic::resizeEvent(QResizeEvent* event)
{
    CPageBase::resizeEvent(event);
    const QSize size = event->size();
    const QRect p = DluRect(194, 164, 472, 147);
    const QRect b = DluRect(1, 169, 189, 142);
    eq_->SetGeometry(QRect(p.topLeft(), QPoint(size.width() - 1, size.height() - 1)),
                     QRect(b.x(), b.y(), b.width(), std::max(0, size.height() - b.y())));
}

void CDialogMusic::OnParamWheel(int step)
{
    paramSlider_->SetPos(paramSlider_->GetPos() + step);
    ApplyParam(paramRow_, paramSlider_->GetPos());
}

static const PageRegistration g_musicPage(PageKind::Music,
                                          [](PageShell& shell, QWidget* parent) -> CPageBase* {
                                              return new CDialogMusic(&shell, parent);
                                          });
