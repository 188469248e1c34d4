#include "app/QtUiPort.h"

#include "app/AppIcons.h"
#include "app/AppSettings.h"
#include "app/AppText.h"
#include "app/CKW4620v13View.h"
#include "app/CNoticeStack.h"
#include "app/CSynDlg.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QSystemTrayIcon>

namespace {
QString Q(const std::string& s)
{
    return QString::fromStdString(s);
}

QMessageBox::Icon BoxIcon(UiIcon icon)
{
    switch (icon) {
    case UiIcon::Information:
        return QMessageBox::Information;
    case UiIcon::Question:
        return QMessageBox::Question;
    case UiIcon::Warning:
        return QMessageBox::Warning;
    case UiIcon::Error:
        return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}
} // namespace

QtUiPort::QtUiPort(QWidget& frame, AppSettings& settings) : frame_(frame), settings_(settings)
{
    balloonTimer_.setSingleShot(true);
    QObject::connect(&balloonTimer_, &QTimer::timeout, [this] { HideBalloon(); });
}

QtUiPort::~QtUiPort() = default;

void QtUiPort::ShowBalloon(const std::string& title, const std::string& text, int displayMs)
{
    if (!QSystemTrayIcon::isSystemTrayAvailable()) {
        // No notification area (a bare window manager, the offscreen platform): a notice of
        // its own in the window's corner, for its own time.
        if (!notices_) {
            notices_ = new CNoticeStack(frame_);
        }
        notices_->Add(Q(title), Q(text), displayMs);
        return;
    }
    if (!tray_) {
        tray_ = std::make_unique<QSystemTrayIcon>(AppIcon());
        QObject::connect(tray_.get(), &QSystemTrayIcon::activated,
                         [this](QSystemTrayIcon::ActivationReason) { HideBalloon(); });
        QObject::connect(tray_.get(), &QSystemTrayIcon::messageClicked, [this] { HideBalloon(); });
    }
    tray_->setToolTip("DSP-4620-v3.3");
    tray_->show();
    tray_->showMessage(Q(title), Q(text), QSystemTrayIcon::Information, displayMs);
    balloonTimer_.start(displayMs);
}

void QtUiPort::HideBalloon()
{
    // The corner notices end by their own times; only the icon goes here.
    balloonTimer_.stop();
    if (tray_) {
        tray_->hide();
    }
}

void QtUiPort::ClearNotices()
{
    if (notices_) {
        notices_->Clear();
    }
}

bool QtUiPort::BalloonShown() const
{
    return (notices_ && notices_->Count() > 0) || (tray_ && tray_->isVisible());
}

UiAnswer QtUiPort::AskUser(const std::string& text, const std::string& caption, UiButtons buttons,
                           UiIcon icon)
{
    if (boxHook_) {
        return boxHook_(Q(text), Q(caption));
    }
    QMessageBox box(BoxIcon(icon), Q(caption), Q(text), QMessageBox::NoButton, &frame_);
    const bool zh = AppLanguage() == 0;
    QPushButton* yes = nullptr;
    QPushButton* no = nullptr;
    QPushButton* ok = nullptr;
    QPushButton* cancel = nullptr;
    switch (buttons) {
    case UiButtons::Ok:
        ok = box.addButton(zh ? "确定" : "OK", QMessageBox::AcceptRole);
        break;
    case UiButtons::YesNoCancel:
    case UiButtons::YesNo:
        yes = box.addButton(zh ? "是(&Y)" : "&Yes", QMessageBox::YesRole);
        no = box.addButton(zh ? "否(&N)" : "&No", QMessageBox::NoRole);
        if (buttons == UiButtons::YesNoCancel) {
            cancel = box.addButton(zh ? "取消" : "Cancel", QMessageBox::RejectRole);
            box.setEscapeButton(cancel);
        } else {
            box.setEscapeButton(no);
        }
        break;
    }
    box.exec();
    QAbstractButton* chosen = box.clickedButton();
    if (ok && chosen == ok) {
        return UiAnswer::Ok;
    }
    if (yes && chosen == yes) {
        return UiAnswer::Yes;
    }
    if (no && chosen == no) {
        return UiAnswer::No;
    }
    if (buttons == UiButtons::Ok) {
        return UiAnswer::Ok;
    }
    return buttons == UiButtons::YesNoCancel ? UiAnswer::Cancel : UiAnswer::No;
}

void QtUiPort::ShowInfo(const std::string& text, int displayMs)
{
    if (view_) {
        view_->ShowInfo(Q(text), displayMs);
    }
}

void QtUiPort::ShowSyncDialog(const std::string& title, const std::string& text)
{
    if (syn_) {
        return;
    }
    // No timers of its own (timeoutMs 0): the controller steps the bar and times it out.
    auto* dialog = new CSynDlg(&frame_, {}, 0);
    dialog->SetTexts(Q(title), Q(text));
    syn_ = dialog;
    dialog->setWindowModality(Qt::WindowModal);
    dialog->show();
}

void QtUiPort::SetSyncProgress(int percent)
{
    if (syn_) {
        syn_->SetProgress(percent);
    }
}

void QtUiPort::CloseSyncDialog()
{
    if (CSynDlg* dialog = syn_) {
        syn_ = nullptr;
        dialog->Finish();
        dialog->deleteLater();
    }
}

std::string QtUiPort::AskOpenModeFile()
{
    QFileDialog dialog(&frame_);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter("Mode Files (*.W6v8 *.W6v9)");
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().first().toStdString();
}

std::string QtUiPort::AskSaveModeFile(const std::string& defaultName)
{
    QFileDialog dialog(&frame_);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter("Mode Files (*.W6v9)");
    dialog.setDefaultSuffix("W6v9");
    dialog.selectFile(Q(defaultName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().first().toStdString();
}

void QtUiPort::AddRecentFile(const std::string& path)
{
    settings_.AddRecentFile(Q(path));
}

void QtUiPort::RefreshAll()
{
    if (view_) {
        view_->RefreshAll();
    }
}

void QtUiPort::CloseToolWindows()
{
    if (view_) {
        view_->CloseToolWindows();
    }
}

void QtUiPort::RefreshMusicSource()
{
    if (view_) {
        view_->RefreshMusicSource();
    }
}

bool QtUiPort::SyncDialogOpen() const
{
    return !syn_.isNull();
}

CSynDlg* QtUiPort::SyncDialog() const
{
    return syn_;
}
