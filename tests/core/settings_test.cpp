#include "inifile.h"
#include "settings.h"

#include <QDir>
#include <QFile>
#include <QFileDevice>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <string>

#include <sys/resource.h>

using namespace quillon;

namespace {

// --- IniFile -----------------------------------------------------------------------------------------------

TEST(IniFile, NamesMatchWithoutRegardToCase)
{
    const IniFile ini = IniFile::fromText("[general]\nfirststart=0\n[VIEW]\nStdBar=5\n");
    EXPECT_EQ(ini.value("General", "FirstStart"), "0");
    EXPECT_EQ(ini.value("GENERAL", "FIRSTSTART"), "0");
    EXPECT_EQ(ini.value("view", "stdbar"), "5");
    // A key belongs to its own section only.
    EXPECT_EQ(ini.value("View", "FirstStart"), std::nullopt);
    EXPECT_EQ(ini.value("General", "StdBar"), std::nullopt);
}

TEST(IniFile, KeysOutsideTheirSectionCommentsAndOtherLinesAreNotValues)
{
    const IniFile ini = IniFile::fromText(
        "Stray=1\n"
        "[General]\n"
        "; FirstStart=0\n"
        "  ;AutoOpen=0\n"
        "no equals sign\n"
        "=orphan\n"
        "[Other]\n"
        "AskForLast=0\n");
    EXPECT_EQ(ini.value("General", "Stray"), std::nullopt);
    EXPECT_EQ(ini.value("General", "FirstStart"), std::nullopt);
    EXPECT_EQ(ini.value("General", "; FirstStart"), std::nullopt);
    EXPECT_EQ(ini.value("General", "AutoOpen"), std::nullopt);
    EXPECT_EQ(ini.value("General", "AskForLast"), std::nullopt);
    EXPECT_EQ(ini.value("General", ""), std::nullopt);
    EXPECT_EQ(ini.value("Other", "AskForLast"), "0");
}

TEST(IniFile, ValuesAreTrimmedAndLoseOneMatchingPairOfQuotes)
{
    const IniFile ini = IniFile::fromText(
        "[S]\n"
        "  Plain  =  a b  \t\n"
        "Double=\"  x y \"\n"
        "Single= 'q' \n"
        "Mixed=\"abc'\n"
        "Lone=\"\n"
        "Twice=\"\"in\"\"\n"
        "Empty=\n"
        "Inner=a\"b\"\n");
    EXPECT_EQ(ini.value("S", "Plain"), "a b");
    EXPECT_EQ(ini.value("S", "Double"), "  x y ");
    EXPECT_EQ(ini.value("S", "Single"), "q");
    EXPECT_EQ(ini.value("S", "Mixed"), "\"abc'");
    EXPECT_EQ(ini.value("S", "Lone"), "\"");
    EXPECT_EQ(ini.value("S", "Twice"), "\"in\"");
    EXPECT_EQ(ini.value("S", "Empty"), "");
    EXPECT_EQ(ini.value("S", "Inner"), "a\"b\"");
    EXPECT_EQ(ini.readString("S", "Empty", "default"), "");
    EXPECT_EQ(ini.readString("S", "Missing", "default"), "default");
    EXPECT_EQ(ini.readString("Missing", "Plain", "default"), "default");
}

TEST(IniFile, FirstOfRepeatedSectionsAndKeysWins)
{
    const IniFile ini = IniFile::fromText("[S]\nK=1\nK=2\n[s]\nK=3\nOnlyLater=4\n");
    EXPECT_EQ(ini.value("S", "K"), "1");
    EXPECT_EQ(ini.value("S", "OnlyLater"), std::nullopt);
}

TEST(IniFile, IntegersAreDecimalOrHexadecimalWithAnOptionalSign)
{
    EXPECT_EQ(IniFile::parseInteger("0"), 0);
    EXPECT_EQ(IniFile::parseInteger("42"), 42);
    EXPECT_EQ(IniFile::parseInteger("007"), 7);
    EXPECT_EQ(IniFile::parseInteger("+7"), 7);
    EXPECT_EQ(IniFile::parseInteger("-12"), -12);
    EXPECT_EQ(IniFile::parseInteger("0x1F"), 31);
    EXPECT_EQ(IniFile::parseInteger("0X1f"), 31);
    EXPECT_EQ(IniFile::parseInteger("$ff"), 255);
    EXPECT_EQ(IniFile::parseInteger("-$10"), -16);
    EXPECT_EQ(IniFile::parseInteger("-0x10"), -16);
    EXPECT_EQ(IniFile::parseInteger("2147483647"), 2147483647);
    EXPECT_EQ(IniFile::parseInteger("-2147483648"), -2147483647 - 1);
    EXPECT_EQ(IniFile::parseInteger("0x7FFFFFFF"), 2147483647);
}

TEST(IniFile, TextsThatAreNotWholeNumbersAreNotIntegers)
{
    for (const char* text :
         {"", "abc", "12abc", "1.5", "1 2", "--1", "+-1", "-", "0x", "$", "0xG", "$-1", "1e3", "ff",
          "2147483648", "-2147483649", "0x80000000", "99999999999999999999"}) {
        EXPECT_EQ(IniFile::parseInteger(text), std::nullopt) << text;
    }
}

TEST(IniFile, ReadsIntegersAndBooleansWithTheirDefaults)
{
    const IniFile ini = IniFile::fromText(
        "[S]\n"
        "Hex = 0x10 \n"
        "Quoted=\"5\"\n"
        "Word=yes\n"
        "Zero=0\n"
        "HexZero=$0\n"
        "Two=2\n"
        "Minus=-1\n"
        "Blank=\n");
    EXPECT_EQ(ini.readInteger("S", "Hex", 3), 16);
    EXPECT_EQ(ini.readInteger("S", "Quoted", 3), 5);
    EXPECT_EQ(ini.readInteger("S", "Word", 3), 3);
    EXPECT_EQ(ini.readInteger("S", "Blank", 3), 3);
    EXPECT_EQ(ini.readInteger("S", "Missing", 3), 3);

    EXPECT_FALSE(ini.readBool("S", "Zero", true));
    EXPECT_FALSE(ini.readBool("S", "HexZero", true));
    EXPECT_TRUE(ini.readBool("S", "Two", false));
    EXPECT_TRUE(ini.readBool("S", "Minus", false));
    EXPECT_TRUE(ini.readBool("S", "Hex", false));
    // Not numbers: the default, whichever it is.
    EXPECT_TRUE(ini.readBool("S", "Word", true));
    EXPECT_FALSE(ini.readBool("S", "Word", false));
    EXPECT_FALSE(ini.readBool("S", "Blank", false));
    EXPECT_FALSE(ini.readBool("S", "Missing", false));
    EXPECT_TRUE(ini.readBool("S", "Missing", true));
}

TEST(IniFile, WritingReplacesTheKeysLineAndNothingElse)
{
    IniFile ini = IniFile::fromText(
        "; my settings\n"
        "[general]\n"
        "catalogfolder = /old/  \n"
        "\n"
        "[View]\n"
        "LV_ViewStyle=7\n");
    ASSERT_TRUE(ini.writeString("General", "CatalogFolder", "/new/"));
    ASSERT_TRUE(ini.writeInteger("VIEW", "lv_viewstyle", 1));
    EXPECT_EQ(ini.text(),
              "; my settings\n"
              "[general]\n"
              "catalogfolder = /new/\n"
              "\n"
              "[View]\n"
              "LV_ViewStyle=1\n");
}

TEST(IniFile, NewKeysGoToTheEndOfTheirSectionBeforeItsTrailingBlankLines)
{
    IniFile ini = IniFile::fromText(
        "[General]\n"
        "A=1\n"
        "; note\n"
        "\n"
        "[View]\n"
        "B=2\n");
    ASSERT_TRUE(ini.writeString("General", "New", "x"));
    ASSERT_TRUE(ini.writeString("View", "Last", "y"));
    EXPECT_EQ(ini.text(),
              "[General]\n"
              "A=1\n"
              "; note\n"
              "New=x\n"
              "\n"
              "[View]\n"
              "B=2\n"
              "Last=y\n");
}

TEST(IniFile, NewSectionsGoToTheEndOfTheFile)
{
    IniFile ini = IniFile::fromText("; only a comment, no line break");
    ASSERT_TRUE(ini.writeBool("General", "FirstStart", false));
    ASSERT_TRUE(ini.writeBool("General", "AutoOpen", true));
    ASSERT_TRUE(ini.writeInteger("View", "LV_ViewStyle", -2));
    EXPECT_EQ(ini.text(),
              "; only a comment, no line break\n"
              "[General]\n"
              "FirstStart=0\n"
              "AutoOpen=1\n"
              "[View]\n"
              "LV_ViewStyle=-2\n");

    IniFile empty;
    ASSERT_TRUE(empty.writeString("S", "K", "v"));
    EXPECT_EQ(empty.text(), "[S]\nK=v\n");
}

TEST(IniFile, AKeyAfterAnUnterminatedLastLineGetsItsOwnLine)
{
    IniFile ini = IniFile::fromText("[S]\r\nA=1");
    ASSERT_TRUE(ini.writeString("S", "B", "2"));
    EXPECT_EQ(ini.text(), "[S]\r\nA=1\r\nB=2\r\n");
}

TEST(IniFile, KeepsTheLineEndingStyleOfTheFile)
{
    const std::string crlf = "; c\r\n[General]\r\nFirstStart=1\r\n\r\n[Other]\r\nX=1\r\n";
    IniFile ini = IniFile::fromText(crlf);
    EXPECT_EQ(ini.text(), crlf);
    EXPECT_EQ(ini.value("General", "FirstStart"), "1");  // no stray carriage return in the value
    ASSERT_TRUE(ini.writeBool("General", "FirstStart", false));
    ASSERT_TRUE(ini.writeBool("General", "AutoOpen", true));
    ASSERT_TRUE(ini.writeInteger("View", "LV_ViewStyle", 2));
    EXPECT_EQ(ini.text(),
              "; c\r\n[General]\r\nFirstStart=0\r\nAutoOpen=1\r\n\r\n"
              "[Other]\r\nX=1\r\n[View]\r\nLV_ViewStyle=2\r\n");

    IniFile lf = IniFile::fromText("[General]\nA=1\n");
    ASSERT_TRUE(lf.writeString("View", "B", "2"));
    EXPECT_EQ(lf.text(), "[General]\nA=1\n[View]\nB=2\n");
}

TEST(IniFile, ValuesThatWouldChangeOnReadingAreQuoted)
{
    IniFile ini;
    for (const char* value : {" lead", "trail ", "\"quoted\"", "'single'", "\"", "a\"b", "", "plain"}) {
        ASSERT_TRUE(ini.writeString("S", "K", value)) << value;
        EXPECT_EQ(ini.readString("S", "K", "default"), value);
    }
    ASSERT_TRUE(ini.writeString("S", "K", "plain"));
    EXPECT_EQ(ini.text(), "[S]\nK=plain\n");
    ASSERT_TRUE(ini.writeString("S", "K", " x "));
    EXPECT_EQ(ini.text(), "[S]\nK=\" x \"\n");
}

TEST(IniFile, RefusesNamesAndValuesThatDoNotFitOnALine)
{
    const std::string original = "[S]\nK=1\n";
    IniFile ini = IniFile::fromText(original);
    EXPECT_FALSE(ini.writeString("S", "K", "two\nlines"));
    EXPECT_FALSE(ini.writeString("S", "K", "cr\r"));
    EXPECT_FALSE(ini.writeString("S", "", "v"));
    EXPECT_FALSE(ini.writeString("S", "a=b", "v"));
    EXPECT_FALSE(ini.writeString("S", ";K", "v"));
    EXPECT_FALSE(ini.writeString("S", "[K", "v"));
    EXPECT_FALSE(ini.writeString("S", " K", "v"));
    EXPECT_FALSE(ini.writeString("S]", "K", "v"));
    EXPECT_FALSE(ini.writeString("S\n", "K", "v"));
    EXPECT_EQ(ini.text(), original);
}

// Lets no file grow past a few bytes while it lives, so every write of a settings file fails part-way.
class FileSizeLimit final {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        // The write then fails with EFBIG instead of the signal ending the process.
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_old);
        rlimit limit = m_old;
        limit.rlim_cur = bytes;
        m_active = setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

