#include "mainwindow.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QComboBox>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QTableView>
#include <QTreeView>
#include <memory>

#include "catalogfixture.h"
#include "catalogtreemodel.h"
#include "contentsmodel.h"
#include "itemlistview.h"
#include "loadform.h"
#include "quillonactions.h"
#include "recordingmessageboxes.h"
#include "windowtesting.h"

using namespace quillon;
using quillon::test::CatalogFixture;
using quillon::test::sampleDate;
using quillon::test::child;
using quillon::test::volumeNamed;

namespace {

// What the window told the user and asked of the system.
struct Recorder {
    RecordingMessageBoxes boxes;
    int converterStarts = 0;
    int quits = 0;
    QList<QUrl> opened;

    FormServices services() {
        return {&boxes, [this] { ++converterStarts; }, [this] { ++quits; },
                [this](const QUrl& url) {
                    opened << url;
                    return true;
                },
                {},
                {}};
    }
    QStringList texts(MessageKind kind) const {
        QStringList list;
        for (const ShownMessage& message : boxes.shown())
            if (message.kind == kind) list << message.text;
        return list;
    }
    QStringList errors() const { return texts(MessageKind::StandardError) + texts(MessageKind::Error); }
};

// Three volumes; "Music" holds folders and files.
void writeSampleCatalogs(CatalogFixture& fixture) {
    fixture.writeVolume("beta");
    fixture.writeVolume("Gamma");
    fixture.writeVolume("Music", [](CatalogNode& volume) {
        CatalogNode* rock = volume.addFolder("Rock", NewFolderData(sampleDate(1)));
        rock->addFolder("Live", NewFolderData(sampleDate(2)));
        CatalogFixture::addFile(*rock, "live.mp3", 3000 * 1024, sampleDate(), "Band", " - Song");
        volume.addFolder("Jazz", NewFolderData(sampleDate(3)));
        CatalogFixture::addFile(volume, "readme.txt", 1500, sampleDate(-40));
        CatalogFixture::addFile(volume, "cover.jpg", 200 * 1024, sampleDate(-2));
        CatalogFixture::addFile(volume, "Album.flac", 20000 * 1024, sampleDate(-1));
    });
}

QStringList rowNames(const QAbstractItemModel& model, int column = 0) {
    QStringList names;
    for (int r = 0; r < model.rowCount(); ++r) names << model.index(r, column).data().toString();
    return names;
}

QStringList childTexts(const QAbstractItemModel& model, const QModelIndex& parent) {
    QStringList names;
    for (int r = 0; r < model.rowCount(parent); ++r) names << model.index(r, 0, parent).data().toString();
    return names;
}

void clickTreeNode(TQuillonForm& form, const CatalogNode* node) {
    auto* tree = child<QTreeView>(form, "Catalog");
    const QModelIndex index = form.treeModel()->indexOf(node);
    tree->scrollTo(index);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualRect(index).center());
}

// The press of a double click is what picks the row: the view takes the double click only over the row it
// was pressed on, and the test's double click event carries no press of its own.
void doubleClickRow(QAbstractItemView* view, int row) {
    const QPoint at = view->visualRect(view->model()->index(row, 0)).center();
    QTest::mousePress(view->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
}

}  // namespace

