#include "catalog.h"
#include "searchrun.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace quillon;
using ::testing::ElementsAre;

namespace {

// V1: f1, f2; A (a1; B (b1); C); D.   V2: g1.
class Walk : public ::testing::Test {
protected:
    void SetUp() override
    {
        v1 = catalog.addVolume("V1", NewFolderData(1), nullptr);
        v2 = catalog.addVolume("V2", NewFolderData(2), nullptr);
        a = v1->addFolder("A", NewFolderData(3));
        b = a->addFolder("B", NewFolderData(4));
        c = a->addFolder("C", NewFolderData(5));
        d = v1->addFolder("D", NewFolderData(6));
        add(v1, "f1");
        add(v1, "f2");
        add(a, "a1");
        add(b, "b1");
        add(v2, "g1");
    }
    void add(CatalogNode* folder, std::string_view name)
    {
        folder->data().Files.push_back(makeFileData(*folder->store(), name, 2048, 7));
    }

    // The names of the hits in walk order, each folder hit marked with a trailing "/".
    std::vector<std::string> names(const SearchScope& scope, std::string pattern = "*")
    {
        SearchCriteria criteria;
        criteria.useMask = SearchEngine::ChooseNameMode(pattern);
        criteria.pattern = pattern;
        SearchEngine engine(criteria);
        hooks.hits = [this](const std::vector<SearchRow>& batch) {
            batches.push_back(batch.size());
            rows.insert(rows.end(), batch.begin(), batch.end());
        };
        SearchRun run(engine, hooks);
        outcome = run.run(catalog, scope);
        std::vector<std::string> out;
        for (const SearchRow& row : rows) out.push_back(std::string(row.name()) + (row.isFolder() ? "/" : ""));
        return out;
    }

    Catalog catalog;
    CatalogNode *v1 = nullptr, *v2 = nullptr, *a = nullptr, *b = nullptr, *c = nullptr, *d = nullptr;
    SearchHooks hooks;
    std::vector<SearchRow> rows;
    std::vector<std::size_t> batches;
    SearchOutcome outcome;
};

TEST_F(Walk, FilesFirstThenEachFolderBeforeItsContents)
{
    EXPECT_THAT(names(SearchScope::allVolumes()),
                ElementsAre("f1", "f2", "A/", "a1", "B/", "b1", "C/", "D/", "g1"));
    EXPECT_EQ(outcome.end, SearchEnd::Completed);
    EXPECT_EQ(outcome.hits, 9u);
}

TEST_F(Walk, StartNodeIsNeverAHit)
{
    EXPECT_THAT(names(SearchScope::selectedNode(*a)), ElementsAre("a1", "B/", "b1", "C/"));
    rows.clear();
    EXPECT_THAT(names(SearchScope::selectedNode(*v2)), ElementsAre("g1"));
}

TEST_F(Walk, ScopesOfTheLookInList)
{
    EXPECT_EQ(names(SearchScope::lookInEntry(catalog, 0, &catalog.root())).size(), 9u);
    rows.clear();
    EXPECT_EQ(names(SearchScope::lookInEntry(catalog, 1, b)).size(), 9u);
    rows.clear();
    EXPECT_THAT(names(SearchScope::lookInEntry(catalog, 0, b)), ElementsAre("b1"));
    rows.clear();
    EXPECT_THAT(names(SearchScope::lookInEntry(catalog, 3, b)), ElementsAre("g1"));
    rows.clear();
    EXPECT_TRUE(names(SearchScope::lookInEntry(catalog, 4, b)).empty());
    EXPECT_TRUE(names(SearchScope::lookInEntry(catalog, -1, b)).empty());
    EXPECT_TRUE(names(SearchScope::lookInEntry(catalog, 0, nullptr)).empty());
    EXPECT_EQ(outcome.end, SearchEnd::Completed);
}

TEST_F(Walk, RowsCarryVolumePathImageAndNode)
{
    names(SearchScope::allVolumes(), "*1");
    ASSERT_EQ(rows.size(), 4u);  // f1 a1 b1 g1
    EXPECT_EQ(rows[0].volumeName(), "V1");
    EXPECT_EQ(pathText(rows[0]), "");
    EXPECT_EQ(pathText(rows[1]), "A\\");
    EXPECT_EQ(pathText(rows[2]), "A\\B\\");
    EXPECT_EQ(rows[2].image(), kFileImage);
    EXPECT_EQ(rows[2].node(), nullptr);
    EXPECT_EQ(rows[3].volumeName(), "V2");

    rows.clear();
    // Contained text: the folder B and the file b1 inside it.
    names(SearchScope::allVolumes(), "B");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].image(), kFolderHitImage);
    EXPECT_EQ(rows[0].node(), b);
    EXPECT_EQ(pathText(rows[0]), "A\\");
    EXPECT_EQ(rows[0].date(), 4);

    const LocaleFormat format(QLocale(QLocale::English, QLocale::UnitedStates), QStringLiteral("dd.MM.yyyy"),
                              QStringLiteral("HH:mm:ss"));
    const auto texts = searchRowTexts(rows[0], format);
    EXPECT_EQ(texts[kSizeColumn], "[SUB-DIR]");
    EXPECT_EQ(texts[kMediaColumn], "");
    rows[0].totalKB = 1024;
    EXPECT_EQ(searchRowTexts(rows[0], format)[kSizeColumn], "1.000 MB");
}

