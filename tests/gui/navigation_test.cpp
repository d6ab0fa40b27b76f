#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QToolButton>
#include <QTreeView>

#include "catalogfixture.h"
#include "catalogtreemodel.h"
#include "contentsmodel.h"
#include "mainwindow.h"
#include "navigationhistory.h"
#include "quillonactions.h"
#include "recordingmessageboxes.h"
#include "windowtesting.h"

using namespace quillon;
using quillon::test::CatalogFixture;
using quillon::test::sampleDate;
using quillon::test::child;
using quillon::test::volumeNamed;
using quillon::test::childNamed;

namespace {

struct Recorder {
    RecordingMessageBoxes boxes;
    QString chosenFolder;
    QStringList chooserTitles;

    FormServices services() {
        FormServices s;
        s.boxes = &boxes;
        s.startConverter = [] {};
        s.quitSoon = [] {};
        s.openUrl = [](const QUrl&) { return true; };
        s.chooseFolder = [this](QWidget*, const QString& title) {
            chooserTitles << title;
            return chosenFolder;
        };
        return s;
    }
};

void writeCatalogs(CatalogFixture& fixture) {
    fixture.writeNormalSettings();
    fixture.writeVolume("beta");
    fixture.writeVolume("Gamma");
    fixture.writeVolume("Music", [](CatalogNode& volume) {
        CatalogNode* rock = volume.addFolder("Rock", NewFolderData(sampleDate(1)));
        rock->addFolder("Live", NewFolderData(sampleDate(2)));
        volume.addFolder("Jazz", NewFolderData(sampleDate(3)));
    });
}

QStringList menuTexts(QMenu* menu) {
    QStringList texts;
    for (QAction* item : menu->actions()) texts << item->text();
    return texts;
}

QStringList volumeNames(TQuillonForm& form) {
    QStringList names;
    for (const auto& v : form.catalog().root().children()) names << QString::fromStdString(v->text());
    return names;
}

QStringList catalogFiles(const CatalogFixture& fixture) {
    return QDir(fixture.catalogFolder()).entryList({QStringLiteral("*.qvl")}, QDir::Files, QDir::Name);
}

// Opens the label of the volume for editing, types the name and ends the edit with Return or Esc.
bool renameTo(TQuillonForm& form, const CatalogNode* volume, const QString& text, bool escape = false) {
    form.selectNode(volume);
    form.actions()->Rename1->trigger();
    auto* tree = child<QTreeView>(form, "Catalog");
    QLineEdit* editor = tree->findChild<QLineEdit*>();
    if (!editor) return false;
    editor->setText(text);
    QTest::keyClick(editor, escape ? Qt::Key_Escape : Qt::Key_Return);
    // The delegate commits a Return in a queued call.
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return !tree->findChild<QLineEdit*>();
}

}  // namespace

class NavigationTest final : public QObject {
    Q_OBJECT

private slots:
    void historyKeepsElevenVisitsInItsMiddleSlots() {
        NavigationHistory history;
        for (int i = 1; i <= 12; ++i) history.record(QString::number(i), std::uint64_t(i));
        QCOMPARE(history.count(), 11);
        QVERIFY(!history.slot(0));
        QVERIFY(!history.slot(12));
        QCOMPARE(history.slot(1)->Name, QStringLiteral("2"));
        QCOMPARE(history.slot(11)->Name, QStringLiteral("12"));
        QCOMPARE(history.pos(), 11);
        history.setPos(5);
        history.dropStale([](std::uint64_t id) { return id % 2 == 0; });
        QCOMPARE(history.count(), 6);
        QCOMPARE(history.slot(history.pos())->Name, QStringLiteral("6"));
    }

