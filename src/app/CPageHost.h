#pragma once
// Holds the one page of the view. The page fills the host but never gets smaller than
// 1024 x 520: a smaller window scrolls the page instead of squeezing it.

#include <QScrollArea>

inline constexpr int kMinPageWidth = 1024;
inline constexpr int kMinPageHeight = 520;

class CPageHost : public QScrollArea
{
public:
    explicit CPageHost(QWidget* parent = nullptr);
    // Takes the page (the previous one is deleted when control returns to the event loop).
    void SetPage(QWidget* page);
    QWidget* Page() const { return widget(); }
};
