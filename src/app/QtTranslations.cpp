#include "app/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <memory>

namespace {
std::unique_ptr<QTranslator>& Installed()
{
    static std::unique_ptr<QTranslator> translator;
    return translator;
}
} // namespace

bool ApplyQtTranslations(int language)
{
    std::unique_ptr<QTranslator>& installed = Installed();
    if (language != 0) {
        if (installed) {
            QCoreApplication::removeTranslator(installed.get());
            installed.reset();
        }
        return true;
    }
    if (installed) {
        return true;
    }
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load("qtbase_zh_CN", QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        return false;
    }
    QCoreApplication::installTranslator(translator.get());
    installed = std::move(translator);
    return true;
}

bool QtTranslationsInstalled()
{
    return Installed() != nullptr;
}