    bool active() const { return m_active; }

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
    bool m_active = false;
};

class IniFileOnDisk : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }
    QString path(const QString& name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
};

TEST_F(IniFileOnDisk, LoadsAndSavesTheExactBytes)
{
    const QByteArray bytes = "[A]\r\nx=1\r\n\r\n; end";
    {
        QFile f(path(QStringLiteral("a.ini")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    IniFile ini;
    ASSERT_EQ(ini.load(path(QStringLiteral("a.ini"))), IniFile::LoadResult::Read);
    EXPECT_EQ(ini.value("A", "x"), "1");
    ASSERT_TRUE(ini.save(path(QStringLiteral("b.ini"))));
    QFile b(path(QStringLiteral("b.ini")));
    ASSERT_TRUE(b.open(QIODevice::ReadOnly));
    EXPECT_EQ(b.readAll(), bytes);
}

TEST_F(IniFileOnDisk, AWriteThatFailsPartWayKeepsTheOldFile)
{
    const QByteArray old = "; old\n";
    {
        QFile f(path(QStringLiteral("a.ini")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(old);
    }
    IniFile ini = IniFile::fromText("[Section]\nKey=a value longer than the limit\n");
    bool saved = true;
    {
        const FileSizeLimit limit(16);
        ASSERT_TRUE(limit.active());
        saved = ini.save(path(QStringLiteral("a.ini")));
    }
    EXPECT_FALSE(saved);
    QFile f(path(QStringLiteral("a.ini")));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), old);
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList{QStringLiteral("a.ini")});
}

TEST_F(IniFileOnDisk, AMissingFileIsEmptyAndADirectoryIsUnreadable)
{
    IniFile ini = IniFile::fromText("[S]\nK=1\n");
    EXPECT_EQ(ini.load(path(QStringLiteral("none.ini"))), IniFile::LoadResult::Missing);
    EXPECT_EQ(ini.text(), "");

    ini = IniFile::fromText("[S]\nK=1\n");
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("folder.ini")));
    EXPECT_EQ(ini.load(path(QStringLiteral("folder.ini"))), IniFile::LoadResult::Unreadable);
    EXPECT_EQ(ini.text(), "");
}

