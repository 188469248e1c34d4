#include "app/CPageHost.h"

CPageHost::CPageHost(QWidget* parent) : QScrollArea(parent)
{
    setObjectName("pageHost");
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(true);
    // The window never gets so small that the page area drops below the page's minimum.
    setMinimumSize(kMinPageWidth, kMinPageHeight);
}

void CPageHost::SetPage(QWidget* page)
{
    page->setMinimumSize(kMinPageWidth, kMinPageHeight);
    delete takeWidget();
    setWidget(page);
    page->show();
}
