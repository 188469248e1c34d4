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
#include "pages/CEqSection.h"
#include "pages/DialogUnits.h"
#include "pages/EfxPictures.h"
#include "pages/EqKinds.h"
#include "pages/PageGlobals.h"
#include "pages/PageLook.h"

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
        shell_->ShowPage(PageKind::Music);
    });

    eq_ = new CEqSection(this, IDD_DIALOG_EFX);
    eq_->SetGeometry(DluRect(182, 155, 489, 159), DluRect(0, 155, 179, 142));
    eq_->SetKind(effectKind_);
    // The band number in green on this page.
    QPalette number = Bands()->NumberLabel()->palette();
    number.setColor(QPalette::WindowText, QColor(20, 200, 20));
    Bands()->NumberLabel()->setPalette(number);

    texts_.Apply();
    eq_->Relabel();
    SetTitlePicture();
    eq_->Refresh();
    resize(DluRect(0, 0, 674, 316).size());
}

CDialogEfx::~CDialogEfx() = default;

int CDialogEfx::EditBand() const
{
    return eq_->EditBand();
}

PageEq* CDialogEfx::Eq()
{
    return eq_;
}

CEqPanel* CDialogEfx::Panel() const
{
    return eq_->Panel();
}

CEqBandList* CDialogEfx::Bands() const
{
    return eq_->Bands();
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

void CDialogEfx::RefreshEffectEq()
{
    // The list follows the loaded bands without leaving the mode it is in.
    eq_->SetKind(effectKind_);
    eq_->ReloadBands();
}

void CDialogEfx::SwitchEffectKind(int kind)
{
    if (!IsEffectKind(kind)) {
        return;
    }
    effectKind_ = kind;
    g_nEffectKind = kind;
    eq_->SetKind(kind);
    texts_.Apply();
    eq_->Relabel();
    SetTitlePicture();
    eq_->Refresh();
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
    eq_->Relabel();
    SetTitlePicture();
    RefreshEffectEq();
}

void CDialogEfx::resizeEvent(QResizeEvent* event)
{
    CPageBase::resizeEvent(event);
    const QSize size = event->size();
    const QRect p = DluRect(182, 155, 489, 159);
    eq_->SetGeometry(QRect(p.topLeft(), QPoint(size.width() - 1, size.height() - 1)),
                     eq_->ListRect());
    back_->move(size.width() - back_->width() - 2, 2);
}

static const PageRegistration
g_efxPage(PageKind::Efx, [](PageShell& shell, QWidget* parent) -> CPageBase* {
    return new CDialogEfx(&shell, g_nEffectKind.load(), parent);
});
