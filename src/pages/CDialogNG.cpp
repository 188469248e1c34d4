#include "pages/CDialogNG.h"

#include "controls/CXBmpSlider.h"
#include "i18n/DialogIds.h"
#include "model/ParamIds.h"
#include "model/ParamStore.h"
#include "model/Setters.h"
#include "pages/DialogUnits.h"
#include "pages/PageLook.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QWheelEvent>

#include <algorithm>

namespace {
constexpr int kCells[CDialogNG::kSliders] = {PRM_MIC_NG_ATTACK, PRM_MIC_NG_RELEASE,
                                             PRM_MUSIC_NG_ATTACK, PRM_MUSIC_NG_RELEASE};
constexpr int kRowY[CDialogNG::kSliders] = {29, 53, 100, 127};

// The cells hold 101 - slider position: further right is a shorter time.
void StoreTime(int index, int stored)
{
    switch (index) {
    case 0:
        SetMicNoiseGateAttack(stored);
        break;
    case 1:
        SetMicNoiseGateRelease(stored);
        break;
    case 2:
        SetMusicNoiseGateAttack(stored);
        break;
    case 3:
        SetMusicNoiseGateRelease(stored);
        break;
    default:
        break;
    }
}
} // namespace

CDialogNG::CDialogNG(PageShell* shell, QWidget* parent)
    : CToolWindowBase(parent), shell_(shell), texts_(this, IDD_DIALOG_NG)
{
    setObjectName(QStringLiteral("CDialogNG"));
    setModal(true);
    ApplyPageBackground(this);
    ApplyDialogFont(this);
    // A little taller than the template, so the buttons stand clear of the Music group
    // and of the bottom edge.
    setFixedSize(DluRect(0, 0, 199, 167).size());
    setWindowTitle(QStringLiteral("噪声门设置"));

    groups_[0] = new QGroupBox(this);
    groups_[0]->setGeometry(DluRect(7, 13, 185, 59));
    texts_.Bind(groups_[0], IDC_NG_MIC_GROUP, QStringLiteral("话筒噪声门"));
    groups_[1] = new QGroupBox(this);
    groups_[1]->setGeometry(DluRect(7, 84, 185, 59));
    texts_.Bind(groups_[1], IDC_NG_MUSIC_GROUP, QStringLiteral("音乐噪声门"));

    for (int i = 0; i < kSliders; ++i) {
        const size_t s = static_cast<size_t>(i);
        const int y = kRowY[i];
        auto* caption = new QLabel(this);
        caption->setGeometry(DluRect(13, y + 2, 51, 10));
        texts_.Bind(caption, IDC_NG_CAPTION_FIRST + i,
                    i % 2 == 0 ? QStringLiteral("启动时间") : QStringLiteral("关闭时间"));
        captions_[s] = caption;

        auto* slider = new CXBmpSlider(this, IDC_NG_SLIDER_FIRST + i);
        slider->SetupHorizontal();
        const QRect r = DluRect(65, y, 87, 14);
        slider->SetChannelSize(r.size());
        slider->setGeometry(r);
        slider->SetRange(1, 100);
        connect(slider, &CXBmpSlider::SliderMoved, this, &CDialogNG::OnSliderMoved);
        sliders_[s] = slider;

        auto* readout = new QLabel(this);
        readout->setGeometry(DluRect(155, y + 2, 24, 11));
        readout->setProperty("controlId", IDC_NG_READOUT_FIRST + i);
        readouts_[s] = readout;
    }
    for (QLabel* l : captions_) {
        l->raise();
    }

    ok_ = new QPushButton(this);
    ok_->setGeometry(DluRect(36, 148, 50, 14));
    texts_.Bind(ok_, IDC_DIALOG_OK, QStringLiteral("确定"));
    ok_->setDefault(true);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    cancel_ = new QPushButton(this);
    cancel_->setGeometry(DluRect(97, 148, 50, 14));
    texts_.Bind(cancel_, IDC_DIALOG_CANCEL, QStringLiteral("取消"));
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);

    // Wheel messages anywhere over the dialog go to the focused slider.
    installEventFilter(this);
    for (QWidget* child : findChildren<QWidget*>()) {
        child->installEventFilter(this);
    }

    Refresh();
    Relabel();
}

CDialogNG::~CDialogNG() = default;

void CDialogNG::Refresh()
{
    for (int i = 0; i < kSliders; ++i) {
        const int stored = ParamStore.GetInt(kCells[i]);
        // Clamped in int64 so that any cell value maps to a slider end.
        const long long pos = std::clamp(101LL - stored, 1LL, 100LL);
        sliders_[static_cast<size_t>(i)]->SetPos(static_cast<int>(pos));
        readouts_[static_cast<size_t>(i)]->setText(QString::number(101LL - stored));
    }
}

void CDialogNG::Relabel()
{
    texts_.Apply();
}

void CDialogNG::OnSliderMoved(int controlId, int position)
{
    const int i = controlId - IDC_NG_SLIDER_FIRST;
    if (i < 0 || i >= kSliders) {
        return;
    }
    StoreTime(i, 101 - position);
    readouts_[static_cast<size_t>(i)]->setText(QString::number(position));
}

bool CDialogNG::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::Wheel) {
        return CToolWindowBase::eventFilter(watched, event);
    }
    // The wheel goes to the slider with the focus, wherever the pointer is over the dialog.
    QWidget* focus = QApplication::focusWidget();
    for (CXBmpSlider* s : sliders_) {
        if (s == focus) {
            if (watched != s) {
                const auto* w = static_cast<QWheelEvent*>(event);
                QWheelEvent copy(s->mapFromGlobal(w->globalPosition()), w->globalPosition(),
                                 w->pixelDelta(), w->angleDelta(), w->buttons(), w->modifiers(),
                                 w->phase(), w->inverted(), w->source());
                QApplication::sendEvent(s, &copy);
                return true;
            }
            return false;
        }
    }
    return CToolWindowBase::eventFilter(watched, event);
}

static const PageRegistration
g_noiseGate(ToolKind::NoiseGate, [](PageShell& shell, QWidget* parent) -> CToolWindowBase* {
    return new CDialogNG(&shell, parent);
});
