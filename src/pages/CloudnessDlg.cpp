#include "pages/CloudnessDlg.h"

#include "app/DeviceSession.h"
#include "controls/CXBmpSlider.h"
#include "dsp/Features.h"
#include "eq/CEqWheelForwarder.h"
#include "i18n/DialogIds.h"
#include "pages/DialogUnits.h"
#include "pages/PageLook.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>

namespace {
struct SliderRow
{
    int captionId; // 0: none
    const char* caption;
    int y;
    int minimum;
    int maximum;
};

// clang-format off
constexpr SliderRow kRows[CloudnessDlg::SLIDER_COUNT] = {
    {0, nullptr, 17, 0, kMicBoostMax},
    {IDC_FEAT_LPF_FREQ_CAPTION, "音乐低频频率", 55, kMusicLowPassMinHz, kMusicLowPassMaxHz},
    {IDC_FEAT_LPF_DELAY_CAPTION, "音乐低频延时", 73, 0, kMusicLowPassDelayMax},
    {IDC_FEAT_LPF_GAIN_CAPTION, "音乐低频增益", 91, 0, kMusicLowPassGainMax},
    {IDC_FEAT_AGC_LEVEL_CAPTION, "AGC目标电平", 145, kMusicAgcMinTenths, kMusicAgcMaxTenths},
    {IDC_FEAT_SUB_CAPTION, "超低比例", 213, 0, kAutoSubMax},
};
// clang-format on
} // namespace

CloudnessDlg::CloudnessDlg(PageShell* shell, QWidget* parent)
    : CToolWindowBase(parent), shell_(shell), texts_(this, IDD_FEATURES)
{
    setObjectName(QStringLiteral("CloudnessDlg"));
    ApplyPageBackground(this);
    ApplyDialogFont(this);
    setFixedSize(DluRect(0, 0, 300, 262).size());
    setWindowTitle(QStringLiteral("特色功能"));

    const struct
    {
        int id;
        const char* text;
        QRect r;
    } groups[] = {
        {IDC_FEAT_BOOST_GROUP, "话筒激励", DluRect(7, 4, 286, 34)},
        {IDC_FEAT_MUSIC_GROUP, "音乐", DluRect(7, 42, 286, 70)},
        {IDC_FEAT_AGC_GROUP, "音乐AGC", DluRect(7, 116, 286, 64)},
        {IDC_FEAT_SUB_GROUP, "自动超低", DluRect(7, 184, 286, 72)},
    };
    for (const auto& g : groups) {
        auto* box = new QGroupBox(this);
        box->setGeometry(g.r);
        texts_.Bind(box, g.id, QString::fromUtf8(g.text));
    }

    auto* wheel = new CEqWheelForwarder(this);
    for (int i = 0; i < SLIDER_COUNT; ++i) {
        const SliderRow& row = kRows[i];
        if (row.caption) {
            texts_.Bind(MakeStatic(this, DluRect(14, row.y + 2, 70, 10)), row.captionId,
                        QString::fromUtf8(row.caption));
        }
        auto* slider = new CXBmpSlider(this, IDC_FEAT_SLIDER_FIRST + i);
        slider->SetupHorizontal();
        const QRect r = DluRect(86, row.y, 150, 14);
        slider->SetChannelSize(r.size());
        slider->setGeometry(r);
        slider->SetRange(row.minimum, row.maximum);
        connect(slider, &CXBmpSlider::SliderMoved, this, &CloudnessDlg::OnSliderMoved);
        wheel->AddTarget(slider);
        sliders_[static_cast<size_t>(i)] = slider;
        values_[static_cast<size_t>(i)] = MakeStatic(this, DluRect(240, row.y + 2, 48, 10));
    }

    const struct
    {
        int id;
        const char* text;
        QRect r;
    } boxes[BOX_COUNT] = {
        {IDC_FEAT_BOOST_ON, "启用", DluRect(14, 18, 66, 12)},
        {IDC_FEAT_AGC_ON, "启用", DluRect(14, 128, 66, 12)},
        {IDC_FEAT_SUB_ON, "启用", DluRect(14, 196, 66, 12)},
    };
    for (int b = 0; b < BOX_COUNT; ++b) {
        auto* box = new QCheckBox(this);
        box->setGeometry(boxes[b].r);
        texts_.Bind(box, boxes[b].id, QString::fromUtf8(boxes[b].text));
        boxes_[static_cast<size_t>(b)] = box;
    }
    connect(boxes_[BOOST_ON], &QCheckBox::clicked, this, [](bool on) { SetFeatureMicBoostOn(on); });
    connect(boxes_[AGC_ON], &QCheckBox::clicked, this, [this](bool on) {
        if (!SetFeatureMusicAgcOn(on)) {
            boxes_[AGC_ON]->setChecked(false); // older command sets have no AGC
        }
    });
    connect(boxes_[SUB_ON], &QCheckBox::clicked, this, [](bool on) { SetAutoSubOn(on); });

    texts_.Bind(MakeStatic(this, DluRect(86, 129, 200, 10)), IDC_FEAT_AGC_NOTE,
                QStringLiteral("音乐输入增益自动调节"));
    texts_.Bind(MakeStatic(this, DluRect(14, 163, 70, 10)), IDC_FEAT_MUSIC_LEVEL_CAPTION,
                QStringLiteral("音乐输入电平："));
    musicLevel_ = MakeStatic(this, DluRect(86, 163, 60, 10));
    auto* note = MakeStatic(this, DluRect(14, 230, 272, 22));
    note->setWordWrap(true);
    note->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    texts_.Bind(note, IDC_FEAT_SUB_NOTE,
                QStringLiteral("当检测到话筒信号时，超低音量自动调节成所设置的超低比例，1秒之后，超"
                               "低音量逐渐恢复成正常比例"));

    levelTimer_.setInterval(kLevelIntervalMs);
    connect(&levelTimer_, &QTimer::timeout, this, &CloudnessDlg::UpdateMusicLevel);
    levelTimer_.start();

    Refresh();
    Relabel();
}

