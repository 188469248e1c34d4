#include "eq/CEqBandList.h"

#include "controls/CXBmpSlider.h"
#include "eq/CEqPanel.h"
#include "eq/CEqWheelForwarder.h"
#include "eq/EqBandText.h"
#include "eq/EqGeometry.h"
#include "eq/EqTexts.h"
#include "i18n/DialogTexts.h"
#include "i18n/Language.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QResizeEvent>
#include <QShortcut>
#include <QStyledItemDelegate>
#include <QTableWidget>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {
// Dialog units of the editor layout in pixels (a 9-point dialog font).
constexpr double kDluX = 1.5;
constexpr double kDluY = 1.625;

QRect Dlu(int x, int y, int w, int h)
{
    return QRect(static_cast<int>(std::lround(x * kDluX)), static_cast<int>(std::lround(y * kDluY)),
                 static_cast<int>(std::lround(w * kDluX)),
                 static_cast<int>(std::lround(h * kDluY)));
}

constexpr int kColumnWidths[EQ_COL_COUNT] = {30, 55, 60, 60, 50};
// Frequencies the rows show before the page's first refresh.
constexpr int kStartFreqs[] = {20,  25,  31,  40,  50,  63,   80,   100,  125,  160,  200,  250,
                               315, 400, 500, 630, 800, 1000, 1250, 1600, 2000, 2500, 3150, 4000};

QString Gain(double g)
{
    return QString::fromStdString(FormatGainDb(g));
}
QString Freq(double f)
{
    return QString::fromStdString(FormatFreqHz(f));
}
QString Qtext(double q)
{
    return QString::fromStdString(FormatQ(q));
}

QString TypeName(int type)
{
    if (type < 0 || type > 5) {
        return QString();
    }
    return QString::fromUtf8(kEqTypeNames[type][CurrentLanguage()]);
}

// Per-cell editors of the list: a drop-down of the five user types for the type column, a
// text edit for gain, frequency and Q. The end of an edit goes to the band list, which
// applies it and rewrites the cells from the band.
class BandListDelegate : public QStyledItemDelegate
{
public:
    BandListDelegate(CEqBandList* owner, QObject* parent)
        : QStyledItemDelegate(parent), owner_(owner)
    {
    }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                          const QModelIndex& index) const override
    {
        if (index.column() == EQ_COL_TYPE) {
            auto* combo = new QComboBox(parent);
            for (int t = 1; t <= 5; ++t) {
                combo->addItem(TypeName(t));
            }
            return combo;
        }
        if (index.column() >= EQ_COL_GAIN && index.column() <= EQ_COL_Q) {
            auto* edit = new QLineEdit(parent);
            edit->setAlignment(Qt::AlignCenter);
            return edit;
        }
        return nullptr;
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override
    {
        const QString text = index.data(Qt::DisplayRole).toString();
        if (auto* combo = qobject_cast<QComboBox*>(editor)) {
            const int i = combo->findText(text);
            combo->setCurrentIndex(std::max(i, 0));
        } else if (auto* edit = qobject_cast<QLineEdit*>(editor)) {
            edit->setText(text);
            edit->selectAll();
        }
    }

    void setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const override
    {
        QString text;
        if (auto* combo = qobject_cast<QComboBox*>(editor)) {
            text = combo->currentText();
        } else if (auto* edit = qobject_cast<QLineEdit*>(editor)) {
            text = edit->text();
        }
        owner_->ApplyListEdit(index.row(), index.column(), text);
    }

private:
    CEqBandList* owner_;
};
} // namespace

CEqBandList::CEqBandList(QWidget* parent) : QWidget(parent)
{
    list_ = new QTableWidget(this);
    list_->setObjectName(QStringLiteral("bandList"));
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setShowGrid(true);
    list_->verticalHeader()->hide();
    list_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    list_->verticalHeader()->setDefaultSectionSize(20);
    // The column widths are fixed; a slightly smaller font lets "20000Hz" fit in 60 pixels.
    QFont listFont = list_->font();
    listFont.setPointSizeF(8.0);
    list_->setFont(listFont);
    list_->setTextElideMode(Qt::ElideNone);
    list_->setWordWrap(false);
    list_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    list_->horizontalHeader()->setHighlightSections(false);
    list_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                           QAbstractItemView::EditKeyPressed);
    list_->setItemDelegate(new BandListDelegate(this, list_));
    BuildEditor();
    BuildList();
    ShowBandList();
}

