#include "listviewcompare.h"

#include <QCollatorSortKey>

#include <algorithm>

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

// Sorts by keys made once per row and held next to the row's image and index, so a comparison reads one
// small record instead of following the row into the catalog. Equal rows keep their order.
template <class Row, class Key, class ThreeWay>
void sortByKeys(std::vector<Row>& rows, std::vector<Key>&& keys, ThreeWay threeWayOf, int direction)
{
    struct Item {
        Key key;
        int image;
        std::uint32_t index;
    };
    std::vector<Item> items;
    items.reserve(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i)
        items.push_back({std::move(keys[i]), imageOf(rows[i]), std::uint32_t(i)});
    std::stable_sort(items.begin(), items.end(), [&](const Item& a, const Item& b) {
        if (a.image != b.image) return a.image < b.image;
        return threeWayOf(a.key, b.key) * direction < 0;
    });
    std::vector<Row> sorted;
    sorted.reserve(rows.size());
    for (const Item& item : items) sorted.push_back(rows[item.index]);
    rows = std::move(sorted);
}

template <class Row, class MakeKey>
auto keysOf(const std::vector<Row>& rows, MakeKey makeKey)
{
    std::vector<decltype(makeKey(rows.front()))> keys;
    keys.reserve(rows.size());
    for (const Row& row : rows) keys.push_back(makeKey(row));
    return keys;
}

template <class Key>
struct KeyedRow {
    Key key;
    int image;
    std::uint32_t index;
};

// The items sorted stably by image, then by key times direction.
template <class Key, class ThreeWay>
std::vector<KeyedRow<Key>> sortedKeyedRows(std::vector<KeyedRow<Key>> items, ThreeWay threeWayOf, int direction)
{
    std::stable_sort(items.begin(), items.end(), [&](const KeyedRow<Key>& a, const KeyedRow<Key>& b) {
        if (a.image != b.image) return a.image < b.image;
        return threeWayOf(a.key, b.key) * direction < 0;
    });
    return items;
}

// A byte key with its first eight bytes read as one number, high byte first and zeros past its end, which
// decides most comparisons without reading the key itself.
struct AsciiKey {
    std::uint64_t head;
    std::string_view bytes;
};

AsciiKey asciiKey(std::string_view bytes)
{
    std::uint64_t head = 0;
    for (std::size_t i = 0; i < 8; ++i) {
        head <<= 8;
        if (i < bytes.size()) head |= static_cast<unsigned char>(bytes[i]);
    }
    return {head, bytes};
}

int compareAsciiKeys(const AsciiKey& a, const AsciiKey& b)
{
    if (a.head != b.head) return a.head < b.head ? -1 : 1;
    const int c = a.bytes.compare(b.bytes);
    return (c > 0) - (c < 0);
}

