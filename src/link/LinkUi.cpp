#include "link/LinkUi.h"

#include "link/LinkTrace.h"

#include <atomic>

namespace {
std::atomic<LinkUi*> g_ui{nullptr};
} // namespace

void SetLinkUi(LinkUi* ui)
{
    g_ui.store(ui);
}

LinkUi* CurrentLinkUi()
{
    return g_ui.load();
}

void LinkMessageBox(const std::string& text, const std::string& caption, LinkBoxIcon icon)
{
    if (LinkUi* ui = g_ui.load()) {
        ui->ShowMessageBox(text, caption, icon);
    } else {
        LinkTraceF("[%s] %s", caption.c_str(), text.c_str());
    }
}

void LinkSendViewMessage(int message, uintptr_t wParam)
{
    if (LinkUi* ui = g_ui.load()) {
        ui->SendViewMessage(message, wParam);
    }
}

void LinkPostViewMessage(int message, uintptr_t wParam)
{
    if (LinkUi* ui = g_ui.load()) {
        ui->PostViewMessage(message, wParam);
    }
}
