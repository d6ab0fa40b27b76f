#include "seldirform.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>
#include <algorithm>

#include "catalogfixture.h"
#include "catalogtreemodel.h"
#include "guitest.h"
#include "mainwindow.h"
#include "mounttable.h"
#include "quillonactions.h"
#include "recordingmessageboxes.h"
#include "settings.h"
#include "volumecataloger.h"

using namespace quillon;
using quillon::test::CatalogFixture;

namespace {

// A folder to catalog: "Photos" with files at the top and in two sub-folders.
class SourceTree final : public QTemporaryDir {
public:
    explicit SourceTree(int filesPerFolder = 3) {
        QDir top(path());
        top.mkpath(QStringLiteral("Photos/2001"));
        top.mkpath(QStringLiteral("Photos/.hidden"));
        for (const QString& folder :
             {QStringLiteral("Photos"), QStringLiteral("Photos/2001"), QStringLiteral("Photos/.hidden")})
            for (int i = 0; i < filesPerFolder; ++i) {
                QFile file(top.filePath(folder + QStringLiteral("/f%1.jpg").arg(i)));
                if (file.open(QIODevice::WriteOnly)) file.write("data");
            }
    }
    QString photos() const { return filePath(QStringLiteral("Photos")); }
    int files(int filesPerFolder = 3) const { return 3 * filesPerFolder; }
};

class FakeMounts final : public MountTable {
public:
    std::vector<MountEntry> entries;
    std::vector<MountEntry> mounts() const override { return entries; }
};

struct Recorder {
    RecordingMessageBoxes boxes;
    FakeMounts mounts;
    QStringList doors;

    void attach(TQuillonForm& form) {
        form.setDriveServices(&mounts,
                              [this](const std::string& root) { doors << QString::fromStdString(root); });
    }

    FormServices services() {
        FormServices services;
        services.boxes = &boxes;
        services.startConverter = [] {};
        services.quitSoon = [] {};
        services.openUrl = [](const QUrl&) { return true; };
        return services;
    }
};

QStringList catalogFiles(const CatalogFixture& fixture) {
    return QDir(fixture.catalogFolder()).entryList({QStringLiteral("*.qvl")}, QDir::Files, QDir::Name);
}

QStringList volumeNames(TQuillonForm& form) {
    QStringList names;
    for (const auto& volume : form.catalog().root().children())
        names << QString::fromStdString(volume->text());
    return names;
}

// Opens the dialog through File > New Catalog and runs act inside it.
void withNewCatalogDialog(TQuillonForm& form, std::function<void(TSelDirForm*)> act) {
    bool ran = false;
    quillon::test::whenModal<TSelDirForm>([&](TSelDirForm* dialog) {
        ran = true;
        act(dialog);
        // Whatever the act left open is closed, so exec() returns.
        if (dialog->isVisible()) dialog->CancelBut->click();
    });
    form.actions()->CreateNew->trigger();
    QVERIFY(ran);
}

void catalogFolder(TSelDirForm* dialog, const QString& path, const QString& name = {}) {
    QVERIFY(dialog->selectFolder(path));
    if (!name.isEmpty()) dialog->VolumeName->setText(name);
    QTest::mouseClick(dialog->OKBut, Qt::LeftButton);
}

}  // namespace

