#include "catalogfile.h"
#include "catalogloader.h"
#include "driveservices.h"
#include "volumecataloger.h"
#include "volumename.h"
#include "volumescanner.h"

#include <QTemporaryDir>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <dirent.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <ctime>
#include <fstream>

using namespace quillon;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

namespace {

// Local date-time parts to seconds since 1970, as the file system keeps modification times.
std::int64_t localSeconds(int year, int month, int day, int hour, int minute, int second)
{
    tm parts{};
    parts.tm_year = year - 1900;
    parts.tm_mon = month - 1;
    parts.tm_mday = day;
    parts.tm_hour = hour;
    parts.tm_min = minute;
    parts.tm_sec = second;
    parts.tm_isdst = -1;
    return std::int64_t(::mktime(&parts));
}

void setTime(const std::string& path, std::int64_t seconds)
{
    timespec times[2] = {{time_t(seconds), 0}, {time_t(seconds), 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW), 0) << path;
}

void writeFile(const std::string& path, std::size_t bytes, std::int64_t seconds)
{
    std::ofstream(path, std::ios::binary) << std::string(bytes, 'x');
    setTime(path, seconds);
}

void makeFolder(const std::string& path, std::int64_t seconds = -1)
{
    ASSERT_EQ(::mkdir(path.c_str(), 0755), 0) << path;
    if (seconds >= 0) setTime(path, seconds);
}

// The entry names of a folder in the order the file system lists them, "." and ".." left out.
std::vector<std::string> listingOrder(const std::string& folder)
{
    std::vector<std::string> names;
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return names;
    while (const dirent* e = ::readdir(dir)) {
        const std::string name = e->d_name;
        if (name != "." && name != "..") names.push_back(name);
    }
    ::closedir(dir);
    return names;
}

bool isRealFolder(const std::string& path)
{
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::vector<std::string> fileNames(const CatalogNode& node)
{
    std::vector<std::string> names;
    for (const TFileData& f : node.data().Files) names.emplace_back(f.Name());
    return names;
}

std::vector<std::string> childNames(const CatalogNode& node)
{
    std::vector<std::string> names;
    for (const auto& child : node.children()) names.push_back(child->text());
    return names;
}

std::vector<std::string> volumeNames(const Catalog& catalog) { return childNames(catalog.root()); }

const TFileData* findFile(const CatalogNode& node, std::string_view name)
{
    for (const TFileData& f : node.data().Files) {
        if (f.Name() == name) return &f;
    }
    return nullptr;
}

// Answers the questions as told and records everything it is told.
class RecordingObserver final : public ScanObserver {
public:
    bool replace = true;
    bool again = true;
    std::vector<ScanQuestion> questions;
    std::vector<std::string> questionTexts;
    std::vector<std::string> phases;
    std::vector<std::string> errors;
    std::vector<std::string> progressFolders;
    int progressCalls = 0;
    int treeUpdateDepth = 0;
    std::function<void(const ScanProgress&)> onProgress;

    bool ask(ScanQuestion question, std::string_view text) override
    {
        questions.push_back(question);
        questionTexts.emplace_back(text);
        return question == ScanQuestion::ReplaceVolume ? replace : again;
    }
    void phase(std::string_view text) override { phases.emplace_back(text); }
    void progress(const ScanProgress& where) override
    {
        ++progressCalls;
        progressFolders.emplace_back(where.folder);
        if (onProgress) onProgress(where);
    }
    void error(std::string_view message) override { errors.emplace_back(message); }
    void beginTreeUpdate() override { ++treeUpdateDepth; }
    void endTreeUpdate() override { --treeUpdateDepth; }
};

// A source tree and a catalog folder in one temporary folder.
class ScanFixture : public ::testing::Test {
protected:
    QTemporaryDir m_dir;
    std::string m_root = m_dir.path().toStdString();
    std::string m_catalogs = m_root + "/Catalogs/";
    Catalog m_catalog;
    RecordingObserver m_observer;

    std::string path(const std::string& relative) const { return m_root + "/" + relative; }

    CatalogResult catalogFolder(const std::string& source, const std::string& name, const std::string& label,
                                MediaReader reader = defaultMediaReader())
    {
        VolumeCataloger cataloger(m_catalog, m_observer, std::move(reader));
        return cataloger.run({source, name, label, m_catalogs});
    }

    std::vector<std::string> catalogFiles() const
    {
        auto names = listingOrder(m_catalogs);
        std::sort(names.begin(), names.end());
        return names;
    }
};

// A volume read back from its file without sorting: records stand in the order they were written.
struct Reread {
    Catalog catalog;
    CatalogNode* volume = nullptr;
};

std::unique_ptr<Reread> readBack(const std::string& file)
{
    auto r = std::make_unique<Reread>();
    const ReadOutcome outcome = readCatalogFile(file, "Reread", r->catalog);
    EXPECT_TRUE(outcome.status) << outcome.status.message;
    r->volume = outcome.volume;
    return r;
}

}  // namespace

TEST_F(ScanFixture, RecordsEveryEntryInListingOrderAndReadsBackTheSame)
{
    const std::string src = path("src");
    makeFolder(src);
    const std::int64_t t1 = localSeconds(2003, 5, 17, 14, 3, 9);  // odd: kept as 14:03:08
    const std::int64_t t2 = localSeconds(2011, 11, 30, 23, 59, 58);
    writeFile(src + "/a.txt", 1025, t1);
    writeFile(src + "/.hidden", 0, t2);
    writeFile(src + "/Song.MP3", 10, t2);
    writeFile(src + "/song.mp3.txt", 1024, t2);
    makeFolder(src + "/sub");
    makeFolder(src + "/sub/deep");
    writeFile(src + "/sub/deep/x.bin", 1, t1);
    writeFile(src + "/sub/in-sub.mp3", 3000, t1);
    ASSERT_EQ(::symlink("sub", (src + "/linkdir").c_str()), 0);
    ASSERT_EQ(::symlink("no-such-target", (src + "/dangling").c_str()), 0);
    makeFolder(src + "/empty", t2);
    setTime(src + "/sub/deep", t1);
    setTime(src + "/sub", t2);

    std::vector<std::string> mediaPaths;
    const MediaReader reader = [&mediaPaths](const std::string& p) {
        mediaPaths.push_back(p);
        return MediaText{"Artist of " + p.substr(p.rfind('/') + 1), " - Title"};
    };
    const CatalogResult result = catalogFolder(src, "Disk1", "LABEL", reader);
    ASSERT_EQ(result.outcome, CatalogOutcome::Cataloged) << result.message;
    EXPECT_EQ(result.folders, 3);  // sub, sub/deep, empty: the link to sub is not followed
    EXPECT_EQ(result.files, 8);
    EXPECT_THAT(m_observer.phases, ElementsAre(" Scaning...", " Saving...", " Sorting...", " Ending..."));
    EXPECT_THAT(m_observer.questions, IsEmpty());
    EXPECT_EQ(m_observer.treeUpdateDepth, 0);
    EXPECT_EQ(m_observer.progressCalls, 11);  // one per entry, folders included
    EXPECT_THAT(mediaPaths, ::testing::UnorderedElementsAre(src + "/Song.MP3", src + "/sub/in-sub.mp3"));

    // The catalog file holds the scan's order: files of a folder, then each sub-folder, as listed.
    const std::string file = m_catalogs + "Disk1.qvl";
    EXPECT_EQ(ReadHeaderStrings(file), src + "/LABEL");
    const auto reread = readBack(file);
    ASSERT_NE(reread->volume, nullptr);
    const CatalogNode& v = *reread->volume;
    std::vector<std::string> rootFiles, rootFolders;
    for (const std::string& name : listingOrder(src)) {
        (isRealFolder(src + "/" + name) ? rootFolders : rootFiles).push_back(name);
    }
    EXPECT_THAT(fileNames(v), ElementsAreArray(rootFiles));
    EXPECT_THAT(childNames(v), ElementsAreArray(rootFolders));

    const TFileData* a = findFile(v, "a.txt");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->SizeKB, 2);
    EXPECT_DOUBLE_EQ(a->Date, encodeDateTime({2003, 5, 17, 14, 3, 8}));
    EXPECT_EQ(a->MediaInfo, nullptr);
    const TFileData* hidden = findFile(v, ".hidden");
    ASSERT_NE(hidden, nullptr);
    EXPECT_EQ(hidden->SizeKB, 0);
    EXPECT_DOUBLE_EQ(hidden->Date, encodeDateTime({2011, 11, 30, 23, 59, 58}));
    EXPECT_EQ(findFile(v, "song.mp3.txt")->SizeKB, 1);
    EXPECT_EQ(findFile(v, "song.mp3.txt")->MediaInfo, nullptr);
    const TFileData* song = findFile(v, "Song.MP3");
    ASSERT_NE(song, nullptr);
    ASSERT_NE(song->MediaInfo, nullptr);
    EXPECT_EQ(song->MediaInfo->Artist, "Artist of Song.MP3");
    EXPECT_EQ(song->MediaInfo->Title, " - Title");
    // Links are entries of their own, with the link's size (its target's length), never their target's.
    ASSERT_NE(findFile(v, "linkdir"), nullptr);
    EXPECT_EQ(findFile(v, "linkdir")->SizeKB, 1);
    ASSERT_NE(findFile(v, "dangling"), nullptr);

