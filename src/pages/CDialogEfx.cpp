#include "pages/CDialogEfx.h"

#include "controls/CGdiPlusBitmapResource.h"
#include "controls/CGdipButton.h"
#include "dsp/EqBands.h"
#include "eq/CEqBandList.h"
#include "eq/CEqPanel.h"
#include "i18n/DialogIds.h"
#include "i18n/Language.h"
#include "model/ParamStore.h"
#include "model/Setters.h"
#include "pages/DialogUnits.h"
#include "pages/EfxPictures.h"
#include "pages/EqKinds.h"
#include "pages/PageGlobals.h"
#include "pages/PageLook.h"
#include "pages/PanelLoading.h"

#include <QApplication>
#include <QLabel>
#include <QPixmap>
#include <QResizeEvent>
#include <QTimer>

#include <algorithm>

namespace {
bool IsEffectKind(int kind)
{
    return kind == EQ_KIND_REVERB_A || kind == EQ_KIND_ECHO_A || kind == EQ_KIND_REVERB_B ||
           kind == EQ_KIND_ECHO_B;
}
} // namespace

CDialogEfx::CDialogEfx(PageShell* shell, int kind, QWidget* parent)
    : CPageBase(parent), shell_(shell), texts_(this, IDD_DIALOG_EFX),
      effectKind_(IsEffectKind(kind) ? kind : EQ_KIND_REVERB_A)
{
    setObjectName(QStringLiteral("CDialogEfx"));
    InitEfxPictures();
    g_nEffectKind = effectKind_;
    ApplyPageBackground(this);
    ApplyDialogFont(this);

    title_ = new QLabel(this);
    title_->setGeometry(DluRect(17, 3, 142, 38));
    title_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    title_->setProperty("controlId", IDC_EFX_TITLE);

    back_ = new CGdipButton(this);
    back_->setObjectName(QStringLiteral("backButton"));
    back_->setGeometry(DluRect(609, 1, 58, 48));
    back_->LoadStdImage(kEfxBackPicture);
    back_->SetTextColor(Qt::white);
    back_->setProperty("controlId", IDC_EFX_BACK);
    back_->SetToolTipText(QString::fromUtf8(TextPair{"返回", "Back"}.Text()));
    connect(back_, &QPushButton::clicked, this, [this] {
        if (!shell_) {
            return;
        }
        // Replacing the page deletes it: leave the click handler first.
        PageShell* s = shell_;
        QObject* context = dynamic_cast<QObject*>(s);
        QTimer::singleShot(0, context ? context : qApp, [s] { s->ShowPage(PageKind::Music); });
    });

    panel_ = new CEqPanel(this);
    panel_->setObjectName(QStringLiteral("eqPanel"));
    panel_->setGeometry(DluRect(182, 155, 489, 159));
    panel_->SetBandCount(kEfxBands);

    bands_ = new CEqBandList(this);
    bands_->setGeometry(DluRect(0, 155, 179, 142));
    bands_->SetBandCount(kEfxBands);
    bands_->SetDialogId(IDD_DIALOG_EFX);
    bands_->SetBandWriter([this](int band, const EqBand& b) {
        SetEqBand(effectKind_, band, b.type, b.gain, b.freq, b.q);
    });
    bands_->AttachPanel(panel_);
    bands_->InstallWheelForwarding(this);
    // The band number in green on this page.
    QPalette number = bands_->NumberLabel()->palette();
    number.setColor(QPalette::WindowText, QColor(20, 200, 20));
    bands_->NumberLabel()->setPalette(number);
    connect(panel_, &CEqPanel::CopyPaste, this, &CDialogEfx::OnCopyPaste);

    texts_.Apply();
    panel_->SetLanguage(CurrentLanguage());
    bands_->Retranslate();
    SetTitlePicture();
    RefreshEffectEq();
    ShowListMode();
    RefreshEffectEq();
    resize(DluRect(0, 0, 674, 316).size());
}

CDialogEfx::~CDialogEfx() = default;

