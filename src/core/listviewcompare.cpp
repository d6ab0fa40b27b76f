#include "listviewcompare.h"

#include <QCollatorSortKey>

#include <algorithm>
#include <array>
#include <cstring>
#include <future>
#include <memory>
#include <numeric>
#include <thread>

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

// A row in a sort by a 64-bit key: the key, the row's image, which orders before the key, and the row's place
// before the sort.
struct KeyItem {
    std::uint64_t key;
    std::uint32_t image;
    std::uint32_t index;
};

// Sorts items by image, then key, ascending; equal items keep their order. Short ranges by comparison, with
// the items' places breaking ties, longer ones by a radix sort over the bytes of the key and then the image,
// lowest first, that passes over any byte all items share. scratch holds the items between passes and keeps
// its size for the next call.
void sortKeyItems(KeyItem* items, std::size_t n, std::vector<KeyItem>& scratch)
{
    if (n < 2) return;
    if (n <= 256) {
        // The items' places break ties: equal items are in their first order already.
        std::sort(items, items + n, [](const KeyItem& a, const KeyItem& b) {
            if (a.image != b.image) return a.image < b.image;
            if (a.key != b.key) return a.key < b.key;
            return a.index < b.index;
        });
        return;
    }
    constexpr int kPasses = 9;  // eight key bytes, then the image
    auto digit = [](const KeyItem& item, int pass) {
        return pass < 8 ? std::size_t(item.key >> (8 * pass)) & 0xFF : std::size_t(item.image & 0xFF);
    };
    std::array<std::array<std::uint32_t, 256>, kPasses> counts{};
    for (std::size_t i = 0; i < n; ++i) {
        const KeyItem& item = items[i];
        for (int pass = 0; pass < kPasses; ++pass) ++counts[std::size_t(pass)][digit(item, pass)];
    }
    if (scratch.size() < n) scratch.resize(n);
    KeyItem* from = items;
    KeyItem* to = scratch.data();
    for (int pass = 0; pass < kPasses; ++pass) {
        auto& count = counts[std::size_t(pass)];
        if (count[digit(from[0], pass)] == n) continue;
        std::uint32_t sum = 0;
        for (std::uint32_t& c : count) {
            const std::uint32_t here = c;
            c = sum;
            sum += here;
        }
        for (std::size_t i = 0; i < n; ++i) to[count[digit(from[i], pass)]++] = from[i];
        std::swap(from, to);
    }
    if (from != items) std::copy(from, from + n, items);
}

template <class Row>
std::vector<KeyItem> keyItemsOf(const std::vector<Row>& rows)
{
    std::vector<KeyItem> items(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) items[i] = {0, std::uint32_t(imageOf(rows[i])), std::uint32_t(i)};
    return items;
}

template <class Row>
void gatherRows(std::vector<Row>& rows, const std::vector<KeyItem>& items)
{
    std::vector<Row> sorted;
    sorted.reserve(rows.size());
    for (const KeyItem& item : items) sorted.push_back(rows[item.index]);
    rows = std::move(sorted);
}

// Sorts rows by image, then by a number made of each row, times direction; equal rows keep their order.
template <class Row, class MakeKey>
void sortByNumbers(std::vector<Row>& rows, MakeKey makeKey, int direction)
{
    std::vector<KeyItem> items = keyItemsOf(rows);
    for (KeyItem& item : items) {
        const std::uint64_t key = makeKey(rows[item.index]);
        item.key = direction < 0 ? ~key : key;
    }
    std::vector<KeyItem> scratch;
    sortKeyItems(items.data(), items.size(), scratch);
    gatherRows(rows, items);
}

// Numbers as unsigned keys in the same order.
std::uint64_t orderedKey(std::int64_t value) { return std::uint64_t(value) ^ (std::uint64_t(1) << 63); }

std::uint64_t orderedKey(double value)
{
    if (value == 0) value = 0;  // -0 equals 0
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return (bits >> 63) ? ~bits : bits | (std::uint64_t(1) << 63);
}

// Sorts ASCII texts by their byte keys, eight bytes at a time: all items by their first chunk, then each run
// of items with equal chunks whose keys go on by the next chunk, and so on. The first few chunks of every key
// are read at the start, while the texts are read in their order in memory, so that most runs are sorted
// without going back to the texts. Long lists read their chunks and sort their runs on two threads.
class AsciiKeySorter {
public:
    AsciiKeySorter(const std::vector<std::string_view>& texts, const CodePage& codePage, int direction)
        : m_texts(texts), m_codePage(codePage), m_direction(direction)
    {
    }

