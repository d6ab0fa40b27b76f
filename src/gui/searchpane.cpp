#include "searchpane.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStyledItemDelegate>
#include <QVBoxLayout>
#include <limits>

#include "catalog.h"
#include "codepage.h"
#include "findfileanimation.h"
#include "imagelists.h"
#include "localeformat.h"

namespace quillon {

namespace {

// Where the pickers start: 22 July 2002, 20:44:56.978 and 20:44:21.777.
constexpr DateTime kSecondDateStart = 37459.8645483565;
constexpr DateTime kFirstDateStart = 37459.8641409375;

// The volumes of "Look in:" stand one level in from "My Catalogs".
class IndentDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem indented = option;
        indented.rect.adjust(10 * index.data(SearchPane::IndentRole).toInt(), 0, 0, 0);
        QStyledItemDelegate::paint(painter, indented, index);
    }
};

QWidget* row(std::initializer_list<QWidget*> widgets, int indent, int spacing = 7) {
    auto* holder = new QWidget;
    auto* layout = new QHBoxLayout(holder);
    layout->setContentsMargins(indent, 0, 0, 0);
    layout->setSpacing(spacing);
    for (QWidget* w : widgets) layout->addWidget(w);
    layout->addStretch(1);
    return holder;
}

QSpinBox* spinEdit(int minimum, int maximum, int step) {
    auto* spin = new QSpinBox;
    spin->setRange(minimum, maximum);
    spin->setSingleStep(step);
    spin->setValue(0);
    spin->setFixedWidth(52);
    return spin;
}

// The whole number written in the edit; anything else reads as 0.
std::int64_t spinValue(const QSpinBox* spin) {
    bool ok = false;
    const qlonglong value = spin->cleanText().toLongLong(&ok);
    return ok ? value : 0;
}

QLabel* clickText(const QString& text) {
    auto* label = new QLabel(text);
    label->setCursor(Qt::PointingHandCursor);
    return label;
}

}  // namespace