    void clicksXYZRecordYAndZ() {
        CatalogFixture fixture;
        writeCatalogs(fixture);
        Recorder recorder;
        TQuillonForm form(recorder.services());
        auto* back = child<QToolButton>(form, "BackBut");
        auto* forw = child<QToolButton>(form, "ForwBut");

        form.selectNode(volumeNamed(form, "beta"));
        form.selectNode(volumeNamed(form, "Gamma"));
        form.selectNode(volumeNamed(form, "Music"));
        QCOMPARE(form.history().count(), 2);
        QCOMPARE(form.history().slot(1)->Name, QStringLiteral("Gamma"));
        QCOMPARE(form.history().slot(2)->Name, QStringLiteral("Music"));
        QCOMPARE(form.historyPos(), 2);
        QCOMPARE(menuTexts(form.actions()->BackMenu), QStringList{QStringLiteral("Gamma")});
        QCOMPARE(back->toolTip(), QStringLiteral("Back to Gamma"));
        QVERIFY(back->isEnabled());
        QVERIFY(!forw->isEnabled());

        // The node already shown refills nothing and records nothing.
        form.selectNode(volumeNamed(form, "Music"));
        QCOMPARE(form.history().count(), 2);

        form.BackButClick();
        QCOMPARE(form.historyPos(), 1);
        QCOMPARE(form.lastNode(), volumeNamed(form, "Gamma")->id());
        QVERIFY(forw->isEnabled());
        QCOMPARE(forw->toolTip(), QStringLiteral("Forwar to Music"));
        QVERIFY(!back->isEnabled());

        // W goes to the end of the list, after Z, not in Z's place.
        form.selectNode(childNamed(volumeNamed(form, "Music"), "Rock"));
        QCOMPARE(form.history().count(), 3);
        QCOMPARE(form.history().slot(3)->Name, QStringLiteral("Rock"));
        QCOMPARE(form.historyPos(), 3);
        QCOMPARE(menuTexts(form.actions()->BackMenu),
                 (QStringList{QStringLiteral("Music"), QStringLiteral("Gamma")}));
        QVERIFY(!forw->isEnabled());

        form.BackMenuClick(form.actions()->BackMenu->actions().at(1));
        QCOMPARE(form.historyPos(), 1);
        QCOMPARE(child<QTreeView>(form, "Catalog")->currentIndex(),
                 form.treeModel()->indexOf(volumeNamed(form, "Gamma")));
        QCOMPARE(menuTexts(form.actions()->ForwMenu),
                 (QStringList{QStringLiteral("Music"), QStringLiteral("Rock")}));
        form.ForwMenuClick(form.actions()->ForwMenu->actions().at(1));
        QCOMPARE(form.historyPos(), 3);
        QCOMPARE(form.history().count(), 3);
    }

    void twelveVisitsDropTheOldest() {
        CatalogFixture fixture;
        writeCatalogs(fixture);
        Recorder recorder;
        TQuillonForm form(recorder.services());
        const CatalogNode* nodes[] = {volumeNamed(form, "beta"), volumeNamed(form, "Gamma")};
        form.selectNode(nodes[0]);
        for (int i = 1; i <= 12; ++i) form.selectNode(nodes[i % 2]);
        QCOMPARE(form.history().count(), 11);
        QCOMPARE(form.historyPos(), 11);
        QCOMPARE(form.history().slot(11)->Name, QStringLiteral("beta"));
        QCOMPARE(form.history().slot(1)->Name, QStringLiteral("beta"));
        QCOMPARE(form.actions()->BackMenu->actions().size(), 10);
    }

    void removedNodesAreNeverFollowed() {
        CatalogFixture fixture;
        writeCatalogs(fixture);
        Recorder recorder;
        TQuillonForm form(recorder.services());
        form.selectNode(volumeNamed(form, "beta"));
        form.selectNode(volumeNamed(form, "Gamma"));
        form.selectNode(childNamed(volumeNamed(form, "Music"), "Rock"));
        form.selectNode(volumeNamed(form, "beta"));
        form.selectNode(volumeNamed(form, "Gamma"));

        recorder.boxes.queueAnswer(true);
        form.actions()->Delete1->trigger();
        QCOMPARE(recorder.boxes.texts(),
                 QStringList{QStringLiteral("Do you really want to delete the catalog folder of Gamma?")});
        QVERIFY(!volumeNamed(form, "Gamma"));
        QCOMPARE(form.statusText(0), QStringLiteral("2 Catalogs"));
        QVERIFY(!QFile::exists(fixture.catalogFolder() + QStringLiteral("/Gamma.qvl")));
        for (int k = 1; k <= form.history().count(); ++k) {
            QVERIFY(form.history().slot(k)->Name != QStringLiteral("Gamma"));
            QVERIFY(form.catalog().findById(form.history().slot(k)->Node));
        }
        QVERIFY(!menuTexts(form.actions()->BackMenu).contains(QStringLiteral("Gamma")));
        while (child<QToolButton>(form, "BackBut")->isEnabled()) form.BackButClick();
        QVERIFY(form.treeModel()->nodeAt(child<QTreeView>(form, "Catalog")->currentIndex()));

        // A reload replaces every node: no entry is left to follow, and the old last node is not taken for
        // any of the new ones.
        recorder.chosenFolder = fixture.catalogFolder();
        form.SetCatDirClick();
        QCOMPARE(recorder.chooserTitles, QStringList{QStringLiteral("Choose Catalog Folder...")});
        QCOMPARE(form.catalogFolder(), fixture.catalogFolder() + u'/');
        QCOMPARE(form.statusText(0), QStringLiteral("2 Catalogs"));
        QCOMPARE(form.history().count(), 0);
        QVERIFY(!child<QToolButton>(form, "BackBut")->isEnabled());
        QVERIFY(!child<QToolButton>(form, "ForwBut")->isEnabled());
        CatalogNode* music = volumeNamed(form, "Music");
        form.selectNode(music);
        QCOMPARE(form.lastNode(), music->id());
        QCOMPARE(form.contentsModel()->rowCount(), 2);
        QCOMPARE(form.history().count(), 1);
    }