class MainWindowTest final : public QObject {
    Q_OBJECT

private slots:
    void normalStartShowsTheCatalogs() {
        CatalogFixture fixture;
        fixture.writeNormalSettings();
        writeSampleCatalogs(fixture);
        Recorder recorder;
        TQuillonForm form(recorder.services());
        QAbstractItemModelTester treeTester(form.treeModel(),
                                            QAbstractItemModelTester::FailureReportingMode::QtTest);
        QAbstractItemModelTester listTester(form.contentsModel(),
                                            QAbstractItemModelTester::FailureReportingMode::QtTest);

        QVERIFY(!form.endedAtStart());
        QCOMPARE(form.windowTitle(), QStringLiteral("Quillon 1.5"));
        QCOMPARE(form.size(), QSize(539, 391));
        QVERIFY(recorder.boxes.shown().isEmpty());
        QCOMPARE(form.lastLoad().shown, true);
        QCOMPARE(form.lastLoad().maximum, 3);
        QCOMPARE(form.lastLoad().advances, 3);

        auto* tree = child<QTreeView>(form, "Catalog");
        const QModelIndex root = form.treeModel()->rootIndex();
        QCOMPARE(root.data().toString(), QStringLiteral("My Catalogs"));
        QCOMPARE(childTexts(*form.treeModel(), root),
                 (QStringList{QStringLiteral("beta"), QStringLiteral("Gamma"), QStringLiteral("Music")}));
        QVERIFY(tree->isExpanded(root));
        QVERIFY(!tree->rootIsDecorated());
        QCOMPARE(tree->currentIndex(), root);
        const QModelIndex music = form.treeModel()->index(2, 0, root);
        QVERIFY(!tree->isExpanded(music));
        QCOMPARE(childTexts(*form.treeModel(), music),
                 (QStringList{QStringLiteral("Jazz"), QStringLiteral("Rock")}));

        QCOMPARE(rowNames(*form.contentsModel()),
                 (QStringList{QStringLiteral("beta"), QStringLiteral("Gamma"), QStringLiteral("Music")}));
        QCOMPARE(form.contentsModel()->index(0, 1).data().toString(), QStringLiteral("[SUB-DIR]"));
        QCOMPARE(form.contentsModel()->index(0, 2).data().toString(), QStringLiteral("5/17/2003 2:03:08 PM"));
        QCOMPARE(form.statusText(0), QStringLiteral("3 Catalogs"));
        QCOMPARE(form.statusText(1), QStringLiteral("3 Items"));
        auto* pathBox = child<QComboBox>(form, "PathBox");
        QCOMPARE(pathBox->count(), 1);
        QCOMPARE(pathBox->currentText(), QStringLiteral("My Catalogs"));
        QVERIFY(!child<QToolButton>(form, "UpBut")->isEnabled());
        QVERIFY(!child<QToolButton>(form, "BackBut")->isEnabled());
        QVERIFY(!child<QToolButton>(form, "ForwBut")->isEnabled());
        QVERIFY(child<QToolButton>(form, "FBut")->isChecked());
        QVERIFY(!child<QToolButton>(form, "SBut")->isChecked());
        QVERIFY(!child<ItemListView>(form, "ListView")->isHidden());
        QVERIFY(child<ItemListView>(form, "SearchView")->isHidden());
    }

    void windowAndListsAskForTahomaEightPoint() {
        CatalogFixture fixture;
        fixture.writeNormalSettings();
        Recorder recorder;
        TQuillonForm form(recorder.services());
        for (const QWidget* widget : {static_cast<const QWidget*>(&form),
                                      static_cast<const QWidget*>(child<QTreeView>(form, "Catalog")),
                                      static_cast<const QWidget*>(child<ItemListView>(form, "ListView"))}) {
            const QStringList families = widget->font().families();
            QVERIFY(families.size() >= 2);  // a face of the platform where Tahoma is missing
            QCOMPARE(families.first(), QStringLiteral("Tahoma"));
            QCOMPARE(widget->font().pointSize(), 8);
        }
    }

    void loadingWindowIsASplashWithAGauge() {
        TLoadForm form(QRect(191, 132, 539, 391), 3);
        QCOMPARE(form.size(), QSize(340, 240));
        QCOMPARE(form.windowTitle(), QStringLiteral("Loading..."));
        QVERIFY(form.windowFlags().testFlag(Qt::FramelessWindowHint));
        QVERIFY(form.isVisible());
        QVERIFY((form.geometry().center() - QRect(191, 132, 539, 391).center()).manhattanLength() <= 2);
        for (int i = 0; i < 3; ++i) form.advance();
        QCOMPARE(form.progress(), 3);
        QCOMPARE(form.maximum(), 3);
        const QImage image = form.grab().toImage();
        QCOMPARE(image.pixelColor(339, 230), QColor(0x00, 0x00, 0x80));  // the gauge is full
    }

