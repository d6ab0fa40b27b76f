#include "catalogfile.h"
#include "catalogloader.h"
#include "contentsrows.h"
#include "volumename.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

using namespace quillon;
using ::testing::ElementsAre;

namespace {

// Builds catalog file bytes by hand, field by field, as the format lays them out.
class Bytes {
public:
    Bytes& u8(std::uint8_t v)
    {
        m_data += char(v);
        return *this;
    }
    Bytes& u16(std::uint16_t v) { return u8(v & 0xFF).u8(v >> 8); }
    Bytes& u32(std::uint32_t v) { return u16(v & 0xFFFF).u16(v >> 16); }
    Bytes& text(std::string_view s)
    {
        u16(std::uint16_t(s.size()));
        m_data += s;
        return *this;
    }
    Bytes& header(std::uint32_t date = kDate) { return text("/media/cd/").text("LABEL").u32(date); }
    Bytes& folder(std::uint8_t depth, std::string_view name, std::uint32_t date = kDate)
    {
        return u8(2).u8(depth).text(name).u32(date);
    }
    Bytes& file(std::string_view name, std::uint32_t kb = 1, std::uint32_t date = kDate)
    {
        return u8(4).text(name).u32(kb).u32(date);
    }
    Bytes& mp3(std::string_view name, std::string_view artist, std::string_view title, std::uint32_t date = kDate)
    {
        return file(name, 1, date).text(artist).text(title);
    }
    const std::string& str() const { return m_data; }