SearchPane::SearchPane(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("SearchPane"));
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
    // The pane was laid out for a small dialog font in a 225 pixel wide panel; a tenth smaller than the
    // desktop's usual font keeps the options panel within that width.
    QFont compact = font();
    if (compact.pointSizeF() > 0) compact.setPointSizeF(compact.pointSizeF() * 0.9);
    setFont(compact);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(8, 5, 6, 8);
    column->setSpacing(0);

    FindFile = new FindFileAnimation;
    FindFile->setObjectName(QStringLiteral("FindFile"));
    auto* title = new QLabel(QStringLiteral("Search for Files and Folders"));
    QFont bold = font();
    bold.setBold(true);
    title->setFont(bold);
    // A wide desktop font would have the title cut at the pane's usual width.
    title->setWordWrap(true);
    auto* titleRow = new QHBoxLayout;
    titleRow->setSpacing(2);
    titleRow->addWidget(FindFile, 0, Qt::AlignTop);
    titleRow->addWidget(title, 1);
    column->addLayout(titleRow);
    column->addSpacing(3);

    auto* rule = new QFrame;
    rule->setObjectName(QStringLiteral("Shape2"));
    rule->setFixedHeight(2);
    rule->setMinimumWidth(155);
    rule->setAutoFillBackground(true);
    QPalette silver = rule->palette();
    silver.setColor(QPalette::Window, QColor(192, 192, 192));
    rule->setPalette(silver);
    column->addWidget(rule);
    column->addSpacing(8);

    column->addWidget(new QLabel(QStringLiteral("Search for files or folders named:")));
    column->addSpacing(3);
    FileNames = new QLineEdit;
    FileNames->setObjectName(QStringLiteral("FileNames"));
    FileNames->setMinimumWidth(155);
    column->addWidget(FileNames);
    column->addSpacing(8);

    column->addWidget(new QLabel(QStringLiteral("Look in:")));
    column->addSpacing(2);
    LookIn = new QComboBox;
    LookIn->setObjectName(QStringLiteral("LookIn"));
    LookIn->setIconSize({16, 16});
    LookIn->setItemDelegate(new IndentDelegate(LookIn));
    LookIn->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    LookIn->setMinimumContentsLength(12);
    column->addWidget(LookIn);
    column->addSpacing(10);

    SearchNow = new QPushButton(QStringLiteral("Search Now"));
    SearchNow->setObjectName(QStringLiteral("SearchNow"));
    StopSearch = new QPushButton(QStringLiteral("Stop Search"));
    StopSearch->setObjectName(QStringLiteral("StopSearch"));
    StopSearch->setEnabled(false);
    for (QPushButton* button : {SearchNow, StopSearch}) button->setMinimumWidth(70);
    column->addWidget(row({SearchNow, StopSearch}, 0, 9));
    column->addSpacing(9);

    SOptHiden = clickText(QStringLiteral(" Search Options >>"));
    SOptHiden->setObjectName(QStringLiteral("SOptHiden"));
    QFont underlined = font();
    underlined.setUnderline(true);
    SOptHiden->setFont(underlined);
    SOptHiden->setStyleSheet(QStringLiteral("color: blue;"));
    SOptHiden->installEventFilter(this);
    column->addWidget(SOptHiden);

    buildOptionsPanel();
    column->addWidget(Panel2);
    Panel2->hide();
    column->addStretch(1);

    setPicker(SecondDate, m_secondTime, kSecondDateStart);
    setPicker(FirstDate, m_firstTime, kFirstDateStart);

    connect(MediaInfo, &QCheckBox::toggled, this, &SearchPane::MediaInfoClick);
    connect(DateCB, &QCheckBox::toggled, this, &SearchPane::DateCBClick);
    connect(SizeCB, &QCheckBox::toggled, this, &SearchPane::SizeCBClick);
    connect(m_dateKinds, &QButtonGroup::buttonToggled, this, &SearchPane::RadioButClick);

    const auto changed = [this] { emit criteriaChanged(); };
    for (QLineEdit* edit : {FileNames, Artist, Title}) connect(edit, &QLineEdit::textChanged, this, changed);
    for (QCheckBox* box : {MediaInfo, DateCB, SizeCB}) connect(box, &QCheckBox::toggled, this, changed);
    connect(m_dateKinds, &QButtonGroup::buttonToggled, this, changed);
    for (QSpinBox* spin : {Months, Days, SizeEdit}) connect(spin, &QSpinBox::textChanged, this, changed);
    for (QDateTimeEdit* picker : {FirstDate, SecondDate})
        connect(picker, &QDateTimeEdit::dateTimeChanged, this, changed);
    connect(LeastMost, &QComboBox::currentIndexChanged, this, changed);

    // The captions in the pane's own font, never cut by the columns beside them.
    for (QRadioButton* radio : {LastMonths, LastDays, Between})
        radio->setMinimumWidth(radio->sizeHint().width());

    MediaInfoClick();
    RadioButClick();
}

