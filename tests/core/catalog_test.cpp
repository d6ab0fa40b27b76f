#include "catalog.h"
#include "contentsrows.h"
#include "nodepath.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace quillon;
using ::testing::ElementsAre;

namespace {

TEST(FileData, SizesAreWholeKilobytesRoundedUp)
{
    EXPECT_EQ(sizeToKB(0), 0);
    EXPECT_EQ(sizeToKB(1), 1);
    EXPECT_EQ(sizeToKB(1024), 1);
    EXPECT_EQ(sizeToKB(1025), 2);
    EXPECT_EQ(sizeToKB(std::int64_t(1) << 50), std::numeric_limits<std::int32_t>::max());
}

TEST(FileData, MediaInfoExactlyForMp3Names)
{
    TextStore store;
    EXPECT_NE(makeFileData(store, "a.Mp3", 1, 0).MediaInfo, nullptr);
    EXPECT_EQ(makeFileData(store, "a.mp3.txt", 1, 0).MediaInfo, nullptr);
    EXPECT_EQ(makeFileData(store, "mp3", 1, 0).MediaInfo, nullptr);
    EXPECT_EQ(makeFileData(store, "a.mp", 1, 0).MediaInfo, nullptr);
    const TFileData song = makeFileData(store, "x.mp3", 1, 0, "Artist", " - Title");
    EXPECT_EQ(mediaText(song), "Artist - Title");
    EXPECT_EQ(sizeof(TFileData), 32u);
}

class SampleCatalog : public ::testing::Test {
protected:
    void SetUp() override
    {
        disk1 = catalog.addVolume("Disk1", NewFolderData(1), nullptr);
        disk2 = catalog.addVolume("disk2", NewFolderData(2), nullptr);
        a = disk1->addFolder("A", NewFolderData(3));
        b = a->addFolder("B", NewFolderData(4));
        a->addFolder("b", NewFolderData(5));
        TextStore& store = *disk1->store();
        disk1->data().Files.push_back(makeFileData(store, "top", 1025, 0));
        b->data().Files.push_back(makeFileData(store, "big", std::int64_t(2047) << 30, 0));
        b->data().Files.push_back(makeFileData(store, "big2", std::int64_t(2047) << 30, 0));
    }

