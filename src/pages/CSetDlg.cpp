#include "pages/CSetDlg.h"

#include "app/DeviceSession.h"
#include "controls/CGdipButton.h"
#include "controls/CXBmpSlider.h"
#include "eq/CEqWheelForwarder.h"
#include "i18n/DialogIds.h"
#include "i18n/Language.h"
#include "pages/DialogUnits.h"
#include "pages/PageLook.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace {
constexpr int kMicStart = 0;
constexpr int kMusicStart = 1;
constexpr int kMicMax = 2;
constexpr int kMusicMax = 3;

QString Pair(const TextPair& p)
{
    return QString::fromUtf8(p.Text());
}

QGroupBox* MakeGroup(QWidget* parent, const QRect& r)
{
    auto* g = new QGroupBox(parent);
    g->setGeometry(r);
    return g;
}

StartVolume Which(int index)
{
    return index % 2 == 0 ? StartVolume::Mic : StartVolume::Music;
}
} // namespace

CSetDlg::CSetDlg(PageShell* shell, QWidget* parent)
    : CToolWindowBase(parent), shell_(shell), texts_(this, IDD_DIALOG_SET)
{
    setObjectName(QStringLiteral("CSetDlg"));
    ApplyPageBackground(this);
    ApplyDialogFont(this);
    setFixedSize(DluRect(0, 0, 300, 250).size());
    setWindowTitle(QStringLiteral("机器设置"));

    texts_.Bind(MakeGroup(this, DluRect(7, 4, 286, 50)), IDC_SET_START_GROUP,
                QStringLiteral("开机音量"));
    texts_.Bind(MakeGroup(this, DluRect(7, 58, 286, 50)), IDC_SET_MAX_GROUP,
                QStringLiteral("限制最大音量"));

    const char* builtIn[kSliders] = {"话筒开机音量", "音乐开机音量", "话筒最大音量",
                                     "音乐最大音量"};
    const int captionIds[kSliders] = {IDC_SET_MIC_START_CAPTION, IDC_SET_MUSIC_START_CAPTION,
                                      IDC_SET_MIC_MAX_CAPTION, IDC_SET_MUSIC_MAX_CAPTION};
    const int rowY[kSliders] = {17, 35, 71, 89};
    auto* wheel = new CEqWheelForwarder(this);
    for (int i = 0; i < kSliders; ++i) {
        const size_t s = static_cast<size_t>(i);
        const int y = rowY[i];
        captions_[s] = MakeStatic(this, DluRect(14, y + 2, 66, 10));
        texts_.Bind(captions_[s], captionIds[i], QString::fromUtf8(builtIn[i]));

        auto* slider = new CXBmpSlider(this, IDC_SET_SLIDER_FIRST + i);
        slider->SetupHorizontal();
        const QRect r = DluRect(82, y, 140, 14);
        slider->SetChannelSize(r.size());
        slider->setGeometry(r);
        slider->SetRange(i < 2 ? 0 : kMaxVolumeBottom, kStartVolumeTop);
        connect(slider, &CXBmpSlider::SliderMoved, this, &CSetDlg::OnSliderMoved);
        wheel->AddTarget(slider);
        sliders_[s] = slider;

        values_[s] = MakeStatic(this, DluRect(225, y + 2, 26, 10));
    }
    const int enableIds[2] = {IDC_SET_MIC_START_ENABLE, IDC_SET_MUSIC_START_ENABLE};
    for (int i = 0; i < 2; ++i) {
        auto* box = new QCheckBox(this);
        box->setGeometry(DluRect(253, rowY[i] + 1, 38, 12));
        texts_.Bind(box, enableIds[i], QStringLiteral("启用"));
        connect(box, &QCheckBox::clicked, this, [this, i](bool on) {
            ShowStart(i, SetStartVolumeEnabled(Which(i), on));
            if (shell_) {
                shell_->MasterVolumesChanged();
            }
        });
        enables_[static_cast<size_t>(i)] = box;
    }

    texts_.Bind(MakeGroup(this, DluRect(7, 112, 140, 40)), IDC_SET_SAVE_GROUP,
                QStringLiteral("主音量保存模式"));
    const char* saveTexts[2] = {"随开关机保存", "随模式保存"};
    for (int m = 0; m < 2; ++m) {
        auto* radio = new QRadioButton(this);
        radio->setGeometry(DluRect(14, 124 + 13 * m, 126, 11));
        texts_.Bind(radio, IDC_SET_BY_POWER + m, QString::fromUtf8(saveTexts[m]));
        connect(radio, &QRadioButton::clicked, this, [m] { SetVolumeSaveMode(m); });
        saveModes_[static_cast<size_t>(m)] = radio;
    }

    texts_.Bind(MakeGroup(this, DluRect(153, 112, 140, 40)), IDC_SET_PHASE_GROUP,
                QStringLiteral("话筒反相"));
    const char* phaseTexts[2] = {"话筒1组反相", "话筒2组反相"};
    for (int c = 0; c < 2; ++c) {
        auto* box = new QCheckBox(this);
        box->setGeometry(DluRect(160, 124 + 13 * c, 126, 11));
        texts_.Bind(box, IDC_SET_MIC1_REVERSE + c, QString::fromUtf8(phaseTexts[c]));
        connect(box, &QCheckBox::clicked, this, [c](bool on) { SetMicPhaseReversed(c, on); });
        phases_[static_cast<size_t>(c)] = box;
    }

    texts_.Bind(MakeGroup(this, DluRect(7, 156, 140, 32)), IDC_SET_RESET_GROUP,
                QStringLiteral("出厂机器模式"));
    for (int m = 0; m < 4; ++m) {
        auto* b = new CGdipButton(this);
        b->setGeometry(DluRect(14 + 32 * m, 169, 28, 13));
        b->LoadStdImage(413);
        b->LoadAltImage(395);
        b->SetTextColor(Qt::white);
        b->setAutoDefault(false);
        texts_.Bind(b, IDC_SET_MODE_FIRST + m, QStringLiteral("M%1").arg(m + 1));
        connect(b, &QPushButton::clicked, this, [this, m] { OnModeButton(m); });
        modes_[static_cast<size_t>(m)] = b;
    }

    texts_.Bind(MakeGroup(this, DluRect(153, 156, 140, 32)), IDC_SET_POWER_GROUP,
                QStringLiteral("开机指定模式"));
    powerOn_ = new QComboBox(this);
    powerOn_->setGeometry(DluRect(160, 168, 80, 14));
    powerOn_->addItems({QStringLiteral("Auto"), QStringLiteral("M1"), QStringLiteral("M2"),
                        QStringLiteral("M3"), QStringLiteral("M4")});
    connect(powerOn_, &QComboBox::activated, this, [](int index) { SetPowerOnMode(index); });

    MakeGroup(this, DluRect(7, 192, 286, 26));
    lockPanel_ = new QCheckBox(this);
    lockPanel_->setGeometry(DluRect(14, 202, 86, 11));
    texts_.Bind(lockPanel_, IDC_SET_LOCK_PANEL, QStringLiteral("锁定面板"));
    connect(lockPanel_, &QCheckBox::clicked, this, [this](bool on) {
        SetPanelLock(on);
        ShowLockBoxes(on);
    });
    lockVolume_ = new QCheckBox(this);
    lockVolume_->setGeometry(DluRect(104, 202, 86, 11));
    texts_.Bind(lockVolume_, IDC_SET_LOCK_VOLUME, QStringLiteral("锁定音量"));
    connect(lockVolume_, &QCheckBox::clicked, this, [](bool on) { SetLockVolume(on); });
    lockMode_ = new QCheckBox(this);
    lockMode_->setGeometry(DluRect(194, 202, 86, 11));
    texts_.Bind(lockMode_, IDC_SET_LOCK_MODE, QStringLiteral("锁定模式"));
    connect(lockMode_, &QCheckBox::clicked, this, [](bool on) { SetLockMode(on); });

    apply_ = new QPushButton(this);
    apply_->setGeometry(DluRect(163, 226, 60, 16));
    texts_.Bind(apply_, IDC_SET_APPLY, QStringLiteral("应用设置"));
    connect(apply_, &QPushButton::clicked, this, &CSetDlg::OnApply);
    cancel_ = new QPushButton(this);
    cancel_->setGeometry(DluRect(229, 226, 60, 16));
    texts_.Bind(cancel_, IDC_SET_CANCEL, QStringLiteral("取消设置"));
    connect(cancel_, &QPushButton::clicked, this, &CSetDlg::reject);
    // Enter does nothing: no button is the default.
    for (QPushButton* b : findChildren<QPushButton*>()) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }

    Refresh();
    Relabel();
}

