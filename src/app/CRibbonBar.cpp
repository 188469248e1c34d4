#include "app/CRibbonBar.h"

#include "app/AppIcons.h"
#include "app/AppText.h"
#include "app/MasterControls.h"

#include <QActionGroup>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QMenu>
#include <QMouseEvent>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <QWidgetAction>

#include <algorithm>

namespace {
struct CategoryIds
{
    std::array<int, 4> volumeLabel, volumeSlider, muteBox;
    std::array<int, 3> inputSlider, inputLabel, inputBox;
    int noiseGateLabel, noiseGateSlider, pitchSlider;
    int loadMode, loadFile, saveMode, saveFile;
};

constexpr std::array<CategoryIds, 2> kIds = {{
    {{32832, 32833, 32837, 32834},
     {32829, 32830, 32806, 32831},
     {32847, 32848, 32849, 32850},
     {32851, 32852, 32853},
     {32854, 32855, 32856},
     {32843, 32844, 32845},
     32842,
     32846,
     32841,
     32815,
     32827,
     32819,
     32828},
    {{32857, 32860, 32863, 32866},
     {32858, 32861, 32864, 32867},
     {32859, 32862, 32865, 32868},
     {32870, 32873, 32876},
     {32869, 32872, 32875},
     {32871, 32874, 32877},
     32878,
     32879,
     32880,
     32900,
     32881,
     32904,
     32882},
}};

const QColor kGlyphColour(0x1d, 0x5f, 0xc4);
const QColor kSideGlyphColour(0xe8, 0xf0, 0xff);

QString PanelCaption(int panel)
{
    switch (panel) {
    case 0:
        return PairText("话筒音量", "Mic Vol");
    case 1:
        return PairText("混响音量", "Reverb Vol");
    case 2:
        return PairText("回声音量", "Echo Vol");
    case 3:
        return PairText("音乐音量", "Music Vol");
    case 4:
        return PairText("音乐音源", "Music Source");
    case 5:
        return PairText("音乐变调", "Music pitch");
    case 6:
        return PairText("调用", "Load");
    case 7:
        return PairText("保存", "Save");
    }
    return {};
}

// Value labels use fixed-width digits and keep one width in both languages, so the
// numbers line up and the sliders beside them stay put.
void MakeValueLabel(QLabel* label, int cells)
{
    label->setProperty("valueLabel", true);
    QFont mono(QStringList{"WenQuanYi Micro Hei Mono", "DejaVu Sans Mono", "Monospace"});
    mono.setStyleHint(QFont::Monospace);
    mono.setPixelSize(11);
    label->setFont(mono);
    label->setMinimumWidth(QFontMetrics(mono).horizontalAdvance(QString(cells, '0')));
}

void SetId(QWidget* w, int id)
{
    w->setObjectName(QString("cmd%1").arg(id));
    w->setProperty("commandId", id);
}

void SetBoxSilently(QCheckBox* box, bool on)
{
    const bool blocked = box->blockSignals(true);
    box->setChecked(on);
    box->blockSignals(blocked);
}

void SetSliderSilently(QSlider* slider, int value)
{
    const bool blocked = slider->blockSignals(true);
    slider->setValue(value);
    slider->blockSignals(blocked);
}

const std::array<const char*, 3> kInputNames = {"SPDIF", "Aux1", "Aux2"};
} // namespace

CRibbonPanel::CRibbonPanel(QWidget* parent)
    : QFrame(parent), body_(new QWidget(this)), caption_(new QLabel(this))
{
    setObjectName("ribbonPanel");
    caption_->setObjectName("panelCaption");
    caption_->setAlignment(Qt::AlignCenter);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(3, 4, 3, 2);
    layout->setSpacing(2);
    layout->addWidget(body_, 1);
    layout->addWidget(caption_);
}