    // Reads the first chunks of the ASCII texts and makes an item with the first as key for each of them, in
    // the order of the rows; the places of the other texts go to other.
    template <class ImageOf>
    void readKeys(ImageOf imageOf, std::vector<KeyItem>& ascii, std::vector<std::uint32_t>& other)
    {
        const std::size_t n = m_texts.size();
        // Left unset: the chunks of every ASCII text are written before they are read.
        m_ahead = std::make_unique_for_overwrite<std::uint64_t[]>(n * kAhead);
        std::vector<KeyItem> secondAscii;
        std::vector<std::uint32_t> secondOther;
        inTwo(twoThreads(n), n / 2, n, [&](std::size_t from, std::size_t to) {
            std::vector<KeyItem>& items = from == 0 ? ascii : secondAscii;
            std::vector<std::uint32_t>& others = from == 0 ? other : secondOther;
            items.reserve(from == 0 ? n : to - from);
            for (std::size_t i = from; i < to; ++i) {
                if (i + kPrefetchDistance < to) __builtin_prefetch(m_texts[i + kPrefetchDistance].data());
                std::uint64_t* chunks = &m_ahead[i * kAhead];
                if (!m_codePage.firstAsciiKeyChunks(m_texts[i], chunks, kAhead)) {
                    others.push_back(std::uint32_t(i));
                    continue;
                }
                if (m_direction < 0) {
                    for (std::size_t c = 0; c < kAhead; ++c) chunks[c] = ~chunks[c];
                }
                items.push_back({chunks[0], std::uint32_t(imageOf(i)), std::uint32_t(i)});
            }
        });
        ascii.insert(ascii.end(), secondAscii.begin(), secondAscii.end());
        other.insert(other.end(), secondOther.begin(), secondOther.end());
    }

    // Sorts the items readKeys made.
    void sort(std::vector<KeyItem>& items)
    {
        const std::size_t n = items.size();
        sortKeyItems(items.data(), n, m_scratch);
        // Runs of equal first chunks are sorted on their own, so the halves split between two runs.
        std::size_t middle = n / 2;
        while (middle > 0 && middle < n && sameRun(items[middle - 1], items[middle])) ++middle;
        std::vector<KeyItem> secondScratch;
        inTwo(twoThreads(n), middle, n, [&](std::size_t from, std::size_t to) {
            sortRuns(items.data() + from, to - from, 8, from == 0 ? m_scratch : secondScratch);
        });
    }

private:
    static constexpr std::size_t kAhead = 4;
    // Texts and chunks are read in sorted order, scattered in memory: each is asked for this many items early.
    static constexpr std::size_t kPrefetchDistance = 8;
    static constexpr std::size_t kTwoThreadsFrom = 20000;

    static bool twoThreads(std::size_t n) { return n >= kTwoThreadsFrom && std::thread::hardware_concurrency() > 1; }

    // Calls work(0, middle) and work(middle, n), on two threads if asked.
    template <class Work>
    static void inTwo(bool twoThreads, std::size_t middle, std::size_t n, Work work)
    {
        if (!twoThreads) {
            work(0, middle);
            work(middle, n);
            return;
        }
        auto second = std::async(std::launch::async, [&] { work(middle, n); });
        work(0, middle);
        second.get();
    }

    std::uint64_t chunk(std::uint32_t index, std::size_t offset) const
    {
        const std::uint64_t value = m_codePage.asciiKeyChunk(m_texts[index], offset);
        return m_direction < 0 ? ~value : value;
    }

    bool goesOn(const KeyItem& item, std::size_t offset) const
    {
        return CodePage::asciiKeyLength(m_texts[item.index].size()) > offset;
    }

    static bool sameRun(const KeyItem& a, const KeyItem& b) { return a.key == b.key && a.image == b.image; }

    // Sorts every run of two or more items with equal keys that go on past offset by their chunks from offset.
    void sortRuns(KeyItem* items, std::size_t n, std::size_t offset, std::vector<KeyItem>& scratch)
    {
        for (std::size_t begin = 0; begin < n;) {
            std::size_t end = begin + 1;
            while (end < n && sameRun(items[begin], items[end])) ++end;
            // Keys that agree this far and end here are equal: their rows keep their order.
            if (end - begin > 1 && goesOn(items[begin], offset)) sortFrom(items + begin, end - begin, offset, scratch);
            begin = end;
        }
    }

    void sortFrom(KeyItem* items, std::size_t n, std::size_t offset, std::vector<KeyItem>& scratch)
    {
        const std::size_t ahead = offset / 8;
        for (std::size_t i = 0; i < n; ++i) {
            if (i + kPrefetchDistance < n) {
                const std::uint32_t later = items[i + kPrefetchDistance].index;
                if (ahead < kAhead)
                    __builtin_prefetch(&m_ahead[later * kAhead + ahead]);
                else
                    __builtin_prefetch(m_texts[later].data());
            }
            const std::uint32_t index = items[i].index;
            items[i].key = ahead < kAhead ? m_ahead[index * kAhead + ahead] : chunk(index, offset);
        }
        sortKeyItems(items, n, scratch);
        sortRuns(items, n, offset + 8, scratch);
    }

    const std::vector<std::string_view>& m_texts;
    const CodePage& m_codePage;
    int m_direction;
    std::unique_ptr<std::uint64_t[]> m_ahead;  // by row, the first kAhead chunks of its key
    std::vector<KeyItem> m_scratch;
};

struct CollationItem {
    QCollatorSortKey key;
    int image;
    std::uint32_t index;
};