CloudnessDlg::~CloudnessDlg() = default;

void CloudnessDlg::Refresh()
{
    const FeaturesShown s = ReadFeatures();
    boxes_[BOOST_ON]->setChecked(s.boostOn);
    sliders_[BOOST]->SetPos(s.boostDb);
    values_[BOOST]->setText(QStringLiteral("%1dB").arg(s.boostDb));
    sliders_[LPF_FREQ]->SetPos(s.lowPassHz);
    values_[LPF_FREQ]->setText(QString::asprintf("%.0fHz", s.lowPassStoredHz));
    sliders_[LPF_DELAY]->SetPos(s.lowPassDelayMs);
    values_[LPF_DELAY]->setText(QStringLiteral("%1ms").arg(s.lowPassDelayStored));
    sliders_[LPF_GAIN]->SetPos(s.lowPassGain);
    values_[LPF_GAIN]->setText(QStringLiteral("%1%").arg(s.lowPassGainStored));
    sliders_[SUB_LEVEL]->SetPos(s.autoSubLevel);
    values_[SUB_LEVEL]->setText(QStringLiteral("%1%").arg(s.autoSubStored));
    boxes_[SUB_ON]->setChecked(s.autoSubOn);
    boxes_[AGC_ON]->setChecked(s.agcOn);
    ShowAgc(s.agcTenths, s.agcDb);
    UpdateMusicLevel();
}

void CloudnessDlg::Relabel()
{
    texts_.Apply();
}

void CloudnessDlg::ShowAgc(int tenths, float dB)
{
    sliders_[AGC_LEVEL]->SetPos(tenths);
    values_[AGC_LEVEL]->setText(QString::asprintf("%.1fdB", static_cast<double>(dB)));
}

void CloudnessDlg::UpdateMusicLevel()
{
    const uint8_t byte = shell_ ? shell_->Session().StatusByte(14) : 0;
    musicLevel_->setText(QStringLiteral("%1dB").arg(MusicInputLevelDb(byte)));
}

void CloudnessDlg::OnSliderMoved(int controlId, int position)
{
    const int i = controlId - IDC_FEAT_SLIDER_FIRST;
    if (i < 0 || i >= SLIDER_COUNT) {
        return;
    }
    QLabel* value = values_[static_cast<size_t>(i)];
    switch (i) {
    case BOOST:
        SetFeatureMicBoost(position);
        value->setText(QStringLiteral("%1dB").arg(position));
        break;
    case LPF_FREQ:
        SetMusicLowPassFrequency(position);
        value->setText(QStringLiteral("%1Hz").arg(position));
        break;
    case LPF_DELAY:
        SetMusicLowPassDelay(position);
        value->setText(QStringLiteral("%1ms").arg(position));
        break;
    case LPF_GAIN:
        SetMusicLowPassGain(position);
        value->setText(QStringLiteral("%1%").arg(position));
        break;
    case AGC_LEVEL:
        if (SetFeatureMusicAgcTenths(position)) {
            value->setText(QString::asprintf("%.1fdB", position / 10.0));
        } else {
            // Older command sets: the slider stays where the window shows AGC.
            const FeaturesShown s = ReadFeatures();
            ShowAgc(s.agcTenths, s.agcDb);
        }
        break;
    case SUB_LEVEL:
        SetAutoSubLevel(position);
        value->setText(QStringLiteral("%1%").arg(position));
        break;
    default:
        break;
    }
}

static const PageRegistration g_features(ToolKind::Features,
                                         [](PageShell& shell, QWidget* parent) -> CToolWindowBase* {
                                             return new CloudnessDlg(&shell, parent);
                                         });