CRibbonBar::CRibbonBar(Providers providers, QWidget* parent)
    : QWidget(parent), providers_(std::move(providers))
{
    setObjectName("ribbon");
    setAttribute(Qt::WA_StyledBackground);

    auto* top = new QWidget(this);
    top->setObjectName("ribbonTop");
    top->setAttribute(Qt::WA_StyledBackground);
    auto* topRow = new QHBoxLayout(top);
    topRow->setContentsMargins(6, 4, 6, 0);
    topRow->setSpacing(2);

    appButton_ = new QToolButton(top);
    appButton_->setObjectName("appButton");
    appButton_->setIcon(AppIcon());
    appButton_->setIconSize(QSize(22, 22));
    appButton_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    appButton_->setPopupMode(QToolButton::InstantPopup);
    appMenu_ = new QMenu(appButton_);
    appMenu_->setObjectName("appMenu");
    appButton_->setMenu(appMenu_);
    connect(appMenu_, &QMenu::aboutToShow, this, &CRibbonBar::FillAppMenu);
    topRow->addWidget(appButton_);
    topRow->addSpacing(8);

    for (int c = 0; c < 2; ++c) {
        auto* tab = new QToolButton(top);
        tab->setObjectName(c == Input ? "tabInput" : "tabOutput");
        tab->setProperty("ribbonTab", true);
        tab->setCheckable(true);
        tab->setAutoRaise(true);
        tab->installEventFilter(this);
        connect(tab, &QToolButton::clicked, this, [this, c] { SelectCategory(c); });
        tabs_[static_cast<size_t>(c)] = tab;
        topRow->addWidget(tab, 0, Qt::AlignBottom);
    }
    topRow->addStretch(1);

    const std::array<std::pair<int, Glyph>, 5> side = {{{RibbonId::kFeatures, Glyph::Features},
                                                        {RibbonId::kReset, Glyph::Reset},
                                                        {RibbonId::kRemote, Glyph::Remote},
                                                        {RibbonId::kLanguage, Glyph::Language},
                                                        {RibbonId::kAbout, Glyph::About}}};
    for (size_t i = 0; i < side.size(); ++i) {
        side_[i] = MakeSideButton(side[i].first, static_cast<int>(side[i].second));
        side_[i]->setParent(top);
        topRow->addWidget(side_[i]);
    }
    side_[4]->setToolButtonStyle(Qt::ToolButtonIconOnly);

    stack_ = new QStackedWidget(this);
    stack_->setObjectName("ribbonBody");
    for (int c = 0; c < 2; ++c) {
        BuildCategory(c);
        stack_->addWidget(copies_[static_cast<size_t>(c)].page);
    }

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(top);
    layout->addWidget(stack_);

    UpdateTabs();
    Relabel();
}

QToolButton* CRibbonBar::MakeSideButton(int id, int glyph)
{
    auto* b = new QToolButton(this);
    SetId(b, id);
    b->setProperty("sideButton", true);
    b->setAutoRaise(true);
    b->setIcon(GlyphIcon(static_cast<Glyph>(glyph), kSideGlyphColour));
    b->setIconSize(QSize(16, 16));
    b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    connect(b, &QToolButton::clicked, this, [this, id] { emit CommandTriggered(id); });
    return b;
}

QToolButton* CRibbonBar::MakeBigButton(QWidget* parent, int id, int glyph)
{
    auto* b = new QToolButton(parent);
    SetId(b, id);
    b->setProperty("bigButton", true);
    b->setAutoRaise(true);
    b->setIcon(GlyphIcon(static_cast<Glyph>(glyph), kGlyphColour));
    b->setIconSize(QSize(22, 22));
    b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    b->setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Preferred);
    return b;
}

