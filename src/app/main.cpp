// The desktop program: the ribbon window that controls the processor.
#include "app/AppStyle.h"
#include "app/CKW4620v13App.h"

#include <QApplication>
#include <QStringList>

#include <cstdio>

int main(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    // What needs no display is answered before the application object exists.
    const AppOptions options = AppOptions::Parse(arguments);
    if (!options.error.isEmpty()) {
        std::fprintf(stderr, "dsp4620: %s\n(see dsp4620 --help)\n", qPrintable(options.error));
        return 2;
    }
    if (options.help) {
        std::fputs(qPrintable(AppOptions::HelpText()), stdout);
        return 0;
    }
    if (options.version) {
        std::printf("dsp4620 %s\n", DSP4620_VERSION);
        return 0;
    }
    if (options.listTools) {
        for (const auto& [name, kind] : kToolNames) {
            std::printf("%.*s\n", static_cast<int>(name.size()), name.data());
        }
        return 0;
    }
    if (options.listPages) {
        for (auto name : AllPageNames()) {
            std::printf("%.*s\n", static_cast<int>(name.size()), name.data());
        }
        return 0;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName("DSP-4620-v3.3");
    QApplication::setOrganizationName("DSP_4620_V2.5");
    // Window and taskbar grouping: the installed desktop entry (org.dsp4620.Dsp4620.desktop).
    QApplication::setDesktopFileName("org.dsp4620.Dsp4620");
    SetupFonts();
    ApplyAppStyle(app);

    CKW4620v13App theApp(AppOptions::Parse(QApplication::arguments()));
    if (!theApp.InitInstance()) {
        return theApp.ExitInstance();
    }
    const int code = QApplication::exec();
    const int exitCode = theApp.ExitInstance();
    return code != 0 ? code : exitCode;
}
