#include "catalog.h"
#include "listviewcompare.h"
#include "searchreport.h"
#include "searchrun.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace quillon;

namespace {

const QLocale kEnglish(QLocale::English, QLocale::UnitedStates);

LocaleFormat dottedFormat()
{
    return LocaleFormat(kEnglish, QStringLiteral("dd.MM.yyyy"), QStringLiteral("HH:mm:ss"));
}

std::string readAll(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return "<unreadable>";
    return file.readAll().toStdString();
}

// Three volumes; «My Catalogs» searched with Media Info on (so the name is «*.mp3»), Artist «brass», no date and
// no size criterion; two rows, sorted by name.
TEST(SearchReport, WorkedExampleByteForByte)
{
    Catalog catalog;
    CatalogNode* disc1 = catalog.addVolume("Disc1", NewFolderData(1), nullptr);
    CatalogNode* disc2 = catalog.addVolume("Disc2", NewFolderData(1), nullptr);
    catalog.addVolume("Disc3", NewFolderData(1), nullptr);
    CatalogNode* rock = disc1->addFolder("Music", NewFolderData(1))->addFolder("Rock", NewFolderData(1));
    rock->data().Files.push_back(makeFileData(*disc1->store(), "Morning Tide.mp3", 5246 * 1024,
                                              encodeDateTime({2001, 3, 12, 14, 22, 10}), "Brass Ferns",
                                              " - Morning Tide"));
    rock->data().Files.push_back(makeFileData(*disc1->store(), "Other.mp3", 5, 0, "Wood Hollow", " - Other"));
    disc2->data().Files.push_back(makeFileData(*disc2->store(), "Intro.mp3", 812 * 1024,
                                               encodeDateTime({2002, 2, 1, 9, 0, 0}), "Brass Ferns", " - Intro"));

    SearchCriteria criteria;
    criteria.mediaInfo = true;
    criteria.pattern = "*.mp3";
    criteria.artist = "brass";
    criteria.useMask = SearchEngine::ChooseNameMode(criteria.pattern);
    SearchEngine engine(criteria);
    std::vector<SearchRow> rows;
    SearchHooks hooks;
    hooks.hits = [&](const std::vector<SearchRow>& batch) { rows.insert(rows.end(), batch.begin(), batch.end()); };
    SearchRun run(engine, hooks);
    ASSERT_EQ(run.run(catalog, SearchScope::allVolumes()).hits, 2u);
    sortRows(rows, SortState{kNameColumn, 1});

    const LocaleFormat format = dottedFormat();
    std::vector<SearchReport::RowTexts> texts;
    for (const SearchRow& row : rows) texts.push_back(searchRowTexts(row, format));
    const auto lines = SearchReport::lines(criteria, "My Catalogs", texts, catalogsText(catalog.volumeCount()),
                                           matchesFoundText(rows.size()), format);
    const std::string expected =
        "Criteria: *.mp3\r\n"
        "Look In: My Catalogs\r\n"
        "MediaInfo:\r\n"
        "   Artist: brass\r\n"
        "    Title: \r\n"
        "Date: None\r\n"
        "Size: None\r\n"
        "----------------------------------------\r\n"
        "Intro.mp3          Disc2                      812 KB   01.02.2002 09:00:00      Brass Ferns - Intro          \r\n"
        "Morning Tide.mp3   Disc1   Music\\Rock\\      5.123 MB   12.03.2001 14:22:10      Brass Ferns - Morning Tide   \r\n"
        "----------------------------------------\r\n"
        "3 Catalogs         2 Matches found\r\n";
    EXPECT_EQ(SearchReport::text(lines), expected);
    ASSERT_EQ(lines.size(), 12u);
    EXPECT_EQ(lines[8].size(), 109u);
    EXPECT_EQ(lines[9].size(), 109u);
}

TEST(SearchReport, CriteriaLinesForEachSetting)
{
    const LocaleFormat format = dottedFormat();
    SearchCriteria c;
    c.pattern = "song";
    c.dateOn = true;
    c.dateKind = DateKind::LastMonths;
    c.months = -3;
    c.sizeOn = true;
    c.sizeSense = SizeSense::AtMost;
    c.sizeKB = 5250000;
    auto header = [&] { return SearchReport::lines(c, "Disc1:\\Music\\", {}, "", "", format); };
    auto lines = header();
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[0], "Criteria: song");
    EXPECT_EQ(lines[1], "Look In: Disc1:\\Music\\");
    EXPECT_EQ(lines[2], "MediaInfo: None");
    EXPECT_EQ(lines[3], "Date: in the last -3 months");
    EXPECT_EQ(lines[4], "Size: at most 5250000 KB");
    EXPECT_EQ(lines[7], "         ");