    void setCatalogFolderCancelledChangesNothing() {
        CatalogFixture fixture;
        writeCatalogs(fixture);
        Recorder recorder;
        {
            TQuillonForm form(recorder.services());
            form.SetCatDirClick();
            QCOMPARE(form.catalogFolder(), QStringLiteral("./Catalogs/"));
            QDir(fixture.path()).mkdir(QStringLiteral("Other"));
            recorder.chosenFolder = fixture.filePath(QStringLiteral("Other"));
            form.SetCatDirClick();
            QCOMPARE(form.statusText(0), QStringLiteral("0 Catalogs"));
            QCOMPARE(form.catalog().volumeCount(), std::size_t(0));
        }
        QVERIFY(fixture.settingsText().contains(QStringLiteral("Other/")));
    }

    void pathsResolveWithoutRegardToCase() {
        CatalogFixture fixture;
        writeCatalogs(fixture);
        Recorder recorder;
        TQuillonForm form(recorder.services());
        auto* box = child<QComboBox>(form, "PathBox");
        auto go = [&](const QString& path) {
            box->insertItem(0, path);
            box->setCurrentIndex(0);
            form.GoButClick();
        };
        go(QStringLiteral("music:\\ROCK"));
        QCOMPARE(form.lastNode(), childNamed(volumeNamed(form, "Music"), "Rock")->id());
        QCOMPARE(box->itemText(0), QStringLiteral("Music:\\Rock\\"));
        go(QStringLiteral("My Catalogs"));
        QCOMPARE(form.lastNode(), form.catalog().root().id());
        go(QStringLiteral("my catalogs"));
        QCOMPARE(recorder.boxes.texts(), QStringList{QStringLiteral("Path not found!")});
        QCOMPARE(form.lastNode(), form.catalog().root().id());
    }

    void pathBoxKeepsTenPathsNewestFirst() {
        CatalogFixture fixture;
        writeCatalogs(fixture);
        Recorder recorder;
        TQuillonForm form(recorder.services());
        auto* box = child<QComboBox>(form, "PathBox");
        CatalogNode* music = volumeNamed(form, "Music");
        form.selectNode(music);
        form.selectNode(&form.catalog().root());
        form.selectNode(music);
        QCOMPARE(box->count(), 4);
        QCOMPARE(box->itemText(0), QStringLiteral("Music:\\"));
        QCOMPARE(box->itemText(2), QStringLiteral("Music:\\"));
        for (int i = 0; i < 8; ++i) form.selectNode(i % 2 ? music : volumeNamed(form, "beta"));
        QCOMPARE(box->count(), 10);
        QCOMPARE(box->itemText(0), QStringLiteral("Music:\\"));
        // Twelve paths were shown: the two oldest went, the third oldest is last.
        QCOMPARE(box->itemText(9), QStringLiteral("My Catalogs"));
    }

