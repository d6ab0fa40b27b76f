#include "itemlistview.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QKeyEvent>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QListView>
#include <QTableView>
#include <algorithm>
#include <array>
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
// Up to this many estimates within reach of the widest text are gathered at once; more are gathered by
// estimate in up to kGatheringPasses passes over the rows.
constexpr std::size_t kGatheredAtOnce = 2048;
constexpr int kGatheringPasses = 4;
static_assert(std::size_t(kMeasureAllRows) >= kMeasuredCandidates);

// The width of the widest display text of a column. In a long list every text is estimated from the sum of
// its characters' advances (measured once per character, and summed by the model from its records where it
// can), sums, and the widest estimates are measured exactly. Kerning and shaping move a width by a pixel or two
// at most, so the widest text is among them; should a font kern some text wider than the sum of its
// characters, its column comes out that pixel or two narrower.
int widestText(const QAbstractItemModel& model, int column, const QFontMetrics& metrics,
               const std::vector<double>& sums) {
    const int rows = model.rowCount();
    const auto* cells = dynamic_cast<const CellTexts*>(&model);
    auto textAt = [&](int row) {
        return cells ? cells->cellText(row, column) : model.index(row, column).data().toString();
    };
    int widest = 0;
    if (rows <= kMeasureAllRows || sums.size() != std::size_t(rows)) {
        for (int r = 0; r < rows; ++r) widest = std::max(widest, metrics.horizontalAdvance(textAt(r)));
        return widest;
    }
    // The rows are measured widest estimate first, ties in row order, among the kMeasuredCandidates widest
    // estimates. Once an estimate is too far below the widest text measured for kerning to make up the
    // difference, no text after it can be wider: so a text of the widest estimate is measured first, and only
    // the estimates that could still make a wider text are gathered. Texts with one and the same estimate
    // (sizes and dates whose digits are all as wide) differ by kerning alone: a few of them stand for the rest.
    auto outOfReach = [](double estimate, int width) {
        return estimate + kKerningSlack + estimate / 16 < width;
    };
    const int first = int(std::max_element(sums.begin(), sums.end()) - sums.begin());
    widest = metrics.horizontalAdvance(textAt(first));
    struct Alike {
        double estimate = 0;
        std::size_t count = 0;                   // rows of this estimate among the candidates
        std::array<int, kMeasuredAlike> rows{};  // the first of them

        void take(int row) {
            if (count < kMeasuredAlike) rows[count] = row;
            ++count;
        }
    };
    std::vector<Alike> groups;
    // Few estimates within reach are gathered and put in order. Many are mostly many rows of one estimate
    // each (sizes and dates): those are gathered an estimate a pass over the rows, widest first, which
    // each pass also finds the next of, until the candidates are made up; should that take more than a few
    // passes, the widest candidates are picked out and put in order instead.
    const auto inReach = std::size_t(std::count_if(sums.begin(), sums.end(),
                                                   [&](double sum) { return !outOfReach(sum, widest); }));
    bool gathered = false;
    if (inReach > kGatheredAtOnce) {
        double estimate = sums[std::size_t(first)];
        std::size_t candidates = 0;
        for (int pass = 0; pass < kGatheringPasses && !gathered; ++pass) {
            Alike group{estimate, 0, {}};
            double next = -TextAdvances::kUnknown;
            for (int r = 0; r < rows; ++r) {
                const double sum = sums[std::size_t(r)];
                if (sum == estimate) group.take(r);
                next = sum < estimate && sum > next ? sum : next;
            }
            groups.push_back(group);
            candidates += group.count;
            gathered = candidates >= kMeasuredCandidates || next == -TextAdvances::kUnknown ||
                       outOfReach(next, widest);
            estimate = next;
        }
        if (!gathered) groups.clear();
    }
    if (!gathered) {
        std::vector<std::pair<double, int>> candidates;
        candidates.reserve(inReach);
        for (int r = 0; r < rows; ++r) {
            const double sum = sums[std::size_t(r)];
            if (!outOfReach(sum, widest)) candidates.emplace_back(sum, r);
        }
        auto before = [](const std::pair<double, int>& a, const std::pair<double, int>& b) {
            return a.first > b.first || (a.first == b.first && a.second < b.second);
        };
        const auto top = candidates.begin() + std::ptrdiff_t(std::min(candidates.size(), kMeasuredCandidates));
        std::nth_element(candidates.begin(), top, candidates.end(), before);
        std::sort(candidates.begin(), top, before);
        for (auto c = candidates.begin(); c != top; ++c) {
            if (groups.empty() || groups.back().estimate != c->first) groups.push_back({c->first, 0, {}});
            groups.back().take(c->second);
        }
    }
    std::size_t position = 0;  // in the order of measuring, ties counted
    for (const Alike& group : groups) {
        if (position >= kMeasuredCandidates || outOfReach(group.estimate, widest)) break;
        const std::size_t measured = std::min({group.count, kMeasuredAlike, kMeasuredCandidates - position});
        for (std::size_t i = 0; i < measured; ++i) {
            if (group.rows[i] != first)
                widest = std::max(widest, metrics.horizontalAdvance(textAt(group.rows[i])));
        }
        position += group.count;
    }
    return widest;
}