CEqBandList::~CEqBandList() = default;

QSize CEqBandList::sizeHint() const
{
    const QRect r = Dlu(0, 0, 181, 118);
    int listWidth = 2 * list_->frameWidth();
    for (int w : kColumnWidths) {
        listWidth += w;
    }
    return {std::max(r.width(), listWidth), r.height()};
}

QString CEqBandList::Caption(int controlId, const char* zh, const char* en) const
{
    if (dialogId_ > 0) {
        const std::string t = DialogCaptionText(dialogId_, controlId);
        if (!t.empty()) {
            return QString::fromStdString(t);
        }
    }
    return QString::fromUtf8(TextPair{zh, en}[CurrentLanguage()]);
}

void CEqBandList::BuildEditor()
{
    editor_ = new QWidget(this);
    editor_->setObjectName(QStringLiteral("bandEditor"));
    const int groupX[4] = {5, 48, 91, 134};
    const int groupIds[4] = {IDC_EQ_GROUP_TYPE, IDC_EQ_GROUP_GAIN, IDC_EQ_GROUP_FREQ,
                             IDC_EQ_GROUP_Q};
    for (size_t g = 0; g < 4; ++g) {
        groups_[g] = new QGroupBox(editor_);
        groups_[g]->setGeometry(Dlu(groupX[g], 0, 42, 118));
        groups_[g]->setProperty("controlId", groupIds[g]);
    }
    number_ = new QLabel(editor_);
    number_->setGeometry(Dlu(11, 12, 25, 19));
    QFont big;
    big.setFamilies({"Arial", "Liberation Sans", "DejaVu Sans"});
    big.setPixelSize(24);
    big.setBold(true);
    number_->setFont(big);
    number_->setAlignment(Qt::AlignCenter);

    radioGroup_ = new QButtonGroup(this);
    radioGroup_->setExclusive(true);
    for (int i = 0; i < 5; ++i) {
        auto* r = new QRadioButton(editor_);
        r->setGeometry(Dlu(9, 31 + 16 * i, 32, 10));
        radioGroup_->addButton(r, IDC_EQ_RADIO_PEQ + i);
        radios_[static_cast<size_t>(i)] = r;
    }
    connect(radioGroup_, &QButtonGroup::idClicked, this, &CEqBandList::OnRadioClicked);

    const int sliderX[3] = {62, 104, 146};
    const int sliderIds[3] = {IDC_EQ_SLIDER_GAIN, IDC_EQ_SLIDER_FREQ, IDC_EQ_SLIDER_Q};
    const int ranges[3][2] = {{-150, 150}, {20, 20000}, {10, 3000}};
    const int editX[3] = {52, 95, 137};
    for (size_t s = 0; s < 3; ++s) {
        auto* sl = new CXBmpSlider(editor_, sliderIds[s]);
        sl->SetupVertical();
        const QRect g = Dlu(sliderX[s], 15, 15, 81);
        sl->SetChannelSize(g.size());
        sl->setGeometry(g);
        sl->SetRange(ranges[s][0], ranges[s][1]);
        connect(sl, &CXBmpSlider::SliderMoved, this, &CEqBandList::OnSliderMoved);
        sliders_[s] = sl;
        auto* e = new QLineEdit(editor_);
        e->setGeometry(Dlu(editX[s], 99, 34, 14));
        e->setAlignment(Qt::AlignCenter);
        // The edits are narrow: "+12.0dB" must fit without scrolling.
        QFont small = e->font();
        small.setPointSizeF(7.5);
        e->setFont(small);
        e->setTextMargins(0, 0, 0, 0);
        e->setProperty("controlId", IDC_EQ_EDIT_GAIN + static_cast<int>(s));
        connect(e, &QLineEdit::returnPressed, this, &CEqBandList::ApplyBandEditor);
        edits_[s] = e;
    }
    editor_->resize(Dlu(0, 0, 181, 118).size());
    Retranslate();
}

void CEqBandList::SetDialogId(int dialogId)
{
    dialogId_ = dialogId;
    Retranslate();
}

