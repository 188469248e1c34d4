#include "pages/CRemoteDlg.h"

#include "app/DeviceSession.h"
#include "controls/CGdiPlusBitmapResource.h"
#include "controls/CGdipButton.h"
#include "files/FileMessages.h"
#include "i18n/DialogIds.h"
#include "i18n/Language.h"
#include "link/controller/RemoteControl.h"
#include "link/controller/UiPort.h"
#include "pages/DialogUnits.h"
#include "pages/EfxPictures.h"
#include "pages/PageLook.h"
#include "pages/RemoteLayout.h"

#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>

namespace {
using namespace remote_layout;

constexpr int kMargin = 10;
constexpr int kButtonHeight = 30;

QString Pair(const TextPair& p)
{
    return QString::fromUtf8(p.Text());
}

std::string PairStd(const TextPair& p)
{
    return p.Text();
}

// Collects the file layer's warnings during one operation, so that the window shows them
// through the shell's boxes; whatever sink was attached before is attached again after.
class ScopedWarnings
{
public:
    ScopedWarnings() : previous_(AttachedFileMessageSink()) { AttachFileMessageSink(&sink_); }
    ~ScopedWarnings() { AttachFileMessageSink(previous_); }
    ScopedWarnings(const ScopedWarnings&) = delete;
    ScopedWarnings& operator=(const ScopedWarnings&) = delete;
    std::vector<std::pair<std::string, std::string>> Take() const
    {
        std::vector<std::pair<std::string, std::string>> out;
        for (const auto& m : sink_.Messages()) {
            out.emplace_back(m.caption, m.text);
        }
        return out;
    }

private:
    FileMessageSink* previous_;
    RecordingFileMessageSink sink_;
};

QString ChooseRemoteFile(QWidget* parent, bool save)
{
    QFileDialog dialog(parent);
    dialog.setNameFilter(QString::fromLatin1(kRemoteFileFilter));
    dialog.setDefaultSuffix(QString::fromLatin1(kRemoteFileExtension));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().first();
}
} // namespace

// ---- The picture --------------------------------------------------------------------------

CRemotePicture::CRemotePicture(QWidget* parent) : QWidget(parent)
{
    InitEfxPictures();
    setMouseTracking(true);
    CGdiPlusBitmapResource picture;
    if (picture.Load(kRemotePicture, 2.0)) {
        picture_ = picture.Image();
    }
    setFixedSize(sizeHint());
}

QSize CRemotePicture::sizeHint() const
{
    return {kPictureWidth, kPictureHeight};
}

QPoint CRemotePicture::KeyCentre(int index) const
{
    if (index < 0 || index >= kKeyCount) {
        return {-1, -1};
    }
    const Key& k = kKeys[static_cast<size_t>(index)];
    return {k.x + k.width / 2, k.y + k.height / 2};
}

void CRemotePicture::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
    p.drawImage(QRect(0, 0, kPictureWidth, kPictureHeight), picture_);
}

void CRemotePicture::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    if (KeyAt(at.x(), at.y()) >= 0) {
        setCursor(Qt::PointingHandCursor);
    } else {
        unsetCursor();
    }
}

void CRemotePicture::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        return;
    }
    const QPoint at = event->position().toPoint();
    const int key = KeyAt(at.x(), at.y());
    if (key >= 0) {
        emit KeyClicked(key);
    }
}

// ---- The learning dialog ------------------------------------------------------------------