CSetDlg::~CSetDlg() = default;

void CSetDlg::Refresh()
{
    filling_ = true;
    const MachineSettingsShown shown = BeginMachineSettingsEdit();
    ShowStart(kMicStart, shown.mic);
    ShowStart(kMusicStart, shown.music);
    const int maxima[2] = {shown.micMax, shown.musicMax};
    for (int i = kMicMax; i <= kMusicMax; ++i) {
        sliders_[static_cast<size_t>(i)]->SetPos(maxima[i - kMicMax]);
        values_[static_cast<size_t>(i)]->setText(QString::number(maxima[i - kMicMax]));
    }
    saveModes_[static_cast<size_t>(shown.saveMode)]->setChecked(true);
    phases_[0]->setChecked(shown.micAReversed);
    phases_[1]->setChecked(shown.micBReversed);
    lockPanel_->setChecked(shown.panelLock);
    lockVolume_->setChecked(shown.lockVolume);
    lockMode_->setChecked(shown.lockMode);
    ShowLockBoxes(shown.panelLock);
    powerOn_->setCurrentIndex(shown.powerOnMode);
    const int current = shell_ ? shell_->Session().CurrentMode() : -1;
    for (int m = 0; m < 4; ++m) {
        modes_[static_cast<size_t>(m)]->SetChecked(m == current);
    }
    filling_ = false;
}