    const CatalogNode* sub = nullptr;
    const CatalogNode* empty = nullptr;
    for (const auto& child : v.children()) {
        if (child->text() == "sub") sub = child.get();
        if (child->text() == "empty") empty = child.get();
    }
    ASSERT_NE(sub, nullptr);
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(empty->childCount(), 0u);
    EXPECT_THAT(fileNames(*empty), IsEmpty());
    EXPECT_DOUBLE_EQ(empty->data().Date, encodeDateTime({2011, 11, 30, 23, 59, 58}));
    EXPECT_DOUBLE_EQ(sub->data().Date, encodeDateTime({2011, 11, 30, 23, 59, 58}));
    EXPECT_THAT(fileNames(*sub), ElementsAre("in-sub.mp3"));
    EXPECT_EQ(findFile(*sub, "in-sub.mp3")->SizeKB, 3);
    EXPECT_EQ(findFile(*sub, "in-sub.mp3")->MediaInfo->Artist, "Artist of in-sub.mp3");
    ASSERT_EQ(sub->childCount(), 1u);
    EXPECT_EQ(sub->child(0)->text(), "deep");
    EXPECT_DOUBLE_EQ(sub->child(0)->data().Date, encodeDateTime({2003, 5, 17, 14, 3, 8}));
    EXPECT_THAT(fileNames(*sub->child(0)), ElementsAre("x.bin"));