void SearchPane::buildOptionsPanel() {
    Panel2 = new QFrame;
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setFrameStyle(QFrame::Box | QFrame::Plain);
    Panel2->setMinimumWidth(200);
    Panel2->setAutoFillBackground(true);
    QPalette white = Panel2->palette();
    white.setColor(QPalette::Window, Qt::white);
    Panel2->setPalette(white);
    auto* stack = new QVBoxLayout(Panel2);
    stack->setContentsMargins(1, 1, 1, 8);
    stack->setSpacing(6);

    SOptShown = clickText(QStringLiteral(" Search Options <<"));
    SOptShown->setObjectName(QStringLiteral("SOptShown"));
    SOptShown->setFixedHeight(15);
    SOptShown->setStyleSheet(QStringLiteral("color: white; background-color: navy;"));
    SOptShown->installEventFilter(this);
    stack->addWidget(SOptShown);

    MediaInfo = new QCheckBox(QStringLiteral("&Media Info (mp3 only)"));
    MediaInfo->setObjectName(QStringLiteral("MediaInfo"));
    stack->addWidget(row({MediaInfo}, 10));
    Artist = new QLineEdit;
    Artist->setObjectName(QStringLiteral("Artist"));
    Title = new QLineEdit;
    Title->setObjectName(QStringLiteral("Title"));
    for (QLineEdit* edit : {Artist, Title}) edit->setMinimumWidth(120);
    m_artistRow = row({Artist, new QLabel(QStringLiteral("Artist"))}, 15, 3);
    m_titleRow = row({Title, new QLabel(QStringLiteral("Title"))}, 15, 3);
    stack->addWidget(m_artistRow);
    stack->addWidget(m_titleRow);

    DateCB = new QCheckBox(QStringLiteral("&Date"));
    DateCB->setObjectName(QStringLiteral("DateCB"));
    stack->addWidget(row({DateCB}, 10));
    LastMonths = new QRadioButton(QStringLiteral("in the last"));
    LastMonths->setObjectName(QStringLiteral("LastMonths"));
    LastDays = new QRadioButton(QStringLiteral("in the last"));
    LastDays->setObjectName(QStringLiteral("LastDays"));
    Between = new QRadioButton(QStringLiteral("between"));
    Between->setObjectName(QStringLiteral("Between"));
    Between->setChecked(true);
    m_dateKinds = new QButtonGroup(this);
    for (QRadioButton* radio : {LastMonths, LastDays, Between}) {
        radio->setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Fixed);
        m_dateKinds->addButton(radio);
    }
    // No limits: the numbers are read as typed, negative ones included.
    constexpr int kNoLimit = std::numeric_limits<int>::max();
    Months = spinEdit(-kNoLimit, kNoLimit, 1);
    Months->setObjectName(QStringLiteral("Months"));
    Days = spinEdit(-kNoLimit, kNoLimit, 1);
    Days->setObjectName(QStringLiteral("Days"));
    const auto picker = [](const char* name) {
        auto* edit = new QDateTimeEdit;
        edit->setObjectName(QLatin1StringView(name));
        edit->setDisplayFormat(activeLocaleFormat().shortDateFormat());
        edit->setCalendarPopup(true);
        edit->setMinimumWidth(90);
        return edit;
    };
    FirstDate = picker("FirstDate");
    SecondDate = picker("SecondDate");
    // One grid keeps the numbers and the dates in one column, whatever the width of the radio captions.
    m_dateRows = new QWidget;
    auto* grid = new QGridLayout(m_dateRows);
    grid->setContentsMargins(12, 0, 2, 0);
    grid->setHorizontalSpacing(3);
    grid->setVerticalSpacing(6);
    grid->addWidget(LastMonths, 0, 0);
    grid->addWidget(Months, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("months")), 0, 2);
    grid->addWidget(LastDays, 1, 0);
    grid->addWidget(Days, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("days")), 1, 2);
    grid->addWidget(Between, 2, 0);
    grid->addWidget(FirstDate, 2, 1, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("and")), 3, 0, Qt::AlignRight);
    grid->addWidget(SecondDate, 3, 1, 1, 2);
    grid->setColumnStretch(3, 1);
    stack->addWidget(m_dateRows);

    SizeCB = new QCheckBox(QStringLiteral("&Size (files only)"));
    SizeCB->setObjectName(QStringLiteral("SizeCB"));
    stack->addWidget(row({SizeCB}, 10));
    LeastMost = new QComboBox;
    LeastMost->setObjectName(QStringLiteral("LeastMost"));
    LeastMost->addItems({QStringLiteral("at least"), QStringLiteral("at most")});
    LeastMost->setCurrentIndex(0);
    SizeEdit = spinEdit(0, 5250000, 10);
    SizeEdit->setObjectName(QStringLiteral("SizeEdit"));
    m_sizeRow = row({LeastMost, SizeEdit, new QLabel(QStringLiteral("KB"))}, 15, 4);
    stack->addWidget(m_sizeRow);
}

void SearchPane::setPicker(QDateTimeEdit* picker, QTime& time, DateTime value) {
    const QDateTime full = toQDateTime(value);
    time = full.time();
    picker->setDateTime(full);
}

DateTime SearchPane::pickerValue(const QDateTimeEdit* picker, QTime time) const {
    return fromQDateTime(QDateTime(picker->date(), time));
}