void CSetDlg::Relabel()
{
    texts_.Apply();
    // The disabled start volumes' texts are drawn in code.
    const MachineSettingsShown shown = ShowMachineSettings(WorkingMachineSettings());
    ShowStart(kMicStart, shown.mic);
    ShowStart(kMusicStart, shown.music);
}

void CSetDlg::ShowStart(int index, const StartVolumeShown& shown)
{
    const size_t s = static_cast<size_t>(index);
    CXBmpSlider* slider = sliders_[s];
    slider->SetRange(0, shown.rangeMax);
    slider->SetPos(shown.position);
    slider->SetSliderEnabled(shown.enabled);
    captions_[s]->setEnabled(shown.enabled);
    values_[s]->setEnabled(shown.enabled);
    values_[s]->setText(shown.enabled ? QString::number(shown.value) : Pair({"无效", "Invalid"}));
    enables_[s]->setChecked(shown.enabled);
}

void CSetDlg::ShowLockBoxes(bool panelLocked)
{
    lockVolume_->setEnabled(panelLocked);
    lockMode_->setEnabled(panelLocked);
}

void CSetDlg::OnSliderMoved(int controlId, int position)
{
    const int i = controlId - IDC_SET_SLIDER_FIRST;
    if (filling_ || i < 0 || i >= kSliders) {
        return;
    }
    if (i == kMicStart || i == kMusicStart) {
        ShowStart(i, SetStartVolume(Which(i), position));
    } else {
        values_[static_cast<size_t>(i)]->setText(QString::number(position));
        ShowStart(i - kMicMax, SetMaxVolume(Which(i), position));
    }
    // Start volumes are written at once: the ribbon's volume sliders follow.
    if (shell_) {
        shell_->MasterVolumesChanged();
    }
}

void CSetDlg::OnApply()
{
    ApplyMachineSettings();
    if (shell_) {
        shell_->ShowInfo(Pair({"机器设置已生效!", "Setting valid"}), 1100);
    }
}

void CSetDlg::OnModeButton(int mode)
{
    if (!shell_ || !shell_->Session().IsConnected()) {
        return;
    }
    shell_->Session().ResetMode(mode);
}

void CSetDlg::reject()
{
    CancelMachineSettingsEdit();
    CToolWindowBase::reject();
}

void CSetDlg::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    CToolWindowBase::keyPressEvent(event);
}

static const PageRegistration g_machineSettings(ToolKind::MachineSettings,
                                                [](PageShell& shell,
                                                   QWidget* parent) -> CToolWindowBase* {
                                                    return new CSetDlg(&shell, parent);
                                                });
