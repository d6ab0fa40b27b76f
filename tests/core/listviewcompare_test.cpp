#include "catalog.h"
#include "listviewcompare.h"
#include "sortedrows.h"

#include <gtest/gtest.h>

#include <random>

using namespace quillon;

namespace {

int sign(int v) { return (v > 0) - (v < 0); }

RowSortValues fileRow(std::string_view name, std::int64_t kb, DateTime date, std::string media = {})
{
    RowSortValues v;
    v.image = kFileImage;
    v.name = name;
    v.kb = kb;
    v.date = date;
    v.media = std::move(media);
    return v;
}

RowSortValues folderRow(std::string_view name, DateTime date, std::optional<std::int64_t> total = {})
{
    RowSortValues v;
    v.image = kFolderHitImage;
    v.name = name;
    v.date = date;
    v.kb = total;
    return v;
}

TEST(SortState, SameHeaderReversesOtherHeaderSortsAscending)
{
    SortState s;
    s.columnClicked(0);
    EXPECT_EQ(s.direction, -1);
    s.columnClicked(0);
    EXPECT_EQ(s.direction, 1);
    s.columnClicked(0);
    s.columnClicked(3);
    EXPECT_EQ(s.column, 3);
    EXPECT_EQ(s.direction, 1);
}

TEST(ListViewCompare, ImageGroupsComeFirstWhateverTheDirection)
{
    const RowSortValues folder = folderRow("zzz", 9);
    const RowSortValues file = fileRow("aaa", 0, 0);
    for (const int column : {0, 1, 2, 3, 4, 5, 9}) {
        for (const int direction : {1, -1}) {
            const SortState s{column, direction};
            EXPECT_LT(ListViewCompare(folder, file, ListKind::Search, s), 0);
            EXPECT_GT(ListViewCompare(file, folder, ListKind::Contents, s), 0);
        }
    }
}

TEST(ListViewCompare, SizesCompareTheirKilobytesExactly)
{
    // 1000 and 1001 KB both read "0.977 MB"; 1 MB apart and under half a megabyte apart still differ.
    const RowSortValues a = fileRow("a", 1000, 0);
    const RowSortValues b = fileRow("b", 1001, 0);
    EXPECT_LT(ListViewCompare(a, b, ListKind::Contents, {1, 1}), 0);
    EXPECT_GT(ListViewCompare(a, b, ListKind::Contents, {1, -1}), 0);
    EXPECT_LT(ListViewCompare(a, b, ListKind::Search, {kSizeColumn, 1}), 0);
    EXPECT_LT(ListViewCompare(fileRow("a", 999, 0), fileRow("b", 1000, 0), ListKind::Search, {kSizeColumn, 1}), 0);
    EXPECT_EQ(ListViewCompare(fileRow("a", 5, 0), fileRow("b", 5, 0), ListKind::Search, {kSizeColumn, 1}), 0);
}

TEST(ListViewCompare, SubDirRowsAreEqualAndTotalsCompareByValue)
{
    const SortState bySize{kSizeColumn, 1};
    const RowSortValues x = folderRow("x", 1);
    const RowSortValues y = folderRow("y", 2);
    EXPECT_EQ(ListViewCompare(x, y, ListKind::Search, bySize), 0);
    EXPECT_EQ(ListViewCompare(y, x, ListKind::Search, bySize), 0);
    const RowSortValues small = folderRow("s", 1, 10);
    const RowSortValues large = folderRow("l", 1, 20000);
    EXPECT_LT(ListViewCompare(small, large, ListKind::Search, bySize), 0);
    EXPECT_GT(ListViewCompare(small, large, ListKind::Search, {kSizeColumn, -1}), 0);
    // Symmetric between a "[SUB-DIR]" row and a total.
    EXPECT_EQ(sign(ListViewCompare(x, small, ListKind::Search, bySize)),
              -sign(ListViewCompare(small, x, ListKind::Search, bySize)));
    EXPECT_NE(ListViewCompare(x, small, ListKind::Search, bySize), 0);
}

TEST(ListViewCompare, DatesHoursApartAreOrdered)
{
    const DateTime base = encodeDateTime({2001, 3, 12, 8, 0, 0});
    const RowSortValues early = fileRow("a", 1, base);
    const RowSortValues late = fileRow("b", 1, base + 11.0 / 24);
    EXPECT_LT(ListViewCompare(early, late, ListKind::Contents, {2, 1}), 0);
    EXPECT_LT(ListViewCompare(early, late, ListKind::Search, {kModifiedColumn, 1}), 0);
    EXPECT_GT(ListViewCompare(early, late, ListKind::Search, {kModifiedColumn, -1}), 0);
}

TEST(ListViewCompare, ColumnsMeanTheColumnsOfTheSortedList)
{
    RowSortValues a = fileRow("b", 1, 0, "x");
    a.volume = "V2";
    a.path = "A\\";
    RowSortValues b = fileRow("a", 2, 0, "y");
    b.volume = "V1";
    b.path = "B\\";
    // Column 1 is Size in the contents list and Volume in the results.
    EXPECT_LT(ListViewCompare(a, b, ListKind::Contents, {1, 1}), 0);
    EXPECT_GT(ListViewCompare(a, b, ListKind::Search, {1, 1}), 0);
    EXPECT_LT(ListViewCompare(a, b, ListKind::Search, {kPathColumn, 1}), 0);
    EXPECT_LT(ListViewCompare(a, b, ListKind::Contents, {3, 1}), 0);
    EXPECT_LT(ListViewCompare(a, b, ListKind::Search, {kMediaColumn, 1}), 0);
    EXPECT_GT(ListViewCompare(a, b, ListKind::Search, {kNameColumn, 1}), 0);
    EXPECT_EQ(ListViewCompare(a, b, ListKind::Contents, {4, 1}), 0);
    EXPECT_EQ(ListViewCompare(a, b, ListKind::Search, {6, 1}), 0);
    // Names use the locale's collation, case-sensitive: not byte order.
    EXPECT_LT(ListViewCompare(fileRow("beta", 1, 0), fileRow("Gamma", 1, 0), ListKind::Search, {0, 1}), 0);
    EXPECT_NE(ListViewCompare(fileRow("abc", 1, 0), fileRow("ABC", 1, 0), ListKind::Search, {0, 1}), 0);
}

// Random rows of both kinds, with ties on every column.
class RandomRows : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::mt19937 rng(5);
        const char* const names[] = {"a", "B", "b", "c", "\xC3\xA9", "A"};
        for (int i = 0; i < 60; ++i) {
            RowSortValues v;
            const int kind = int(rng() % 3);
            v.image = kind == 0 ? kFileImage : kFolderHitImage;
            v.name = names[rng() % 6];
            v.volume = names[rng() % 6];
            v.path = names[rng() % 6];
            v.media = names[rng() % 6];
            v.date = 1000 + double(rng() % 4) * 0.25;
            if (kind == 0 || kind == 1) v.kb = std::int64_t(rng() % 3) * 700;
            rows.push_back(v);
        }
    }
    std::vector<RowSortValues> rows;
};