    // 2003-05-17 14:03:08
    static constexpr std::uint32_t kDate = (23u << 25) | (5u << 21) | (17u << 16) | (14u << 11) | (3u << 5) | 4u;

private:
    std::string m_data;
};

struct Loaded {
    Catalog catalog;
    CatalogNode* volume = nullptr;
    std::vector<std::string> errors;
};

std::unique_ptr<Loaded> load(const std::string& bytes)
{
    auto loaded = std::make_unique<Loaded>();
    // An exact-size buffer, so that AddressSanitizer sees any read past the end.
    auto buffer = std::make_unique<char[]>(bytes.size());
    std::memcpy(buffer.get(), bytes.data(), bytes.size());
    loaded->volume = readCatalogBytes(std::move(buffer), bytes.size(), "Vol", loaded->catalog,
                                      [&errors = loaded->errors](const std::string& m) { errors.push_back(m); });
    return loaded;
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
    for (const auto& c : node.children()) names.push_back(c->text());
    return names;
}

void writeFile(const QString& path, const std::string& bytes)
{
    std::ofstream out(path.toStdString(), std::ios::binary);
    out << bytes;
}

TEST(VolumeNames, ForbiddenCharactersAreEscapedAndComeBack)
{
    EXPECT_EQ(EncodeVolumeName("AC/DC").fileName, "AC~47DC");
    EXPECT_EQ(DecodeVolumeName("AC~47DC.qvl"), "AC/DC");
    EXPECT_EQ(EncodeVolumeName("Mix?").fileName, "Mix~63");
    EXPECT_EQ(DecodeVolumeName("Mix~63.qvl"), "Mix?");
    EXPECT_EQ(EncodeVolumeName("a\\b/c:d*e?f\"g<h>i|j").fileName, "a~92b~47c~58d~42e~63f~34g~60h~62i~124j");
    EXPECT_EQ(DecodeVolumeName("a~92b~47c~58d~42e~63f~34g~60h~62i~124j.qvl"), "a\\b/c:d*e?f\"g<h>i|j");
    EXPECT_EQ(EncodeVolumeName("").fileName, "");
    EXPECT_EQ(DecodeVolumeName(".qvl"), "");
}

TEST(VolumeNames, TildeFollowedByDigitIsRefused)
{
    const EncodedName refused = EncodeVolumeName("Disc 2~3");
    EXPECT_TRUE(refused.refused);
    EXPECT_EQ(refused.message, "fName cannot contain \"~\" character followed by number.");
    EXPECT_FALSE(catalogFilePath("./Catalogs/", "Disk~1").has_value());
    EXPECT_FALSE(EncodeVolumeName("a~b").refused);
    EXPECT_EQ(EncodeVolumeName("a~b").fileName, "a~b");
    EXPECT_EQ(*catalogFilePath("./Catalogs/", "Disk~A"), "./Catalogs/Disk~A.qvl");
    EXPECT_FALSE(EncodeVolumeName("end~").refused);
}

TEST(VolumeNames, OddEscapesDecodeByTheirValueModulo256)
{
    EXPECT_EQ(EncodeVolumeName("Disc:1").fileName, "Disc~581");
    EXPECT_EQ(DecodeVolumeName("Disc~581.qvl"), "DiscE");  // 581 modulo 256 is 69
    EXPECT_EQ(DecodeVolumeName("x~5.qvl"), "x5");
    EXPECT_EQ(DecodeVolumeName("x~.qvl"), "x~");
    EXPECT_EQ(DecodeVolumeName("~~47.qvl"), "~/");
    // More digits than 32 bits hold: decoded by the value's remainder, without stopping anything.
    EXPECT_EQ(DecodeVolumeName("a~99999999999999999999999999b.qvl").size(), 3u);
    EXPECT_EQ(DecodeVolumeName("qvl"), "");
}

TEST(CatalogWriter, WritesTheExactLayout)
{
    QTemporaryDir dir;
    Catalog catalog;
    CatalogNode* volume = catalog.addVolume("Vol", NewFolderData(dosToDateTime(Bytes::kDate)), nullptr);
    TextStore& store = *volume->store();
    volume->data().Files.push_back(makeFileData(store, "a.txt", 1025, dosToDateTime(Bytes::kDate)));
    CatalogNode* sub = volume->addFolder("Sub", NewFolderData(dosToDateTime(Bytes::kDate)));
    sub->data().Files.push_back(
        makeFileData(store, "Song.MP3", 0, dosToDateTime(Bytes::kDate), "Artist", " - Title"));
    sub->addFolder("Deep", NewFolderData(dosToDateTime(Bytes::kDate)));
    volume->addFolder("Empty", NewFolderData(dosToDateTime(Bytes::kDate)));

    const std::string path = dir.filePath(QStringLiteral("Vol.qvl")).toStdString();
    ASSERT_TRUE(writeVolumeFile(path, *volume, "LABEL", "/media/cd"));

    const std::string expected = Bytes()
                                     .header()
                                     .file("a.txt", 2)
                                     .folder(2, "Sub")
                                     .file("Song.MP3", 0)
                                     .text("Artist")
                                     .text(" - Title")
                                     .folder(3, "Deep")
                                     .folder(2, "Empty")
                                     .str();
    QFile written(QString::fromStdString(path));
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll().toStdString(), expected);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("Vol.qvl")});
}

