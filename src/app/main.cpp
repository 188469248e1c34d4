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
    // Listing the pages needs no display.
    if (AppOptions::Parse(arguments).listPages) {
        for (auto name : AllPageNames()) {
            std::printf("%.*s\n", static_cast<int>(name.size()), name.data());
        }
        return 0;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName("DSP-4620-v3.3");
    QApplication::setOrganizationName("DSP_4620_V2.5");
    QApplication::setDesktopFileName("DSP_4620_V2.8");
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