// --- Settings ----------------------------------------------------------------------------------------------

class SettingsFile : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    QString iniPath() const { return m_dir.filePath(QStringLiteral("quillon.ini")); }

    void writeIni(const QByteArray& bytes) const
    {
        QFile f(iniPath());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_EQ(f.write(bytes), bytes.size());
    }

    QByteArray readIni() const
    {
        QFile f(iniPath());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }

    Settings loaded(const QByteArray& bytes) const
    {
        writeIni(bytes);
        Settings s;
        EXPECT_TRUE(s.load(iniPath()));
        return s;
    }

    QTemporaryDir m_dir;
};

// A settings object with every value off its default.
Settings changedSettings()
{
    Settings s;
    s.FirstStart = false;
    s.CatalogFolder = QStringLiteral("/media/archive/Catalogs");
    s.AutoOpen = false;
    s.AskForLast = false;
    s.LV_ViewStyle = ViewStyle::List;
    s.SLV_ViewStyle = ViewStyle::LargeIcons;
    s.StdBar = false;
    s.PathBar = false;
    s.AutoAdjust = false;
    return s;
}

TEST_F(SettingsFile, AMissingFileGivesTheDefaults)
{
    Settings s = changedSettings();
    EXPECT_FALSE(s.load(iniPath()));
    EXPECT_TRUE(s.FirstStart);
    EXPECT_EQ(s.CatalogFolder, QStringLiteral("./Catalogs/"));
    EXPECT_TRUE(s.AutoOpen);
    EXPECT_TRUE(s.AskForLast);
    EXPECT_EQ(s.LV_ViewStyle, ViewStyle::Details);
    EXPECT_EQ(s.SLV_ViewStyle, ViewStyle::Details);
    EXPECT_TRUE(s.StdBar);
    EXPECT_TRUE(s.PathBar);
    EXPECT_TRUE(s.AutoAdjust);
    EXPECT_EQ(s, Settings());
}