    // The volume in memory matches what was written, and the tree is sorted.
    ASSERT_NE(result.volume, nullptr);
    EXPECT_EQ(result.volume->text(), "Disk1");
    EXPECT_THAT(fileNames(*result.volume), ElementsAreArray(rootFiles));
    EXPECT_THAT(childNames(*result.volume), ElementsAre("empty", "sub"));
    EXPECT_DOUBLE_EQ(result.volume->data().Date, v.data().Date);

    // The loader sees the same volume.
    Catalog loaded;
    ReloadCatalogFolder(m_catalogs, loaded);
    EXPECT_THAT(volumeNames(loaded), ElementsAre("Disk1"));
    EXPECT_EQ(countSubtree(loaded.root()).files, 8);
}

TEST_F(ScanFixture, TimesAreLocalAcrossDaylightSavingChanges)
{
    const char* old = std::getenv("TZ");
    const std::string previous = old ? old : "";
    ::setenv("TZ", "Europe/Berlin", 1);
    ::tzset();
    const std::string src = path("src");
    makeFolder(src);
    // 2021-03-28: clocks went from 02:00 CET to 03:00 CEST at 01:00 UTC.
    const std::int64_t change = 1616893200;
    writeFile(src + "/before", 1, change - 2);
    writeFile(src + "/after", 1, change);
    writeFile(src + "/winter", 1, change - 40 * 86400);
    const CatalogResult result = catalogFolder(src, "Tz", "");
    if (old)
        ::setenv("TZ", previous.c_str(), 1);
    else
        ::unsetenv("TZ");
    ::tzset();

    ASSERT_EQ(result.outcome, CatalogOutcome::Cataloged);
    EXPECT_DOUBLE_EQ(findFile(*result.volume, "before")->Date, encodeDateTime({2021, 3, 28, 1, 59, 58}));
    EXPECT_DOUBLE_EQ(findFile(*result.volume, "after")->Date, encodeDateTime({2021, 3, 28, 3, 0, 0}));
    EXPECT_DOUBLE_EQ(findFile(*result.volume, "winter")->Date, encodeDateTime({2021, 2, 16, 2, 0, 0}));
}