int CDialogEfx::EditBand() const
{
    return bands_->EditBand();
}

void CDialogEfx::SetTitlePicture()
{
    titleNumber_ = EfxTitlePicture(effectKind_, CurrentLanguage());
    const qreal ratio = devicePixelRatioF();
    CGdiPlusBitmapResource picture;
    if (picture.Load(titleNumber_, ratio)) {
        title_->setPixmap(QPixmap::fromImage(picture.Image()));
    } else {
        // Without the picture the title still names the EQ.
        title_->setPixmap(QPixmap());
        title_->setText(QString::fromUtf8(EqKindTitle(effectKind_, CurrentLanguage())));
    }
}

void CDialogEfx::ShowListMode()
{
    // Back to list mode, with the rows rebuilt from the panel's bands.
    bands_->CloseEditor();
    bands_->SetBandCount(kEfxBands);
}

void CDialogEfx::RefreshEffectEq()
{
    panel_->SetSelected(-1);
    panel_->update();
    panel_->setFocus(Qt::OtherFocusReason);
    panel_->SetPanelKind(effectKind_);
    panel_->SetBandCount(kEfxBands);
    LoadPanelBands(*panel_, effectKind_, kEfxBands);
    // The list follows the loaded bands without leaving the mode it is in.
    if (bands_->EditBand() == -1) {
        ShowListMode();
    } else {
        bands_->ShowBand(bands_->EditBand(), false);
    }
    const bool bypass = ParamStore.GetInt(EqBypassCell(effectKind_)) != 0;
    if (panel_->Bypass() != bypass) {
        panel_->SetBypass(bypass);
    }
}

void CDialogEfx::SwitchEffectKind(int kind)
{
    if (!IsEffectKind(kind)) {
        return;
    }
    effectKind_ = kind;
    g_nEffectKind = kind;
    SetTitlePicture();
    ShowListMode();
    RefreshEffectEq();
    texts_.Apply();
    bands_->Retranslate();
    SetTitlePicture();
    RefreshEffectEq();
}

void CDialogEfx::Refresh()
{
    const int requested = g_nEffectKind.load();
    if (requested != effectKind_ && IsEffectKind(requested)) {
        SwitchEffectKind(requested);
        return;
    }
    RefreshEffectEq();
}

void CDialogEfx::Relabel()
{
    texts_.Apply();
    panel_->SetLanguage(CurrentLanguage());
    bands_->Retranslate();
    SetTitlePicture();
    RefreshEffectEq();
}

bool CDialogEfx::EqBypass() const
{
    return ParamStore.GetInt(EqBypassCell(effectKind_)) != 0;
}

void CDialogEfx::SetEqBypass(bool on)
{
    SetParamCell(EqBypassCell(effectKind_), on ? 1 : 0);
    if (panel_->Bypass() != on) {
        panel_->SetBypass(on);
    }
}

void CDialogEfx::ResetEq()
{
    ::ResetEq(effectKind_);
    ShowListMode();
    RefreshEffectEq();
}

void CDialogEfx::PickEqBand(int band)
{
    // Only bands 1 to 7 exist here: Ctrl+8, 9 and 0 pick nothing.
    if (band < 0 || band >= kEfxBands) {
        return;
    }
    bands_->PickBandByDigit(band + 1);
}

void CDialogEfx::OnCopyPaste(int action, int kind)
{
    EqCopyPaste(action, kind);
    if (action == 1) {
        RefreshEffectEq();
    }
}

void CDialogEfx::resizeEvent(QResizeEvent* event)
{
    CPageBase::resizeEvent(event);
    const QSize size = event->size();
    const QRect p = DluRect(182, 155, 489, 159);
    panel_->setGeometry(QRect(p.topLeft(), QPoint(size.width() - 1, size.height() - 1)));
    back_->move(size.width() - back_->width() - 2, 2);
}

static const PageRegistration
g_efxPage(PageKind::Efx, [](PageShell& shell, QWidget* parent) -> CPageBase* {
    return new CDialogEfx(&shell, g_nEffectKind.load(), parent);
});