TEST_F(RandomRows, EveryColumnIsAStrictWeakOrdering)
{
    for (const ListKind kind : {ListKind::Contents, ListKind::Search}) {
        for (int column = 0; column <= 6; ++column) {
            for (const int direction : {1, -1}) {
                const SortState s{column, direction};
                auto cmp = [&](std::size_t i, std::size_t j) { return ListViewCompare(rows[i], rows[j], kind, s); };
                for (std::size_t i = 0; i < rows.size(); ++i) {
                    ASSERT_EQ(cmp(i, i), 0) << "irreflexive, column " << column;
                    for (std::size_t j = 0; j < rows.size(); ++j) {
                        ASSERT_EQ(sign(cmp(i, j)), -sign(cmp(j, i))) << "antisymmetric, column " << column;
                        for (std::size_t k = 0; k < rows.size(); k += 3) {
                            if (cmp(i, j) < 0 && cmp(j, k) < 0) {
                                ASSERT_LT(cmp(i, k), 0) << "transitive, column " << column;
                            }
                            if (cmp(i, j) == 0 && cmp(j, k) == 0) {
                                ASSERT_EQ(cmp(i, k), 0) << "equivalence, column " << column;
                            }
                        }
                    }
                }
            }
        }
    }
}

TEST(SortRows, SearchRowsSortedAgreeWithTheComparison)
{
    Catalog catalog;
    CatalogNode* v1 = catalog.addVolume("Vol b", NewFolderData(1), nullptr);
    CatalogNode* v2 = catalog.addVolume("Vol a", NewFolderData(2), nullptr);
    std::mt19937 rng(3);
    std::vector<SearchRow> rows;
    const char* const names[] = {"song", "Song", "alpha", "beta", "\xC3\xA9t\xC3\xA9", "Zulu"};
    for (CatalogNode* volume : {v1, v2}) {
        CatalogNode* folder = volume->addFolder(names[rng() % 6], NewFolderData(double(rng() % 5)));
        CatalogNode* sub = folder->addFolder(names[rng() % 6], NewFolderData(double(rng() % 5)));
        rows.push_back(folderHit(*folder));
        rows.push_back(folderHit(*sub));
        rows.back().totalKB = 1500;
        for (CatalogNode* holder : {volume, folder, sub}) {
            for (int i = 0; i < 8; ++i) {
                holder->data().Files.push_back(makeFileData(*volume->store(), names[rng() % 6],
                                                            std::int64_t(rng() % 3000) * 1024,
                                                            double(rng() % 50) / 7, "Artist", " - T"));
            }
        }
    }
    for (CatalogNode* volume : {v1, v2}) {
        for (const CatalogNode* holder : {volume, volume->child(0), volume->child(0)->child(0)}) {
            for (const TFileData& f : holder->data().Files) rows.push_back(fileHit(*holder, f));
        }
    }
    for (int column = 0; column < kSearchColumnCount; ++column) {
        for (const int direction : {1, -1}) {
            std::vector<SearchRow> sorted = rows;
            const SortState s{column, direction};
            sortRows(sorted, s);
            ASSERT_EQ(sorted.size(), rows.size());
            for (std::size_t i = 1; i < sorted.size(); ++i) {
                ASSERT_LE(ListViewCompare(sorted[i - 1], sorted[i], s), 0) << "column " << column << " row " << i;
            }
        }
    }
}