TEST(CatalogWriter, RoundTripKeepsNamesSizesDatesMediaAndOrder)
{
    QTemporaryDir dir;
    Catalog catalog;
    const DateTime date = encodeDateTime({2010, 1, 2, 3, 4, 6});
    CatalogNode* volume = catalog.addVolume("Vol", NewFolderData(date), nullptr);
    TextStore& store = *volume->store();
    const std::string longText(600, 'x');
    volume->data().Files.push_back(makeFileData(store, "z.bin", 5'000'000'000'000LL, date));
    volume->data().Files.push_back(makeFileData(store, "b.mp3", 10, date, "", ""));
    volume->data().Files.push_back(makeFileData(store, "c.mp3", 10, date, longText, " - \xC3\xA9t\xC3\xA9"));
    volume->data().Files.push_back(makeFileData(store, "notes.mp3.txt", 1, date));
    CatalogNode* a = volume->addFolder("A", NewFolderData(date));
    a->addFolder("A1", NewFolderData(date))->data().Files.push_back(makeFileData(store, "in-a1", 1, date));
    a->data().Files.push_back(makeFileData(store, "in-a", 1, date));

    const std::string path = dir.filePath(QStringLiteral("Vol.qvl")).toStdString();
    ASSERT_TRUE(writeVolumeFile(path, *volume, "", "/src/"));

    Catalog reread;
    const ReadOutcome outcome = readCatalogFile(path, "Vol", reread);
    ASSERT_TRUE(outcome.status);
    ASSERT_NE(outcome.volume, nullptr);
    const CatalogNode& v = *outcome.volume;
    EXPECT_DOUBLE_EQ(v.data().Date, date);
    EXPECT_THAT(fileNames(v), ElementsAre("z.bin", "b.mp3", "c.mp3", "notes.mp3.txt"));
    EXPECT_EQ(v.data().Files[0].SizeKB, std::numeric_limits<std::int32_t>::max());
    EXPECT_DOUBLE_EQ(v.data().Files[0].Date, date);
    ASSERT_NE(v.data().Files[1].MediaInfo, nullptr);
    EXPECT_EQ(v.data().Files[1].MediaInfo->Artist, "");
    ASSERT_NE(v.data().Files[2].MediaInfo, nullptr);
    EXPECT_EQ(v.data().Files[2].MediaInfo->Artist, longText);  // texts over 512 bytes stay whole
    EXPECT_EQ(v.data().Files[2].MediaInfo->Title, " - \xC3\xA9t\xC3\xA9");
    EXPECT_EQ(v.data().Files[3].MediaInfo, nullptr);
    EXPECT_THAT(childNames(v), ElementsAre("A"));
    EXPECT_THAT(fileNames(*v.child(0)), ElementsAre("in-a"));
    EXPECT_THAT(fileNames(*v.child(0)->child(0)), ElementsAre("in-a1"));
    EXPECT_EQ(ReadHeaderStrings(path), "/src/");
}

