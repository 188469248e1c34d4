#include "pages/CSSVCDlg.h"

#include "controls/CGdipButton.h"
#include "dsp/Dynamics.h"
#include "dsp/SoundField.h"
#include "i18n/DialogIds.h"
#include "i18n/Language.h"
#include "pages/COutputNavBar.h"
#include "pages/CSSVolumePanel.h"
#include "pages/CSpinButton.h"
#include "pages/PageLook.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
// Position edit captions of points 1..8.
const char* const kPointCaptions[] = {"前置左", "中置",   "前置右", "后置左",
                                      "超低",   "后置右", "顶置左", "顶置右"};
constexpr int kPositionEditWidth = 62;
constexpr int kRoomEditWidth = 40;
constexpr int kRowHeight = 22;

QString RoomText(int metres)
{
    return QString::asprintf("%dm", metres);
}

QString PositionText(float metres)
{
    return QString::fromStdString(SoundFieldPositionText(metres));
}

QLineEdit* NewEdit(QWidget* parent, int width)
{
    auto* edit = new QLineEdit(parent);
    edit->setFixedSize(width, kRowHeight);
    edit->setMaxLength(16);
    return edit;
}

CSpinButton* NewSpin(QWidget* parent)
{
    auto* spin = new CSpinButton(parent);
    spin->setFixedHeight(kRowHeight);
    return spin;
}
} // namespace

CSSVCDlg::CSSVCDlg(PageShell* shell, QWidget* parent)
    : CPageBase(parent), shell_(shell), texts_(this, IDD_DIALOG_SSVC)
{
    setObjectName(QStringLiteral("CSSVCDlg"));
    ApplyPageBackground(this);
    ApplyDialogFont(this);
    BuildControls();
    Relabel();
    ShowNavSelection();
    LoadFromGeometry();
}

CSSVCDlg::~CSSVCDlg() = default;

