#include "listviewcompare.h"

#include <QCollatorSortKey>

#include <algorithm>
#include <numeric>

namespace quillon {

namespace {

enum class Field : std::uint8_t { None, Name, Volume, Path, Size, Modified, Media };

Field fieldOf(ListKind kind, int column)
{
    if (kind == ListKind::Contents) {
        switch (column) {
        case 0: return Field::Name;
        case 1: return Field::Size;
        case 2: return Field::Modified;
        case 3: return Field::Media;
        default: return Field::None;
        }
    }
    switch (column) {
    case kNameColumn: return Field::Name;
    case kVolumeColumn: return Field::Volume;
    case kPathColumn: return Field::Path;
    case kSizeColumn: return Field::Size;
    case kModifiedColumn: return Field::Modified;
    case kMediaColumn: return Field::Media;
    default: return Field::None;
    }
}

bool isText(Field field)
{
    return field == Field::Name || field == Field::Volume || field == Field::Path || field == Field::Media;
}

int directionOf(const SortState& sort) { return sort.direction < 0 ? -1 : 1; }

// Rows showing "[SUB-DIR]" sort as if smaller than any size, so they stay together and the order is total.
std::int64_t sizeKey(const std::optional<std::int64_t>& kb) { return kb ? *kb : -1; }

template <class T>
int threeWay(const T& a, const T& b)
{
    return a < b ? -1 : (b < a ? 1 : 0);
}

std::optional<std::int64_t> shownKB(const TFileData* file, std::int64_t totalKB)
{
    if (file) return file->SizeKB;
    if (totalKB >= 0) return totalKB;
    return std::nullopt;
}

std::string textOf(const ContentsRow& row, Field field)
{
    if (field == Field::Name) return std::string(row.name());
    if (field == Field::Media && row.file) return mediaText(*row.file);
    return {};
}

std::string textOf(const SearchRow& row, Field field)
{
    switch (field) {
    case Field::Name: return std::string(row.name());
    case Field::Volume: return std::string(row.volumeName());
    case Field::Path: return pathText(row);
    case Field::Media: return row.file ? mediaText(*row.file) : std::string();
    default: return {};
    }
}

int imageOf(const ContentsRow& row) { return row.image; }
int imageOf(const SearchRow& row) { return row.image(); }

std::optional<std::int64_t> kbOf(const ContentsRow& row) { return shownKB(row.file, row.totalKB); }
std::optional<std::int64_t> kbOf(const SearchRow& row) { return shownKB(row.file, row.totalKB); }

template <class Row>
void sortRowsBy(std::vector<Row>& rows, ListKind kind, const SortState& sort, const CodePage& codePage)
{
    const Field field = fieldOf(kind, sort.column);
    const int direction = directionOf(sort);
    std::vector<std::size_t> order(rows.size());
    std::iota(order.begin(), order.end(), std::size_t(0));
    auto byImage = [&](std::size_t a, std::size_t b) { return imageOf(rows[a]) - imageOf(rows[b]); };

    if (isText(field)) {
        std::vector<QCollatorSortKey> keys;
        keys.reserve(rows.size());
        for (const Row& row : rows) keys.push_back(codePage.sortKey(textOf(row, field)));
        std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
            if (const int d = byImage(a, b)) return d < 0;
            return keys[a].compare(keys[b]) * direction < 0;
        });
    } else if (field == Field::Size) {
        std::vector<std::int64_t> keys;
        keys.reserve(rows.size());
        for (const Row& row : rows) keys.push_back(sizeKey(kbOf(row)));
        std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
            if (const int d = byImage(a, b)) return d < 0;
            return threeWay(keys[a], keys[b]) * direction < 0;
        });
    } else if (field == Field::Modified) {
        std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
            if (const int d = byImage(a, b)) return d < 0;
            return threeWay(rows[a].date(), rows[b].date()) * direction < 0;
        });
    } else {
        std::stable_sort(order.begin(), order.end(),
                         [&](std::size_t a, std::size_t b) { return byImage(a, b) < 0; });
    }

    std::vector<Row> sorted;
    sorted.reserve(rows.size());
    for (const std::size_t i : order) sorted.push_back(rows[i]);
    rows = std::move(sorted);
}

}  // namespace

void SortState::columnClicked(int index)
{
    direction = index == column ? -direction : 1;
    column = index;
}

RowSortValues sortValues(const ContentsRow& row)
{
    RowSortValues v;
    v.image = row.image;
    v.name = row.name();
    if (row.file) v.media = mediaText(*row.file);
    v.kb = kbOf(row);
    v.date = row.date();
    return v;
}

RowSortValues sortValues(const SearchRow& row)
{
    RowSortValues v;
    v.image = row.image();
    v.name = row.name();
    v.volume = row.volumeName();
    v.path = pathText(row);
    if (row.file) v.media = mediaText(*row.file);
    v.kb = kbOf(row);
    v.date = row.date();
    return v;
}

int ListViewCompare(const RowSortValues& a, const RowSortValues& b, ListKind kind, const SortState& sort,
                    const CodePage& codePage)
{
    if (a.image != b.image) return a.image - b.image;
    const int direction = directionOf(sort);
    switch (fieldOf(kind, sort.column)) {
    case Field::Name: return codePage.compare(a.name, b.name) * direction;
    case Field::Volume: return codePage.compare(a.volume, b.volume) * direction;
    case Field::Path: return codePage.compare(a.path, b.path) * direction;
    case Field::Media: return codePage.compare(a.media, b.media) * direction;
    case Field::Size: return threeWay(sizeKey(a.kb), sizeKey(b.kb)) * direction;
    case Field::Modified: return threeWay(a.date, b.date) * direction;
    case Field::None: break;
    }
    return 0;
}

int ListViewCompare(const ContentsRow& a, const ContentsRow& b, const SortState& sort, const CodePage& codePage)
{
    return ListViewCompare(sortValues(a), sortValues(b), ListKind::Contents, sort, codePage);
}

int ListViewCompare(const SearchRow& a, const SearchRow& b, const SortState& sort, const CodePage& codePage)
{
    return ListViewCompare(sortValues(a), sortValues(b), ListKind::Search, sort, codePage);
}

void sortRows(std::vector<ContentsRow>& rows, const SortState& sort, const CodePage& codePage)
{
    sortRowsBy(rows, ListKind::Contents, sort, codePage);
}

void sortRows(std::vector<SearchRow>& rows, const SortState& sort, const CodePage& codePage)
{
    sortRowsBy(rows, ListKind::Search, sort, codePage);
}

}  // namespace quillon