TEST_F(SettingsFile, OnlyFirstStartOffIsANormalStartWithEverythingElseDefault)
{
    Settings expected;
    expected.FirstStart = false;
    EXPECT_EQ(loaded("[General]\nFirstStart=0\n"), expected);
}

TEST_F(SettingsFile, EveryValueIsReadFromItsSection)
{
    const Settings s = loaded(
        "[General]\nFirstStart=0\nCatalogFolder=/media/archive/Catalogs\nAutoOpen=0\nAskForLast=0\n"
        "[View]\nLV_ViewStyle=2\nSLV_ViewStyle=0\nStdBar=0\nPathBar=0\nAutoAdjust=0\n");
    EXPECT_EQ(s, changedSettings());

    // The same keys in the wrong sections are not the settings.
    const Settings swapped = loaded(
        "[View]\nFirstStart=0\nCatalogFolder=/x/\nAutoOpen=0\nAskForLast=0\n"
        "[General]\nLV_ViewStyle=2\nSLV_ViewStyle=0\nStdBar=0\nPathBar=0\nAutoAdjust=0\n");
    EXPECT_EQ(swapped, Settings());
}

TEST_F(SettingsFile, ViewStylesOutsideTheRangeAreDetails)
{
    Settings s = loaded("[View]\nLV_ViewStyle=7\nSLV_ViewStyle=-1\n");
    EXPECT_EQ(s.LV_ViewStyle, ViewStyle::Details);
    EXPECT_EQ(s.SLV_ViewStyle, ViewStyle::Details);

    s = loaded("[View]\nLV_ViewStyle=4\nSLV_ViewStyle=1\n");
    EXPECT_EQ(s.LV_ViewStyle, ViewStyle::Details);
    EXPECT_EQ(s.SLV_ViewStyle, ViewStyle::SmallIcons);

    EXPECT_EQ(Settings::viewStyleFromNumber(0), ViewStyle::LargeIcons);
    EXPECT_EQ(Settings::viewStyleFromNumber(3), ViewStyle::Details);
    EXPECT_EQ(Settings::viewStyleFromNumber(-2147483647 - 1), ViewStyle::Details);
}