void CSSVCDlg::BuildControls()
{
    auto* side = new QVBoxLayout;
    side->setSpacing(6);

    auto* unit = new QLabel(this);
    texts_.Bind(unit, IDC_SSVC_UNIT, QStringLiteral("长度单位:米(m)"));
    side->addWidget(unit);

    // Room size: width and length with their spin buttons, then the three buttons.
    auto* room = new QGroupBox(this);
    texts_.Bind(room, IDC_SSVC_ROOM, QStringLiteral("房间大小"));
    auto* roomGrid = new QGridLayout(room);
    roomGrid->setHorizontalSpacing(4);
    auto* widthCaption = new QLabel(room);
    texts_.Bind(widthCaption, IDC_SSVC_WIDTH, QStringLiteral("宽(m)"));
    auto* lengthCaption = new QLabel(room);
    texts_.Bind(lengthCaption, IDC_SSVC_LENGTH, QStringLiteral("长(m)"));
    widthEdit_ = NewEdit(room, kRoomEditWidth);
    widthEdit_->setObjectName(QStringLiteral("roomWidth"));
    lengthEdit_ = NewEdit(room, kRoomEditWidth);
    lengthEdit_->setObjectName(QStringLiteral("roomLength"));
    widthSpin_ = NewSpin(room);
    lengthSpin_ = NewSpin(room);
    for (CSpinButton* s : {widthSpin_, lengthSpin_}) {
        s->SetRange(kMinRoomMetres, kMaxRoomMetres);
    }
    roomGrid->addWidget(widthCaption, 0, 0);
    roomGrid->addWidget(widthEdit_, 0, 1);
    roomGrid->addWidget(widthSpin_, 0, 2);
    roomGrid->addItem(new QSpacerItem(8, 1), 0, 3);
    roomGrid->addWidget(lengthCaption, 0, 4);
    roomGrid->addWidget(lengthEdit_, 0, 5);
    roomGrid->addWidget(lengthSpin_, 0, 6);
    roomGrid->setColumnStretch(7, 1);
    auto* buttons = new QHBoxLayout;
    modify_ = new QPushButton(room);
    texts_.Bind(modify_, IDC_SSVC_MODIFY, QStringLiteral("立即修改"));
    reset_ = new QPushButton(room);
    texts_.Bind(reset_, IDC_SSVC_RESET, QStringLiteral("复位"));
    center_ = new QPushButton(room);
    texts_.Bind(center_, IDC_SSVC_CENTER, QStringLiteral("居中"));
    for (QPushButton* b : {modify_, reset_, center_}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    roomGrid->addLayout(buttons, 1, 0, 1, 8);
    side->addWidget(room);

    // Position rows: caption, X box and spin, Y box and spin.
    auto addRow = [this](QGridLayout* grid, int row, int point, QLabel* caption) {
        QWidget* owner = grid->parentWidget();
        if (caption) {
            grid->addWidget(caption, row, 0);
        }
        const size_t p = static_cast<size_t>(point);
        xEdits_[p] = NewEdit(owner, kPositionEditWidth);
        yEdits_[p] = NewEdit(owner, kPositionEditWidth);
        xSpins_[p] = NewSpin(owner);
        ySpins_[p] = NewSpin(owner);
        xEdits_[p]->setObjectName(QStringLiteral("x%1").arg(point));
        yEdits_[p]->setObjectName(QStringLiteral("y%1").arg(point));
        grid->addWidget(new QLabel(QStringLiteral("X"), owner), row, 1);
        grid->addWidget(xEdits_[p], row, 2);
        grid->addWidget(xSpins_[p], row, 3);
        grid->addWidget(new QLabel(QStringLiteral("Y"), owner), row, 4);
        grid->addWidget(yEdits_[p], row, 5);
        grid->addWidget(ySpins_[p], row, 6);
        grid->setColumnStretch(7, 1);
        for (QLineEdit* e : {xEdits_[p], yEdits_[p]}) {
            e->installEventFilter(this);
        }
        connect(xSpins_[p], &CSpinButton::Stepped, this,
                [this, point](int tenths) { OnPositionStepped(point, false, tenths); });
        connect(ySpins_[p], &CSpinButton::Stepped, this,
                [this, point](int tenths) { OnPositionStepped(point, true, tenths); });
    };

    auto* listener = new QGroupBox(this);
    texts_.Bind(listener, IDC_SSVC_LISTENER, QStringLiteral("听众位置"));
    auto* listenerGrid = new QGridLayout(listener);
    listenerGrid->setHorizontalSpacing(4);
    listenerGrid->setVerticalSpacing(3);
    addRow(listenerGrid, 0, SF_LISTENER, nullptr);
    side->addWidget(listener);

    auto* sources = new QGroupBox(this);
    texts_.Bind(sources, IDC_SSVC_SOURCES, QStringLiteral("声源的位置"));
    auto* sourceGrid = new QGridLayout(sources);
    sourceGrid->setHorizontalSpacing(4);
    sourceGrid->setVerticalSpacing(3);
    for (int point = 1; point < kSoundFieldPointCount; ++point) {
        auto* caption = new QLabel(sources);
        texts_.Bind(caption, IDC_SSVC_SPEAKER_FIRST + point - 1,
                    QString::fromUtf8(kPointCaptions[point - 1]));
        addRow(sourceGrid, point - 1, point, caption);
    }
    side->addWidget(sources);
    side->addStretch(1);

    panel_ = new CSSVolumePanel(this);
    connect(panel_, &CSSVolumePanel::PointMoved, this, &CSSVCDlg::OnPointMoved);

    // The output group's navigation bar along the top, the controls and the drawing below.
    nav_ = new COutputNavBar(shell_, this);
    auto* body = new QHBoxLayout;
    body->setSpacing(10);
    body->addLayout(side);
    body->addWidget(panel_, 1);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(8, 6, 8, 8);
    outer->setSpacing(6);
    outer->addWidget(nav_, 0, Qt::AlignLeft);
    outer->addLayout(body, 1);

    connect(modify_, &QPushButton::clicked, this, &CSSVCDlg::OnModify);
    connect(reset_, &QPushButton::clicked, this, &CSSVCDlg::OnReset);
    connect(center_, &QPushButton::clicked, this, &CSSVCDlg::OnCenter);
    connect(widthSpin_, &CSpinButton::Stepped, this,
            [this](int w) { ApplyRoomSize(w, lengthSpin_->GetPos()); });
    connect(lengthSpin_, &CSpinButton::Stepped, this,
            [this](int l) { ApplyRoomSize(widthSpin_->GetPos(), l); });
}

void CSSVCDlg::Refresh()
{
    ShowNavSelection();
    LoadFromGeometry();
}

void CSSVCDlg::ShowNavSelection()
{
    nav_->SetCurrent(PageKind::SoundField, -1);
}

void CSSVCDlg::Relabel()
{
    nav_->Relabel();
    texts_.Apply();
    panel_->SetLanguage(CurrentLanguage());
}

void CSSVCDlg::LoadFromGeometry()
{
    const SoundFieldGeometry g = CurrentSoundFieldGeometry();
    const int width = LimitRoomMetres(g.width);
    const int length = LimitRoomMetres(g.length);
    panel_->SetRoomSize(width, length);
    widthSpin_->SetPos(width);
    lengthSpin_->SetPos(length);
    widthEdit_->setText(RoomText(width));
    lengthEdit_->setText(RoomText(length));
    SetPositionRanges(width, length);
    for (int point = 0; point < kSoundFieldPointCount; ++point) {
        const SoundFieldPosition p = g.points[static_cast<size_t>(point)];
        panel_->SetPointPosition(point, p.x, p.y);
        ShowPoint(point, p.x, p.y, true);
    }
    ShowLevels();
}

void CSSVCDlg::ShowPoint(int point, float x, float y, bool setSpins)
{
    const size_t p = static_cast<size_t>(point);
    xEdits_[p]->setText(PositionText(x));
    yEdits_[p]->setText(PositionText(y));
    if (setSpins) {
        xSpins_[p]->SetPos(PositionTenths(x));
        ySpins_[p]->SetPos(PositionTenths(y));
    }
}

void CSSVCDlg::ShowLevels()
{
    for (int point = 1; point < kSoundFieldPointCount; ++point) {
        panel_->SetSpeakerLevel(point, SpeakerLevel(*SpeakerOfPoint(point)));
    }
}

void CSSVCDlg::SetPositionRanges(int width, int length)
{
    const int xLimit = PositionSpinLimit(width);
    const int yLimit = PositionSpinLimit(length);
    for (int point = 0; point < kSoundFieldPointCount; ++point) {
        // The held positions stay as they are: a point outside a smaller room is not moved.
        const size_t p = static_cast<size_t>(point);
        const int x = xSpins_[p]->GetPos();
        const int y = ySpins_[p]->GetPos();
        xSpins_[p]->SetRange(-xLimit, xLimit);
        ySpins_[p]->SetRange(-yLimit, yLimit);
        xSpins_[p]->SetPos(x);
        ySpins_[p]->SetPos(y);
    }
}

void CSSVCDlg::OnPointMoved(int point, float x, float y)
{
    MoveSoundFieldPoint(point, {x, y}, SoundFieldMove::Dragged);
    ShowPoint(point, x, y, true);
    ShowLevels();
}

void CSSVCDlg::ApplyTypedPosition(int point, bool setSpins)
{
    const size_t p = static_cast<size_t>(point);
    const SoundFieldPosition typed{ParseSoundFieldPosition(xEdits_[p]->text().toStdString()),
                                   ParseSoundFieldPosition(yEdits_[p]->text().toStdString())};
    const SoundFieldPosition at = LimitToRoom(typed, widthSpin_->GetPos(), lengthSpin_->GetPos());
    ShowPoint(point, at.x, at.y, setSpins);
    panel_->SetPointPosition(point, at.x, at.y);
    MoveSoundFieldPoint(point, at, SoundFieldMove::Typed);
    ShowLevels();
}

void CSSVCDlg::OnPositionStepped(int point, bool yAxis, int tenths)
{
    const size_t p = static_cast<size_t>(point);
    QLineEdit* edit = yAxis ? yEdits_[p] : xEdits_[p];
    edit->setText(PositionText(static_cast<float>(tenths) / 10.0f));
    edit->setFocus();
    ApplyTypedPosition(point, false);
}

void CSSVCDlg::ApplyRoomSize(int width, int length)
{
    const int w = LimitRoomMetres(width);
    const int l = LimitRoomMetres(length);
    widthEdit_->setText(RoomText(w));
    lengthEdit_->setText(RoomText(l));
    widthSpin_->SetPos(w);
    lengthSpin_->SetPos(l);
    panel_->SetRoomSize(w, l);
    SetSoundFieldRoomSize(w, l);
    SetPositionRanges(w, l);
}

void CSSVCDlg::OnModify()
{
    ApplyRoomSize(ParseRoomMetres(widthEdit_->text().toStdString()),
                  ParseRoomMetres(lengthEdit_->text().toStdString()));
}

void CSSVCDlg::OnCenter()
{
    panel_->SetPointPosition(SF_LISTENER, 0.0f, 0.0f);
    CenterSoundFieldListener();
    ShowPoint(SF_LISTENER, 0.0f, 0.0f, true);
    ShowLevels();
}

void CSSVCDlg::OnReset()
{
    ResetSoundField();
    LoadFromGeometry();
}

bool CSSVCDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyRelease) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            for (int point = 0; point < kSoundFieldPointCount; ++point) {
                const size_t p = static_cast<size_t>(point);
                if (watched == xEdits_[p] || watched == yEdits_[p]) {
                    ApplyTypedPosition(point, true);
                    return true;
                }
            }
        }
    }
    return CPageBase::eventFilter(watched, event);
}

static const PageRegistration g_soundFieldPage(PageKind::SoundField,
                                               [](PageShell& shell, QWidget* parent) -> CPageBase* {
                                                   return new CSSVCDlg(&shell, parent);
                                               });