// The rows at places with their collation keys, made once each, sorted by image, then by key times direction;
// equal rows keep their order.
template <class Row>
std::vector<CollationItem> collationSorted(const std::vector<Row>& rows, const std::vector<std::string_view>& texts,
                                           const std::vector<std::uint32_t>& places, int direction,
                                           const CodePage& codePage)
{
    std::vector<CollationItem> items;
    items.reserve(places.size());
    for (const std::uint32_t i : places) items.push_back({codePage.sortKey(texts[i]), imageOf(rows[i]), i});
    std::stable_sort(items.begin(), items.end(), [&](const CollationItem& a, const CollationItem& b) {
        if (a.image != b.image) return a.image < b.image;
        return a.key.compare(b.key) * direction < 0;
    });
    return items;
}

// Sorts rows by collation keys made once per row; equal rows keep their order.
template <class Row>
void sortByCollationKeys(std::vector<Row>& rows, const std::vector<std::string_view>& texts, int direction,
                         const CodePage& codePage)
{
    std::vector<std::uint32_t> all(rows.size());
    std::iota(all.begin(), all.end(), std::uint32_t(0));
    std::vector<Row> sorted;
    sorted.reserve(rows.size());
    for (const CollationItem& item : collationSorted(rows, texts, all, direction, codePage))
        sorted.push_back(rows[item.index]);
    rows = std::move(sorted);
}

// Sorts by texts in the order of their collation keys, equal rows in their first order. Texts of printable
// ASCII are ordered by byte keys that sort exactly as their collation keys do and cost a fraction of them.
// When a few texts are not ASCII, those are sorted by collation keys on their own and then each is put in
// place among the others by a search that makes collation keys only for the texts it compares with.
template <class Row>
void sortByTexts(std::vector<Row>& rows, const std::vector<std::string_view>& texts, int direction,
                 const CodePage& codePage)
{
    // More than one text in sixteen not ASCII: placing each among the others would cost more than collation
    // keys for all. A sample of the texts tells most such lists before any key is read.
    const std::size_t step = std::max<std::size_t>(1, texts.size() / 1024);
    std::size_t sampled = 0;
    std::size_t sampledOther = 0;
    for (std::size_t i = 0; i < texts.size(); i += step, ++sampled) {
        if (!CodePage::isPrintableAscii(texts[i])) ++sampledOther;
    }
    if (!codePage.hasAsciiKeys() || sampledOther > sampled / 16) {
        sortByCollationKeys(rows, texts, direction, codePage);
        return;
    }
    std::vector<KeyItem> ascii;
    std::vector<std::uint32_t> other;
    AsciiKeySorter sorter(texts, codePage, direction);
    sorter.readKeys([&](std::size_t i) { return imageOf(rows[i]); }, ascii, other);
    if (other.size() > rows.size() / 16) {
        sortByCollationKeys(rows, texts, direction, codePage);
        return;
    }
    sorter.sort(ascii);
    if (other.empty()) {
        gatherRows(rows, ascii);
        return;
    }

    const std::vector<CollationItem> otherRows = collationSorted(rows, texts, other, direction, codePage);

    // Whether ASCII row a comes before other row b in the order of a stable sort of all rows.
    auto before = [&](const KeyItem& a, const CollationItem& b) {
        if (int(a.image) != b.image) return int(a.image) < b.image;
        const int c = codePage.sortKey(texts[a.index]).compare(b.key) * direction;
        return c != 0 ? c < 0 : a.index < b.index;
    };
    std::vector<Row> sorted;
    sorted.reserve(rows.size());
    const std::size_t n = ascii.size();
    std::size_t next = 0;
    for (const auto& b : otherRows) {
        // Steps doubling from the last place find a range that holds b's place, then a binary search finds it.
        std::size_t low = next;
        std::size_t high = next;
        std::size_t step = 1;
        while (high < n && before(ascii[high], b)) {
            low = high + 1;
            high += step;
            step *= 2;
        }
        high = std::min(high, n);
        const auto place = std::partition_point(ascii.begin() + std::ptrdiff_t(low),
                                                ascii.begin() + std::ptrdiff_t(high),
                                                [&](const KeyItem& a) { return before(a, b); });
        const auto end = std::size_t(place - ascii.begin());
        for (; next < end; ++next) sorted.push_back(rows[ascii[next].index]);
        sorted.push_back(rows[b.index]);
    }
    for (; next < n; ++next) sorted.push_back(rows[ascii[next].index]);
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
        if (field != Field::Name) {
            made.reserve(rows.size());
            for (const Row& row : rows) made.push_back(textOf(row, field));
        }
        std::vector<std::string_view> texts;
        texts.reserve(rows.size());
        for (std::size_t i = 0; i < rows.size(); ++i)
            texts.push_back(field == Field::Name ? rows[i].name() : std::string_view(made[i]));
        sortByTexts(rows, texts, direction, codePage);
    } else if (field == Field::Size) {
        sortByNumbers(rows, [](const Row& row) { return orderedKey(sizeKey(kbOf(row))); }, direction);
    } else if (field == Field::Modified) {
        sortByNumbers(rows, [](const Row& row) { return orderedKey(row.date()); }, direction);
    } else {
        sortByNumbers(rows, [](const Row&) { return std::uint64_t(0); }, direction);
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