class SelDirFormTest final : public QObject {
    Q_OBJECT

private slots:
    void opensWithItsInitialTexts() {
        CatalogFixture fixture;
        fixture.writeNormalSettings();
        Recorder recorder;
        TQuillonForm form(recorder.services());
        recorder.attach(form);
        withNewCatalogDialog(form, [](TSelDirForm* dialog) {
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Browse For Folder"));
            QVERIFY(dialog->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
            QCOMPARE(dialog->VolumeName->text(), QStringLiteral("New Volume"));
            QCOMPARE(dialog->StatusLbl->text(), QStringLiteral(" Selecting..."));
            QCOMPARE(dialog->CurDir->text(), QDir::toNativeSeparators(QDir::homePath()));
            QCOMPARE(dialog->CurFile->text(), QString());
            QCOMPARE(dialog->NumFolders->text(), QStringLiteral("0"));
            QCOMPARE(dialog->NumFiles->text(), QStringLiteral("0"));
            QCOMPARE(dialog->OKBut->text(), QStringLiteral("&OK"));
            QVERIFY(dialog->OKBut->isDefault());
            QCOMPARE(dialog->CancelBut->text(), QStringLiteral("&Cancel"));
            QVERIFY(!dialog->IsCDROM);
            QTest::keyClick(dialog, Qt::Key_Escape);
            QVERIFY(dialog->isVisible());
        });
    }

    void clickingAFolderProposesItsName() {
        CatalogFixture fixture;
        fixture.writeNormalSettings();
        SourceTree source;
        Recorder recorder;
        TQuillonForm form(recorder.services());
        recorder.attach(form);
        withNewCatalogDialog(form, [&](TSelDirForm* dialog) {
            dialog->VolumeName->setText(QStringLiteral("typed"));
            QVERIFY(dialog->selectFolder(source.photos()));
            QCOMPARE(dialog->VolumeName->text(), QStringLiteral("Photos"));
            QVERIFY(!dialog->IsCDROM);
            QCOMPARE(dialog->CurFile->text(), QString());
            QVERIFY(dialog->CurDir->text().endsWith(QStringLiteral("Photos")));
        });
    }

    void catalogsAFolderIntoTheTreeAndOnDisk() {
        CatalogFixture fixture;
        fixture.writeSettings(QStringLiteral("[General]\nFirstStart=0\nAskForLast=1\n"));
        SourceTree source;
        Recorder recorder;
        recorder.boxes.queueAnswer(false);  // no other volume
        TQuillonForm form(recorder.services());
        recorder.attach(form);
        QAbstractItemModelTester tester(form.treeModel(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        bool closedItself = false;
        withNewCatalogDialog(form, [&](TSelDirForm* dialog) {
            catalogFolder(dialog, source.photos());
            closedItself = !dialog->isVisible();
            QCOMPARE(dialog->StatusLbl->text(), QStringLiteral(" Ending..."));
            QCOMPARE(dialog->NumFolders->text(), QStringLiteral("2"));
            QCOMPARE(dialog->NumFiles->text(), QString::number(source.files()));
            QCOMPARE(dialog->CurDir->text(), QString());
        });
        QVERIFY(closedItself);
        QCOMPARE(recorder.boxes.texts(),
                 QStringList{QStringLiteral("Will you catalog another volume or folder?")});
        QCOMPARE(volumeNames(form), QStringList{QStringLiteral("Photos")});
        QCOMPARE(catalogFiles(fixture), QStringList{QStringLiteral("Photos.qvl")});
        QCOMPARE(form.statusText(0), QStringLiteral("1 Catalogs"));
        auto* tree = form.findChild<QTreeView*>(QStringLiteral("Catalog"));
        QCOMPARE(tree->currentIndex().data().toString(), QStringLiteral("Photos"));
        QVERIFY(recorder.doors.isEmpty());
    }

    void askForLastYesKeepsTheDialogOpen() {
        CatalogFixture fixture;
        fixture.writeSettings(QStringLiteral("[General]\nFirstStart=0\nAskForLast=1\n"));
        SourceTree source;
        Recorder recorder;
        recorder.boxes.queueAnswer(true);
        TQuillonForm form(recorder.services());
        recorder.attach(form);
        withNewCatalogDialog(form, [&](TSelDirForm* dialog) {
            catalogFolder(dialog, source.photos(), QStringLiteral("First"));
            QVERIFY(dialog->isVisible());
            QVERIFY(dialog->VolumeName->isEnabled());
            QCOMPARE(dialog->CurDir->text(), QString());
            QCOMPARE(dialog->CurFile->text(), QString());
            QCOMPARE(dialog->NumFiles->text(), QString::number(source.files()));
            QCOMPARE(form.statusText(0), QStringLiteral("1 Catalogs"));
            catalogFolder(dialog, source.filePath(QStringLiteral("Photos/2001")), QStringLiteral("Second"));
            QCOMPARE(dialog->NumFiles->text(), QStringLiteral("3"));
        });
        QCOMPARE(volumeNames(form), (QStringList{QStringLiteral("First"), QStringLiteral("Second")}));
        QCOMPARE(form.statusText(0), QStringLiteral("2 Catalogs"));
    }

    void askForLastOffClosesWithoutAsking() {
        CatalogFixture fixture;
        fixture.writeSettings(QStringLiteral("[General]\nFirstStart=0\nAskForLast=0\n"));
        SourceTree source;
        Recorder recorder;
        TQuillonForm form(recorder.services());
        recorder.attach(form);
        bool closedItself = false;
        withNewCatalogDialog(form, [&](TSelDirForm* dialog) {
            catalogFolder(dialog, source.photos());
            closedItself = !dialog->isVisible();
        });
        QVERIFY(closedItself);
        QVERIFY(recorder.boxes.shown().isEmpty());
        QCOMPARE(volumeNames(form), QStringList{QStringLiteral("Photos")});
    }

    void refusedNameReenablesTheNameBox() {
        CatalogFixture fixture;
        fixture.writeSettings(QStringLiteral("[General]\nFirstStart=0\nAskForLast=0\n"));
        SourceTree source;
        Recorder recorder;
        TQuillonForm form(recorder.services());
        recorder.attach(form);
        withNewCatalogDialog(form, [&](TSelDirForm* dialog) {
            catalogFolder(dialog, source.photos(), QStringLiteral("Disk~1"));
            QVERIFY(dialog->isVisible());
            QVERIFY(dialog->VolumeName->isEnabled());
            QCOMPARE(dialog->focusWidget(), dialog->VolumeName);
            QCOMPARE(dialog->StatusLbl->text(), QStringLiteral(" Selecting..."));
        });
        QCOMPARE(recorder.boxes.shown().size(), 1);
        QCOMPARE(recorder.boxes.shown().at(0).kind, MessageKind::Error);
        QVERIFY(form.catalog().root().children().empty());
        QVERIFY(catalogFiles(fixture).isEmpty());
    }

    void sameNameNoChangesNothing() {
        CatalogFixture fixture;
        fixture.writeSettings(QStringLiteral("[General]\nFirstStart=0\nAskForLast=0\n"));
        fixture.writeVolume("photos");
        SourceTree source;
        Recorder recorder;
        recorder.boxes.queueAnswer(false);
        TQuillonForm form(recorder.services());
        recorder.attach(form);
        withNewCatalogDialog(form, [&](TSelDirForm* dialog) {
            catalogFolder(dialog, source.photos());
            QVERIFY(dialog->isVisible());
            QVERIFY(dialog->VolumeName->isEnabled());
        });
        QCOMPARE(recorder.boxes.texts(),
                 QStringList{QStringLiteral("There is a volume with the same name. Update it?")});
        QCOMPARE(recorder.boxes.shown().at(0).kind, MessageKind::Warning);
        QCOMPARE(volumeNames(form), QStringList{QStringLiteral("photos")});
        QCOMPARE(catalogFiles(fixture), QStringList{QStringLiteral("photos.qvl")});
        QCOMPARE(form.statusText(0), QStringLiteral("1 Catalogs"));
    }

    void sameNameYesReplacesTheVolume() {
        CatalogFixture fixture;
        fixture.writeSettings(QStringLiteral("[General]\nFirstStart=0\nAskForLast=0\n"));
        fixture.writeVolume("photos");
        fixture.writeVolume("Other");
        SourceTree source;
        Recorder recorder;
        recorder.boxes.queueAnswer(true);
        TQuillonForm form(recorder.services());
        recorder.attach(form);
        withNewCatalogDialog(form, [&](TSelDirForm* dialog) { catalogFolder(dialog, source.photos()); });
        QCOMPARE(recorder.boxes.unansweredQuestions(), 0);
        QCOMPARE(volumeNames(form), (QStringList{QStringLiteral("Other"), QStringLiteral("Photos")}));
        QCOMPARE(catalogFiles(fixture),
                 (QStringList{QStringLiteral("Other.qvl"), QStringLiteral("Photos.qvl")}));
        QCOMPARE(form.statusText(0), QStringLiteral("2 Catalogs"));
    }

    void alreadyCatalogedNoChangesNothing() {
        CatalogFixture fixture;
        fixture.writeSettings(QStringLiteral("[General]\nFirstStart=0\nAskForLast=0\n"));
        SourceTree source;
        Recorder recorder;
        recorder.boxes.queueAnswer(false);
        TQuillonForm form(recorder.services());
        recorder.attach(form);
        withNewCatalogDialog(form, [&](TSelDirForm* dialog) {
            catalogFolder(dialog, source.photos(), QStringLiteral("Once"));
        });
        withNewCatalogDialog(form, [&](TSelDirForm* dialog) {
            catalogFolder(dialog, source.photos(), QStringLiteral("Twice"));
            QVERIFY(dialog->isVisible());
            QVERIFY(dialog->VolumeName->isEnabled());
        });
        QCOMPARE(recorder.boxes.texts(),
                 QStringList{QStringLiteral("This folder has already been cataloged.\n\r"
                                            "   Do you want to make a new volume?")});
        QCOMPARE(recorder.boxes.shown().at(0).kind, MessageKind::Question);
        QCOMPARE(volumeNames(form), QStringList{QStringLiteral("Once")});
        QCOMPARE(catalogFiles(fixture), QStringList{QStringLiteral("Once.qvl")});
    }

    void aCdProposesItsLabelAndOpensTheDoor() {
        CatalogFixture fixture;
        fixture.writeSettings(QStringLiteral("[General]\nFirstStart=0\nAskForLast=0\nAutoOpen=1\n"));
        SourceTree source;
        Recorder recorder;
        recorder.mounts.entries.push_back(
            {source.photos().toStdString(), "/dev/sr0", "iso9660", "MUSIC_01   "});
        TQuillonForm form(recorder.services());
        recorder.attach(form);
        withNewCatalogDialog(form, [&](TSelDirForm* dialog) {
            QVERIFY(dialog->selectFolder(source.photos()));
            QVERIFY(dialog->IsCDROM);
            QCOMPARE(dialog->VolumeName->text(), QStringLiteral("MUSIC_01"));
            QTest::mouseClick(dialog->OKBut, Qt::LeftButton);
        });
        QCOMPARE(recorder.doors, QStringList{source.photos()});
        QCOMPARE(volumeNames(form), QStringList{QStringLiteral("MUSIC_01")});
    }

    void aCdWithAutoOpenOffKeepsTheDoorShut() {
        CatalogFixture fixture;
        fixture.writeSettings(QStringLiteral("[General]\nFirstStart=0\nAskForLast=0\nAutoOpen=0\n"));
        SourceTree source;
        Recorder recorder;
        recorder.mounts.entries.push_back({source.photos().toStdString(), "/dev/sr0", "iso9660", "DISC"});
        TQuillonForm form(recorder.services());
        recorder.attach(form);
        withNewCatalogDialog(form, [&](TSelDirForm* dialog) { catalogFolder(dialog, source.photos()); });
        QVERIFY(recorder.doors.isEmpty());
        QCOMPARE(volumeNames(form), QStringList{QStringLiteral("DISC")});
    }

    // A catalog file that cannot be created: the standard error box, no volume, the name box back.
    void aFailedWriteKeepsNothing() {
        CatalogFixture fixture;
        QFile blocker(fixture.filePath(QStringLiteral("blocker")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        SourceTree source;
        Catalog catalog;
        CatalogTreeModel model(catalog);
        Settings settings;
        settings.CatalogFolder = fixture.filePath(QStringLiteral("blocker/"));
        RecordingMessageBoxes boxes;
        FakeMounts mounts;
        TSelDirForm dialog(catalog, model, settings, {&boxes, &mounts, {}, {}});
        dialog.show();
        QVERIFY(dialog.selectFolder(source.photos()));
        dialog.OKButClick();
        QCOMPARE(boxes.shown().size(), 1);
        QCOMPARE(boxes.shown().at(0).kind, MessageKind::StandardError);
        QVERIFY(catalog.root().children().empty());
        QVERIFY(dialog.isVisible());
        QVERIFY(dialog.VolumeName->isEnabled());
        QVERIFY(dialog.OKBut->isEnabled());
    }

    // Cancel pressed from the progress callback: the partial volume goes, nothing is written, the dialog
    // closes. A second OK during the scan starts nothing.
    void cancelMidScanLeavesNothing() {
        CatalogFixture fixture;
        SourceTree source(200);
        Catalog catalog;
        CatalogTreeModel model(catalog);
        Settings settings;
        settings.AskForLast = false;
        RecordingMessageBoxes boxes;
        FakeMounts mounts;
        int seen = 0;
        bool okEnabledDuringScan = true;
        TSelDirForm* form = nullptr;
        SelDirServices services{&boxes, &mounts, {}, [&](int, int) {
                                    ++seen;
                                    if (seen == 2) {
                                        okEnabledDuringScan = form->OKBut->isEnabled();
                                        form->OKBut->click();
                                        form->OKButClick();
                                    }
                                    if (seen == 50) form->CancelBut->click();
                                }};
        TSelDirForm dialog(catalog, model, settings, services);
        form = &dialog;
        dialog.show();
        QVERIFY(dialog.selectFolder(source.photos()));
        dialog.OKButClick();
        QVERIFY(!okEnabledDuringScan);
        QCOMPARE(seen, 50);
        QVERIFY(dialog.Cancelled);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QVERIFY(catalog.root().children().empty());
        QVERIFY(catalogFiles(fixture).isEmpty());
        QVERIFY(boxes.shown().isEmpty());
    }

    // Cancel reaches the scan through the event processing that the progress callback runs.
    void cancelArrivesThroughEvents() {
        CatalogFixture fixture;
        SourceTree source(3000);
        Catalog catalog;
        CatalogTreeModel model(catalog);
        Settings settings;
        RecordingMessageBoxes boxes;
        FakeMounts mounts;
        int seen = 0;
        bool timerStarted = false;
        TSelDirForm* form = nullptr;
        SelDirServices services{&boxes, &mounts, {}, [&](int, int) {
                                    ++seen;
                                    if (timerStarted) return;
                                    timerStarted = true;
                                    QTimer::singleShot(0, form->CancelBut, &QPushButton::click);
                                }};
        TSelDirForm dialog(catalog, model, settings, services);
        form = &dialog;
        dialog.show();
        QVERIFY(dialog.selectFolder(source.photos()));
        dialog.OKButClick();
        QVERIFY(dialog.Cancelled);
        QVERIFY(seen < source.files(3000));
        QVERIFY(catalog.root().children().empty());
        QVERIFY(catalogFiles(fixture).isEmpty());
    }

    // The dialog against the engine alone on the same tree, and the longest the event loop waited during the
    // dialog's scan: the figures of the time budget.
    void keepsUpWithTheEngineAndStaysResponsive() {
        CatalogFixture fixture;
        SourceTree source(5000);
        {
            Catalog catalog;
            struct Quiet final : ScanObserver {
                bool ask(ScanQuestion, std::string_view) override { return true; }
            } quiet;
            VolumeCataloger engine(catalog, quiet);
            QElapsedTimer timer;
            timer.start();
            const CatalogResult result = engine.run({source.photos().toStdString(), "engine", "Photos",
                                                     (fixture.catalogFolder() + u'/').toStdString()});
            QCOMPARE(result.outcome, CatalogOutcome::Cataloged);
            qInfo("Engine alone, %d files: %lld ms", result.files, timer.elapsed());
        }
        Catalog catalog;
        CatalogTreeModel model(catalog);
        Settings settings;
        settings.AskForLast = false;
        // Another catalog folder: the engine's catalog would bring the already-cataloged question.
        settings.CatalogFolder = fixture.filePath(QStringLiteral("Dialog/"));
        RecordingMessageBoxes boxes;
        FakeMounts mounts;
        TSelDirForm dialog(catalog, model, settings, {&boxes, &mounts, {}, {}});
        dialog.show();
        QVERIFY(dialog.selectFolder(source.photos()));
        dialog.VolumeName->setText(QStringLiteral("dialog"));
        QElapsedTimer sinceTick;
        qint64 longestWait = 0;
        int ticks = 0;
        QTimer ticker;
        ticker.setInterval(1);
        connect(&ticker, &QTimer::timeout, this, [&] {
            if (ticks++ > 0) longestWait = std::max(longestWait, sinceTick.elapsed());
            sinceTick.restart();
        });
        ticker.start();
        sinceTick.start();
        QElapsedTimer timer;
        timer.start();
        dialog.OKButClick();
        const qint64 elapsed = timer.elapsed();
        ticker.stop();
        QCOMPARE(dialog.FileCount, source.files(5000));
        qInfo("Dialog, %d files: %lld ms; event loop reached %d times, longest wait %lld ms",
              dialog.FileCount, elapsed, ticks, longestWait);
        QVERIFY(ticks > 0);
    }
};

int runSelDirFormTest(int argc, char** argv) {
    SelDirFormTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "seldirform_test.moc"
