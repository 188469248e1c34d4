#include "app/CKW4620v13App.h"

#include "app/AppSettings.h"
#include "app/CKW4620v13View.h"
#include "app/CRibbonBar.h"
#include "app/ControllerSession.h"
#include "app/SingleInstance.h"
#include "link/HidrawBackend.h"
#include "link/UsbTransport.h"
#include "link/controller/VirtualBusWatcher.h"
#include "link/emulator/VirtualHidBus.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPixmap>
#include <QTimer>

#include <cstdio>

namespace {
QString g_instanceKey = kInstanceName;

bool IsOutputSide(PageKind kind)
{
    return kind == PageKind::Output || kind == PageKind::Delay || kind == PageKind::Comp ||
           kind == PageKind::SoundField;
}
} // namespace

AppOptions AppOptions::Parse(const QStringList& arguments)
{
    AppOptions o;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        const auto next = [&](const char* name) -> QString {
            if (i + 1 >= arguments.size()) {
                o.error = QString("%1 needs a value").arg(name);
                return {};
            }
            return arguments[++i];
        };
        if (a == "--emulate") {
            o.emulate = true;
        } else if (a.startsWith("--emulate=")) {
            o.emulate = true;
            o.emulateState = a.mid(10);
        } else if (a == "--screenshot") {
            o.screenshot = next("--screenshot");
        } else if (a == "--page") {
            const QString name = next("--page");
            o.page = PageKindFromName(name.toStdString());
            if (const auto group = OutputGroupFromName(name.toStdString())) {
                o.page = PageKind::Output;
                o.group = *group;
            }
            if (!o.page && o.error.isEmpty()) {
                o.error = QString("unknown page '%1' (see --list-pages)").arg(name);
            }
        } else if (a == "--tool") {
            const QString name = next("--tool");
            o.tool = ToolKindFromName(name.toStdString());
            if (!o.tool && o.error.isEmpty()) {
                o.error = QString("unknown tool window '%1' (see --list-tools)").arg(name);
            }
        } else if (a == "--lang") {
            const QString value = next("--lang");
            if (value == "0" || value == "1") {
                o.language = value.toInt();
            } else if (o.error.isEmpty()) {
                o.error = "--lang takes 0 (Chinese) or 1 (English)";
            }
        } else if (a == "--list-pages") {
            o.listPages = true;
        } else if (a == "--list-tools") {
            o.listTools = true;
        } else if (a == "--help" || a == "-h") {
            o.help = true;
        } else if (a == "--version") {
            o.version = true;
        } else if (a == "--settings") {
            o.settingsFile = next("--settings");
        } else if (a.startsWith("--")) {
            o.error = QString("unknown option %1").arg(a);
        } else {
            o.files << a;
        }
        if (!o.error.isEmpty()) {
            break;
        }
    }
    return o;
}

QString AppOptions::HelpText()
{
    return "usage: dsp4620 [OPTIONS] [MODE_FILE...]\n"
           "The desktop control program of the DSP-4620 audio processor. Mode files named on\n"
           "the command line are loaded and pushed to the processor; when the program already\n"
           "runs, that window takes them.\n"
           "\n"
           "options:\n"
           "  --emulate[=STATE]  use the built-in emulated processor instead of USB; with STATE,\n"
           "                     keep its memory, modes and names in that file across runs\n"
           "  --lang 0|1         language: 0 Chinese, 1 English (stored in the settings)\n"
           "  --page NAME        open on this page (names: --list-pages)\n"
           "  --list-pages       print the page names and exit\n"
           "  --tool NAME        with --screenshot: show that tool window (names: --list-tools)\n"
           "  --list-tools       print the tool window names and exit\n"
           "  --screenshot FILE  save a PNG of the window after the first synchronisation and\n"
           "                     exit (ignores a running instance and the user's settings)\n"
           "  --settings FILE    keep the settings in this INI file instead of the user's own\n"
           "  -h, --help         print this help and exit\n"
           "  --version          print the version and exit\n";
}

void CKW4620v13App::SetInstanceKey(const QString& key)
{
    g_instanceKey = key;
}

CKW4620v13App::CKW4620v13App(AppOptions options, QObject* parent)
    : QObject(parent), options_(std::move(options))
{
}

CKW4620v13App::~CKW4620v13App() = default;

bool CKW4620v13App::CheckSingleInstance()
{
    instance_ = std::make_unique<SingleInstance>(g_instanceKey);
    switch (instance_->Acquire()) {
    case SingleInstance::Result::First:
        return true;
    case SingleInstance::Result::ActivatedOther:
        return false;
    case SingleInstance::Result::NoWindow:
        QMessageBox::warning(nullptr, kWindowTitle, "已有一个实例在运行，但找不到它的主窗口！");
        exitCode_ = 1;
        return false;
    case SingleInstance::Result::LockFailed:
        QMessageBox::critical(nullptr, kWindowTitle, "创建信标对象失败，程序退出！");
        exitCode_ = 1;
        return false;
    }
    return false;
}