TEST_F(Walk, HitsArriveInBatches)
{
    hooks.batchSize = 2;
    EXPECT_EQ(names(SearchScope::allVolumes()).size(), 9u);
    EXPECT_THAT(batches, ElementsAre(2u, 2u, 2u, 2u, 1u));
}

TEST_F(Walk, StopIsCheckedBeforeEveryEntry)
{
    std::atomic<bool> stop{false};
    hooks.stop = &stop;
    hooks.batchSize = 1;
    std::size_t seen = 0;
    SearchCriteria criteria;
    criteria.pattern = "*";
    SearchEngine engine(criteria);
    hooks.hits = [&](const std::vector<SearchRow>& batch) {
        seen += batch.size();
        if (seen == 3) stop = true;
    };
    SearchRun run(engine, hooks);
    const SearchOutcome result = run.run(catalog, SearchScope::allVolumes());
    EXPECT_EQ(result.end, SearchEnd::Stopped);
    EXPECT_EQ(result.hits, 3u);
    EXPECT_EQ(seen, 3u);

    // Stopped before the first volume: nothing at all.
    SearchRun again(engine, hooks);
    EXPECT_EQ(again.run(catalog, SearchScope::selectedNode(*a)).hits, 0u);
}

TEST_F(Walk, StatusTextsAndCriteriaChangedDuringTheRun)
{
    SearchCriteria criteria;
    criteria.pattern = "*";
    SearchEngine engine(criteria);
    std::vector<std::string> volumes;
    std::vector<std::string> places;
    SearchHooks h;
    h.progressInterval = std::chrono::milliseconds(0);
    std::vector<std::string> found;
    h.hits = [&](const std::vector<SearchRow>& batch) {
        for (const SearchRow& row : batch) found.emplace_back(row.name());
    };
    h.progress = [&](const SearchStatus& status) {
        volumes.push_back(status.volumes);
        places.push_back(status.place);
        // The user types another name while the second volume is being searched.
        if (status.place == "V2:\\") {
            SearchCriteria changed = engine.criteria();
            changed.pattern = "x*";
            engine.setCriteria(changed);
        }
    };
    SearchRun run(engine, h);
    EXPECT_EQ(run.run(catalog, SearchScope::allVolumes()).hits, 8u);
    EXPECT_THAT(volumes, ElementsAre("1 Volumes to search", "0 Volumes to search"));
    EXPECT_THAT(places, ElementsAre("V1:\\", "V2:\\"));
    EXPECT_EQ(std::count(found.begin(), found.end(), "g1"), 0);

    // A run below one node leaves the volume panel alone.
    volumes.clear();
    places.clear();
    SearchRun below(engine, h);
    below.run(catalog, SearchScope::selectedNode(*a));
    EXPECT_THAT(volumes, ElementsAre(""));
    EXPECT_THAT(places, ElementsAre("V1:\\A\\"));
}

TEST_F(Walk, ProgressIsNotCalledPerEntry)
{
    for (int i = 0; i < 3000; ++i) add(b, "many");
    SearchCriteria criteria;
    criteria.pattern = "*";
    SearchEngine engine(criteria);
    int calls = 0;
    SearchHooks h;
    h.progressInterval = std::chrono::hours(1);
    h.progress = [&](const SearchStatus&) { ++calls; };
    std::size_t delivered = 0;
    h.hits = [&](const std::vector<SearchRow>& batch) { delivered += batch.size(); };
    SearchRun run(engine, h);
    EXPECT_EQ(run.run(catalog, SearchScope::allVolumes()).hits, 3009u);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(delivered, 3009u);
}

TEST_F(Walk, InvalidMaskEndsTheRunAtTheFirstEntry)
{
    EXPECT_TRUE(names(SearchScope::allVolumes(), "[]*").empty());
    EXPECT_EQ(outcome.end, SearchEnd::Failed);
    EXPECT_EQ(outcome.error, "'[]*' is an invalid mask at (2)");
    // Nothing tested, nothing to complain about.
    EXPECT_TRUE(names(SearchScope::lookInEntry(catalog, 9, nullptr), "[]*").empty());
    EXPECT_EQ(outcome.end, SearchEnd::Completed);
}

TEST(SearchTexts, StatusBarTexts)
{
    EXPECT_EQ(volumesToSearchText(2), "2 Volumes to search");
    EXPECT_EQ(catalogsText(3), "3 Catalogs");
    EXPECT_EQ(matchesFoundText(0), "0 Matches found");
}

}  // namespace