void CEqBandList::Retranslate()
{
    const int groupIds[4] = {IDC_EQ_GROUP_TYPE, IDC_EQ_GROUP_GAIN, IDC_EQ_GROUP_FREQ,
                             IDC_EQ_GROUP_Q};
    for (size_t g = 0; g < 4; ++g) {
        groups_[g]->setTitle(Caption(groupIds[g], kEqEditorGroups[g].zh, kEqEditorGroups[g].en));
    }
    for (size_t i = 0; i < 5; ++i) {
        radios_[i]->setText(Caption(IDC_EQ_RADIO_PEQ + static_cast<int>(i), kEqEditorRadios[i].zh,
                                    kEqEditorRadios[i].en));
    }
    if (list_->columnCount() > 0) {
        BuildList();
    }
}

void CEqBandList::BuildList()
{
    filling_ = true;
    list_->clear();
    list_->setColumnCount(EQ_COL_COUNT);
    QStringList titles;
    for (int c = 0; c < EQ_COL_COUNT; ++c) {
        titles << QString::fromUtf8(kEqListColumns[c][CurrentLanguage()]);
        list_->setColumnWidth(c, kColumnWidths[c]);
    }
    list_->setHorizontalHeaderLabels(titles);
    list_->setRowCount(rows_);
    for (int r = 0; r < rows_; ++r) {
        const int f =
            kStartFreqs[std::min<size_t>(static_cast<size_t>(r), std::size(kStartFreqs) - 1)];
        const QString texts[EQ_COL_COUNT] = {QString::number(r + 1), TypeName(1),
                                             QStringLiteral("0.0dB"), QStringLiteral("%1Hz").arg(f),
                                             QStringLiteral("1.414")};
        for (int c = 0; c < EQ_COL_COUNT; ++c) {
            auto* item = new QTableWidgetItem(texts[c]);
            item->setTextAlignment(Qt::AlignCenter);
            item->setData(Qt::UserRole, r);
            if (c == EQ_COL_NUMBER) {
                item->setFlags(item->flags() & ~Qt::ItemIsEditable);
            }
            list_->setItem(r, c, item);
        }
    }
    filling_ = false;
    // The rows show the panel's bands at once rather than waiting for the page's refresh.
    if (panel_) {
        for (int r = 0; r < rows_; ++r) {
            FillRow(r, panel_->Band(r));
        }
    }
}

void CEqBandList::AttachPanel(CEqPanel* panel)
{
    if (panel_) {
        disconnect(panel_, nullptr, this, nullptr);
    }
    panel_ = panel;
    if (!panel_) {
        return;
    }
    connect(panel_, &CEqPanel::BandChanged, this,
            [this](const EqPanelBand&, int slot) { ShowBand(slot, true); });
    connect(panel_, &CEqPanel::BandPicked, this,
            [this](const EqPanelBand&, int slot) { ShowBand(slot, false); });
    connect(panel_, &CEqPanel::BandNone, this, [this] {
        if (editBand_ != -1) {
            editBand_ = -1;
            ShowBandList();
        }
    });
    for (int r = 0; r < rows_; ++r) {
        FillRow(r, panel_->Band(r));
    }
}

void CEqBandList::SetBandCount(int rows)
{
    rows_ = std::clamp(rows, 0, CEqPanel::kSlots);
    if (editBand_ >= rows_) {
        editBand_ = -1;
    }
    BuildList();
    ShowBandList();
}

QString CEqBandList::CellText(int row, int column) const
{
    const QTableWidgetItem* item = list_->item(row, column);
    return item ? item->text() : QString();
}

void CEqBandList::SetCell(int row, int column, const QString& text)
{
    if (QTableWidgetItem* item = list_->item(row, column)) {
        item->setText(text);
    }
}

void CEqBandList::FillRow(int row, const EqPanelBand& band)
{
    if (row < 0 || row >= rows_) {
        return;
    }
    SetCell(row, EQ_COL_TYPE, TypeName(UserType(row, band.type)));
    SetCell(row, EQ_COL_GAIN, Gain(static_cast<double>(band.gain)));
    SetCell(row, EQ_COL_FREQ, Freq(static_cast<double>(band.freq)));
    SetCell(row, EQ_COL_Q, Qtext(static_cast<double>(band.q)));
}

void CEqBandList::CloseEditor()
{
    editBand_ = -1;
    ShowBandList();
}

int CEqBandList::UserType(int slot, int type) const
{
    if (type >= 0 && type <= 5) {
        return type;
    }
    // A SUB band built from crossover sections reads as the side it passes.
    if (panel_ && panel_->IsSubMode() && slot >= 0 && slot < CEqPanel::kSubVisible) {
        return type % 2 == 0 ? EQ_TYPE_LP : EQ_TYPE_HP;
    }
    return -1;
}