// Sorts by texts in the order of their collation keys, equal rows in their first order. Texts of printable
// ASCII are ordered by byte keys that sort exactly as their collation keys do and cost a fraction of them.
// When a few texts are not ASCII, those are sorted by collation keys on their own and then each is put in
// place among the others by a search that makes collation keys only for the texts it compares with.
template <class Row>
void sortByTexts(std::vector<Row>& rows, const std::vector<std::string_view>& texts, int direction,
                 const CodePage& codePage)
{
    std::vector<std::uint32_t> ascii;
    std::vector<std::uint32_t> other;
    ascii.reserve(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i)
        (CodePage::isPrintableAscii(texts[i]) ? ascii : other).push_back(std::uint32_t(i));
    if (other.size() > rows.size() / 16 || !codePage.hasAsciiKeys()) {
        std::vector<QCollatorSortKey> keys;
        keys.reserve(texts.size());
        for (std::string_view t : texts) keys.push_back(codePage.sortKey(t));
        sortByKeys(rows, std::move(keys),
                   [](const QCollatorSortKey& a, const QCollatorSortKey& b) { return a.compare(b); }, direction);
        return;
    }

    // All byte keys in one buffer, filled before any is pointed at.
    std::size_t total = 0;
    for (const std::uint32_t i : ascii) total += CodePage::asciiKeyLength(texts[i].size());
    std::vector<unsigned char> buffer(total);
    std::vector<KeyedRow<AsciiKey>> asciiRows;
    asciiRows.reserve(ascii.size());
    std::size_t offset = 0;
    for (const std::uint32_t i : ascii) {
        const std::size_t length = CodePage::asciiKeyLength(texts[i].size());
        codePage.writeAsciiKey(texts[i], buffer.data() + offset);
        asciiRows.push_back(
            {asciiKey(std::string_view(reinterpret_cast<const char*>(buffer.data() + offset), length)),
             imageOf(rows[i]), i});
        offset += length;
    }
    asciiRows = sortedKeyedRows(
        std::move(asciiRows), [](const AsciiKey& a, const AsciiKey& b) { return compareAsciiKeys(a, b); }, direction);
    if (other.empty()) {
        std::vector<Row> sorted;
        sorted.reserve(rows.size());
        for (const auto& item : asciiRows) sorted.push_back(rows[item.index]);
        rows = std::move(sorted);
        return;
    }

    std::vector<KeyedRow<QCollatorSortKey>> otherRows;
    otherRows.reserve(other.size());
    for (const std::uint32_t i : other) otherRows.push_back({codePage.sortKey(texts[i]), imageOf(rows[i]), i});
    otherRows = sortedKeyedRows(
        std::move(otherRows), [](const QCollatorSortKey& a, const QCollatorSortKey& b) { return a.compare(b); },
        direction);

    // Whether ASCII row a comes before other row b in the order of a stable sort of all rows.
    auto before = [&](const KeyedRow<AsciiKey>& a, const KeyedRow<QCollatorSortKey>& b) {
        if (a.image != b.image) return a.image < b.image;
        const int c = codePage.sortKey(texts[a.index]).compare(b.key) * direction;
        return c != 0 ? c < 0 : a.index < b.index;
    };
    std::vector<Row> sorted;
    sorted.reserve(rows.size());
    const std::size_t n = asciiRows.size();
    std::size_t next = 0;
    for (const auto& b : otherRows) {
        // Steps doubling from the last place find a range that holds b's place, then a binary search finds it.
        std::size_t low = next;
        std::size_t high = next;
        std::size_t step = 1;
        while (high < n && before(asciiRows[high], b)) {
            low = high + 1;
            high += step;
            step *= 2;
        }
        high = std::min(high, n);
        const auto place = std::partition_point(asciiRows.begin() + std::ptrdiff_t(low),
                                                asciiRows.begin() + std::ptrdiff_t(high),
                                                [&](const auto& a) { return before(a, b); });
        const auto end = std::size_t(place - asciiRows.begin());
        for (; next < end; ++next) sorted.push_back(rows[asciiRows[next].index]);
        sorted.push_back(rows[b.index]);
    }
    for (; next < n; ++next) sorted.push_back(rows[asciiRows[next].index]);
    rows = std::move(sorted);
}

template <class Row>
void sortRowsBy(std::vector<Row>& rows, ListKind kind, const SortState& sort, const CodePage& codePage)
{
    if (rows.empty()) return;
    const Field field = fieldOf(kind, sort.column);
    const int direction = directionOf(sort);
    if (isText(field)) {
        // Names are read from the record's own bytes; the other texts are made first.
        std::vector<std::string> made;
        if (field != Field::Name) made = keysOf(rows, [&](const Row& row) { return textOf(row, field); });
        std::vector<std::string_view> texts;
        texts.reserve(rows.size());
        for (std::size_t i = 0; i < rows.size(); ++i)
            texts.push_back(field == Field::Name ? rows[i].name() : std::string_view(made[i]));
        sortByTexts(rows, texts, direction, codePage);
    } else if (field == Field::Size) {
        sortByKeys(rows, keysOf(rows, [](const Row& row) { return sizeKey(kbOf(row)); }),
                   threeWay<std::int64_t>, direction);
    } else if (field == Field::Modified) {
        sortByKeys(rows, keysOf(rows, [](const Row& row) { return row.date(); }), threeWay<DateTime>, direction);
    } else {
        sortByKeys(rows, std::vector<char>(rows.size()), [](char, char) { return 0; }, direction);
    }
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
