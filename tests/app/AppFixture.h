#pragma once
// A main frame on a temporary settings file, with a session whose link state the test sets,
// and every report it writes captured.

#include "app/AppSettings.h"
#include "app/CMainFrame.h"
#include "app/DeviceSession.h"
#include "model/Report.h"
#include "support/FakeSession.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

class CKW4620v13View;
class CRibbonBar;

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
