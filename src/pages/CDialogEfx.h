#pragma once
// The echo and reverb EQ page: the seven-band EQ of one effect path (reverb or echo of mic
// channel A or B) with its band list and editor, a title picture naming it and a button back
// to the input page.

#include "pageapi/PageRegistry.h"
#include "pages/DialogTextBinder.h"

class CEqBandList;
class CEqPanel;
class CEqSection;
class CGdipButton;
class QLabel;

enum DialogEfxIds : int
{
    IDC_EFX_TITLE = 1258,
    IDC_EFX_BACK = 1068,
    IDC_EFX_EQ_PANEL = 1040,
};

class CDialogEfx : public CPageBase
{
    Q_OBJECT

public:
    static constexpr int kEfxBands = 7;

    // Shows effect kind `kind` (6 reverb A, 7 echo A, 9 reverb B, 10 echo B; anything else is
    // taken as 6). `shell` may be null (tests): the back button then does nothing.
    CDialogEfx(PageShell* shell, int kind, QWidget* parent = nullptr);
    ~CDialogEfx() override;

    // CPageBase. Refresh also follows a new effect kind requested through g_nEffectKind.
    PageKind Kind() const override { return PageKind::Efx; }
    void Refresh() override;
    void Relabel() override;
    PageEq* Eq() override;

    void SwitchEffectKind(int kind);
    void RefreshEffectEq();

    int EffectKind() const { return effectKind_; }
    int EditBand() const;
    int TitlePicture() const { return titleNumber_; }

    CEqSection* EqSection() const { return eq_; }
    CEqPanel* Panel() const;
    CEqBandList* Bands() const;
    CGdipButton* BackButton() const { return back_; }
    QLabel* Title() const { return title_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void SetTitlePicture();

    PageShell* shell_;
    DialogTextBinder texts_;
    int effectKind_;
    int titleNumber_ = -1;
    QLabel* title_ = nullptr;
    CGdipButton* back_ = nullptr;
    CEqSection* eq_ = nullptr;
};
