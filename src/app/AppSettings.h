#pragma once
// The per-user settings: "language", "ApplicationLook" and the recent-file list. They are kept
// in an INI file under the user's configuration folder (organisation "DSP_4620_V2.5",
// application "DSP-4620-v3.3"); tests pass a file of their own.

#include <QSettings>
#include <QString>
#include <QStringList>

#include <memory>

inline constexpr int kApplicationLook = 215;
inline constexpr int kRecentFileCount = 10;

class AppSettings
{
public:
    // An empty path means the user's own settings file.
    explicit AppSettings(const QString& iniPath = {});

    // 0 or 1; a missing or unreadable entry gives 0.
    int Language() const;
    void SetLanguage(int language);

    int ApplicationLook() const;
    // The frame always stores its one look.
    void StoreApplicationLook();

    // Most recent first, at most ten entries.
    QStringList RecentFiles() const;
    // Puts the file at the front (moving it if it is already listed) and drops the oldest.
    void AddRecentFile(const QString& path);
    void RemoveRecentFile(const QString& path);

    void Sync();
    QString FileName() const;

private:
    void StoreRecentFiles(const QStringList& files);
    std::unique_ptr<QSettings> settings_;
};