void CRibbonBar::BuildCategory(int category)
{
    const CategoryIds& ids = kIds[static_cast<size_t>(category)];
    RibbonCategory& copy = copies_[static_cast<size_t>(category)];
    copy.page = new QWidget;
    copy.page->setObjectName(category == Input ? "categoryInput" : "categoryOutput");
    auto* row = new QHBoxLayout(copy.page);
    row->setContentsMargins(0, 2, 0, 2);
    row->setSpacing(0);
    for (size_t p = 0; p < copy.panels.size(); ++p) {
        copy.panels[p] = new CRibbonPanel(copy.page);
        copy.panels[p]->setProperty("panelIndex", static_cast<int>(p) + 1);
        row->addWidget(copy.panels[p]);
    }
    row->addStretch(1);

    // Panels 1..4: value label, slider, mute box.
    for (size_t v = 0; v < 4; ++v) {
        const auto channel = static_cast<MasterVolume>(v);
        QWidget* body = copy.panels[v]->Body();
        auto* box = new QVBoxLayout(body);
        box->setContentsMargins(0, 0, 0, 0);
        box->setSpacing(4);
        auto* label = new QLabel(body);
        SetId(label, ids.volumeLabel[v]);
        MakeValueLabel(label, 15);
        auto* slider = new CStepSlider(ids.volumeSlider[v], 0, 99, body);
        slider->setMinimumWidth(84);
        auto* mute = new QCheckBox(body);
        SetId(mute, ids.muteBox[v]);
        mute->setProperty("muteBox", true);
        mute->setFocusPolicy(Qt::NoFocus);
        box->addWidget(label);
        box->addWidget(slider);
        box->addWidget(mute);
        box->addStretch(1);
        copy.volumeLabel[v] = label;
        copy.volumeSlider[v] = slider;
        copy.muteBox[v] = mute;
        connect(slider, &CStepSlider::Moved, this,
                [this, channel](int pos) { emit VolumeMoved(channel, pos); });
        connect(mute, &QCheckBox::clicked, this, [this, channel] { emit MuteClicked(channel); });
    }

    // Panel 5: one row per music input.
    {
        QWidget* body = copy.panels[4]->Body();
        auto* grid = new QGridLayout(body);
        grid->setContentsMargins(0, 0, 0, 0);
        grid->setHorizontalSpacing(3);
        grid->setVerticalSpacing(2);
        for (size_t i = 0; i < 3; ++i) {
            const auto input = static_cast<MusicInput>(i);
            auto* on = new QCheckBox(QString::fromLatin1(kInputNames[i]), body);
            SetId(on, ids.inputBox[i]);
            on->setFocusPolicy(Qt::NoFocus);
            on->setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Fixed);
            auto* slider = new CStepSlider(ids.inputSlider[i], 0, 100, body);
            slider->setMinimumWidth(56);
            auto* label = new QLabel(body);
            SetId(label, ids.inputLabel[i]);
            MakeValueLabel(label, 13);
            grid->addWidget(on, static_cast<int>(i), 0);
            grid->addWidget(slider, static_cast<int>(i), 1);
            grid->addWidget(label, static_cast<int>(i), 2);
            copy.inputBox[i] = on;
            copy.inputSlider[i] = slider;
            copy.inputLabel[i] = label;
            connect(slider, &CStepSlider::Moved, this,
                    [this, input](int pos) { emit InputLevelMoved(input, pos); });
            connect(on, &QCheckBox::clicked, this, [this, input] { emit InputClicked(input); });
        }
    }

    // Panel 6: music noise gate and pitch.
    {
        QWidget* body = copy.panels[5]->Body();
        auto* box = new QVBoxLayout(body);
        box->setContentsMargins(0, 0, 0, 0);
        box->setSpacing(4);
        copy.noiseGateLabel = new QLabel(body);
        SetId(copy.noiseGateLabel, ids.noiseGateLabel);
        MakeValueLabel(copy.noiseGateLabel, 16);
        copy.noiseGateSlider = new CStepSlider(ids.noiseGateSlider, 0, 100, body);
        copy.pitchSlider = new CStepSlider(ids.pitchSlider, -5, 5, body);
        copy.pitchSlider->setProperty("pitchSlider", true);
        copy.pitchSlider->setTickPosition(QSlider::TicksBelow);
        copy.pitchSlider->setTickInterval(1);
        copy.noiseGateSlider->setMinimumWidth(96);
        box->addWidget(copy.noiseGateLabel);
        box->addWidget(copy.noiseGateSlider);
        // The pitch range at the ends of its slider.
        auto* pitchRow = new QHBoxLayout;
        pitchRow->setSpacing(4);
        for (const char* end : {"-5", "+5"}) {
            auto* mark = new QLabel(QString::fromLatin1(end), body);
            mark->setObjectName("pitchMark");
            pitchRow->addWidget(mark);
            if (end[0] == '-') {
                pitchRow->addWidget(copy.pitchSlider, 1);
            }
        }
        box->addLayout(pitchRow);
        box->addStretch(1);
        connect(copy.noiseGateSlider, &CStepSlider::Moved, this, &CRibbonBar::NoiseGateMoved);
        connect(copy.pitchSlider, &CStepSlider::Moved, this, &CRibbonBar::PitchMoved);
    }

    // Panels 7 and 8: mode and file buttons.
    const auto addButtons = [this](CRibbonPanel* panel, QToolButton*& mode, QToolButton*& file,
                                   int modeId, int fileId, bool load) {
        QWidget* body = panel->Body();
        // The two buttons one above the other, icon beside text, so the panel stays narrow.
        auto* box = new QVBoxLayout(body);
        box->setContentsMargins(0, 0, 0, 0);
        box->setSpacing(2);
        mode =
            MakeBigButton(body, modeId, static_cast<int>(load ? Glyph::LoadMode : Glyph::SaveMode));
        auto* menu = new QMenu(mode);
        const int firstItem = load ? RibbonId::kLoadModeFirst : RibbonId::kSaveModeFirst;
        connect(menu, &QMenu::aboutToShow, this,
                [this, menu, firstItem] { FillModeMenu(menu, firstItem); });
        mode->setMenu(menu);
        mode->setPopupMode(QToolButton::InstantPopup);
        file = MakeBigButton(body, fileId, static_cast<int>(load ? Glyph::Open : Glyph::Save));
        connect(file, &QToolButton::clicked, this,
                [this, fileId] { emit CommandTriggered(fileId); });
        box->addWidget(mode);
        box->addWidget(file);
        box->addStretch(1);
    };
    addButtons(copy.panels[6], copy.loadMode, copy.loadFile, ids.loadMode, ids.loadFile, true);
    addButtons(copy.panels[7], copy.saveMode, copy.saveFile, ids.saveMode, ids.saveFile, false);
}

