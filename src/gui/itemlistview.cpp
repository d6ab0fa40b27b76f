#include "itemlistview.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QKeyEvent>
#include <QListView>
#include <QTreeView>
#include <algorithm>
#include <functional>
#include <vector>

#include "celltexts.h"
#include "textadvances.h"

namespace quillon {

namespace {

constexpr int kColumnMargin = 16;
constexpr int kPictureSpacing = 4;

void setUpCommon(QAbstractItemView* view) {
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setFrameShape(QFrame::NoFrame);
}

// Up to this many rows every text is measured. Measuring costs microseconds a text, which over a hundred
// thousand rows costs several times more than filling the list.
constexpr int kMeasureAllRows = 20000;
// In longer lists only the texts with the largest estimates are measured.
constexpr std::size_t kMeasuredCandidates = 256;
// Kerning and shaping make a text at most this many pixels, and a sixteenth of its estimate, wider than the
// sum of its characters' advances.
constexpr double kKerningSlack = 2;
// Of the candidates with one and the same estimate this many are measured.
constexpr std::size_t kMeasuredAlike = 8;
// Every this many estimates one is sampled for the bound, the sample's kSampleRank + 1st largest.
constexpr std::size_t kSampleStep = 32;
constexpr std::size_t kSampleRank = 15;
static_assert(std::size_t(kMeasureAllRows) / kSampleStep > kSampleRank &&
              std::size_t(kMeasureAllRows) >= kMeasuredCandidates);

// The width of the widest display text of a column. In a long list every text is estimated from the sum of
// its characters' advances (measured once per character, and summed by the model from its records where it
// can) and the widest estimates are measured exactly. Kerning and shaping move a width by a pixel or two at
// most, so the widest text is among them; should a font kern some text wider than the sum of its characters,
// its column comes out that pixel or two narrower. The vectors are the estimates and a copy put in order,
// kept between columns.
int widestText(const QAbstractItemModel& model, int column, const QFontMetrics& metrics,
               TextAdvances& advances, std::vector<double>& sums, std::vector<double>& ordered) {
    const int rows = model.rowCount();
    const auto* cells = dynamic_cast<const CellTexts*>(&model);
    auto textAt = [&](int row) {
        return cells ? cells->cellText(row, column) : model.index(row, column).data().toString();
    };
    int widest = 0;
    if (rows <= kMeasureAllRows) {
        for (int r = 0; r < rows; ++r) widest = std::max(widest, metrics.horizontalAdvance(textAt(r)));
        return widest;
    }

    if (cells) {
        cells->columnAdvances(column, advances, sums);
    } else {
        sums.resize(std::size_t(rows));
        for (int r = 0; r < rows; ++r) sums[std::size_t(r)] = advances.sum(textAt(r));
    }
    // The candidates are the rows above the least of the largest estimates, and as many of the rows at it as
    // make up their number. Only the estimates that can be among them are put in order: those at or above a
    // bound that a sample of every 32nd estimate puts some five hundred rows from the top, or all of them
    // should fewer than the candidates reach it.
    ordered.clear();
    for (std::size_t r = 0; r < sums.size(); r += kSampleStep) ordered.push_back(sums[r]);
    std::nth_element(ordered.begin(), ordered.begin() + std::ptrdiff_t(kSampleRank), ordered.end(),
                     std::greater<>());
    const double bound = ordered[kSampleRank];
    ordered.clear();
    for (const double sum : sums) {
        if (sum >= bound) ordered.push_back(sum);
    }
    if (ordered.size() < kMeasuredCandidates) ordered.assign(sums.begin(), sums.end());
    const auto top = ordered.begin() + std::ptrdiff_t(kMeasuredCandidates);
    std::nth_element(ordered.begin(), top - 1, ordered.end(), std::greater<>());
    const double least = *(top - 1);
    auto atLeast = std::count(ordered.begin(), top, least);
    std::vector<std::pair<double, int>> candidates;
    candidates.reserve(kMeasuredCandidates);
    for (int r = 0; r < rows; ++r) {
        const double sum = sums[std::size_t(r)];
        if (sum > least || (sum == least && atLeast-- > 0)) candidates.emplace_back(sum, r);
    }
    // Widest estimate first. Once an estimate is too far below the widest text measured for kerning to make
    // up the difference, no text after it can be wider. Texts with one and the same estimate (sizes and dates
    // whose digits are all as wide) differ by kerning alone: a few of them stand for the rest.
    std::stable_sort(candidates.begin(), candidates.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    double lastEstimate = -1;
    std::size_t alike = 0;
    for (const auto& [estimate, row] : candidates) {
        if (estimate + kKerningSlack + estimate / 16 < widest) break;
        alike = estimate == lastEstimate ? alike + 1 : 0;
        lastEstimate = estimate;
        if (alike < kMeasuredAlike) widest = std::max(widest, metrics.horizontalAdvance(textAt(row)));
    }
    return widest;
}

}  // namespace

ItemListView::ItemListView(QWidget* parent)
    : QStackedWidget(parent), m_icons(new QListView(this)), m_details(new QTreeView(this)) {
    setFrameShape(QFrame::StyledPanel);
    setFrameShadow(QFrame::Sunken);
    setUpCommon(m_icons);
    setUpCommon(m_details);
    m_icons->setUniformItemSizes(true);
    m_icons->setMovement(QListView::Static);
    m_icons->setResizeMode(QListView::Adjust);
    // Lays out a large folder in steps so the window answers while a hundred thousand icons are placed.
    m_icons->setLayoutMode(QListView::Batched);
    m_icons->setBatchSize(2000);
    m_icons->setTextElideMode(Qt::ElideRight);

    m_details->setRootIsDecorated(false);
    m_details->setItemsExpandable(false);
    m_details->setUniformRowHeights(true);
    m_details->setAllColumnsShowFocus(true);
    m_details->setIconSize({16, 16});
    m_details->setSortingEnabled(false);
    m_details->header()->setSectionsClickable(true);
    m_details->header()->setSectionsMovable(false);
    m_details->header()->setStretchLastSection(false);
    // Columns as narrow as an empty list's 16 pixels.
    m_details->header()->setMinimumSectionSize(kColumnMargin);

    addWidget(m_icons);
    addWidget(m_details);
    setCurrentWidget(m_details);

    connect(m_details->header(), &QHeaderView::sectionClicked, this, &ItemListView::columnClicked);
    connect(m_icons, &QAbstractItemView::doubleClicked, this, &ItemListView::rowDoubleClicked);
    connect(m_details, &QAbstractItemView::doubleClicked, this, &ItemListView::rowDoubleClicked);
    m_icons->installEventFilter(this);
    m_details->installEventFilter(this);
}

void ItemListView::setModel(QAbstractItemModel* model) {
    m_details->setModel(model);
    m_icons->setModel(model);
    QItemSelectionModel* old = m_icons->selectionModel();
    m_icons->setSelectionModel(m_details->selectionModel());
    // The view leaves a replaced selection model to its owner.
    if (old && old != m_icons->selectionModel()) old->deleteLater();
}

void ItemListView::setColumnWidths(const std::vector<int>& widths) {
    for (std::size_t c = 0; c < widths.size(); ++c) m_details->setColumnWidth(int(c), widths[c]);
}

void ItemListView::setSharedColumns(const std::vector<int>& columns, int minimumWidth) {
    QHeaderView* header = m_details->header();
    header->setMinimumSectionSize(std::max(header->minimumSectionSize(), minimumWidth));
    for (const int c : columns) header->setSectionResizeMode(c, QHeaderView::Stretch);
}

QAbstractItemView* ItemListView::currentView() const {
    return m_style == ViewStyle::Details ? static_cast<QAbstractItemView*>(m_details) : m_icons;
}

void ItemListView::setViewStyle(ViewStyle style) {
    const bool hadFocus = currentView()->hasFocus();
    m_style = style;
    switch (style) {
        case ViewStyle::LargeIcons:
            m_icons->setViewMode(QListView::IconMode);
            m_icons->setFlow(QListView::LeftToRight);
            m_icons->setWrapping(true);
            m_icons->setWordWrap(true);
            m_icons->setIconSize({32, 32});
            m_icons->setGridSize({84, 72});
            break;
        case ViewStyle::SmallIcons:
            m_icons->setViewMode(QListView::ListMode);
            m_icons->setFlow(QListView::LeftToRight);
            m_icons->setWrapping(true);
            m_icons->setWordWrap(false);
            m_icons->setIconSize({16, 16});
            m_icons->setGridSize({128, 20});
            break;
        case ViewStyle::List:
            m_icons->setViewMode(QListView::ListMode);
            m_icons->setFlow(QListView::TopToBottom);
            m_icons->setWrapping(true);
            m_icons->setWordWrap(false);
            m_icons->setIconSize({16, 16});
            m_icons->setGridSize({180, 18});
            break;
        case ViewStyle::Details:
            break;
    }
    setCurrentWidget(currentView());
    if (hadFocus) currentView()->setFocus();
}

int ItemListView::selectedRow() const {
    const QModelIndexList rows =
        m_details->selectionModel() ? m_details->selectionModel()->selectedRows() : QModelIndexList();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void ItemListView::selectRow(int row) {
    QAbstractItemModel* model = m_details->model();
    if (!model) return;
    m_details->selectionModel()->setCurrentIndex(
        model->index(row, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void ItemListView::adjustColumns() {
    if (m_style != ViewStyle::Details) return;
    QAbstractItemModel* model = m_details->model();
    if (!model) return;
    const QFontMetrics metrics(m_details->font());
    const QFontMetricsF unitMetrics(m_details->font());
    TextAdvances advances([&](char16_t unit) { return float(unitMetrics.horizontalAdvance(QChar(unit))); });
    std::vector<double> sums;
    std::vector<double> ordered;
    const int rows = model->rowCount();
    m_details->header()->setSectionResizeMode(QHeaderView::Interactive);
    for (int c = 0; c < model->columnCount(); ++c) {
        const int widest = widestText(*model, c, metrics, advances, sums, ordered);
        // The details view draws the row's picture inside the first column, before the caption; an empty
        // list has no picture to make room for.
        const int picture = c == 0 && rows > 0 ? m_details->iconSize().width() + kPictureSpacing : 0;
        m_details->setColumnWidth(c, widest + kColumnMargin + picture);
    }
}

bool ItemListView::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && watched == currentView() &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space)
        emit spacePressed();
    return QStackedWidget::eventFilter(watched, event);
}

}  // namespace quillon