    void closingThePathListReturnsToFoldersAndGoes() {
        CatalogFixture fixture;
        writeCatalogs(fixture);
        Recorder recorder;
        TQuillonForm form(recorder.services());
        form.show();
        auto* box = child<QComboBox>(form, "PathBox");
        form.selectNode(volumeNamed(form, "Music"));
        form.selectNode(volumeNamed(form, "beta"));
        QCOMPARE(form.lastNode(), volumeNamed(form, "beta")->id());
        child<QToolButton>(form, "SBut")->click();
        QCOMPARE(form.lastNode(), volumeNamed(form, "beta")->id());
        QVERIFY(!child<QWidget>(form, "SearchView")->isHidden());
        // The second item chosen; the list is closed as a click on an item closes it.
        QCOMPARE(box->itemText(0), QStringLiteral("Search Results"));
        box->showPopup();
        box->setCurrentIndex(box->findText(QStringLiteral("Music:\\")));
        box->hidePopup();
        QTRY_COMPARE(form.lastNode(), volumeNamed(form, "Music")->id());
        QVERIFY(child<QWidget>(form, "SearchView")->isHidden());
        QVERIFY(!child<QWidget>(form, "ListView")->isHidden());
        QVERIFY(child<QToolButton>(form, "FBut")->isChecked());
        QCOMPARE(box->itemText(0), QStringLiteral("Music:\\"));
        // Closing without opening reports nothing.
        form.selectNode(volumeNamed(form, "beta"));
        box->setCurrentIndex(box->findText(QStringLiteral("Music:\\")));
        box->hidePopup();
        QTest::qWait(20);
        QCOMPARE(form.lastNode(), volumeNamed(form, "beta")->id());
    }

    void keyboardSelectionShowsNothing() {
        CatalogFixture fixture;
        writeCatalogs(fixture);
        Recorder recorder;
        TQuillonForm form(recorder.services());
        form.show();
        auto* tree = child<QTreeView>(form, "Catalog");
        form.selectNode(volumeNamed(form, "beta"));
        const int paths = child<QComboBox>(form, "PathBox")->count();
        QTest::keyClick(tree, Qt::Key_Down);
        QCOMPARE(form.treeModel()->nodeAt(tree->currentIndex()), volumeNamed(form, "Gamma"));
        QCOMPARE(form.lastNode(), volumeNamed(form, "beta")->id());
        QCOMPARE(child<QComboBox>(form, "PathBox")->count(), paths);
        QCOMPARE(form.history().count(), 0);
    }

    void renameGivesTheFileTheEncodedName() {
        CatalogFixture fixture;
        writeCatalogs(fixture);
        Recorder recorder;
        TQuillonForm form(recorder.services());
        form.show();
        QVERIFY(!form.treeModel()->editing());
        QVERIFY(renameTo(form, volumeNamed(form, "beta"), QStringLiteral("Music:Rock")));
        QVERIFY(recorder.boxes.shown().isEmpty());
        QVERIFY(!form.treeModel()->editing());
        QCOMPARE(catalogFiles(fixture), (QStringList{QStringLiteral("Gamma.qvl"), QStringLiteral("Music.qvl"),
                                                     QStringLiteral("Music~58Rock.qvl")}));
        QVERIFY(volumeNames(form).contains(QStringLiteral("Music:Rock")));
        const QModelIndex root = form.treeModel()->rootIndex();
        for (int r = 0; r < form.treeModel()->rowCount(root); ++r)
            QCOMPARE(form.treeModel()->nodeAt(form.treeModel()->index(r, 0, root))->row(), r);

        // Root and folders are not renamed.
        form.selectNode(&form.catalog().root());
        form.actions()->Rename1->trigger();
        QVERIFY(!child<QTreeView>(form, "Catalog")->findChild<QLineEdit*>());
        QVERIFY(!form.treeModel()->editing());
    }

    void renameToAnotherVolumesName() {
        for (const bool yes : {false, true}) {
            CatalogFixture fixture;
            writeCatalogs(fixture);
            Recorder recorder;
            TQuillonForm form(recorder.services());
            form.show();
            recorder.boxes.queueAnswer(yes);
            QVERIFY(renameTo(form, volumeNamed(form, "beta"), QStringLiteral("GAMMA")));
            QCOMPARE(recorder.boxes.texts(),
                     QStringList{QStringLiteral("There is a volume with the same name. Update it?")});
            if (yes) {
                QCOMPARE(volumeNames(form), (QStringList{QStringLiteral("GAMMA"), QStringLiteral("Music")}));
                QCOMPARE(catalogFiles(fixture),
                         (QStringList{QStringLiteral("GAMMA.qvl"), QStringLiteral("Music.qvl")}));
                QCOMPARE(form.statusText(0), QStringLiteral("2 Catalogs"));
            } else {
                QCOMPARE(volumeNames(form), (QStringList{QStringLiteral("beta"), QStringLiteral("Gamma"),
                                                         QStringLiteral("Music")}));
                QCOMPARE(catalogFiles(fixture), (QStringList{QStringLiteral("Gamma.qvl"),
                                                             QStringLiteral("Music.qvl"),
                                                             QStringLiteral("beta.qvl")}));
            }
            QVERIFY(!form.treeModel()->editing());
        }
    }