    void menusHoldEveryCommand() {
        CatalogFixture fixture;
        fixture.writeNormalSettings();
        Recorder recorder;
        TQuillonForm form(recorder.services());
        QStringList titles;
        for (QAction* menu : form.menuBar()->actions()) titles << menu->text();
        QCOMPARE(titles, (QStringList{QStringLiteral("&File"), QStringLiteral("&Edit"),
                                      QStringLiteral("&View"), QStringLiteral("&Help")}));
        auto items = [&](int menu) {
            QStringList texts;
            for (QAction* item : form.menuBar()->actions()[menu]->menu()->actions())
                texts << (item->isSeparator() ? QStringLiteral("-")
                                              : item->text() + u'|' + item->shortcut().toString());
            return texts;
        };
        QCOMPARE(items(0),
                 (QStringList{QStringLiteral("&New Catalog...|Ctrl+N"),
                              QStringLiteral("Set Catalog &Folder|"), QStringLiteral("&Save Search Results|"),
                              QStringLiteral("-"), QStringLiteral("&Refresh|F5"), QStringLiteral("-"),
                              QStringLiteral("&Quit|Ctrl+X")}));
        QCOMPARE(items(1), (QStringList{QStringLiteral("&Rename|F2"), QStringLiteral("&Delete|Ctrl+D"),
                                        QStringLiteral("-"), QStringLiteral("&Preferences|")}));
        QCOMPARE(items(2),
                 (QStringList{QStringLiteral("&ToolBars|"), QStringLiteral("&Columns|"), QStringLiteral("-"),
                              QStringLiteral("L&arge Icons|"), QStringLiteral("&Small Icons|"),
                              QStringLiteral("&List|"), QStringLiteral("&Details|")}));
        QCOMPARE(items(3), (QStringList{QStringLiteral("Contents|F10"), QStringLiteral("-"),
                                        QStringLiteral("Check For &Update|"), QStringLiteral("-"),
                                        QStringLiteral("&About|")}));
        QuillonActions& a = *form.actions();
        QVERIFY(!a.Repaint->isEnabled());
        QVERIFY(!a.SaveSR->isEnabled());
        QVERIFY(a.HelpContents->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_F1)));
        QCOMPARE(a.AdjustColumns1->actions()[0]->text(), QStringLiteral("&Resize Now"));
        QCOMPARE(a.AdjustColumns1->actions()[0]->shortcut(), QKeySequence(Qt::Key_F3));
        QCOMPARE(a.AdjustColumns1->actions()[1]->text(), QStringLiteral("A&uto Resize"));
        QVERIFY(a.AutoAdjust1->isCheckable());
        QVERIFY(a.StandartButtons1->isChecked());
        QVERIFY(a.PathBar1->isChecked());
        QCOMPARE(a.Views->actions().size(), 4);
        QVERIFY(a.Details2->isChecked());
        QVERIFY(a.VDetails->isChecked());
        QCOMPARE(child<QToolButton>(form, "ToolButton9")->menu(), a.Views);
        QCOMPARE(child<QToolButton>(form, "UpBut")->toolTip(), QStringLiteral("To parent directory"));

        a.Update->trigger();
        QCOMPARE(recorder.opened, QList<QUrl>{QUrl(QString(kHomepageUrl))});
        a.HelpContents->trigger();  // no help file in the temporary folder
        QCOMPARE(recorder.errors(), QStringList{QString(kHelpMissingText)});
    }

    void clickingAFolderShowsItsContents() {
        CatalogFixture fixture;
        fixture.writeNormalSettings();
        writeSampleCatalogs(fixture);
        Recorder recorder;
        TQuillonForm form(recorder.services());
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QAbstractItemModelTester listTester(form.contentsModel(),
                                            QAbstractItemModelTester::FailureReportingMode::QtTest);

        const CatalogNode* music = volumeNamed(form, "Music");
        QVERIFY(music);
        clickTreeNode(form, music);
        QTRY_COMPARE(form.statusText(1), QStringLiteral("5 Items"));
        QCOMPARE(rowNames(*form.contentsModel()),
                 (QStringList{QStringLiteral("Jazz"), QStringLiteral("Rock"), QStringLiteral("Album.flac"),
                              QStringLiteral("cover.jpg"), QStringLiteral("readme.txt")}));
        QCOMPARE(
            rowNames(*form.contentsModel(), 1),
            (QStringList{QStringLiteral("[SUB-DIR]"), QStringLiteral("[SUB-DIR]"),
                         QStringLiteral("19.531 MB"), QStringLiteral("200 KB"), QStringLiteral("2 KB")}));
        QVERIFY(child<QToolButton>(form, "UpBut")->isEnabled());
        auto* pathBox = child<QComboBox>(form, "PathBox");
        QCOMPARE(pathBox->itemText(0), QStringLiteral("Music:\\"));
        QCOMPARE(pathBox->itemText(1), QStringLiteral("My Catalogs"));

        // Keyboard moves in the tree do not refill the list.
        auto* tree = child<QTreeView>(form, "Catalog");
        tree->setFocus();
        QTest::keyClick(tree, Qt::Key_Up);
        QVERIFY(tree->currentIndex() != form.treeModel()->indexOf(music));
        QTest::qWait(0);
        QCOMPARE(form.statusText(1), QStringLiteral("5 Items"));
        QCOMPARE(pathBox->count(), 2);

        // Up shows the parent.
        form.selectNode(music);
        QTest::mouseClick(child<QToolButton>(form, "UpBut"), Qt::LeftButton);
        QTRY_COMPARE(form.statusText(1), QStringLiteral("3 Items"));
        QCOMPARE(pathBox->itemText(0), QStringLiteral("My Catalogs"));
        QVERIFY(!child<QToolButton>(form, "UpBut")->isEnabled());
    }

    void headerClicksSortBothWaysWithFoldersFirst() {
        CatalogFixture fixture;
        fixture.writeNormalSettings();
        writeSampleCatalogs(fixture);
        Recorder recorder;
        TQuillonForm form(recorder.services());
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.selectNode(volumeNamed(form, "Music"));
        QHeaderView* header = child<ItemListView>(form, "ListView")->detailsView()->horizontalHeader();
        auto clickHeader = [&](int column) {
            QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                              QPoint(header->sectionViewportPosition(column) + 4, header->height() / 2));
        };
        clickHeader(1);
        QCOMPARE(form.sortState().column, 1);
        QCOMPARE(form.sortState().direction, 1);
        QCOMPARE(rowNames(*form.contentsModel()).mid(2),
                 (QStringList{QStringLiteral("readme.txt"), QStringLiteral("cover.jpg"),
                              QStringLiteral("Album.flac")}));
        clickHeader(1);
        QCOMPARE(form.sortState().direction, -1);
        QCOMPARE(rowNames(*form.contentsModel()).mid(2),
                 (QStringList{QStringLiteral("Album.flac"), QStringLiteral("cover.jpg"),
                              QStringLiteral("readme.txt")}));
        QCOMPARE(form.contentsModel()->index(0, 1).data().toString(), QStringLiteral("[SUB-DIR]"));
        clickHeader(2);
        QCOMPARE(form.sortState().direction, 1);
        QCOMPARE(rowNames(*form.contentsModel()).mid(2),
                 (QStringList{QStringLiteral("readme.txt"), QStringLiteral("cover.jpg"),
                              QStringLiteral("Album.flac")}));
        // The order holds for the next fill as well.
        form.selectNode(form.catalog().root().child(0));
        form.selectNode(volumeNamed(form, "Music"));
        QCOMPARE(rowNames(*form.contentsModel()).mid(2),
                 (QStringList{QStringLiteral("readme.txt"), QStringLiteral("cover.jpg"),
                              QStringLiteral("Album.flac")}));
    }

    void doubleClickAndSpaceOnFolderRows() {
        CatalogFixture fixture;
        fixture.writeNormalSettings();
        writeSampleCatalogs(fixture);
        Recorder recorder;
        TQuillonForm form(recorder.services());
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        auto* list = child<ItemListView>(form, "ListView");
        QTableView* details = list->detailsView();

        // Space on the volume row "Music" puts its total size in place of "[SUB-DIR]".
        list->selectRow(2);
        details->setFocus();
        QTest::keyClick(details, Qt::Key_Space);
        QCOMPARE(form.contentsModel()->index(2, 1).data().toString(), QStringLiteral("22.658 MB"));

        doubleClickRow(details, 2);
        QTRY_COMPARE(form.statusText(1), QStringLiteral("5 Items"));
        QCOMPARE(child<QComboBox>(form, "PathBox")->itemText(0), QStringLiteral("Music:\\"));
        QCOMPARE(form.treeModel()->nodeAt(child<QTreeView>(form, "Catalog")->currentIndex()),
                 volumeNamed(form, "Music"));

        // Space on a file row changes nothing; a double-click on it does nothing.
        list->selectRow(3);
        QTest::keyClick(details, Qt::Key_Space);
        QCOMPARE(form.contentsModel()->index(3, 1).data().toString(), QStringLiteral("200 KB"));
        doubleClickRow(details, 3);
        QCOMPARE(form.statusText(1), QStringLiteral("5 Items"));

        // Into "Rock", a folder row.
        doubleClickRow(details, 1);
        QTRY_COMPARE(child<QComboBox>(form, "PathBox")->itemText(0), QStringLiteral("Music:\\Rock\\"));
        QCOMPARE(rowNames(*form.contentsModel()),
                 (QStringList{QStringLiteral("Live"), QStringLiteral("live.mp3")}));
        QCOMPARE(form.contentsModel()->index(1, 3).data().toString(), QStringLiteral("Band - Song"));
        QVERIFY(child<QTreeView>(form, "Catalog")
                    ->isExpanded(form.treeModel()->indexOf(volumeNamed(form, "Music"))));
    }

    void pathBoxKeepsTenEntries() {
        CatalogFixture fixture;
        fixture.writeNormalSettings();
        writeSampleCatalogs(fixture);
        Recorder recorder;
        TQuillonForm form(recorder.services());
        const CatalogNode& root = form.catalog().root();
        for (int i = 0; i < 12; ++i) form.selectNode(root.child(std::size_t(i % 3)));
        auto* pathBox = child<QComboBox>(form, "PathBox");
        QCOMPARE(pathBox->count(), 10);
        QCOMPARE(pathBox->itemText(0), QStringLiteral("Music:\\"));
        QCOMPARE(pathBox->itemText(1), QStringLiteral("Gamma:\\"));
        QCOMPARE(pathBox->currentIndex(), 0);

        // Choosing an entry shows it again; a path that names nothing is refused.
        pathBox->setCurrentIndex(1);
        form.GoButClick();
        QCOMPARE(pathBox->itemText(0), QStringLiteral("Gamma:\\"));
        pathBox->setItemText(1, QStringLiteral("Nowhere:\\"));
        pathBox->setCurrentIndex(1);
        form.GoButClick();
        QCOMPARE(recorder.texts(MessageKind::Error), QStringList{QStringLiteral("Path not found!")});
        QCOMPARE(pathBox->currentIndex(), 0);
    }

    void viewMenusStayInStep() {
        CatalogFixture fixture;
        fixture.writeNormalSettings();
        writeSampleCatalogs(fixture);
        Recorder recorder;
        TQuillonForm form(recorder.services());
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QuillonActions& a = *form.actions();
        auto* list = child<ItemListView>(form, "ListView");
        auto* search = child<ItemListView>(form, "SearchView");

        a.LIcons->trigger();
        QCOMPARE(list->viewStyle(), ViewStyle::LargeIcons);
        QVERIFY(a.LargeIcons2->isChecked());
        QVERIFY(a.LIcons->isChecked());
        QVERIFY(!a.VDetails->isChecked());
        a.List2->trigger();
        QCOMPARE(list->viewStyle(), ViewStyle::List);
        QVERIFY(a.VList->isChecked());
        QVERIFY(!a.LargeIcons2->isChecked());

        // F3 outside the details style leaves the columns alone.
        QTableView* details = list->detailsView();
        details->setColumnWidth(1, 77);
        a.AdjustCols->trigger();
        QCOMPARE(details->columnWidth(1), 77);

        // In search mode the styles go to the results list only.
        QTest::mouseClick(child<QToolButton>(form, "SBut"), Qt::LeftButton);
        QVERIFY(!child<QToolButton>(form, "FBut")->isChecked());
        QVERIFY(!search->isHidden());
        QVERIFY(list->isHidden());
        QVERIFY(a.Details2->isChecked());
        QVERIFY(a.SaveSR->isEnabled());
        QCOMPARE(form.statusText(1), QStringLiteral("0 Matches found"));
        a.SmallIcons1->trigger();
        QCOMPARE(search->viewStyle(), ViewStyle::SmallIcons);
        QCOMPARE(list->viewStyle(), ViewStyle::List);
        QVERIFY(a.SIcons->isChecked());

        QTest::mouseClick(child<QToolButton>(form, "FBut"), Qt::LeftButton);
        QVERIFY(!child<QToolButton>(form, "SBut")->isChecked());
        QVERIFY(!list->isHidden());
        QVERIFY(a.List2->isChecked());
        QVERIFY(a.VList->isChecked());
        QCOMPARE(form.statusText(1), QStringLiteral("3 Items"));
        QCOMPARE(child<QComboBox>(form, "PathBox")->itemText(0), QStringLiteral("My Catalogs"));

        // Details again: "Resize Now" sizes the columns to their widest text.
        a.VDetails->trigger();
        details->setColumnWidth(1, 77);
        a.AdjustCols->trigger();
        QVERIFY(details->columnWidth(1) != 77);
    }

    void modeButtonsAndTheCloseButton() {
        CatalogFixture fixture;
        fixture.writeNormalSettings();
        writeSampleCatalogs(fixture);
        Recorder recorder;
        TQuillonForm form(recorder.services());
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        auto* sBut = child<QToolButton>(form, "SBut");
        auto* fBut = child<QToolButton>(form, "FBut");
        auto* panel = child<QFrame>(form, "Panel3");
        auto* header = child<QLabel>(form, "Panel1");

        QTest::mouseClick(child<QToolButton>(form, "XBut"), Qt::LeftButton);
        QVERIFY(panel->isHidden());
        QVERIFY(!sBut->isChecked());
        QVERIFY(!fBut->isChecked());
        QVERIFY(!child<ItemListView>(form, "ListView")->isHidden());  // the right side stays as it was

        QTest::mouseClick(sBut, Qt::LeftButton);
        QVERIFY(!panel->isHidden());
        QCOMPARE(header->text(), QStringLiteral(" Search"));
        QVERIFY(child<QTreeView>(form, "Catalog")->isHidden());
        QVERIFY(!child<QWidget>(form, "ScrollBox1")->isHidden());
        QCOMPARE(child<QComboBox>(form, "PathBox")->currentText(), QStringLiteral("Search Results"));

        QTest::mouseClick(sBut, Qt::LeftButton);  // pressing the pressed button closes the pane
        QVERIFY(panel->isHidden());
        QVERIFY(!child<ItemListView>(form, "SearchView")->isHidden());

        QTest::mouseClick(fBut, Qt::LeftButton);
        QVERIFY(!panel->isHidden());
        QCOMPARE(header->text(), QStringLiteral(" Folders"));
        QVERIFY(!child<QTreeView>(form, "Catalog")->isHidden());
        QVERIFY(!child<ItemListView>(form, "ListView")->isHidden());
        QCOMPARE(child<QComboBox>(form, "PathBox")->currentText(), QStringLiteral("My Catalogs"));
        QVERIFY(!form.actions()->SaveSR->isEnabled());
    }

    void resizeNowOnAnEmptyListGivesNarrowColumns() {
        CatalogFixture fixture;
        fixture.writeNormalSettings();
        Recorder recorder;
        TQuillonForm form(recorder.services());
        form.actions()->AdjustCols->trigger();
        QTableView* details = child<ItemListView>(form, "ListView")->detailsView();
        for (int c = 0; c < 4; ++c) QCOMPARE(details->columnWidth(c), 16);
    }

    void toolbarTogglesAreSavedAndRestored() {
        CatalogFixture fixture;
        fixture.writeNormalSettings();
        {
            Recorder recorder;
            TQuillonForm form(recorder.services());
            form.show();
            QVERIFY(!child<QToolBar>(form, "StandartButs")->isHidden());
            form.actions()->StandartButtons1->trigger();
            QVERIFY(child<QToolBar>(form, "StandartButs")->isHidden());
            QVERIFY(!child<QToolBar>(form, "PathBar")->isHidden());
            form.actions()->AutoAdjust1->trigger();
            form.actions()->SIcons->trigger();
            form.close();
        }
        QCOMPARE(
            fixture.settingsText(),
            QStringLiteral("[General]\nFirstStart=0\nCatalogFolder=./Catalogs/\nAutoOpen=1\nAskForLast=1\n"
                           "[View]\nLV_ViewStyle=1\nSLV_ViewStyle=3\nStdBar=0\nPathBar=1\nAutoAdjust=0\n"));
        Recorder recorder;
        TQuillonForm form(recorder.services());
        QVERIFY(child<QToolBar>(form, "StandartButs")->isHidden());
        QVERIFY(!form.actions()->StandartButtons1->isChecked());
        QVERIFY(!form.actions()->AutoAdjust1->isChecked());
        QCOMPARE(child<ItemListView>(form, "ListView")->viewStyle(), ViewStyle::SmallIcons);
        QVERIFY(form.actions()->SmallIcons1->isChecked());
        QVERIFY(form.actions()->SIcons->isChecked());
    }

    void viewStylesOutOfRangeAreDetails() {
        CatalogFixture fixture;
        fixture.writeSettings(
            QStringLiteral("[General]\nFirstStart=0\n[View]\nLV_ViewStyle=7\nSLV_ViewStyle=-1\n"
                           "PathBar=0\n"));
        Recorder recorder;
        TQuillonForm form(recorder.services());
        QCOMPARE(child<ItemListView>(form, "ListView")->viewStyle(), ViewStyle::Details);
        QCOMPARE(child<ItemListView>(form, "SearchView")->viewStyle(), ViewStyle::Details);
        QVERIFY(form.actions()->Details2->isChecked());
        QVERIFY(child<QToolBar>(form, "PathBar")->isHidden());
        QVERIFY(!form.actions()->PathBar1->isChecked());
    }

    void firstStartOffersTheConverterAndEnds() {
        CatalogFixture fixture;
        writeSampleCatalogs(fixture);
        {
            Recorder recorder;
            TQuillonForm form(recorder.services());
            QVERIFY(form.endedAtStart());
            QCOMPARE(recorder.texts(MessageKind::Information), QStringList{QString(kFirstStartText)});
            QVERIFY(recorder.boxes.shown().first().text.contains(QStringLiteral("run  the Convertor")));
            QCOMPARE(recorder.converterStarts, 1);
            QCOMPARE(recorder.quits, 1);
            QCOMPARE(form.catalog().volumeCount(), std::size_t(0));
            QVERIFY(!form.lastLoad().shown);
            QCOMPARE(form.statusText(0), QString());
        }
        QVERIFY(fixture.settingsText().startsWith(QStringLiteral("[General]\nFirstStart=0\n")));

        Recorder recorder;
        TQuillonForm second(recorder.services());
        QVERIFY(!second.endedAtStart());
        QVERIFY(recorder.boxes.shown().isEmpty());
        QCOMPARE(second.statusText(0), QStringLiteral("3 Catalogs"));
    }

    void emptyCatalogFolderShowsNoLoadingWindow() {
        CatalogFixture fixture;
        fixture.writeNormalSettings();
        Recorder recorder;
        TQuillonForm form(recorder.services());
        QVERIFY(!form.lastLoad().shown);
        QCOMPARE(form.statusText(0), QStringLiteral("0 Catalogs"));
        QCOMPARE(form.statusText(1), QString());
        QCOMPARE(form.contentsModel()->rowCount(), 0);
        QCOMPARE(child<QComboBox>(form, "PathBox")->count(), 0);
        QCOMPARE(form.treeModel()->rowCount(form.treeModel()->rootIndex()), 0);
    }

    void damagedCatalogsAreReported() {
        CatalogFixture fixture;
        fixture.writeNormalSettings();
        fixture.writeVolume("Good");
        // A folder record whose date is not valid.
        QByteArray bytes;
        auto text = [&](const QByteArray& s) {
            bytes.append(char(s.size() & 0xFF)).append(char(s.size() >> 8)).append(s);
        };
        auto u32 = [&](std::uint32_t v) {
            for (int i = 0; i < 4; ++i) bytes.append(char((v >> (8 * i)) & 0xFF));
        };
        const std::uint32_t date = (23u << 25) | (5u << 21) | (17u << 16);
        text("/media/cd/");
        text("LABEL");
        u32(date);
        bytes.append(char(2)).append(char(2));
        text("Broken");
        u32(0);
        fixture.writeRawCatalog(QStringLiteral("Damaged.qvl"), bytes);
        // A header cut short: no volume at all.
        fixture.writeRawCatalog(QStringLiteral("Short.qvl"), QByteArray("\x03", 1));

        Recorder recorder;
        TQuillonForm form(recorder.services());
        QCOMPARE(recorder.texts(MessageKind::StandardError),
                 QStringList{QStringLiteral("Error in folder: Broken")});
        QCOMPARE(form.statusText(0), QStringLiteral("2 Catalogs"));
        QCOMPARE(form.lastLoad().advances, 3);
        const CatalogNode* damaged = volumeNamed(form, "Damaged");
        QVERIFY(damaged);
        QCOMPARE(damaged->child(0)->text(), std::string("Error"));
    }

    void unreadableCatalogStopsTheStart() {
        CatalogFixture fixture;
        fixture.writeNormalSettings();
        fixture.writeVolume("Good");
        // A directory with a catalog name cannot be read as a file.
        QDir(fixture.catalogFolder()).mkdir(QStringLiteral("Locked.qvl"));
        Recorder recorder;
        TQuillonForm form(recorder.services());
        QCOMPARE(recorder.errors().size(), 1);
        QVERIFY(recorder.errors().first().startsWith(QStringLiteral("Cannot open file ")));
        QVERIFY(recorder.errors().first().endsWith(QStringLiteral("Locked.qvl")));
        QVERIFY(!form.lastLoad().shown || form.lastLoad().maximum == 2);
        QCOMPARE(form.catalog().volumeCount(), std::size_t(1));
        QCOMPARE(form.statusText(0), QString());
        QCOMPARE(form.contentsModel()->rowCount(), 0);
    }

    void quitShortcutClosesTheWindow() {
        CatalogFixture fixture;
        fixture.writeNormalSettings();
        Recorder recorder;
        auto form = std::make_unique<TQuillonForm>(recorder.services());
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        QTest::keyClick(form.get(), Qt::Key_F5);  // "&Refresh" does nothing
        QVERIFY(form->isVisible());
        QTest::keyClick(form.get(), Qt::Key_X, Qt::ControlModifier);
        QTRY_VERIFY(!form->isVisible());
    }

    void largeFolderFillsQuickly() {
        CatalogFixture fixture;
        fixture.writeNormalSettings();
        constexpr int kFiles = 100'000;
        fixture.writeVolume("Big", [](CatalogNode& volume) {
            for (int i = 0; i < kFiles; ++i)
                CatalogFixture::addFile(volume, "file" + std::to_string((i * 7919) % kFiles) + ".dat",
                                        std::int64_t(i) * 37, sampleDate(i % 500));
        });
        Recorder recorder;
        TQuillonForm form(recorder.services());
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        const CatalogNode* big = volumeNamed(form, "Big");

        for (const bool autoResize : {false, true}) {
            form.actions()->AutoAdjust1->setChecked(autoResize);
            form.selectNode(&form.catalog().root());
            QElapsedTimer timer;
            timer.start();
            form.selectNode(big);
            QCoreApplication::processEvents();
            const qint64 ms = timer.elapsed();
            qInfo("Showing %d files, auto resize %s: %lld ms", kFiles, autoResize ? "on" : "off", ms);
            QCOMPARE(form.statusText(1), QStringLiteral("100000 Items"));
            QVERIFY2(ms < 20'000, "showing a large folder took too long");
        }
        QCOMPARE(form.contentsModel()->index(0, 0).data().toString(), QStringLiteral("file0.dat"));

        for (QAction* style : {form.actions()->LIcons, form.actions()->SIcons, form.actions()->VList,
                               form.actions()->VDetails}) {
            QElapsedTimer timer;
            timer.start();
            style->trigger();
            (void)form.grab();  // the first picture of the list in its new style
            qInfo("Switching %d files to %s: %lld ms", kFiles, qPrintable(style->text()), timer.elapsed());
            QVERIFY2(timer.elapsed() < 20'000, "switching the style of a large folder took too long");
        }
    }
};

int runMainWindowTest(int argc, char** argv) {
    MainWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "mainwindow_test.moc"