bool CKW4620v13App::InitInstance()
{
    if (!options_.error.isEmpty()) {
        std::fprintf(stderr, "dsp4620: %s\n", qPrintable(options_.error));
        exitCode_ = 2;
        return false;
    }
    if (options_.listPages || options_.listTools) {
        if (options_.listPages) {
            for (auto name : AllPageNames()) {
                std::printf("%.*s\n", static_cast<int>(name.size()), name.data());
            }
        }
        if (options_.listTools) {
            for (const auto& [name, kind] : kToolNames) {
                std::printf("%.*s\n", static_cast<int>(name.size()), name.data());
            }
        }
        std::fflush(stdout);
        return false;
    }
    const bool screenshot = !options_.screenshot.isEmpty();
    // A screenshot run is independent of a running program and of the user's settings.
    if (!screenshot && !CheckSingleInstance()) {
        return false;
    }
    QString settingsFile = options_.settingsFile;
    if (screenshot && settingsFile.isEmpty()) {
        scratch_ = std::make_unique<QTemporaryDir>();
        settingsFile = scratch_->filePath("settings.ini");
    }
    settings_ = std::make_unique<AppSettings>(settingsFile);
    if (options_.language >= 0) {
        settings_->SetLanguage(options_.language);
    }
    AttachBackend();

    frame_ = std::make_unique<CMainFrame>(*settings_, MakeSessionFactory());
    if (instance_) {
        connect(instance_.get(), &SingleInstance::ActivateRequested, frame_.get(),
                &CMainFrame::ActivateFromOtherInstance);
        instance_->Listen();
    }
    frame_->setWindowTitle(kWindowTitle);
    frame_->show();
    // Files named on the command line open once the window is up, so that their boxes
    // (a missing file) appear over it.
    if (!options_.files.isEmpty()) {
        QTimer::singleShot(0, this, [this] {
            for (const QString& file : options_.files) {
                OpenDocument(file);
            }
        });
    }

    if (options_.page) {
        CRibbonBar* ribbon = frame_->Ribbon();
        ribbon->SelectCategory(IsOutputSide(*options_.page) ? CRibbonBar::Output
                                                            : CRibbonBar::Input);
        frame_->View()->ShowPage(*options_.page, options_.group);
    }
    if (screenshot) {
        AwaitScreenshot();
    }
    return true;
}

void CKW4620v13App::AttachBackend()
{
    if (options_.emulate) {
        EmulatorOptions emulator;
        emulator.stateFile = options_.emulateState.toStdString();
        std::string error;
        bus_ = MakeEmulatedBus(emulator, &error);
        if (!bus_) {
            std::fprintf(stderr, "dsp4620: no emulated processor (%s); starting without one\n",
                         error.c_str());
        }
        SetUsbBackend(bus_.get());
        return;
    }
    hidraw_ = std::make_unique<HidrawBackend>();
    SetUsbBackend(hidraw_.get());
}

CMainFrame::SessionFactory CKW4620v13App::MakeSessionFactory()
{
    ControllerSession::WatcherFactory watch;
    if (bus_) {
        std::shared_ptr<VirtualHidBus> bus = bus_;
        watch = [bus](DeviceChangeHandler handler) -> std::unique_ptr<DeviceWatcher> {
            return std::make_unique<VirtualBusWatcher>(*bus, std::move(handler));
        };
    } else if (hidraw_) {
        HidrawBackend* hidraw = hidraw_.get();
        watch = [hidraw](DeviceChangeHandler handler) {
            std::unique_ptr<DeviceWatcher> watcher =
                StartHardwareWatcher(*hidraw, std::move(handler));
            // Arrival and removal are still learned where no udev monitor can be made.
            hidraw->SetPollingFallback(std::string(watcher->Kind()) == "polling");
            return watcher;
        };
    } else {
        return {};
    }
    return [this, watch](UiPort& ui) -> std::unique_ptr<DeviceSession> {
        auto session = std::make_unique<ControllerSession>(ui, watch);
        session_ = session.get();
        return session;
    };
}

void CKW4620v13App::AwaitScreenshot()
{
    if (session_ == nullptr) {
        // No processor to wait for: the window is final once it is shown and laid out.
        QTimer::singleShot(400, this, &CKW4620v13App::TakeScreenshot);
        return;
    }
    auto* poll = new QTimer(this);
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    connect(poll, &QTimer::timeout, this, [this, poll, clock] {
        if (session_->Settled()) {
            poll->stop();
            poll->deleteLater();
            // Let the refresh after the synchronisation reach every widget.
            QTimer::singleShot(300, this, &CKW4620v13App::TakeScreenshot);
        } else if (clock->elapsed() > kScreenshotTimeoutMs) {
            poll->stop();
            poll->deleteLater();
            std::fprintf(stderr, "dsp4620: the first synchronisation did not finish within %d s\n",
                         kScreenshotTimeoutMs / 1000);
            exitCode_ = 3;
            TakeScreenshot();
        }
    });
    poll->start(50);
}

void CKW4620v13App::OpenDocument(const QString& path)
{
    if (frame_) {
        frame_->Session().OpenDocument(path.toStdString());
    }
}

void CKW4620v13App::TakeScreenshot()
{
    frame_->UpdateStatus();
    QWidget* target = frame_.get();
    if (options_.tool) {
        frame_->View()->OpenToolWindow(*options_.tool);
        if (CToolWindowBase* tool = frame_->View()->ToolWindow(*options_.tool)) {
            target = tool;
        }
    }
    QApplication::processEvents();
    const QPixmap shot = target->grab();
    if (!shot.save(options_.screenshot, "PNG")) {
        std::fprintf(stderr, "dsp4620: cannot write %s\n", qPrintable(options_.screenshot));
        if (exitCode_ == 0) {
            exitCode_ = 1;
        }
    }
    QApplication::exit(exitCode_);
}

int CKW4620v13App::ExitInstance()
{
    frame_.reset();
    CloseUsbDevice(false);
    SetUsbBackend(nullptr);
    bus_.reset();
    hidraw_.reset();
    instance_.reset();
    if (settings_) {
        settings_->Sync();
    }
    return exitCode_;
}