void CEqBandList::ShowBandList()
{
    const bool listMode = editBand_ == -1;
    list_->setVisible(listMode);
    editor_->setVisible(!listMode);
}

void CEqBandList::RefreshEditor(int slot, const EqPanelBand& band)
{
    edits_[0]->setText(Gain(static_cast<double>(band.gain)));
    edits_[1]->setText(Freq(static_cast<double>(band.freq)));
    edits_[2]->setText(Qtext(static_cast<double>(band.q)));
    sliders_[2]->SetRange(10, band.type == 1 ? 3000 : 200);
    sliders_[0]->SetPos(std::clamp(static_cast<int>(std::lround(band.gain * 10.0f)), -150, 150));
    sliders_[1]->SetPos(std::clamp(static_cast<int>(band.freq), 20, 20000));
    sliders_[2]->SetPos(static_cast<int>(std::lround(band.q * 100.0f)));
    const int user = UserType(slot, band.type);
    editType_ = user - 1;
    if (user >= 1 && user <= 5) {
        radios_[static_cast<size_t>(user - 1)]->setChecked(true);
    } else {
        // A crossover section has no radio.
        radioGroup_->setExclusive(false);
        for (QRadioButton* r : radios_) {
            r->setChecked(false);
        }
        radioGroup_->setExclusive(true);
    }
    const bool gain = HasUserGain(band.type);
    sliders_[0]->SetSliderEnabled(gain);
    edits_[0]->setEnabled(gain);
}

void CEqBandList::RefreshAll(int slot)
{
    const EqPanelBand& band = panel_->Band(slot);
    FillRow(slot, band);
    if (slot == editBand_) {
        RefreshEditor(slot, band);
    }
}

void CEqBandList::RefreshBand(int slot)
{
    if (panel_ && slot >= 0 && slot < CEqPanel::kSlots) {
        RefreshAll(slot);
    }
}

void CEqBandList::Write(int slot)
{
    if (!writer_ || !panel_) {
        return;
    }
    const EqPanelBand& b = panel_->Band(slot);
    EqBand record;
    record.gain = static_cast<double>(b.gain);
    record.freq = static_cast<int>(std::lround(b.freq));
    record.q = static_cast<double>(b.q);
    record.type = b.type;
    writer_(slot, record);
}

void CEqBandList::ShowBand(int band, bool write)
{
    if (!panel_ || band < 0 || band >= CEqPanel::kSlots) {
        return;
    }
    const EqPanelBand& b = panel_->Band(band);
    FillRow(band, b);
    RefreshEditor(band, b);
    number_->setText(QString::number(band + 1));
    if (band < rows_) {
        list_->selectRow(band);
    }
    if (write) {
        Write(band);
    }
    // The editor always edits the band it shows, also when another band was open before.
    const bool wasList = editBand_ == -1;
    editBand_ = band;
    if (wasList) {
        ShowBandList();
    }
}

void CEqBandList::ApplyBandEditor()
{
    if (!panel_ || editBand_ == -1) {
        return;
    }
    const int slot = editBand_;
    const double gain = ParseLeadingNumber(edits_[0]->text().toStdString());
    panel_->SetBandGain(slot, gain);
    sliders_[0]->SetPos(std::clamp(static_cast<int>(std::lround(gain * 10.0)), -150, 150));

    double freq = ParseLeadingNumber(edits_[1]->text().toStdString());
    if (raiseTo20_ && freq < 20.0) {
        freq = 20.0;
    }
    if (freq != 0.0) {
        panel_->Band(slot).freq = static_cast<float>(std::clamp(freq, 20.0, 20000.0));
        panel_->UpdateBandCurve(slot);
    }
    sliders_[1]->SetPos(static_cast<int>(std::lround(std::clamp(freq, 20.0, 20000.0))));

    const double q = ParseLeadingNumber(edits_[2]->text().toStdString());
    panel_->SetBandQ(slot, q);
    // SetPos keeps the slider within its range.
    sliders_[2]->SetPos(static_cast<int>(std::clamp(q * 100.0, -1e6, 1e6)));

    Write(slot);

    const EqPanelBand& b = panel_->Band(slot);
    FillRow(slot, b);
    edits_[0]->setText(Gain(static_cast<double>(b.gain)));
    edits_[1]->setText(Freq(static_cast<double>(b.freq)));
    edits_[2]->setText(Qtext(static_cast<double>(b.q)));
}