CRemoteStudyDlg::CRemoteStudyDlg(int function, QWidget* parent)
    : QDialog(parent), texts_(this, IDD_REMOTE_STUDY)
{
    setObjectName(QStringLiteral("CRemoteStudyDlg"));
    setModal(true);
    ApplyPageBackground(this);
    ApplyDialogFont(this);
    setFixedSize(DluRect(0, 0, 200, 92).size());
    setWindowTitle(QString::fromUtf8("学习中……"));

    learning_ = new QLabel(this);
    learning_->setGeometry(DluRect(8, 6, 184, 12));
    learning_->setText(QString::fromStdString(RemoteLearningText(function, CurrentLanguage())));
    auto* prompt = new QLabel(this);
    prompt->setGeometry(DluRect(8, 24, 130, 12));
    texts_.Bind(prompt, IDC_STUDY_PROMPT, QString::fromUtf8("请您按下遥控器上的对应的按键"));
    code_ = new QLineEdit(this);
    code_->setGeometry(DluRect(140, 22, 52, 14));
    code_->setReadOnly(true);
    code_->setAlignment(Qt::AlignCenter);
    message_ = new QLabel(this);
    message_->setGeometry(DluRect(8, 44, 184, 12));

    cancel_ = new QPushButton(this);
    cancel_->setGeometry(DluRect(70, 66, 60, 16));
    texts_.Bind(cancel_, IDC_STUDY_CANCEL, QString::fromUtf8("放弃学习"));
    connect(cancel_, &QPushButton::clicked, this, &CRemoteStudyDlg::reject);
    close_ = new QPushButton(this);
    close_->setGeometry(DluRect(70, 66, 60, 16));
    texts_.Bind(close_, IDC_STUDY_CLOSE, QString::fromUtf8("关闭"));
    close_->hide();
    connect(close_, &QPushButton::clicked, this, &QDialog::accept);
    for (QPushButton* b : {cancel_, close_}) {
        b->setAutoDefault(false);
    }

    closeTimer_.setSingleShot(true);
    closeTimer_.setInterval(kCloseDelayMs);
    connect(&closeTimer_, &QTimer::timeout, this, &QDialog::accept);
    texts_.Apply();
}

void CRemoteStudyDlg::OnKey(int code)
{
    learned_ = true;
    code_->setText(QString::fromStdString(RemoteKeyCodeText(code)));
    cancel_->hide();
    close_->show();
    message_->setText(Pair({"窗口将自动关闭", "Window will be closed!"}));
    closeTimer_.start();
}

void CRemoteStudyDlg::reject()
{
    if (!learned_) {
        StopLearningKey();
    }
    QDialog::reject();
}