    Catalog catalog;
    CatalogNode* disk1 = nullptr;
    CatalogNode* disk2 = nullptr;
    CatalogNode* a = nullptr;
    CatalogNode* b = nullptr;
};

TEST_F(SampleCatalog, FolderSizeAddsEveryDepthIn64Bits)
{
    EXPECT_EQ(FolderSizeKB(*disk1), 2 + 2 * std::int64_t(2047) * 1024 * 1024);
    EXPECT_EQ(FolderSizeKB(*disk2), 0);
    const SubtreeCounts counts = countSubtree(catalog.root());
    EXPECT_EQ(counts.folders, 3);
    EXPECT_EQ(counts.files, 3);
}

TEST_F(SampleCatalog, NodePathsUseBackslashes)
{
    EXPECT_EQ(GetNodePath(catalog.root()), "My Catalogs");
    EXPECT_EQ(GetNodePath(*disk1), "Disk1:\\");
    EXPECT_EQ(GetNodePath(*b), "Disk1:\\A\\B\\");
    EXPECT_EQ(innerPath(*b), "A\\B\\");
    EXPECT_EQ(innerPath(*disk1), "");
}

TEST_F(SampleCatalog, PathsResolveAsThePathBoxReadsThem)
{
    EXPECT_EQ(resolveNodePath(catalog, "My Catalogs"), &catalog.root());
    EXPECT_EQ(resolveNodePath(catalog, "My Catalogs\\"), &catalog.root());
    EXPECT_EQ(resolveNodePath(catalog, "Disk1:\\"), disk1);
    EXPECT_EQ(resolveNodePath(catalog, "DISK1:"), disk1);
    EXPECT_EQ(resolveNodePath(catalog, "Disk1:\\A\\b"), b);  // first match in displayed order
    EXPECT_EQ(resolveNodePath(catalog, "disk1:\\a\\B\\"), b);
    EXPECT_EQ(resolveNodePath(catalog, "Disk2:\\"), disk2);
    EXPECT_EQ(resolveNodePath(catalog, "Disk3:\\"), nullptr);
    EXPECT_EQ(resolveNodePath(catalog, "Disk1:\\A\\X"), nullptr);
    // Lower case is read as a volume named "my catalog".
    EXPECT_EQ(resolveNodePath(catalog, "my catalogs"), nullptr);
    catalog.addVolume("my catalog", NewFolderData(0), nullptr);
    EXPECT_EQ(resolveNodePath(catalog, "my catalogs")->text(), "my catalog");
}

TEST_F(SampleCatalog, RemovedNodesAreNotFoundByIdAndIdsAreNotReused)
{
    const std::uint64_t id = disk2->id();
    EXPECT_EQ(catalog.findById(id), disk2);
    EXPECT_EQ(catalog.findById(b->id()), b);
    catalog.remove(disk2);
    EXPECT_EQ(catalog.findById(id), nullptr);
    CatalogNode* again = catalog.addVolume("disk2", NewFolderData(2), nullptr);
    EXPECT_NE(again->id(), id);
    EXPECT_EQ(catalog.root().child(1)->row(), 1);
}

TEST_F(SampleCatalog, SortAndRenameOrderByCollation)
{
    catalog.addVolume("beta", NewFolderData(0), nullptr);
    catalog.addVolume("Alpha", NewFolderData(0), nullptr);
    catalog.sort();
    std::vector<std::string> names;
    for (const auto& v : catalog.root().children()) names.push_back(v->text());
    EXPECT_THAT(names, ElementsAre("Alpha", "beta", "Disk1", "disk2"));
    catalog.renameVolume(catalog.root().child(0), "zeta");
    names.clear();
    for (const auto& v : catalog.root().children()) names.push_back(v->text());
    EXPECT_THAT(names, ElementsAre("beta", "Disk1", "disk2", "zeta"));
    EXPECT_EQ(catalog.root().child(3)->row(), 3);
}

TEST_F(SampleCatalog, ContentsRowsListChildrenThenFiles)
{
    const auto rootRows = contentsRows(catalog, catalog.root());
    ASSERT_EQ(rootRows.size(), 2u);
    EXPECT_EQ(rootRows[0].image, 1);
    const auto volumeRows = contentsRows(catalog, *disk1);
    ASSERT_EQ(volumeRows.size(), 2u);
    EXPECT_EQ(volumeRows[0].name(), "A");
    EXPECT_EQ(volumeRows[0].image, 2);
    EXPECT_EQ(volumeRows[1].name(), "top");
    EXPECT_EQ(volumeRows[1].image, kFileImage);
    Catalog empty;
    EXPECT_TRUE(contentsRows(empty, empty.root()).empty());
}

}  // namespace

namespace {

TEST(CatalogRemoval, KeptNodesOutliveTheirRemovalUntilReleased)
{
    Catalog catalog;
    TextStore* store = nullptr;
    CatalogNode* disc = catalog.addVolume("Disc", NewFolderData(1), std::make_unique<TextStore>());
    store = disc->store();
    CatalogNode* folder = disc->addFolder("Folder", NewFolderData(2));
    folder->data().Files.push_back(makeFileData(*store, "song.mp3", 2048, 3, "Artist", " - Title"));
    catalog.addVolume("Other", NewFolderData(4), nullptr);
    const std::uint64_t folderId = folder->id();

    catalog.setKeepRemoved(true);
    catalog.remove(disc);
    EXPECT_EQ(catalog.volumeCount(), 1u);
    EXPECT_EQ(catalog.findById(folderId), nullptr);
    ASSERT_EQ(catalog.removedCount(), 1u);
    // Still readable: the records and the texts of the removed volume stay where they were.
    EXPECT_EQ(folder->data().Files.front().Name(), "song.mp3");
    EXPECT_EQ(folder->volume()->text(), "Disc");
    EXPECT_EQ(mediaText(folder->data().Files.front()), "Artist - Title");

    catalog.clear();
    EXPECT_EQ(catalog.volumeCount(), 0u);
    EXPECT_EQ(catalog.removedCount(), 2u);
    catalog.releaseRemoved();
    EXPECT_EQ(catalog.removedCount(), 0u);

    catalog.setKeepRemoved(false);
    CatalogNode* again = catalog.addVolume("Again", NewFolderData(5), nullptr);
    catalog.remove(again);
    EXPECT_EQ(catalog.removedCount(), 0u);
}

}  // namespace
