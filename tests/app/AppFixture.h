#pragma once
// A main frame on a temporary settings file, with a session whose link state the test sets,
// and every report it writes captured.

#include "app/AppSettings.h"
#include "app/CMainFrame.h"
#include "app/DeviceSession.h"
#include "link/controller/ConnectionController.h"
#include "model/Report.h"
#include "support/FakeSession.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

class CKW4620v13View;
class CRibbonBar;
class ControllerSession;
class VirtualHidBus;

// Controller options that never wait: no synchronisation pauses and no store pauses.
ControllerOptions NoWaitControllerOptions();
// A main frame on the real controller, whose device watcher follows the virtual bus (arrival
// and removal); *session is set to the frame's session.
std::unique_ptr<CMainFrame> MakeFrameOnVirtualBus(AppSettings& settings, VirtualHidBus& bus,
                                                  ControllerOptions options,
                                                  ControllerSession** session);

class AppFixture : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    CRibbonBar& Ribbon() const;
    CKW4620v13View& View() const;
    // The writes made since the last call.
    std::vector<ParamWrite> TakeWrites();
    QString InfoText() const;
    bool InfoVisible() const;
    void SetLanguage(int language);

    QTemporaryDir dir_;
    std::unique_ptr<AppSettings> settings_;
    FakeSession* session_ = nullptr;
    std::unique_ptr<CMainFrame> frame_;
    RecordingSink sink_;
    std::unique_ptr<ScopedReportSink> attached_;
    std::vector<int> pauses_;
};
