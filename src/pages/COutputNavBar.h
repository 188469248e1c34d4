#pragma once
// The row of eight image buttons along the top of the output group's pages (output, delay,
// compressor, sound field): the five outputs, then the sound field, delay and compressor
// pages. A button asks the shell for its page; the shell keeps the output page and only
// changes its output when it is already shown.

#include <QWidget>

#include <array>

class CGdipButton;
class PageShell;
enum class PageKind;

// What each button shows, in the row's order.
struct OutputNavEntry
{
    PageKind page;
    int outputKind; // page kind of the output (5, 3, 2, 4, 11); -1 for the other pages
    const char* zh;
    const char* en;
};
inline constexpr int kOutputNavButtons = 8;
const std::array<OutputNavEntry, kOutputNavButtons>& OutputNavEntries();

class COutputNavBar : public QWidget
{
    Q_OBJECT

public:
    // `shell` may be null (tests): the buttons then only report Chosen.
    COutputNavBar(PageShell* shell, QWidget* parent);

    // The page the bar sits on and, on the output page, the output shown: that page's (or
    // that output's) button is drawn selected, the others normal.
    void SetCurrent(PageKind page, int outputKind);
    // The built-in captions of the language; the page's table, applied after, may replace them.
    void Relabel();
    // Presses button i (as a click does).
    void Choose(int index);

    CGdipButton* Button(int index) const { return buttons_[static_cast<size_t>(index)]; }
    QSize sizeHint() const override;

signals:
    void Chosen(int index);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    PageShell* shell_;
    std::array<CGdipButton*, kOutputNavButtons> buttons_{};
};