void CRibbonBar::FillModeMenu(QMenu* menu, int firstId)
{
    menu->clear();
    const QStringList names = providers_.modeNames ? providers_.modeNames() : QStringList{};
    const int current = providers_.currentMode ? providers_.currentMode() : 0;
    for (int m = 0; m < 4; ++m) {
        const QString name = m < names.size() ? names[m] : QString("Mode%1").arg(m + 1);
        QAction* item = menu->addAction(QString("M%1: %2").arg(m + 1).arg(name));
        item->setCheckable(true);
        item->setChecked(m == current);
        item->setData(firstId + m);
        const int id = firstId + m;
        connect(item, &QAction::triggered, this, [this, id] { emit CommandTriggered(id); });
    }
}

void CRibbonBar::FillAppMenu()
{
    appMenu_->clear();
    auto addCommand = [this](const QString& text, int id, Glyph glyph) {
        QAction* a = appMenu_->addAction(GlyphIcon(glyph, kGlyphColour), text);
        a->setData(id);
        connect(a, &QAction::triggered, this, [this, id] { emit CommandTriggered(id); });
    };
    addCommand(PairText("打开(&O)", "Open(&O)"), RibbonId::kOpen, Glyph::Open);
    addCommand(PairText("保存(&S)", "Save(&S)"), RibbonId::kSave, Glyph::Save);
    // The heading of the recent files: a label, since menu sections show no text in every
    // style.
    appMenu_->addSeparator();
    auto* heading =
        new QLabel(PairText("最近的文档(Last documents)", "Last documents(最近的文档)"));
    heading->setObjectName("recentHeading");
    auto* headingAction = new QWidgetAction(appMenu_);
    headingAction->setDefaultWidget(heading);
    appMenu_->addAction(headingAction);
    const QStringList files = providers_.recentFiles ? providers_.recentFiles() : QStringList{};
    int n = 0;
    for (const QString& path : files) {
        ++n;
        const QString shown = QString("&%1 %2").arg(n % 10).arg(QFileInfo(path).fileName());
        QAction* a = appMenu_->addAction(shown);
        a->setToolTip(path);
        a->setData(path);
        connect(a, &QAction::triggered, this, [this, path] { emit RecentFileChosen(path); });
    }
    appMenu_->addSeparator();
    addCommand(PairText("退出(&X)", "Exit(&X)"), RibbonId::kExit, Glyph::Exit);
    appMenu_->setMinimumWidth(300);
}

QString CRibbonBar::ActiveCategoryCaption() const
{
    return active_ == Output ? PairText("输出调节", "Output") : PairText("输入控制", "Input");
}

void CRibbonBar::SelectCategory(int category)
{
    active_ = category == Output ? Output : Input;
    stack_->setCurrentIndex(active_);
    UpdateTabs();
    emit CategoryChanged(active_);
}

void CRibbonBar::UpdateTabs()
{
    for (int c = 0; c < 2; ++c) {
        tabs_[static_cast<size_t>(c)]->setChecked(c == active_);
    }
}