TEST_F(SettingsFile, HexadecimalValuesAreNumbers)
{
    const Settings s = loaded(
        "[General]\nFirstStart=0x0\nAutoOpen=$0\nAskForLast=0X00\n"
        "[View]\nLV_ViewStyle=$1\nSLV_ViewStyle=0x2\nStdBar=$A\nPathBar=-0x0\n");
    EXPECT_FALSE(s.FirstStart);
    EXPECT_FALSE(s.AutoOpen);
    EXPECT_FALSE(s.AskForLast);
    EXPECT_EQ(s.LV_ViewStyle, ViewStyle::SmallIcons);
    EXPECT_EQ(s.SLV_ViewStyle, ViewStyle::List);
    EXPECT_TRUE(s.StdBar);
    EXPECT_FALSE(s.PathBar);
}

TEST_F(SettingsFile, ValuesThatAreNotNumbersGiveTheDefaults)
{
    const Settings s = loaded(
        "[General]\nFirstStart=no\nAutoOpen=false\nAskForLast=\n"
        "[View]\nLV_ViewStyle=two\nSLV_ViewStyle=1.0\nStdBar=off\nPathBar=0 ; hidden\nAutoAdjust=0x\n");
    EXPECT_EQ(s, Settings());
}

TEST_F(SettingsFile, NamesAreReadWithoutRegardToCase)
{
    const Settings s = loaded(
        "[GENERAL]\nfirststart=0\ncatalogfolder=/m/\n[view]\nLv_ViewStyle=1\nslv_viewstyle=2\nSTDBAR=0\n");
    EXPECT_FALSE(s.FirstStart);
    EXPECT_EQ(s.CatalogFolder, QStringLiteral("/m/"));
    EXPECT_EQ(s.LV_ViewStyle, ViewStyle::SmallIcons);
    EXPECT_EQ(s.SLV_ViewStyle, ViewStyle::List);
    EXPECT_FALSE(s.StdBar);
}