TEST(CatalogWriter, FailuresAreReportedAndLeaveNothingBehind)
{
    QTemporaryDir dir;
    Catalog catalog;
    CatalogNode* volume = catalog.addVolume("Vol", NewFolderData(0), nullptr);

    // The catalog folder's parent is missing: only one level is made.
    const std::string deep = dir.filePath(QStringLiteral("no/such/Vol.qvl")).toStdString();
    const Status s = writeVolumeFile(deep, *volume, "", "/");
    EXPECT_FALSE(s);
    EXPECT_EQ(s.message, "Cannot create file " + deep);

    // A missing catalog folder itself is made.
    const std::string oneLevel = dir.filePath(QStringLiteral("Catalogs/Vol.qvl")).toStdString();
    EXPECT_TRUE(writeVolumeFile(oneLevel, *volume, "", "/"));

    // A regular file in the way of the folder.
    writeFile(dir.filePath(QStringLiteral("plain")), "x");
    const std::string blocked = dir.filePath(QStringLiteral("plain/Vol.qvl")).toStdString();
    EXPECT_FALSE(writeVolumeFile(blocked, *volume, "", "/"));

    // A failed write keeps the old file as it was.
    const QString target = dir.filePath(QStringLiteral("Catalogs/Vol.qvl"));
    QFile before(target);
    ASSERT_TRUE(before.open(QIODevice::ReadOnly));
    const QByteArray old = before.readAll();
    CatalogWriter writer;
    ASSERT_TRUE(writer.CreateCatalogFile(target.toStdString()));
    writer.WriteVolumeHeader("other", "/x/", 0);
    writer.discard();
    QFile after(target);
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), old);
    EXPECT_EQ(QDir(dir.filePath(QStringLiteral("Catalogs"))).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

TEST(CatalogReader, FoldersAttachByDepthAndFilesToTheLastFolder)
{
    const auto loaded = load(Bytes()
                                 .header()
                                 .file("root.txt")
                                 .folder(2, "A")
                                 .folder(3, "B")
                                 .folder(4, "C")
                                 .folder(2, "D")
                                 .file("in-d")
                                 .str());
    ASSERT_NE(loaded->volume, nullptr);
    const CatalogNode& v = *loaded->volume;
    EXPECT_THAT(fileNames(v), ElementsAre("root.txt"));
    EXPECT_THAT(childNames(v), ElementsAre("A", "D"));
    EXPECT_THAT(childNames(*v.child(0)), ElementsAre("B"));
    EXPECT_THAT(childNames(*v.child(0)->child(0)), ElementsAre("C"));
    EXPECT_THAT(fileNames(*v.child(1)), ElementsAre("in-d"));
    EXPECT_EQ(v.child(0)->child(0)->child(0)->level(), 4);
    EXPECT_TRUE(loaded->errors.empty());
}

TEST(CatalogReader, HeaderOnlyGivesAnEmptyVolume)
{
    const auto loaded = load(Bytes().header().str());
    ASSERT_NE(loaded->volume, nullptr);
    EXPECT_EQ(loaded->volume->childCount(), 0u);
    EXPECT_TRUE(loaded->volume->data().Files.empty());
    EXPECT_EQ(isoText(loaded->volume->data().Date), "2003-05-17T14:03:08");
}

TEST(CatalogReader, BadHeadersGiveNoVolume)
{
    EXPECT_EQ(load(Bytes().header(0).file("x").str())->volume, nullptr);
    EXPECT_EQ(load("")->volume, nullptr);
    EXPECT_EQ(load(Bytes().text("/x/").u16(10).str())->volume, nullptr);          // label past the end
    EXPECT_EQ(load(Bytes().text("/x/").text("L").u16(3).str())->volume, nullptr);  // date cut short
}

TEST(CatalogReader, InvalidDatesFollowTheRecordRules)
{
    const auto loaded = load(Bytes()
                                 .header()
                                 .folder(2, "Broken", 0)
                                 .file("kept")
                                 .file("bad-date", 1, 0)
                                 // Media texts holding the tag bytes must not be read as records.
                                 .mp3("bad.mp3", std::string("\x04\x02\x04", 3), "\x02", 0)
                                 .file("after")
                                 .str());
    ASSERT_NE(loaded->volume, nullptr);
    const CatalogNode& v = *loaded->volume;
    ASSERT_EQ(v.childCount(), 1u);
    EXPECT_EQ(v.child(0)->text(), "Error");
    EXPECT_THAT(loaded->errors, ElementsAre("Error in folder: Broken"));
    EXPECT_GT(v.child(0)->data().Date, encodeDateTime({2020, 1, 1}));  // now
    EXPECT_THAT(fileNames(*v.child(0)), ElementsAre("kept", "after"));
}

TEST(CatalogReader, UnknownTagsArePassedOver)
{
    const auto loaded = load(Bytes().header().u8(7).u8(0).file("a").u8(9).str());
    ASSERT_NE(loaded->volume, nullptr);
    EXPECT_THAT(fileNames(*loaded->volume), ElementsAre("a"));
}

TEST(CatalogReader, RecordsCutShortAreDroppedWithoutReadingPastTheEnd)
{
    const std::string whole = Bytes().header().folder(2, "Folder").mp3("song.mp3", "Artist", " - Title").str();
    const std::size_t headerSize = Bytes().header().str().size();
    for (std::size_t cut = headerSize; cut < whole.size(); ++cut) {
        const auto loaded = load(whole.substr(0, cut));
        ASSERT_NE(loaded->volume, nullptr) << cut;
        const std::size_t files = loaded->volume->childCount() ? loaded->volume->child(0)->data().Files.size() : 0;
        EXPECT_EQ(files, 0u) << cut;
    }
    const auto full = load(whole);
    ASSERT_EQ(full->volume->childCount(), 1u);
    EXPECT_THAT(fileNames(*full->volume->child(0)), ElementsAre("song.mp3"));
    // A length that runs past the end.
    const auto pastEnd = load(Bytes().header().u8(4).u16(60000).str());
    ASSERT_NE(pastEnd->volume, nullptr);
    EXPECT_TRUE(pastEnd->volume->data().Files.empty());
}

TEST(CatalogReader, DepthsBelowTwoNeverClimbAboveTheVolume)
{
    const auto loaded = load(Bytes().header().folder(2, "A").folder(3, "B").folder(0, "Z").folder(1, "Y").str());
    ASSERT_NE(loaded->volume, nullptr);
    EXPECT_THAT(childNames(*loaded->volume), ElementsAre("A", "Z", "Y"));
    EXPECT_EQ(loaded->volume->child(1)->level(), 2);
}

TEST(CatalogReader, ExtensionDecidesWhetherMediaTextsFollow)
{
    const auto loaded = load(Bytes()
                                 .header()
                                 .mp3("LIVE.MP3", "Band", " - Song")
                                 .file("notes.mp3.txt")
                                 .file("mp3")
                                 .mp3(".mp3", "", "")
                                 .str());
    ASSERT_NE(loaded->volume, nullptr);
    const auto& files = loaded->volume->data().Files;
    ASSERT_EQ(files.size(), 4u);
    ASSERT_NE(files[0].MediaInfo, nullptr);
    EXPECT_EQ(mediaText(files[0]), "Band - Song");
    EXPECT_EQ(files[1].MediaInfo, nullptr);
    EXPECT_EQ(files[2].MediaInfo, nullptr);
    ASSERT_NE(files[3].MediaInfo, nullptr);
    EXPECT_EQ(mediaText(files[3]), "");
}

TEST(CatalogReader, RandomBytesNeverCrash)
{
    std::uint32_t seed = 12345;
    auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return seed >> 24;
    };
    const std::string base =
        Bytes().header().folder(2, "A").mp3("x.mp3", "a", "t").folder(3, "B").file("f").folder(2, "C").str();
    for (int round = 0; round < 3000; ++round) {
        std::string bytes = base;
        const int flips = 1 + int(next() % 6);
        for (int i = 0; i < flips; ++i) bytes[next() * 7919 % bytes.size()] = char(next());
        if (next() % 4 == 0) bytes.resize(next() * 31 % (bytes.size() + 1));
        const auto loaded = load(bytes);
        if (loaded->volume) {
            for (const TFileData& f : loaded->volume->data().Files) EXPECT_LE(f.Name().size(), bytes.size());
        }
    }
}

