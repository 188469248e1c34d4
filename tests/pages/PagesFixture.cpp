#include "pages/PagesFixture.h"

#include "controls/CXBmpSlider.h"
#include "i18n/DialogTexts.h"
#include "i18n/Language.h"
#include "model/DeviceMemory.h"
#include "model/ParamStore.h"
#include "pages/PageGlobals.h"

#include <QCoreApplication>
#include <QTest>

void PagesFixture::SetUp()
{
    ParamStore.ResetToDefaults();
    ResetDeviceMemoryToStartup();
    g_nInputView = 1;
    g_nEffectKind = 6;
    g_nEqCopySlot = -1;
    SetLanguage(0);
    attached_ = std::make_unique<ScopedReportSink>(&sink_);
}

void PagesFixture::TearDown()
{
    attached_.reset();
    SetLanguage(0);
}

void PagesFixture::SetLanguage(int language)
{
    shell_.ui.language = language;
    ::SetLanguage(language);
    LoadLanguageTable();
}

std::vector<ParamWrite> PagesFixture::TakeWrites()
{
    auto writes = DecodeWrites(sink_.Reports());
    sink_.Clear();
    return writes;
}

const ParamWrite* PagesFixture::Find(const std::vector<ParamWrite>& writes, int block, int param)
{
    const ParamWrite* found = nullptr;
    for (const ParamWrite& w : writes) {
        if (w.block == block && w.param == param) {
            found = &w;
        }
    }
    return found;
}

void PagesFixture::Settle()
{
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::processEvents();
    }
}

void MoveSliderTo(CXBmpSlider* slider, int target)
{
    const bool up = target > slider->GetRangeMin();
    slider->SetPos(up ? target - 1 : target + 1);
    slider->setFocus();
    QTest::keyClick(slider, up ? Qt::Key_Right : Qt::Key_Left);
    PagesFixture::Settle();
}