    void renameToTheSameNameNeverDeletesTheVolume() {
        for (const bool yes : {false, true}) {
            CatalogFixture fixture;
            writeCatalogs(fixture);
            Recorder recorder;
            TQuillonForm form(recorder.services());
            form.show();
            recorder.boxes.queueAnswer(yes);
            QVERIFY(renameTo(form, volumeNamed(form, "beta"), QStringLiteral("BETA")));
            QCOMPARE(form.catalog().volumeCount(), std::size_t(3));
            QCOMPARE(catalogFiles(fixture).size(), 3);
            QVERIFY(volumeNames(form).contains(yes ? QStringLiteral("BETA") : QStringLiteral("beta")));
        }
    }

    void renameRefusesTildeAndDigit() {
        CatalogFixture fixture;
        writeCatalogs(fixture);
        Recorder recorder;
        TQuillonForm form(recorder.services());
        form.show();
        QVERIFY(renameTo(form, volumeNamed(form, "beta"), QStringLiteral("Disk~1")));
        QCOMPARE(recorder.boxes.texts(),
                 QStringList{QStringLiteral("fName cannot contain \"~\" character followed by number.")});
        QVERIFY(volumeNames(form).contains(QStringLiteral("beta")));
        QVERIFY(catalogFiles(fixture).contains(QStringLiteral("beta.qvl")));
        QVERIFY(!form.treeModel()->editing());

        QVERIFY(renameTo(form, volumeNamed(form, "beta"), QStringLiteral("Disk~A")));
        QVERIFY(volumeNames(form).contains(QStringLiteral("Disk~A")));
        QVERIFY(catalogFiles(fixture).contains(QStringLiteral("Disk~A.qvl")));
    }

    void renameToAnEmptyNameAndEscape() {
        CatalogFixture fixture;
        writeCatalogs(fixture);
        Recorder recorder;
        TQuillonForm form(recorder.services());
        form.show();
        QVERIFY(renameTo(form, volumeNamed(form, "Gamma"), QStringLiteral("Other"), true));
        QVERIFY(volumeNames(form).contains(QStringLiteral("Gamma")));
        QVERIFY(!form.treeModel()->editing());

        QVERIFY(renameTo(form, volumeNamed(form, "Gamma"), QString()));
        QVERIFY(recorder.boxes.shown().isEmpty());
        QVERIFY(volumeNames(form).contains(QString()));
        QVERIFY(QFile::exists(fixture.catalogFolder() + QStringLiteral("/.qvl")));
    }

    void renameRefusedByTheFileSystem() {
        CatalogFixture fixture;
        writeCatalogs(fixture);
        Recorder recorder;
        TQuillonForm form(recorder.services());
        form.show();
        QFile::remove(fixture.catalogFolder() + QStringLiteral("/beta.qvl"));
        QVERIFY(renameTo(form, volumeNamed(form, "beta"), QStringLiteral("delta")));
        QCOMPARE(recorder.boxes.texts(),
                 QStringList{QStringLiteral(
                     "The name you have entered is not applicable. Please choose another one!")});
        QVERIFY(volumeNames(form).contains(QStringLiteral("beta")));
    }

    void deleteWithTheFileRemovedByHand() {
        for (const bool yes : {false, true}) {
            CatalogFixture fixture;
            writeCatalogs(fixture);
            Recorder recorder;
            TQuillonForm form(recorder.services());
            QFile::remove(fixture.catalogFolder() + QStringLiteral("/beta.qvl"));
            form.selectNode(volumeNamed(form, "beta"));
            recorder.boxes.queueAnswer(true);
            recorder.boxes.queueAnswer(yes);
            form.actions()->Delete1->trigger();
            QCOMPARE(recorder.boxes.texts(),
                     (QStringList{QStringLiteral("Do you really want to delete the catalog folder of beta?"),
                                  QStringLiteral("Catalog file is missing."),
                                  QStringLiteral("Do you want to delete the node anyway?")}));
            QCOMPARE(bool(volumeNamed(form, "beta")), !yes);
            QCOMPARE(form.statusText(0), yes ? QStringLiteral("2 Catalogs") : QStringLiteral("3 Catalogs"));
            if (yes) {
                const CatalogNode* shown =
                    form.treeModel()->nodeAt(child<QTreeView>(form, "Catalog")->currentIndex());
                QVERIFY(shown);
                QCOMPARE(form.lastNode(), shown->id());
            }
        }
    }
};

int runNavigationTest(int argc, char** argv) {
    NavigationTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "navigation_test.moc"
