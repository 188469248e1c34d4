#pragma once
// The sound-field page: the room plan where the listener and the eight speakers are placed,
// by dragging them in the drawing or typing their positions, and the room size. Each speaker
// gets a level from its distance to the listener; the geometry is kept in the processor's
// memory.

#include "pageapi/PageRegistry.h"
#include "pages/DialogTextBinder.h"

#include <array>

class COutputNavBar;
class CSSVolumePanel;
class CSpinButton;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

class CSSVCDlg : public CPageBase
{
    Q_OBJECT

public:
    explicit CSSVCDlg(PageShell* shell, QWidget* parent = nullptr);
    ~CSSVCDlg() override;

    PageKind Kind() const override { return PageKind::SoundField; }
    // Loads the page from the program-wide geometry; writes nothing.
    void Refresh() override;
    void Relabel() override;

    // Point 0 the listener, 1..8 the speakers.
    QLineEdit* XEdit(int point) const { return xEdits_[static_cast<size_t>(point)]; }
    QLineEdit* YEdit(int point) const { return yEdits_[static_cast<size_t>(point)]; }
    CSpinButton* XSpin(int point) const { return xSpins_[static_cast<size_t>(point)]; }
    CSpinButton* YSpin(int point) const { return ySpins_[static_cast<size_t>(point)]; }
    QLineEdit* WidthEdit() const { return widthEdit_; }
    QLineEdit* LengthEdit() const { return lengthEdit_; }
    CSpinButton* WidthSpin() const { return widthSpin_; }
    CSpinButton* LengthSpin() const { return lengthSpin_; }
    QPushButton* ModifyButton() const { return modify_; }
    QPushButton* ResetButton() const { return reset_; }
    QPushButton* CenterButton() const { return center_; }
    CSSVolumePanel* Panel() const { return panel_; }
    COutputNavBar* NavBar() const { return nav_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();
    void ShowNavSelection();
    void LoadFromGeometry();
    void ShowPoint(int point, float x, float y, bool setSpins);
    void ShowLevels();
    void SetPositionRanges(int width, int length);
    // A position typed (Enter) or stepped in the boxes of `point`.
    void ApplyTypedPosition(int point, bool setSpins);
    void OnPositionStepped(int point, bool yAxis, int tenths);
    void OnPointMoved(int point, float x, float y);
    void ApplyRoomSize(int width, int length);
    void OnModify();
    void OnCenter();
    void OnReset();

    PageShell* shell_;
    DialogTextBinder texts_;
    COutputNavBar* nav_ = nullptr;
    CSSVolumePanel* panel_ = nullptr;
    QLineEdit* widthEdit_ = nullptr;
    QLineEdit* lengthEdit_ = nullptr;
    CSpinButton* widthSpin_ = nullptr;
    CSpinButton* lengthSpin_ = nullptr;
    QPushButton* modify_ = nullptr;
    QPushButton* reset_ = nullptr;
    QPushButton* center_ = nullptr;
    std::array<QLineEdit*, 9> xEdits_{};
    std::array<QLineEdit*, 9> yEdits_{};
    std::array<CSpinButton*, 9> xSpins_{};
    std::array<CSpinButton*, 9> ySpins_{};
};
