#include "app/CPageHost.h"

CPageHost::CPageHost(QWidget* parent) : QScrollArea(parent)
{
    setObjectName("pageHost");
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(true);
}

void CPageHost::SetPage(QWidget* page)
{
    page->setMinimumSize(kMinPageWidth, kMinPageHeight);
    // The old page may be the one asking for the switch (a button of its own): it goes once
    // its handler has returned.
    if (QWidget* old = takeWidget()) {
        old->hide();
        old->deleteLater();
    }
    setWidget(page);
    page->show();
}
