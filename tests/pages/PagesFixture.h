#pragma once
// A fixture for the pages: start-up parameter store and band memory, a recording sink in
// place of the processor, a shell that records pop-ups and page changes, and the language.

#include "model/Report.h"
#include "pages/FakeShell.h"

#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

class CXBmpSlider;

class PagesFixture : public ::testing::Test
{
public:
    // Lets queued slider notifications and zero timers run.
    static void Settle();

protected:
    void SetUp() override;
    void TearDown() override;

    // Sets the shell's and the tables' language (0 Chinese, 1 English).
    void SetLanguage(int language);
    // Parameter writes since the last call.
    std::vector<ParamWrite> TakeWrites();
    // The last write to (block, param), or nullptr.
    static const ParamWrite* Find(const std::vector<ParamWrite>& writes, int block, int param);

    FakeShell shell_;
    RecordingSink sink_;
    std::unique_ptr<ScopedReportSink> attached_;
};

// Moves a slider to `target` with one arrow key from the neighbouring position, as a user
// would, and lets its notification arrive.
void MoveSliderTo(CXBmpSlider* slider, int target);

// A shown page of type Page built for the fixture's shell, with the writes of its building
// taken away.
template <class Page> class ShownPageFixture : public PagesFixture
{
protected:
    void SetUp() override
    {
        PagesFixture::SetUp();
        page_ = std::make_unique<Page>(&shell_);
        page_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(page_.get()));
        Settle();
        TakeWrites();
    }
    void TearDown() override
    {
        page_.reset();
        PagesFixture::TearDown();
    }
    std::unique_ptr<Page> page_;
};