bool CRibbonBar::eventFilter(QObject* watched, QEvent* event)
{
    // A double click on a category tab does nothing (the ribbon never collapses).
    if (event->type() == QEvent::MouseButtonDblClick &&
        (watched == tabs_[0] || watched == tabs_[1])) {
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void CRibbonBar::ShowVolume(MasterVolume channel, int value)
{
    const auto v = static_cast<size_t>(channel);
    for (auto& copy : copies_) {
        SetSliderSilently(copy.volumeSlider[v], value);
        copy.volumeLabel[v]->setText(MasterControls::VolumeLabel(channel, value));
    }
}

void CRibbonBar::ShowMute(MasterVolume channel, bool muted)
{
    for (auto& copy : copies_) {
        SetBoxSilently(copy.muteBox[static_cast<size_t>(channel)], muted);
    }
}

void CRibbonBar::ShowInputLevel(MusicInput input, int value, bool afterMove)
{
    const auto i = static_cast<size_t>(input);
    for (auto& copy : copies_) {
        SetSliderSilently(copy.inputSlider[i], value);
        copy.inputLabel[i]->setText(MasterControls::InputLabel(value, afterMove));
    }
}

void CRibbonBar::ShowInputOn(MusicInput input, bool on)
{
    for (auto& copy : copies_) {
        SetBoxSilently(copy.inputBox[static_cast<size_t>(input)], on);
    }
}

void CRibbonBar::ShowNoiseGate(int value)
{
    for (auto& copy : copies_) {
        SetSliderSilently(copy.noiseGateSlider, value);
        copy.noiseGateLabel->setText(MasterControls::NoiseGateLabel(value));
    }
}

void CRibbonBar::ShowPitch(int value)
{
    for (auto& copy : copies_) {
        SetSliderSilently(copy.pitchSlider, value);
        copy.panels[5]->Caption()->setText(MasterControls::PitchCaption(value));
    }
}

void CRibbonBar::SetMusicSourceCaption(const QString& caption)
{
    if (caption == musicSourceCaption_) {
        return;
    }
    musicSourceCaption_ = caption;
    for (auto& copy : copies_) {
        copy.panels[4]->Caption()->setText(caption);
    }
}

QString CRibbonBar::MusicSourceCaption() const
{
    return musicSourceCaption_;
}

void CRibbonBar::Relabel()
{
    appButton_->setText(PairText("文件", "File"));
    tabs_[0]->setText(PairText("输入控制", "Input"));
    tabs_[1]->setText(PairText("输出调节", "Output"));
    side_[0]->setText(PairText("特色功能", "Features"));
    side_[1]->setText(PairText("机器复位", "Reset"));
    side_[2]->setText(PairText("遥控学习", "Remote control"));
    side_[3]->setText("中/EN");
    side_[4]->setToolTip(PairText("关于", "About"));
    for (auto& copy : copies_) {
        for (int p = 0; p < 8; ++p) {
            if (p != 4 && p != 5) {
                copy.panels[static_cast<size_t>(p)]->Caption()->setText(PanelCaption(p));
            }
        }
        for (auto* mute : copy.muteBox) {
            mute->setText(PairText("静音", "Mute"));
        }
        copy.loadMode->setText(PairText("载入模式", "LoadMode"));
        copy.loadFile->setText(PairText("载入文件", "LoadFile"));
        copy.saveMode->setText(PairText("保存模式", "SaveMode"));
        copy.saveFile->setText(PairText("保存文件", "SaveFile"));
    }
    musicSourceCaption_.clear();
    SetMusicSourceCaption(PanelCaption(4));
}

QWidget* CRibbonBar::FindCommand(int id) const
{
    return findChild<QWidget*>(QString("cmd%1").arg(id));
}

QRect CRibbonBar::RectIn(QWidget* w) const
{
    return QRect(w->mapTo(this, QPoint(0, 0)), w->size());
}

void CRibbonBar::wheelEvent(QWheelEvent* event)
{
    event->accept();
    const QPoint delta = event->angleDelta();
    const int d = delta.y() != 0 ? delta.y() : delta.x();
    if (d == 0) {
        return;
    }
    const int step = d > 0 ? 1 : -1;
    const QPoint pos = event->position().toPoint();
    const RibbonCategory& copy = ActiveCopy();
    for (size_t v = 0; v < 4; ++v) {
        if (RectIn(copy.panels[v]).contains(pos)) {
            emit VolumeMoved(static_cast<MasterVolume>(v),
                             std::clamp(copy.volumeSlider[v]->value() + step, 0, 99));
            return;
        }
    }
    if (RectIn(copy.pitchSlider).contains(pos)) {
        emit PitchMoved(std::clamp(copy.pitchSlider->value() + step, -5, 5));
        return;
    }
    if (RectIn(copy.noiseGateSlider).contains(pos)) {
        emit NoiseGateMoved(std::clamp(copy.noiseGateSlider->value() + step, 0, 100));
        return;
    }
    for (size_t i = 0; i < 3; ++i) {
        if (RectIn(copy.inputSlider[i]).contains(pos)) {
            emit InputLevelMoved(static_cast<MusicInput>(i),
                                 std::clamp(copy.inputSlider[i]->value() + step, 0, 100));
            return;
        }
    }
}