TEST(CatalogLoader, LoadsSortsAndSkipsFilesThatCannotBeOpened)
{
    QTemporaryDir dir;
    const QString folder = dir.path() + u'/';
    writeFile(folder + QStringLiteral("Gamma.qvl"), Bytes().header().folder(2, "b").folder(2, "C").folder(2, "a").str());
    writeFile(folder + QStringLiteral("beta.qvl"), Bytes().header().str());
    writeFile(folder + QStringLiteral("AC~47DC.QVL"), Bytes().header().str());
    writeFile(folder + QStringLiteral("bad.qvl"), Bytes().header(0).str());
    writeFile(folder + QStringLiteral("other.txt"), "x");
    QDir(dir.path()).mkdir(QStringLiteral("folder.qvl"));  // cannot be read as a file

    Catalog catalog;
    std::vector<std::string> errors;
    int started = 0, advanced = 0;
    LoadObserver observer;
    observer.started = [&](int n) { started = n; };
    observer.advanced = [&] { ++advanced; };
    observer.error = [&](const std::string& m) { errors.push_back(m); };
    const LoadResult result = ReloadCatalogFolder(folder.toStdString(), catalog, observer);

    EXPECT_EQ(result.catalogFiles, 5);
    EXPECT_EQ(started, 5);
    EXPECT_EQ(advanced, 5);
    EXPECT_THAT(errors, ElementsAre("Cannot open file " + (folder + QStringLiteral("folder.qvl")).toStdString()));
    EXPECT_THAT(childNames(catalog.root()), ElementsAre("AC/DC", "beta", "Gamma"));
    EXPECT_THAT(childNames(*catalog.root().child(2)), ElementsAre("a", "b", "C"));
    for (std::size_t i = 0; i < catalog.volumeCount(); ++i) EXPECT_EQ(catalog.root().child(i)->row(), int(i));

    // A reload replaces everything; an empty or missing folder leaves only the root.
    EXPECT_EQ(ReloadCatalogFolder((folder + QStringLiteral("missing/")).toStdString(), catalog).catalogFiles, 0);
    EXPECT_EQ(catalog.volumeCount(), 0u);
}

}  // namespace
