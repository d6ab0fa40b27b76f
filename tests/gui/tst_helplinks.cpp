#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>

#include "guitest.h"
#include "helplinks.h"
#include "recordingmessageboxes.h"

using namespace quillon;

namespace {

struct Opened {
    QList<QUrl> urls;
    bool answer = true;
    UrlOpener opener() {
        return [this](const QUrl& url) {
            urls.append(url);
            return answer;
        };
    }
};

const QList<ShownMessage> kHelpMissing{{MessageKind::Error, QStringLiteral("Error"),
                                        QStringLiteral("Help files not found or corrupted."),
                                        MessageButtons::Ok}};

// A working directory of its own, left again when the test ends, since the help file is found relative to it.
class InTemporaryDirectory {
public:
    InTemporaryDirectory() : m_previous(QDir::currentPath()) { QDir::setCurrent(m_directory.path()); }
    ~InTemporaryDirectory() { QDir::setCurrent(m_previous); }
    InTemporaryDirectory(const InTemporaryDirectory&) = delete;
    InTemporaryDirectory& operator=(const InTemporaryDirectory&) = delete;

    QString path() const { return m_directory.path(); }
    void writeHelp() const {
        QDir(path()).mkpath(QStringLiteral("Help"));
        QFile file(path() + QStringLiteral("/Help/help.html"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("<html><body>Help</body></html>");
    }

private:
    QTemporaryDir m_directory;
    QString m_previous;
};

}  // namespace

class TestHelpLinks final : public QObject {
    Q_OBJECT

private slots:
    void helpOpensTheFileOfTheCurrentDirectory() {
        InTemporaryDirectory directory;
        directory.writeHelp();
        RecordingMessageBoxes boxes;
        Opened opened;
        QVERIFY(openHelpContents(boxes, nullptr, opened.opener()));
        QVERIFY(boxes.shown().isEmpty());
        QCOMPARE(opened.urls.size(), 1);
        QVERIFY(opened.urls.first().isLocalFile());
        QCOMPARE(QFileInfo(opened.urls.first().toLocalFile()).canonicalFilePath(),
                 QFileInfo(directory.path() + QStringLiteral("/Help/help.html")).canonicalFilePath());
    }

    void missingHelpFileIsReported() {
        InTemporaryDirectory directory;
        RecordingMessageBoxes boxes;
        Opened opened;
        QVERIFY(!openHelpContents(boxes, nullptr, opened.opener()));
        QVERIFY(opened.urls.isEmpty());
        QCOMPARE(boxes.shown(), kHelpMissing);
    }

    void helpFolderWithoutTheFileIsReported() {
        InTemporaryDirectory directory;
        QDir(directory.path()).mkpath(QStringLiteral("Help/help.html"));  // a folder, not a file
        RecordingMessageBoxes boxes;
        Opened opened;
        QVERIFY(!openHelpContents(boxes, nullptr, opened.opener()));
        QVERIFY(opened.urls.isEmpty());
        QCOMPARE(boxes.shown(), kHelpMissing);
    }

    void unreadableHelpFileIsReported() {
        InTemporaryDirectory directory;
        directory.writeHelp();
        QFile file(directory.path() + QStringLiteral("/Help/help.html"));
        QVERIFY(file.setPermissions(QFileDevice::WriteOwner));
        if (QFile probe(file.fileName()); probe.open(QIODevice::ReadOnly))
            QSKIP("running with rights that read any file");
        RecordingMessageBoxes boxes;
        Opened opened;
        QVERIFY(!openHelpContents(boxes, nullptr, opened.opener()));
        QVERIFY(opened.urls.isEmpty());
        QCOMPARE(boxes.shown(), kHelpMissing);
    }

    void desktopRefusingTheFileIsReported() {
        InTemporaryDirectory directory;
        directory.writeHelp();
        RecordingMessageBoxes boxes;
        Opened opened;
        opened.answer = false;
        QVERIFY(!openHelpContents(boxes, nullptr, opened.opener()));
        QCOMPARE(opened.urls.size(), 1);
        QCOMPARE(boxes.shown(), kHelpMissing);
    }

    void updateOpensTheHomepage() {
        Opened opened;
        openHomepage(opened.opener());
        QCOMPARE(opened.urls, QList<QUrl>{QUrl(QStringLiteral("https://quillon.example.org"))});
    }

    void updateFailureIsSilent() {
        Opened opened;
        opened.answer = false;
        openHomepage(opened.opener());
        QCOMPARE(opened.urls.size(), 1);
    }

    void shippedGuideIsWholeAndItsLinksLead() {
        QFile guide(QStringLiteral(QUILLON_SHIPPED_HELP));
        QVERIFY2(guide.open(QIODevice::ReadOnly), QUILLON_SHIPPED_HELP);
        const QString html = QString::fromUtf8(guide.readAll());
        QVERIFY(html.startsWith(QStringLiteral("<!DOCTYPE html>")));
        QVERIFY(html.trimmed().endsWith(QStringLiteral("</html>")));
        QVERIFY(html.contains(QStringLiteral("<title>Quillon 1.5 Help</title>")));

        QSet<QString> ids;
        const QRegularExpression id(QStringLiteral(R"re(\bid="([^"]+)")re"));
        for (const auto& match : id.globalMatch(html)) ids.insert(match.captured(1));
        const QRegularExpression link(QStringLiteral(R"re(href="#([^"]+)")re"));
        int links = 0;
        for (const auto& match : link.globalMatch(html)) {
            ++links;
            QVERIFY2(ids.contains(match.captured(1)), qPrintable(match.captured(1)));
        }
        QVERIFY(links >= 10);
        // The addresses it gives are the program's.
        QVERIFY(html.contains(QStringLiteral("href=\"") + kHomepageUrl + u'"'));
        QVERIFY(html.contains(QStringLiteral("href=\"mailto:") + kContactAddress + u'"'));
    }

    void mailLink() {
        QCOMPARE(mailLinkUrl(QStringLiteral("a@b.example")).toString(),
                 QStringLiteral("mailto:a@b.example?subject=Quillon&?body="));
    }
};

QUILLON_GUI_TEST_MAIN(TestHelpLinks)
#include "tst_helplinks.moc"