TEST_F(ScanFixture, SizesAbove4GiBAndDatesOutsideTheDosRange)
{
    const std::string src = path("src");
    makeFolder(src);
    const std::string big = src + "/big";
    writeFile(big, 0, localSeconds(1975, 6, 1, 12, 0, 0));
    if (::truncate(big.c_str(), (5LL << 30) + 1) != 0) GTEST_SKIP() << "no sparse files here";
    setTime(big, localSeconds(1975, 6, 1, 12, 0, 0));
    const std::string huge = src + "/huge";
    writeFile(huge, 0, localSeconds(2020, 1, 1, 0, 0, 0));
    const bool hugeMade = ::truncate(huge.c_str(), 3LL << 40) == 0;

    const CatalogResult result = catalogFolder(src, "Big", "");
    ASSERT_EQ(result.outcome, CatalogOutcome::Cataloged);
    EXPECT_EQ(findFile(*result.volume, "big")->SizeKB, 5 * 1024 * 1024 + 1);
    EXPECT_DOUBLE_EQ(findFile(*result.volume, "big")->Date, encodeDateTime({1975, 6, 1, 12, 0, 0}));
    if (hugeMade) {
        EXPECT_EQ(findFile(*result.volume, "huge")->SizeKB, 2147483647);
    }

    // The writer clamps dates before 1980 so that they read back as valid ones.
    const auto reread = readBack(m_catalogs + "Big.qvl");
    ASSERT_NE(reread->volume, nullptr);
    ASSERT_NE(findFile(*reread->volume, "big"), nullptr);
    EXPECT_DOUBLE_EQ(findFile(*reread->volume, "big")->Date, encodeDateTime({1980, 1, 1, 0, 0, 0}));
}

TEST_F(ScanFixture, AFolderThatCannotBeListedIsEmpty)
{
    if (::geteuid() == 0) GTEST_SKIP() << "root lists every folder";
    const std::string src = path("src");
    makeFolder(src);
    makeFolder(src + "/locked");
    writeFile(src + "/locked/secret", 1, localSeconds(2001, 1, 1, 0, 0, 0));
    ASSERT_EQ(::chmod((src + "/locked").c_str(), 0), 0);
    const CatalogResult result = catalogFolder(src, "Locked", "");
    ::chmod((src + "/locked").c_str(), 0755);
    ASSERT_EQ(result.outcome, CatalogOutcome::Cataloged);
    ASSERT_EQ(result.volume->childCount(), 1u);
    EXPECT_THAT(fileNames(*result.volume->child(0)), IsEmpty());
    EXPECT_EQ(result.files, 0);
}

TEST_F(ScanFixture, AnEmptyFolderGivesAHeaderOnlyFile)
{
    const std::string src = path("nothing");
    makeFolder(src);
    const CatalogResult result = catalogFolder(src, "", "nothing");
    ASSERT_EQ(result.outcome, CatalogOutcome::Cataloged);
    EXPECT_EQ(result.volume->text(), "");
    EXPECT_EQ(result.volume->childCount(), 0u);
    struct stat st {};
    ASSERT_EQ(::stat((m_catalogs + ".qvl").c_str(), &st), 0);
    EXPECT_EQ(st.st_size, off_t(8 + src.size() + 1 + std::string("nothing").size()));
}

