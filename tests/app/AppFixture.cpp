#include "AppFixture.h"

#include "app/AppText.h"
#include "app/CInfoDlg.h"
#include "app/CKW4620v13View.h"
#include "app/CRibbonBar.h"
#include "app/ControllerSession.h"
#include "link/controller/VirtualBusWatcher.h"
#include "link/emulator/VirtualHidBus.h"
#include "model/Writer.h"

using namespace std::chrono_literals;

ControllerOptions NoWaitControllerOptions()
{
    ControllerOptions o;
    o.sync = SyncTimings::Zero();
    o.pauses = {0ms, 0ms, 0ms, 0ms};
    o.pause = [](std::chrono::milliseconds) {};
    return o;
}

std::unique_ptr<CMainFrame> MakeFrameOnVirtualBus(AppSettings& settings, VirtualHidBus& bus,
                                                  ControllerOptions options,
                                                  ControllerSession** session)
{
    return std::make_unique<CMainFrame>(settings, [&bus, options, session](UiPort& ui) {
        auto made = std::make_unique<ControllerSession>(
            ui,
            [&bus](DeviceChangeHandler handler) -> std::unique_ptr<DeviceWatcher> {
                return std::make_unique<VirtualBusWatcher>(bus, std::move(handler));
            },
            options);
        *session = made.get();
        return made;
    });
}

void AppFixture::SetUp()
{
    ASSERT_TRUE(dir_.isValid());
    settings_ = std::make_unique<AppSettings>(dir_.filePath("settings.ini"));
    SetAppLanguage(0);
    frame_ = std::make_unique<CMainFrame>(*settings_, [this](UiPort&) {
        auto session = std::make_unique<FakeSession>();
        session_ = session.get();
        return session;
    });
    View().SetPause([this](int ms) { pauses_.push_back(ms); });
    frame_->show();
    attached_ = std::make_unique<ScopedReportSink>(&sink_);
}

void AppFixture::TearDown()
{
    attached_.reset();
    frame_.reset();
    SetAppLanguage(0);
}

CRibbonBar& AppFixture::Ribbon() const
{
    return *frame_->Ribbon();
}

CKW4620v13View& AppFixture::View() const
{
    return *frame_->View();
}

std::vector<ParamWrite> AppFixture::TakeWrites()
{
    auto writes = DecodeWrites(sink_.Reports());
    sink_.Clear();
    return writes;
}

QString AppFixture::InfoText() const
{
    return frame_->View()->InfoDlg()->Text();
}

bool AppFixture::InfoVisible() const
{
    return frame_->View()->InfoDlg()->isVisible();
}

void AppFixture::SetLanguage(int language)
{
    if (AppLanguage() != language) {
        View().SwitchLanguage();
    }
}