TEST_F(SettingsFile, TheCatalogFolderIsKeptExactlyAsStored)
{
    EXPECT_EQ(loaded("[General]\nCatalogFolder=/data/cds\n").CatalogFolder, QStringLiteral("/data/cds"));
    EXPECT_EQ(loaded("[General]\nCatalogFolder=  \"./My Disks/\"  \n").CatalogFolder,
              QStringLiteral("./My Disks/"));
    EXPECT_EQ(loaded("[General]\nCatalogFolder=\n").CatalogFolder, QString());
    EXPECT_EQ(loaded("[General]\nCatalogFolder=./Disques \xC3\xA9t\xC3\xA9/\n").CatalogFolder,
              QStringLiteral(u"./Disques \u00e9t\u00e9/"));
}

TEST_F(SettingsFile, LoadingReplacesEveryEarlierValue)
{
    writeIni("[General]\nAutoOpen=0\n");
    Settings s = changedSettings();
    ASSERT_TRUE(s.load(iniPath()));
    Settings expected;
    expected.AutoOpen = false;
    EXPECT_EQ(s, expected);
}

TEST_F(SettingsFile, ANewFileHoldsBothSectionsInOrder)
{
    Settings s;
    s.FirstStart = false;
    ASSERT_TRUE(s.save(iniPath()));
    EXPECT_EQ(readIni(),
              "[General]\n"
              "FirstStart=0\n"
              "CatalogFolder=./Catalogs/\n"
              "AutoOpen=1\n"
              "AskForLast=1\n"
              "[View]\n"
              "LV_ViewStyle=3\n"
              "SLV_ViewStyle=3\n"
              "StdBar=1\n"
              "PathBar=1\n"
              "AutoAdjust=1\n");
    // Nothing else is left in the folder, such as the temporary file.
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList{QStringLiteral("quillon.ini")});
}

TEST_F(SettingsFile, SavedValuesReadBack)
{
    const Settings original = changedSettings();
    ASSERT_TRUE(original.save(iniPath()));
    Settings s;
    ASSERT_TRUE(s.load(iniPath()));
    EXPECT_EQ(s, original);

    Settings blanks;
    blanks.CatalogFolder = QStringLiteral(" ./with blanks/ ");
    ASSERT_TRUE(blanks.save(iniPath()));
    ASSERT_TRUE(s.load(iniPath()));
    EXPECT_EQ(s.CatalogFolder, blanks.CatalogFolder);
}

TEST_F(SettingsFile, RewritingKeepsCommentsOtherSectionsAndUnknownKeys)
{
    writeIni(
        "; Quillon settings\n"
        "[View]\n"
        "LV_ViewStyle = 7\n"
        "Columns=120,80\n"
        "\n"
        "[general]\n"
        "Language=en\n"
        "firststart=1\n"
        "\n"
        "[Plugins]\n"
        "; none yet\n");
    ASSERT_TRUE(changedSettings().save(iniPath()));
    EXPECT_EQ(readIni(),
              "; Quillon settings\n"
              "[View]\n"
              "LV_ViewStyle = 2\n"
              "Columns=120,80\n"
              "SLV_ViewStyle=0\n"
              "StdBar=0\n"
              "PathBar=0\n"
              "AutoAdjust=0\n"
              "\n"
              "[general]\n"
              "Language=en\n"
              "firststart=0\n"
              "CatalogFolder=/media/archive/Catalogs\n"
              "AutoOpen=0\n"
              "AskForLast=0\n"
              "\n"
              "[Plugins]\n"
              "; none yet\n");
}