    c.dateKind = DateKind::LastDays;
    c.days = 14;
    c.sizeSense = SizeSense::AtLeast;
    c.sizeKB = 0;
    lines = header();
    EXPECT_EQ(lines[3], "Date: in the last 14 days");
    EXPECT_EQ(lines[4], "Size: at least 0 KB");

    // The pickers keep a time of day; the report shows the dates only.
    c.dateKind = DateKind::Between;
    c.firstDate = encodeDateTime({2002, 7, 12, 20, 44, 56});
    c.secondDate = encodeDateTime({2002, 7, 22, 20, 44, 56});
    c.sizeOn = false;
    lines = header();
    EXPECT_EQ(lines[3], "Date: between 12.07.2002 and 22.07.2002");
    EXPECT_EQ(lines[4], "Size: None");
}

TEST(SearchReport, ColumnsCountCharactersAndNeverCut)
{
    const LocaleFormat format = dottedFormat();
    SearchCriteria c;
    c.pattern = "*";
    const std::vector<SearchReport::RowTexts> rows = {
        {"\xC3\x84pfel", "V", "", "[SUB-DIR]", "01.01.2000", ""},
        {"Birne", "Volume", "A\\", "1 KB", "01.01.2000 10:00:00", "x"},
    };
    const auto lines = SearchReport::lines(c, "My Catalogs", rows, "1 Catalogs", "2 Matches found", format);
    ASSERT_EQ(lines.size(), 10u);
    const auto blanks = [](std::size_t n) { return std::string(n, ' '); };
    // Widths: Name 8, Volume 9, Path 5, Size 12 (field 15), Modified 22 (field 25), Media Info 4.
    EXPECT_EQ(lines[6], "\xC3\x84pfel" + blanks(3) + "V" + blanks(8) + blanks(5) + blanks(3) + "[SUB-DIR]" + blanks(3) +
                            "01.01.2000" + blanks(15) + blanks(4));
    EXPECT_EQ(lines[7], "Birne" + blanks(3) + "Volume" + blanks(3) + "A\\" + blanks(3) + blanks(8) + "1 KB" + blanks(3) +
                            "01.01.2000 10:00:00" + blanks(6) + "x" + blanks(3));
}

TEST(SearchReport, WritesCrLfLinesAndReplacesAnExistingFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string path = dir.filePath(QStringLiteral("report.txt")).toStdString();
    ASSERT_TRUE(SearchReport::write(path, {"a much longer first version", "b"}));
    ASSERT_TRUE(SearchReport::write(path, {"x", ""}));
    EXPECT_EQ(readAll(QString::fromStdString(path)), "x\r\n\r\n");
}

TEST(SearchReport, UncreatableFileIsReportedWithItsPath)
{
    QTemporaryDir dir;
    const std::string path = dir.filePath(QStringLiteral("missing/report.txt")).toStdString();
    const Status s = SearchReport::write(path, {"x"});
    EXPECT_FALSE(s.ok);
    EXPECT_EQ(s.message, "Cannot create file " + path);
}

}  // namespace
