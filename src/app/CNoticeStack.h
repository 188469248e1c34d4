#pragma once
// Notices of the notification area where the desktop has none: a stack in the bottom right
// corner of the main window, newest at the bottom. Each notice stays for its own time (or
// until clicked), so a new one never hides an older one, and the information pop-up keeps
// its own text.

#include <QFrame>
#include <QList>
#include <QPointer>
#include <QString>

class QLabel;

class CNoticeStack : public QObject
{
    Q_OBJECT
public:
    // `host` is the main window; the stack sits in the corner of its central area.
    explicit CNoticeStack(QWidget& host);
    ~CNoticeStack() override;

    void Add(const QString& title, const QString& text, int ms);
    // Removes every notice at once (the window is closing).
    void Clear();

    int Count() const { return static_cast<int>(notices_.size()); }
    QStringList Texts() const;
    // The notice widgets, oldest first.
    QList<QFrame*> Notices() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Remove(QFrame* notice);
    void Place();

    QWidget& host_;
    QList<QPointer<QFrame>> notices_;
};
