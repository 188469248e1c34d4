#include "app/AppSettings.h"

#include <QDir>
#include <QFileInfo>

namespace {
const char* const kOrganisation = "DSP_4620_V2.5";
const char* const kApplication = "DSP-4620-v3.3";
const char* const kRecentGroup = "Recent File List";

QString SameFileKey(const QString& path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}
} // namespace

AppSettings::AppSettings(const QString& iniPath)
    : settings_(iniPath.isEmpty()
                    ? std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                                  kOrganisation, kApplication)
                    : std::make_unique<QSettings>(iniPath, QSettings::IniFormat))
{
}

int AppSettings::Language() const
{
    bool ok = false;
    const int value = settings_->value("language", 0).toInt(&ok);
    return ok && value == 1 ? 1 : 0;
}

void AppSettings::SetLanguage(int language)
{
    settings_->setValue("language", language == 1 ? 1 : 0);
    settings_->sync();
}

int AppSettings::ApplicationLook() const
{
    bool ok = false;
    const int value = settings_->value("ApplicationLook", kApplicationLook).toInt(&ok);
    return ok ? value : kApplicationLook;
}

void AppSettings::StoreApplicationLook()
{
    settings_->setValue("ApplicationLook", kApplicationLook);
    settings_->sync();
}

QStringList AppSettings::RecentFiles() const
{
    QStringList files;
    for (int i = 1; i <= kRecentFileCount; ++i) {
        const QString file =
            settings_->value(QString("%1/File%2").arg(kRecentGroup).arg(i)).toString();
        if (!file.isEmpty()) {
            files << file;
        }
    }
    return files;
}

void AppSettings::AddRecentFile(const QString& path)
{
    if (path.isEmpty()) {
        return;
    }
    QStringList files = RecentFiles();
    const QString key = SameFileKey(path);
    files.removeIf([&](const QString& f) { return SameFileKey(f) == key; });
    files.prepend(QFileInfo(path).absoluteFilePath());
    StoreRecentFiles(files);
}

void AppSettings::RemoveRecentFile(const QString& path)
{
    QStringList files = RecentFiles();
    const QString key = SameFileKey(path);
    files.removeIf([&](const QString& f) { return SameFileKey(f) == key; });
    StoreRecentFiles(files);
}

void AppSettings::StoreRecentFiles(const QStringList& files)
{
    settings_->remove(kRecentGroup);
    for (int i = 0; i < files.size() && i < kRecentFileCount; ++i) {
        settings_->setValue(QString("%1/File%2").arg(kRecentGroup).arg(i + 1), files[i]);
    }
    settings_->sync();
}

void AppSettings::Sync()
{
    settings_->sync();
}

QString AppSettings::FileName() const
{
    return settings_->fileName();
}
