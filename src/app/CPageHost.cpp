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
    delete takeWidget();
    setWidget(page);
    page->show();
}
