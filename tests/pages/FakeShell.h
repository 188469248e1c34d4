#pragma once
// A shell for pages under test: it records pop-ups and page changes, and reports the language
// a test sets.

#include "link/controller/UiPort.h"
#include "pageapi/PageRegistry.h"
#include "support/FakeSession.h"

#include <QString>

#include <utility>
#include <vector>

class FakeUi : public UiPort
{
public:
    int language = 0;
    void ShowBalloon(const std::string&, const std::string&, int) override {}
    void HideBalloon() override {}
    UiAnswer AskUser(const std::string&, const std::string&, UiButtons, UiIcon) override
    {
        return UiAnswer::Yes;
    }
    void ShowInfo(const std::string&, int) override {}
    void ShowSyncDialog(const std::string&, const std::string&) override {}
    void SetSyncProgress(int) override {}
    void CloseSyncDialog() override {}
    std::string AskOpenModeFile() override { return {}; }
    std::string AskSaveModeFile(const std::string&) override { return {}; }
    void AddRecentFile(const std::string&) override {}
    void RefreshAll() override {}
    void CloseToolWindows() override {}
    void RefreshMusicSource() override {}
};

class FakeShell : public PageShell
{
public:
    std::vector<PageKind> shown;
    std::vector<int> groups; // the group asked with each page
    std::vector<std::pair<QString, int>> infos;
    FakeSession session;
    FakeUi ui;

    void ShowPage(PageKind kind, int group) override
    {
        shown.push_back(kind);
        groups.push_back(group);
    }
    void ShowInfo(const QString& text, int ms) override { infos.emplace_back(text, ms); }
    int OutputGroup() const override { return 5; }
    void SetOutputGroup(int) override {}
    DeviceSession& Session() override { return session; }
    UiPort& Ui() override { return ui; }
    void MasterVolumesChanged() override { ++masterVolumesChanged; }
    int masterVolumesChanged = 0;
};