TEST(SortRows, ContentsRowsPutFoldersFirstThenNames)
{
    Catalog catalog;
    CatalogNode* v = catalog.addVolume("V", NewFolderData(1), nullptr);
    v->addFolder("zeta", NewFolderData(1));
    v->addFolder("Alpha", NewFolderData(1));
    v->data().Files.push_back(makeFileData(*v->store(), "beta", 1, 0));
    v->data().Files.push_back(makeFileData(*v->store(), "Able", 5000 * 1024, 0));
    std::vector<ContentsRow> rows = contentsRows(catalog, *v);
    sortRows(rows, SortState{});
    std::vector<std::string_view> names;
    for (const ContentsRow& row : rows) names.push_back(row.name());
    EXPECT_EQ(names, (std::vector<std::string_view>{"Alpha", "zeta", "Able", "beta"}));
    sortRows(rows, SortState{1, -1});
    EXPECT_EQ(rows[2].name(), "Able");
    rows[1].totalKB = 7;
    sortRows(rows, SortState{1, 1});
    EXPECT_EQ(rows[1].totalKB, 7);
}

}  // namespace

namespace {

// Rows of one folder sorted by every column in both directions.
void expectStableComparisonOrder(const std::vector<ContentsRow>& rows, const char* what)
{
    for (int column = 0; column < 4; ++column) {
        for (const int direction : {1, -1}) expectRowsSortedStably(rows, {column, direction}, what);
    }
}

TEST(SortRows, LongFoldersFollowTheComparisonOnEveryColumn)
{
    // Names that agree on far more than their first bytes, case variants, names that start others, and
    // repeats; sizes from none to terabytes with Space totals on folders; dates before and after the day
    // count's origin, both zeros, fractions and repeats.
    const std::string prefixes[] = {"", "Copy of ", "Copy of Copy of Copy of Copy of Copy of ",
                                    "Holiday Summer Track Holiday Summer Track "};
    const char* const tails[] = {"a", "A", "ab", "aB", "b", "track 1", "Track 1", "track 10", "track 2",
                                 "x.mp3", "X.MP3", "x", " x", "_x", "-x", "x-", "zz"};
    const std::int64_t bytes[] = {0, 1, 1023, 1024, 1025, 999 * 1024, std::int64_t(1) << 40, 5 << 20};
    const DateTime dates[] = {-700.5, -1, -0.0, 0, 0.25, 1, 36526.75, 45000.001, 45000.001};
    std::mt19937 random(11);
    Catalog catalog;
    CatalogNode* v = catalog.addVolume("V", NewFolderData(1), nullptr);
    for (int i = 0; i < 1200; ++i) {
        const std::string name = prefixes[random() % std::size(prefixes)] + tails[random() % std::size(tails)];
        const DateTime date = dates[random() % std::size(dates)];
        if (i % 7 == 0)
            v->addFolder(name, NewFolderData(date));
        else
            v->data().Files.push_back(
                makeFileData(*v->store(), name, bytes[random() % std::size(bytes)], date, "Artist", "Title"));
    }
    std::vector<ContentsRow> rows = contentsRows(catalog, *v);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].node && i % 3 == 0) rows[i].totalKB = std::int64_t(i % 5) * 1000;
    }
    expectStableComparisonOrder(rows, "long folder");
    // Short lists are sorted another way.
    rows.resize(40);
    expectStableComparisonOrder(rows, "short folder");
}

}  // namespace

namespace {

// A folder long enough to be sorted on two threads: names in few long runs of equal beginnings, so that a run
// spans the middle of the list, with repeats whose order must be kept.
TEST(SortRows, FoldersSortedOnTwoThreadsKeepTheComparisonOrder)
{
    const char* const starts[] = {"Track ", "track ", "Track 0", "Holiday Summer Track Holiday ", "a", "B"};
    std::mt19937 random(13);
    Catalog catalog;
    CatalogNode* v = catalog.addVolume("V", NewFolderData(1), nullptr);
    for (int i = 0; i < 24000; ++i) {
        const std::string name = starts[random() % std::size(starts)] + std::to_string(random() % 3000);
        v->data().Files.push_back(makeFileData(*v->store(), name, 1, 0));
    }
    const std::vector<ContentsRow> rows = contentsRows(catalog, *v);
    for (const int direction : {1, -1}) expectRowsSortedStably(rows, {0, direction}, "two threads");
}

}  // namespace