TEST_F(SettingsFile, ACrlfFileStaysCrlf)
{
    writeIni("[General]\r\nFirstStart=1\r\n; keep\r\n");
    Settings s;
    ASSERT_TRUE(s.load(iniPath()));
    s.FirstStart = false;
    ASSERT_TRUE(s.save(iniPath()));
    EXPECT_EQ(readIni(),
              "[General]\r\n"
              "FirstStart=0\r\n"
              "; keep\r\n"
              "CatalogFolder=./Catalogs/\r\n"
              "AutoOpen=1\r\n"
              "AskForLast=1\r\n"
              "[View]\r\n"
              "LV_ViewStyle=3\r\n"
              "SLV_ViewStyle=3\r\n"
              "StdBar=1\r\n"
              "PathBar=1\r\n"
              "AutoAdjust=1\r\n");
}

TEST_F(SettingsFile, SavingIntoAMissingFolderFails)
{
    EXPECT_FALSE(Settings().save(m_dir.filePath(QStringLiteral("no/such/folder/quillon.ini"))));
}

TEST_F(SettingsFile, AFolderWeMayNotWriteKeepsTheOldFile)
{
    const QByteArray old = "[General]\nFirstStart=1\n; old\n";
    writeIni(old);
    QFile::Permissions readOnly = QFileDevice::ReadOwner | QFileDevice::ExeOwner;
    ASSERT_TRUE(QFile::setPermissions(m_dir.path(), readOnly));
    const QString probe = m_dir.filePath(QStringLiteral("probe"));
    const bool enforced = !QFile(probe).open(QIODevice::WriteOnly);
    QFile::remove(probe);
    if (!enforced) {
        QFile::setPermissions(m_dir.path(), readOnly | QFileDevice::WriteOwner);
        GTEST_SKIP() << "folder permissions are not enforced for this user";
    }

    const bool saved = changedSettings().save(iniPath());
    ASSERT_TRUE(QFile::setPermissions(m_dir.path(), readOnly | QFileDevice::WriteOwner));
    EXPECT_FALSE(saved);
    EXPECT_EQ(readIni(), old);
}

TEST_F(SettingsFile, AWriteThatFailsPartWayKeepsTheOldFile)
{
    const QByteArray old = "[General]\nFirstStart=1\n; old\n";
    writeIni(old);
    bool saved = true;
    {
        const FileSizeLimit limit(16);
        ASSERT_TRUE(limit.active());
        saved = changedSettings().save(iniPath());
    }
    EXPECT_FALSE(saved);
    EXPECT_EQ(readIni(), old);
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList{QStringLiteral("quillon.ini")});
}

TEST_F(SettingsFile, AFileWeMayNotReadIsNotReplaced)
{
    const QByteArray old = "[General]\nFirstStart=1\n; old\n";
    writeIni(old);
    ASSERT_TRUE(QFile::setPermissions(iniPath(), QFileDevice::WriteOwner));
    if (QFile(iniPath()).open(QIODevice::ReadOnly)) {
        QFile::setPermissions(iniPath(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        GTEST_SKIP() << "file permissions are not enforced for this user";
    }

    const bool saved = changedSettings().save(iniPath());
    ASSERT_TRUE(QFile::setPermissions(iniPath(), QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    EXPECT_FALSE(saved);
    EXPECT_EQ(readIni(), old);
}

TEST_F(SettingsFile, AFolderWithALineBreakIsNotWrittenButTheOtherValuesAre)
{
    Settings s = changedSettings();
    s.CatalogFolder = QStringLiteral("/two\nlines/");
    EXPECT_FALSE(s.save(iniPath()));
    Settings back;
    ASSERT_TRUE(back.load(iniPath()));
    EXPECT_EQ(back.CatalogFolder, QStringLiteral("./Catalogs/"));
    back.CatalogFolder = s.CatalogFolder;
    EXPECT_EQ(back, s);
}

}  // namespace