void CEqBandList::SetBandTypeFromUi(int slot, int type)
{
    if (!panel_ || slot < 0 || slot >= CEqPanel::kSlots) {
        return;
    }
    // On the SUB panel a user type sets the band's four stages; elsewhere the band's type.
    panel_->SetSubFilterType(slot, type);
    Write(slot);
    RefreshAll(slot);
}

void CEqBandList::ApplyListEdit(int row, int column, const QString& text)
{
    if (!panel_ || filling_ || row < 0 || row >= rows_) {
        return;
    }
    if (column == EQ_COL_TYPE) {
        for (int k = 0; k <= 5; ++k) {
            if (text == TypeName(k)) {
                SetBandTypeFromUi(row, k);
                return;
            }
        }
        return;
    }
    if (column < EQ_COL_GAIN || column > EQ_COL_Q) {
        return;
    }
    SetCell(row, column, text);
    const double gain = ParseLeadingNumber(CellText(row, EQ_COL_GAIN).toStdString());
    const double freq = ParseLeadingNumber(CellText(row, EQ_COL_FREQ).toStdString());
    const double q = ParseLeadingNumber(CellText(row, EQ_COL_Q).toStdString());
    EqPanelBand& b = panel_->Band(row);
    b.gain = GainForcedZero(b.type) ? 0.0f : static_cast<float>(std::clamp(gain, -15.0, 15.0));
    if (freq != 0.0) {
        b.freq = static_cast<float>(std::clamp(freq, 20.0, 20000.0));
    }
    panel_->SetBandQ(row, q);
    panel_->UpdateBandCurve(row);
    Write(row);
    SetCell(row, EQ_COL_GAIN, Gain(static_cast<double>(b.gain)));
    SetCell(row, EQ_COL_FREQ, Freq(static_cast<double>(b.freq)));
    SetCell(row, EQ_COL_Q, Qtext(static_cast<double>(b.q)));
    if (row == editBand_) {
        RefreshEditor(row, b);
    }
}

void CEqBandList::OnSliderMoved(int controlId, int position)
{
    char buf[32];
    switch (controlId) {
    case IDC_EQ_SLIDER_GAIN:
        edits_[0]->setText(Gain(position / 10.0));
        break;
    case IDC_EQ_SLIDER_FREQ:
        std::snprintf(buf, sizeof buf, "%dHz", position);
        edits_[1]->setText(QString::fromLatin1(buf));
        break;
    case IDC_EQ_SLIDER_Q:
        edits_[2]->setText(Qtext(position / 100.0));
        break;
    default:
        return;
    }
    ApplyBandEditor();
}

void CEqBandList::OnRadioClicked(int controlId)
{
    const int index = controlId - IDC_EQ_RADIO_PEQ;
    if (index < 0 || index > 4) {
        return;
    }
    sliders_[2]->SetRange(10, index == 0 ? 3000 : 200);
    if (editBand_ != -1) {
        SetBandTypeFromUi(editBand_, index + 1);
    }
}

void CEqBandList::PickBandByDigit(int digit)
{
    if (!panel_ || digit < 0 || digit > 9) {
        return;
    }
    const int slot = digit == 0 ? 9 : digit - 1;
    if (slot >= panel_->VisibleCount()) {
        return;
    }
    panel_->SetSelected(slot);
    panel_->setFocus(Qt::ShortcutFocusReason);
    emit panel_->BandPicked(panel_->Band(slot), slot);
}

void CEqBandList::InstallPickShortcuts(QWidget* scope)
{
    for (int d = 0; d <= 9; ++d) {
        auto* s =
            new QShortcut(QKeySequence(Qt::CTRL | static_cast<Qt::Key>(Qt::Key_0 + d)), scope);
        s->setContext(Qt::WidgetWithChildrenShortcut);
        connect(s, &QShortcut::activated, this, [this, d] { PickBandByDigit(d); });
    }
}

void CEqBandList::InstallWheelForwarding(QWidget* page)
{
    auto* f = new CEqWheelForwarder(page);
    if (panel_) {
        f->AddTarget(panel_);
    }
    for (CXBmpSlider* s : sliders_) {
        f->AddTarget(s);
    }
}

void CEqBandList::resizeEvent(QResizeEvent* event)
{
    list_->setGeometry(QRect(QPoint(0, 0), event->size()));
    editor_->move(0, 0);
}