// The details style: a table whose rows each hold one record, kept in the list's ways. A table lays out a
// long list at once from its uniform row height, where a tree view places every row. Home and End go to the
// first and last row, and Left and Right scroll the columns instead of moving from cell to cell.
class DetailsView final : public QTableView {
public:
    explicit DetailsView(QWidget* parent) : QTableView(parent) {}

protected:
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override {
        const QModelIndex current = currentIndex();
        switch (action) {
            case MoveHome:
            case MoveEnd: {
                const int rows = model() ? model()->rowCount(rootIndex()) : 0;
                if (rows == 0) return current;
                return model()->index(action == MoveHome ? 0 : rows - 1, 0, rootIndex());
            }
            case MoveLeft:
            case MoveRight: {
                QScrollBar* bar = horizontalScrollBar();
                bar->setValue(bar->value() + (action == MoveLeft ? -1 : 1) * bar->singleStep());
                return current;
            }
            default: {
                const QModelIndex moved = QTableView::moveCursor(action, modifiers);
                return moved.isValid() ? moved.siblingAtColumn(0) : moved;
            }
        }
    }
};

}  // namespace

ItemListView::ItemListView(QWidget* parent)
    : QStackedWidget(parent), m_icons(new QListView(this)), m_details(new DetailsView(this)) {
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

    m_details->setShowGrid(false);
    m_details->setWordWrap(false);
    m_details->setTabKeyNavigation(false);
    m_details->setCornerButtonEnabled(false);
    m_details->setIconSize({16, 16});
    QHeaderView* rows = m_details->verticalHeader();
    rows->hide();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    // As high as the style makes an item of a line of text beside a picture, as a tree view's rows are.
    QStyleOptionViewItem item;
    item.initFrom(m_details);
    item.features = QStyleOptionViewItem::HasDisplay | QStyleOptionViewItem::HasDecoration;
    item.text = QStringLiteral("Xg");
    item.decorationSize = m_details->iconSize();
    rows->setMinimumSectionSize(1);
    rows->setDefaultSectionSize(
        m_details->style()->sizeFromContents(QStyle::CT_ItemViewItem, &item, QSize(), m_details).height());
    m_details->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_details->horizontalHeader()->setHighlightSections(false);
    m_details->setSortingEnabled(false);
    m_details->horizontalHeader()->setSectionsClickable(true);
    m_details->horizontalHeader()->setSectionsMovable(false);
    m_details->horizontalHeader()->setStretchLastSection(false);
    // Columns as narrow as an empty list's 16 pixels.
    m_details->horizontalHeader()->setMinimumSectionSize(kColumnMargin);

    addWidget(m_icons);
    addWidget(m_details);
    setCurrentWidget(m_details);

    connect(m_details->horizontalHeader(), &QHeaderView::sectionClicked, this, &ItemListView::columnClicked);
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
    QHeaderView* header = m_details->horizontalHeader();
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
    const int rows = model->rowCount();
    const int columns = model->columnCount();
    // Estimates of every text of a long list (see widestText).
    std::vector<std::vector<double>> sums(static_cast<std::size_t>(columns));
    if (rows > kMeasureAllRows) {
        TextAdvances advances([&](char16_t unit) { return float(unitMetrics.horizontalAdvance(QChar(unit))); });
        if (const auto* cells = dynamic_cast<const CellTexts*>(model)) {
            cells->columnAdvances(advances, sums);
        } else {
            for (int c = 0; c < columns; ++c) {
                for (int r = 0; r < rows; ++r)
                    sums[std::size_t(c)].push_back(advances.sum(model->index(r, c).data().toString()));
            }
        }
    }
    m_details->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    for (int c = 0; c < columns; ++c) {
        const int widest = widestText(*model, c, metrics, sums[std::size_t(c)]);
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