TEST_F(ScanFixture, CancelWritesNothingAndKeepsTheOlderVolume)
{
    const std::string src = path("src");
    makeFolder(src);
    for (int i = 0; i < 5; ++i) {
        const std::string folder = src + "/f" + std::to_string(i);
        makeFolder(folder);
        for (int j = 0; j < 5; ++j) writeFile(folder + "/file" + std::to_string(j), 10, 1'000'000'000);
    }
    ASSERT_EQ(catalogFolder(src, "Music", "old").outcome, CatalogOutcome::Cataloged);
    const std::string oldFile = m_catalogs + "Music.qvl";
    const std::string oldHeader = ReadHeaderStrings(oldFile);

    VolumeCataloger cataloger(m_catalog, m_observer);
    int seen = 0;
    m_observer.progressCalls = 0;
    m_observer.onProgress = [&](const ScanProgress&) {
        if (++seen == 8) cataloger.cancel();
    };
    const CatalogResult result = cataloger.run({src, "MUSIC", "new", m_catalogs});
    EXPECT_EQ(result.outcome, CatalogOutcome::Cancelled);
    EXPECT_EQ(result.volume, nullptr);
    // The walk ends at the entry that saw the cancel, at every level at once.
    EXPECT_EQ(m_observer.progressCalls, 8);
    EXPECT_THAT(m_observer.questions, ElementsAre(ScanQuestion::ReplaceVolume));
    EXPECT_THAT(volumeNames(m_catalog), ElementsAre("Music"));
    EXPECT_EQ(countSubtree(*m_catalog.root().child(0)).files, 25);
    EXPECT_THAT(catalogFiles(), ElementsAre("Music.qvl"));
    EXPECT_EQ(ReadHeaderStrings(oldFile), oldHeader);
    EXPECT_EQ(m_observer.treeUpdateDepth, 0);

    // The next run starts afresh: the flag was for the run it cancelled.
    m_observer.onProgress = {};
    EXPECT_EQ(cataloger.run({src, "Other", "other", m_catalogs}).outcome, CatalogOutcome::Cataloged);
}

TEST_F(ScanFixture, ReplacingRemovesTheOlderVolumeOnlyAfterTheNewFileIsWritten)
{
    const std::string a = path("a");
    const std::string b = path("b");
    makeFolder(a);
    makeFolder(b);
    writeFile(a + "/from-a", 1, 1'000'000'000);
    writeFile(b + "/from-b", 1, 1'000'000'000);
    ASSERT_EQ(catalogFolder(a, "Music", "a").outcome, CatalogOutcome::Cataloged);
    ASSERT_EQ(catalogFolder(a, "Keep", "other").outcome, CatalogOutcome::Cataloged);

    // Answered No: nothing changes.
    m_observer.replace = false;
    EXPECT_EQ(catalogFolder(b, "music", "b").outcome, CatalogOutcome::Declined);
    EXPECT_THAT(catalogFiles(), ElementsAre("Keep.qvl", "Music.qvl"));
    EXPECT_THAT(volumeNames(m_catalog), ElementsAre("Keep", "Music"));

    // Another letter case names another file on this file system; the older volume's own file goes.
    m_observer.replace = true;
    m_observer.questions.clear();
    const CatalogResult result = catalogFolder(b, "MUSIC", "b");
    ASSERT_EQ(result.outcome, CatalogOutcome::Cataloged);
    EXPECT_THAT(m_observer.questions, ElementsAre(ScanQuestion::ReplaceVolume));
    EXPECT_THAT(catalogFiles(), ElementsAre("Keep.qvl", "MUSIC.qvl"));
    EXPECT_THAT(volumeNames(m_catalog), ElementsAre("Keep", "MUSIC"));
    EXPECT_THAT(fileNames(*result.volume), ElementsAre("from-b"));

    // The same name again from the same folder: the file is replaced in place, and the volume being replaced
    // does not count as an earlier catalog of the folder.
    m_observer.questions.clear();
    ASSERT_EQ(catalogFolder(b, "MUSIC", "b").outcome, CatalogOutcome::Cataloged);
    EXPECT_THAT(m_observer.questions, ElementsAre(ScanQuestion::ReplaceVolume));
    EXPECT_THAT(catalogFiles(), ElementsAre("Keep.qvl", "MUSIC.qvl"));
    EXPECT_THAT(volumeNames(m_catalog), ElementsAre("Keep", "MUSIC"));
    EXPECT_EQ(ReadHeaderStrings(m_catalogs + "MUSIC.qvl"), b + "/b");
}

TEST_F(ScanFixture, AVolumeLoadedFromAnOddFileNameLosesThatFile)
{
    const std::string src = path("src");
    makeFolder(src);
    ASSERT_EQ(catalogFolder(src, "x5", "first").outcome, CatalogOutcome::Cataloged);
    // Older catalogs may name a volume with an escape that decodes to the same text.
    ASSERT_EQ(::rename((m_catalogs + "x5.qvl").c_str(), (m_catalogs + "x~5.qvl").c_str()), 0);
    ReloadCatalogFolder(m_catalogs, m_catalog);
    ASSERT_THAT(volumeNames(m_catalog), ElementsAre("x5"));

    ASSERT_EQ(catalogFolder(src, "X5", "second").outcome, CatalogOutcome::Cataloged);
    EXPECT_THAT(catalogFiles(), ElementsAre("X5.qvl"));
    EXPECT_THAT(volumeNames(m_catalog), ElementsAre("X5"));
}

TEST_F(ScanFixture, AFileThatCannotBeCreatedLeavesNoVolume)
{
    const std::string src = path("src");
    makeFolder(src);
    writeFile(src + "/f", 1, 1'000'000'000);
    m_catalog.addVolume("Music", NewFolderData(0), nullptr);
    // A regular file where the catalog folder should be.
    std::ofstream(m_root + "/Catalogs") << "x";

    const CatalogResult result = catalogFolder(src, "Music", "");
    EXPECT_EQ(result.outcome, CatalogOutcome::Failed);
    const std::string expected = "Cannot create file " + m_catalogs + "Music.qvl";
    EXPECT_EQ(result.message, expected);
    EXPECT_THAT(m_observer.errors, ElementsAre(expected));
    EXPECT_EQ(result.volume, nullptr);
    EXPECT_THAT(volumeNames(m_catalog), ElementsAre("Music"));
    EXPECT_EQ(m_catalog.root().child(0)->data().Date, 0.0);  // the older one, kept
    EXPECT_EQ(m_observer.treeUpdateDepth, 0);
}

TEST_F(ScanFixture, AFileThatCannotBeWrittenLeavesNothing)
{
    const std::string src = path("src");
    makeFolder(src);
    for (int i = 0; i < 50; ++i)
        writeFile(src + "/file-with-a-longish-name-" + std::to_string(i), 1, 1'000'000'000);
    ASSERT_EQ(::mkdir(m_catalogs.c_str(), 0755), 0);

    // Writes past 200 bytes fail (EFBIG) while the limit holds.
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit previous{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &previous), 0);
    rlimit small = previous;
    small.rlim_cur = 200;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const CatalogResult result = catalogFolder(src, "Full", "");
    ::setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_EQ(result.outcome, CatalogOutcome::Failed);
    EXPECT_EQ(result.message, "Cannot write file " + m_catalogs + "Full.qvl");
    EXPECT_THAT(volumeNames(m_catalog), IsEmpty());
    EXPECT_THAT(catalogFiles(), IsEmpty());
}

TEST_F(ScanFixture, AlreadyCatalogedComparesPathAndLabelExactly)
{
    const std::string src = path("src");
    makeFolder(src);
    ASSERT_EQ(catalogFolder(src, "First", "LABEL").outcome, CatalogOutcome::Cataloged);
    EXPECT_TRUE(IsAlreadyCataloged(m_catalogs, src + "/LABEL"));
    EXPECT_FALSE(IsAlreadyCataloged(m_catalogs, src + "/label"));
    EXPECT_FALSE(IsAlreadyCataloged(m_catalogs, src + "LABEL"));
    EXPECT_FALSE(IsAlreadyCataloged(m_catalogs, src + "/LABEL", "First.qvl"));
    EXPECT_FALSE(IsAlreadyCataloged(m_root + "/none/", src + "/LABEL"));

    // Answered No: nothing is made.
    m_observer.again = false;
    EXPECT_EQ(catalogFolder(src + "/", "Second", "LABEL").outcome, CatalogOutcome::Declined);
    EXPECT_THAT(m_observer.questions, ElementsAre(ScanQuestion::AlreadyCataloged));
    EXPECT_THAT(
        m_observer.questionTexts,
        ElementsAre("This folder has already been cataloged.\n\r   Do you want to make a new volume?"));
    EXPECT_THAT(catalogFiles(), ElementsAre("First.qvl"));
    EXPECT_THAT(volumeNames(m_catalog), ElementsAre("First"));

    // Another label is another volume: no question.
    m_observer.questions.clear();
    EXPECT_EQ(catalogFolder(src, "Third", "label").outcome, CatalogOutcome::Cataloged);
    EXPECT_THAT(m_observer.questions, IsEmpty());

    m_observer.again = true;
    EXPECT_EQ(catalogFolder(src, "Second", "LABEL").outcome, CatalogOutcome::Cataloged);
    EXPECT_THAT(catalogFiles(), ElementsAre("First.qvl", "Second.qvl", "Third.qvl"));
}

TEST_F(ScanFixture, RefusedNamesChangeNothing)
{
    const std::string src = path("src");
    makeFolder(src);
    const CatalogResult result = catalogFolder(src, "Disc 2~3", "");
    EXPECT_EQ(result.outcome, CatalogOutcome::Refused);
    EXPECT_EQ(result.message, kTildeDigitMessage);
    EXPECT_THAT(m_observer.errors, ElementsAre(std::string(kTildeDigitMessage)));
    EXPECT_THAT(volumeNames(m_catalog), IsEmpty());
    EXPECT_EQ(m_observer.progressCalls, 0);

    // Forbidden characters are escaped in the file name; the volume keeps the name as typed.
    ASSERT_EQ(catalogFolder(src, "AC/DC", "").outcome, CatalogOutcome::Cataloged);
    EXPECT_THAT(catalogFiles(), ElementsAre("AC~47DC.qvl"));
    EXPECT_THAT(volumeNames(m_catalog), ElementsAre("AC/DC"));
}

TEST_F(ScanFixture, ASecondRunFromInsideTheFirstIsRefused)
{
    const std::string src = path("src");
    makeFolder(src);
    writeFile(src + "/f", 1, 1'000'000'000);
    VolumeCataloger cataloger(m_catalog, m_observer);
    CatalogOutcome nested = CatalogOutcome::Cataloged;
    m_observer.onProgress = [&](const ScanProgress&) {
        nested = cataloger.run({src, "B", "", m_catalogs}).outcome;
    };
    EXPECT_EQ(cataloger.run({src, "A", "", m_catalogs}).outcome, CatalogOutcome::Cataloged);
    EXPECT_EQ(nested, CatalogOutcome::Busy);
    EXPECT_THAT(volumeNames(m_catalog), ElementsAre("A"));
}

TEST_F(ScanFixture, TheFileSystemRootIsListedAsSlash)
{
    // Only the first entries: the walk is cancelled at once.
    VolumeCataloger cataloger(m_catalog, m_observer);
    m_observer.onProgress = [&](const ScanProgress&) { cataloger.cancel(); };
    EXPECT_EQ(cataloger.run({"/", "Root", "/", m_catalogs}).outcome, CatalogOutcome::Cancelled);
    ASSERT_FALSE(m_observer.progressFolders.empty());
    EXPECT_EQ(m_observer.progressFolders.front(), "/");
}

TEST(ProgressPath, LongFoldersKeepTheirStartAndLastName)
{
    const std::string example = "E:/Music/Albums/Rock Classics/1975/Live";
    ASSERT_EQ(example.size(), 39u);
    EXPECT_EQ(progressFolderText(example), "E:/ .../Live");
    const std::string of34 = "/media/cdrom/Music/Albums/Rock/abc";
    ASSERT_EQ(of34.size(), 34u);
    EXPECT_EQ(progressFolderText(of34), of34);
    const std::string of35 = of34 + "d";
    EXPECT_EQ(progressFolderText(of35), "/me .../abcd");
    EXPECT_EQ(progressFolderText(""), "");
    // Characters, not bytes: 33 characters in 36 bytes stay whole, and a cut never splits a character.
    const std::string accented = "\xC3\xA9\xC3\xA9\xC3\xA9/music/albums/rock/live/abcdef";
    ASSERT_EQ(accented.size(), 36u);
    EXPECT_EQ(progressFolderText(accented), accented);
    EXPECT_EQ(progressFolderText(accented + "/more-of-it"), "\xC3\xA9\xC3\xA9\xC3\xA9 .../more-of-it");
}

TEST_F(ScanFixture, TheDefaultMediaReaderReadsTagsAndFallsBackToTheName)
{
    const std::string src = path("src");
    makeFolder(src);
    // An ID3v2.3 tag with an artist and a title frame, Latin-1 text.
    std::string frames;
    for (const auto& [id, text] : {std::pair<std::string, std::string>{"TPE1", "Nina Simone"}, {"TIT2", "Sinnerman"}}) {
        const std::string content = std::string(1, '\0') + text;
        frames += id + std::string(3, '\0') + char(content.size()) + std::string(2, '\0') + content;
    }
    const std::string tag = std::string("ID3\x03\x00\x00\x00\x00\x00", 9) + char(frames.size()) + frames;
    std::ofstream(src + "/tagged.mp3", std::ios::binary) << tag << std::string(500, '\xFF');
    writeFile(src + "/Untagged Song.mp3", 300, 1'000'000'000);

    const CatalogResult result = catalogFolder(src, "Media", "");
    ASSERT_EQ(result.outcome, CatalogOutcome::Cataloged);
    const TFileData* tagged = findFile(*result.volume, "tagged.mp3");
    ASSERT_NE(tagged, nullptr);
    ASSERT_NE(tagged->MediaInfo, nullptr);
    EXPECT_EQ(tagged->MediaInfo->Artist, "Nina Simone");
    EXPECT_EQ(tagged->MediaInfo->Title, " - Sinnerman");
    const TFileData* untagged = findFile(*result.volume, "Untagged Song.mp3");
    ASSERT_NE(untagged, nullptr);
    ASSERT_NE(untagged->MediaInfo, nullptr);
    EXPECT_EQ(untagged->MediaInfo->Artist, "Untagged Song");
    EXPECT_EQ(untagged->MediaInfo->Title, "");
}

namespace {

class FakeMountTable final : public MountTable {
public:
    std::vector<MountEntry> entries;
    std::vector<MountEntry> mounts() const override { return entries; }
};

}  // namespace

TEST(DriveServices, OpticalRootsGiveTheirLabelOtherFoldersTheirName)
{
    FakeMountTable table;
    table.entries = {
        {"/", "/dev/vda1", "ext4", "system"},
        {"/media/cdrom", "/dev/sr0", "iso9660", std::string("MUSIC_01  \0\0", 12)},
        {"/mnt/dvd", "/dev/sr1", "udf", ""},
        {"/mnt/image", "/dev/loop3", "udf", "IMAGE"},
        {"/mnt/usb", "/dev/sdb1", "vfat", "STICK"},
        {"/mnt/later", "/dev/sr2", "iso9660", "HIDDEN"},
        {"/mnt/later", "/dev/sdc1", "ext4", "ON TOP"},
    };
    const DriveServices drives(table);

    EXPECT_TRUE(drives.CheckCDDrive("/media/cdrom"));
    EXPECT_TRUE(drives.CheckCDDrive("/media/cdrom/"));
    EXPECT_EQ(drives.GetVolumeLabel("/media/cdrom/"), "MUSIC_01");
    EXPECT_EQ(drives.cdDevice("/media/cdrom"), std::optional<std::string>("/dev/sr0"));
    EXPECT_TRUE(drives.CheckCDDrive("/mnt/dvd"));
    EXPECT_EQ(drives.GetVolumeLabel("/mnt/dvd"), "");  // a disc without a label proposes no name
    EXPECT_TRUE(drives.CheckCDDrive("/mnt/image"));
    EXPECT_EQ(drives.GetVolumeLabel("/mnt/image"), "IMAGE");

    // A folder on the disc is not the drive's root.
    EXPECT_FALSE(drives.CheckCDDrive("/media/cdrom/Photos"));
    EXPECT_EQ(drives.GetVolumeLabel("/media/cdrom/Photos"), "Photos");
    EXPECT_FALSE(drives.CheckCDDrive("/mnt/usb"));
    EXPECT_EQ(drives.GetVolumeLabel("/mnt/usb"), "usb");
    EXPECT_FALSE(drives.CheckCDDrive("/mnt/later"));
    EXPECT_EQ(drives.cdDevice("/mnt/later"), std::nullopt);
    EXPECT_EQ(drives.GetVolumeLabel("/home/user/Photos"), "Photos");
    EXPECT_EQ(drives.GetVolumeLabel("/home/user/Photos/"), "Photos");
    EXPECT_FALSE(drives.CheckCDDrive("/"));
    EXPECT_EQ(drives.GetVolumeLabel("/"), "/");
    EXPECT_FALSE(drives.CheckCDDrive(""));

    // Not an optical drive, or a device that is not there: nothing happens, nothing is reported.
    drives.OpenCDDoor("/mnt/usb");
    table.entries = {{"/media/cdrom", "/dev/no-such-drive", "iso9660", ""}};
    DriveServices(table).OpenCDDoor("/media/cdrom");
}