void CRemoteStudyDlg::keyPressEvent(QKeyEvent* event)
{
    // Enter must not end the learning; Escape is the close box.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

// ---- The window ---------------------------------------------------------------------------

CRemoteDlg::CRemoteDlg(PageShell* shell, QWidget* parent)
    : CToolWindowBase(parent), shell_(shell), texts_(this, IDD_REMOTE), chooser_(ChooseRemoteFile)
{
    setObjectName(QStringLiteral("CRemoteDlg"));
    ApplyPageBackground(this);
    ApplyDialogFont(this);
    setWindowTitle(QString::fromUtf8("遥控学习"));
    const int width = kMargin + kPictureWidth + kMargin + kHelpWidth + kMargin;
    const int buttonsY = kMargin + kPictureHeight + kMargin;
    setFixedSize(width, buttonsY + kButtonHeight + kMargin);

    if (shell_) {
        // No status polls while keys are learned.
        peakPollingWasOn_ = shell_->Session().PeakPolling();
        shell_->Session().SetPeakPolling(false);
    }

    picture_ = new CRemotePicture(this);
    picture_->move(kMargin, kMargin);
    connect(picture_, &CRemotePicture::KeyClicked, this, &CRemoteDlg::ClickKey);
    help_ = new QLabel(this);
    help_->setGeometry(kMargin + kPictureWidth + kMargin, kMargin, kHelpWidth, kHelpHeight);

    const int ids[3] = {IDC_REMOTE_LOAD, IDC_REMOTE_SAVE, IDC_REMOTE_APPLY};
    const char* builtIn[3] = {"载入参数", "保存参数", "应用参数"};
    const int buttonWidth = (kHelpWidth - 2 * kMargin) / 3;
    for (int i = 0; i < 3; ++i) {
        auto* b = new CGdipButton(this);
        b->setGeometry(kMargin + kPictureWidth + kMargin + i * (buttonWidth + kMargin), buttonsY,
                       buttonWidth, kButtonHeight);
        b->LoadStdImage(413);
        b->SetTextColor(Qt::white);
        b->setAutoDefault(false);
        texts_.Bind(b, ids[i], QString::fromUtf8(builtIn[i]));
        buttons_[static_cast<size_t>(i)] = b;
    }
    connect(buttons_[0], &QPushButton::clicked, this, &CRemoteDlg::LoadFile);
    connect(buttons_[1], &QPushButton::clicked, this, &CRemoteDlg::SaveFile);
    connect(buttons_[2], &QPushButton::clicked, this, &CRemoteDlg::Apply);

    Relabel();
}

CRemoteDlg::~CRemoteDlg()
{
    if (shell_ && peakPollingWasOn_) {
        shell_->Session().SetPeakPolling(true);
    }
}

void CRemoteDlg::Relabel()
{
    texts_.Apply();
    helpNumber_ = CurrentLanguage() == kLanguageEnglish ? kHelpPictureEnglish : kHelpPictureChinese;
    CGdiPlusBitmapResource picture;
    if (picture.Load(helpNumber_, std::max<qreal>(devicePixelRatioF(), 2.0))) {
        QPixmap pixmap = QPixmap::fromImage(picture.Image());
        pixmap.setDevicePixelRatio(picture.Image().devicePixelRatio());
        help_->setPixmap(pixmap);
    }
}

void CRemoteDlg::ClickKey(int index)
{
    if (index < 0 || index >= kKeyCount || study_) {
        return;
    }
    const int function = kKeys[static_cast<size_t>(index)].function;
    if (function == 0) {
        if (shell_) {
            shell_->Ui().AskUser(PairStd({"不支持该功能", "No support!"}),
                                 PairStd({"提示", "Information"}), UiButtons::Ok,
                                 UiIcon::Information);
        }
        return;
    }
    StartLearningKey(function);
    CRemoteStudyDlg dialog(function, this);
    dialog.SetCloseDelay(studyCloseDelay_);
    study_ = &dialog;
    dialog.exec();
    study_ = nullptr;
}

void CRemoteDlg::OnRemoteKey(int key)
{
    if (study_) {
        study_->OnKey(key);
    }
}

bool CRemoteDlg::RefuseWithoutLink()
{
    if (shell_ && shell_->Session().IsConnected()) {
        return false;
    }
    if (shell_) {
        shell_->ShowInfo(QString::fromUtf8("请先连接机器再进行此操作!"), 1100);
    }
    return true;
}

void CRemoteDlg::ShowWarnings(const std::vector<std::pair<std::string, std::string>>& warnings)
{
    for (const auto& [caption, text] : warnings) {
        shell_->Ui().AskUser(text, caption, UiButtons::Ok, UiIcon::Warning);
    }
}

void CRemoteDlg::LoadFile()
{
    if (RefuseWithoutLink()) {
        return;
    }
    const QString path = chooser_ ? chooser_(this, false) : QString();
    if (path.isEmpty()) {
        return;
    }
    RemoteFileResult result;
    std::vector<std::pair<std::string, std::string>> warnings;
    {
        ScopedWarnings scoped;
        result = LoadRemoteTable(path.toStdString());
        warnings = scoped.Take();
    }
    ShowWarnings(warnings);
    shell_->ShowInfo(QString::fromUtf8(result.ok ? "载入遥控文件成功" : "载入遥控文件失败"), 1100);
}

void CRemoteDlg::SaveFile()
{
    if (RefuseWithoutLink()) {
        return;
    }
    const QString path = chooser_ ? chooser_(this, true) : QString();
    if (path.isEmpty()) {
        return;
    }
    RemoteFileResult result;
    std::vector<std::pair<std::string, std::string>> warnings;
    {
        ScopedWarnings scoped;
        result = SaveRemoteTable(path.toStdString());
        warnings = scoped.Take();
    }
    ShowWarnings(warnings);
    shell_->ShowInfo(QString::fromUtf8(result.ok ? "保存遥控文件成功" : "保存遥控文件失败"), 1100);
}

void CRemoteDlg::Apply()
{
    // The link may have closed while the window was open: say so rather than report a store
    // that never happened.
    if (RefuseWithoutLink()) {
        return;
    }
    SendRemoteTable();
    shell_->ShowInfo(Pair({"遥控器键码保存成功!", "Save successed !"}), 1100);
}

static const PageRegistration g_remote(ToolKind::Remote,
                                       [](PageShell& shell, QWidget* parent) -> CToolWindowBase* {
                                           return new CRemoteDlg(&shell, parent);
                                       });