SearchCriteria SearchPane::criteria() const {
    SearchCriteria c;
    const CodePage& codePage = activeCodePage();
    c.pattern = codePage.fromUnicode(FileNames->text());
    c.mediaInfo = MediaInfo->isChecked();
    c.artist = codePage.fromUnicode(Artist->text());
    c.title = codePage.fromUnicode(Title->text());
    c.dateOn = DateCB->isChecked();
    c.dateKind = LastMonths->isChecked() ? DateKind::LastMonths
                 : LastDays->isChecked() ? DateKind::LastDays
                                         : DateKind::Between;
    c.months = spinValue(Months);
    c.days = spinValue(Days);
    c.firstDate = pickerValue(FirstDate, m_firstTime);
    c.secondDate = pickerValue(SecondDate, m_secondTime);
    c.sizeOn = SizeCB->isChecked();
    c.sizeSense = LeastMost->currentIndex() == 0   ? SizeSense::AtLeast
                  : LeastMost->currentIndex() == 1 ? SizeSense::AtMost
                                                   : SizeSense::Unselected;
    c.sizeKB = spinValue(SizeEdit);
    return c;
}

bool SearchPane::optionsShown() const {
    return !Panel2->isHidden();
}

void SearchPane::ToggleSearchOptions() {
    const bool show = Panel2->isHidden();
    Panel2->setVisible(show);
    SOptHiden->setVisible(!show);
    DateCBClick();
    setPicker(FirstDate, m_firstTime, pickerValue(SecondDate, m_secondTime) - 10);
    if (!show) {
        // A hidden panel never restricts a search.
        MediaInfo->setChecked(false);
        DateCB->setChecked(false);
        SizeCB->setChecked(false);
    }
}

void SearchPane::MediaInfoClick() {
    const bool on = MediaInfo->isChecked();
    const bool was = !FileNames->isEnabled();
    FileNames->setEnabled(!on);
    if (on != was) FileNames->setText(on ? QStringLiteral("*.mp3") : QString());
    m_artistRow->setVisible(on);
    m_titleRow->setVisible(on);
    DateCBClick();
}

void SearchPane::DateCBClick() {
    const bool on = DateCB->isChecked();
    m_dateRows->setVisible(on);
    SizeCBClick();
}

void SearchPane::SizeCBClick() {
    m_sizeRow->setVisible(SizeCB->isChecked());
}

void SearchPane::RadioButClick() {
    Months->setEnabled(LastMonths->isChecked());
    Days->setEnabled(LastDays->isChecked());
    FirstDate->setEnabled(Between->isChecked());
    SecondDate->setEnabled(Between->isChecked());
}

void SearchPane::FillLookIn(const Catalog& catalog, const CatalogNode* selected) {
    const CodePage& codePage = activeCodePage();
    LookIn->clear();
    const CatalogNode& first = selected ? *selected : catalog.root();
    LookIn->addItem(catalogImage(first.image()), codePage.toUnicode(first.text()));
    LookIn->addItem(catalogImage(0), codePage.toUnicode(Catalog::kRootText));
    for (const auto& volume : catalog.root().children()) {
        LookIn->addItem(catalogImage(1), codePage.toUnicode(volume->text()));
        const int entry = LookIn->count() - 1;
        LookIn->setItemData(entry, QVariant::fromValue<qulonglong>(volume->id()), VolumeIdRole);
        LookIn->setItemData(entry, 1, IndentRole);
    }
    LookIn->setCurrentIndex(0);
}

void SearchPane::setLookInLocation(const QString& path, int image) {
    if (LookIn->count() == 0) return;
    LookIn->setItemText(0, path);
    LookIn->setItemIcon(0, catalogImage(image));
}

std::uint64_t SearchPane::lookInVolume(int entry) const {
    if (entry < 2 || entry >= LookIn->count()) return 0;
    return LookIn->itemData(entry, VolumeIdRole).toULongLong();
}

bool SearchPane::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == SOptHiden || watched == SOptShown) && event->type() == QEvent::MouseButtonRelease) {
        ToggleSearchOptions();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void SearchPane::keyPressEvent(QKeyEvent* event) {
    // Enter in the name, the lists, the numbers or the dates acts on whichever of the two buttons is enabled:
    // it starts a run when none is going on and stops the one that is.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (SearchNow->isEnabled())
            SearchNow->click();
        else if (StopSearch->isEnabled())
            StopSearch->click();
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

}  // namespace quillon
