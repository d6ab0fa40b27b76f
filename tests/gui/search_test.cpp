#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <chrono>

#include "catalogfixture.h"
#include "catalogtreemodel.h"
#include "contentsmodel.h"
#include "findfileanimation.h"
#include "itemlistview.h"
#include "mainwindow.h"
#include "quillonactions.h"
#include "recordingmessageboxes.h"
#include "searchpane.h"
#include "searchresultsmodel.h"
#include "windowtesting.h"

using namespace quillon;
using namespace std::chrono_literals;
using quillon::test::CatalogFixture;
using quillon::test::sampleDate;
using quillon::test::child;
using quillon::test::volumeNamed;
using quillon::test::childNamed;

namespace {

struct SaveCall {
    QString title;
    QString filter;
    QString suffix;
};

struct Recorder {
    RecordingMessageBoxes boxes;
    QString saveTo;
    QString chosenFolder;
    QList<SaveCall> saveCalls;

    FormServices services() {
        FormServices s;
        s.boxes = &boxes;
        s.startConverter = [] {};
        s.quitSoon = [] {};
        s.openUrl = [](const QUrl&) { return true; };
        s.chooseFolder = [this](QWidget*, const QString&) { return chosenFolder; };
        s.chooseSaveFile = [this](QWidget*, const QString& title, const QString& filter,
                                  const QString& suffix) {
            saveCalls.push_back({title, filter, suffix});
            return saveTo;
        };
        return s;
    }
};

DateTime at(int year, int month, int day, int hour, int minute, int second) {
    return encodeDateTime({year, month, day, hour, minute, second});
}

// Disc1: readme.txt, Music\list.txt, Music\Rock\song.mp3 and zeta.txt. Disc2: intro.mp3, Docs\a.txt.
void writeDiscs(CatalogFixture& fixture) {
    fixture.writeNormalSettings();
    fixture.writeVolume("Disc1", [](CatalogNode& volume) {
        CatalogFixture::addFile(volume, "readme.txt", 100, sampleDate());
        CatalogNode* music = volume.addFolder("Music", NewFolderData(sampleDate(1)));
        CatalogFixture::addFile(*music, "list.txt", 2048, sampleDate(2));
        CatalogNode* rock = music->addFolder("Rock", NewFolderData(sampleDate(3)));
        CatalogFixture::addFile(*rock, "zeta.txt", 10, sampleDate(4));
        CatalogFixture::addFile(*rock, "song.mp3", 5246 * 1024, at(2001, 3, 12, 14, 22, 10), "Brass Ferns",
                                " - Morning Tide");
    });
    fixture.writeVolume("Disc2", [](CatalogNode& volume) {
        CatalogFixture::addFile(volume, "intro.mp3", 812 * 1024, at(2002, 2, 1, 9, 0, 0), "Brass Ferns",
                                " - Intro");
        CatalogNode* docs = volume.addFolder("Docs", NewFolderData(sampleDate(5)));
        CatalogFixture::addFile(*docs, "a.txt", 1, sampleDate(6));
    });
}

// One volume of many files, named so that the walk finds them in reverse name order.
void writeBigVolume(CatalogFixture& fixture, int files) {
    fixture.writeVolume("Big", [files](CatalogNode& volume) {
        for (int i = files - 1; i >= 0; --i)
            CatalogFixture::addFile(volume,
                                    QStringLiteral("f%1").arg(i, 5, 10, QLatin1Char('0')).toStdString(), 1024,
                                    sampleDate());
    });
}

QStringList column(const SearchResultsModel* model, int c) {
    QStringList texts;
    for (int r = 0; r < model->rowCount(); ++r) texts << model->data(model->index(r, c)).toString();
    return texts;
}

// Every cell as the list would show it: reads every record a row refers to.
QStringList allCells(const SearchResultsModel* model) {
    QStringList cells;
    for (int r = 0; r < model->rowCount(); ++r)
        for (int c = 0; c < model->columnCount(); ++c) cells << model->data(model->index(r, c)).toString();
    return cells;
}

int rowNamed(const SearchResultsModel* model, const QString& name) {
    return int(column(model, kNameColumn).indexOf(name));
}

void enterSearchMode(TQuillonForm& form) {
    QTest::mouseClick(child<QToolButton>(form, "SBut"), Qt::LeftButton);
}

// Calls act once during the next run, as soon as the run has listed at least one row.
void duringRun(TQuillonForm& form, std::function<void()> act) {
    auto* timer = new QTimer(&form);
    timer->setInterval(0);
    QObject::connect(timer, &QTimer::timeout, &form, [&form, timer, act = std::move(act)] {
        if (!form.searching() || form.searchModel()->rowCount() == 0) return;
        timer->stop();
        timer->deleteLater();
        act();
    });
    timer->start();
}

QString padded(const QString& text, int width) {
    return text.leftJustified(width, u' ');
}

QString rightAligned(const QString& text, int width) {
    return text.rightJustified(width, u' ');
}

}  // namespace

class SearchTest final : public QObject {
    Q_OBJECT

private slots:
    void paneStartsWithItsCaptionsAndValues() {
        CatalogFixture fixture;
        writeDiscs(fixture);
        Recorder recorder;
        TQuillonForm form(recorder.services());
        SearchPane& pane = *form.searchPane();
        QCOMPARE(pane.SearchNow->text(), QStringLiteral("Search Now"));
        QCOMPARE(pane.StopSearch->text(), QStringLiteral("Stop Search"));
        QVERIFY(pane.SearchNow->isEnabled());
        QVERIFY(!pane.StopSearch->isEnabled());
        QCOMPARE(pane.SOptHiden->text(), QStringLiteral(" Search Options >>"));
        QCOMPARE(pane.SOptShown->text(), QStringLiteral(" Search Options <<"));
        QVERIFY(pane.Panel2->isHidden());
        QCOMPARE(pane.MediaInfo->text(), QStringLiteral("&Media Info (mp3 only)"));
        QCOMPARE(pane.DateCB->text(), QStringLiteral("&Date"));
        QCOMPARE(pane.SizeCB->text(), QStringLiteral("&Size (files only)"));
        QVERIFY(pane.Between->isChecked());
        QVERIFY(!pane.Months->isEnabled());
        QVERIFY(pane.FirstDate->isEnabled());
        QCOMPARE(pane.LeastMost->currentText(), QStringLiteral("at least"));
        QCOMPARE(pane.SizeEdit->maximum(), 5250000);
        QCOMPARE(pane.SizeEdit->singleStep(), 10);
        const SearchCriteria c = pane.criteria();
        QCOMPARE(c.secondDate, 37459.8645483565);
        QVERIFY(std::abs(c.firstDate - 37459.8641409375) < 1e-6);
        QVERIFY(!pane.FindFile->isRunning());

        // "Look in:": the node shown, "My Catalogs", the volumes; start-up picks "My Catalogs".
        QStringList entries;
        for (int i = 0; i < pane.LookIn->count(); ++i) entries << pane.LookIn->itemText(i);
        QCOMPARE(entries, (QStringList{QStringLiteral("My Catalogs"), QStringLiteral("My Catalogs"),
                                       QStringLiteral("Disc1"), QStringLiteral("Disc2")}));
        QCOMPARE(pane.LookIn->currentIndex(), 1);
        QCOMPARE(pane.LookIn->itemData(2, SearchPane::IndentRole).toInt(), 1);
        form.selectNode(childNamed(volumeNamed(form, "Disc1"), "Music"));
        QCOMPARE(pane.LookIn->itemText(0), QStringLiteral("Disc1:\\Music\\"));
    }

    void everyFileBelowTheVolumesWithAnEmptyName() {
        CatalogFixture fixture;
        writeDiscs(fixture);
        Recorder recorder;
        TQuillonForm form(recorder.services());
        enterSearchMode(form);
        SearchPane& pane = *form.searchPane();
        pane.SearchNow->click();
        QCOMPARE(pane.FileNames->text(), QStringLiteral("*"));
        const SearchResultsModel* results = form.searchModel();
        // Folders first, then files, each by name; the volumes themselves are not hits.
        QCOMPARE(column(results, kNameColumn),
                 (QStringList{QStringLiteral("Docs"), QStringLiteral("Music"), QStringLiteral("Rock"),
                              QStringLiteral("a.txt"), QStringLiteral("intro.mp3"),
                              QStringLiteral("list.txt"), QStringLiteral("readme.txt"),
                              QStringLiteral("song.mp3"), QStringLiteral("zeta.txt")}));
        QCOMPARE(form.statusText(0), QStringLiteral("2 Catalogs"));
        QCOMPARE(form.statusText(1), QStringLiteral("9 Matches found"));
        QVERIFY(pane.SearchNow->isEnabled());
        QVERIFY(!pane.StopSearch->isEnabled());
        QVERIFY(!pane.FindFile->isRunning());
        QVERIFY(form.actions()->SaveSR->isEnabled());

        const int readme = rowNamed(results, QStringLiteral("readme.txt"));
        QCOMPARE(column(results, kPathColumn).at(readme), QString());
        QCOMPARE(column(results, kVolumeColumn).at(readme), QStringLiteral("Disc1"));
        const int song = rowNamed(results, QStringLiteral("song.mp3"));
        QCOMPARE(column(results, kPathColumn).at(song), QStringLiteral("Music\\Rock\\"));
        QCOMPARE(column(results, kMediaColumn).at(song), QStringLiteral("Brass Ferns - Morning Tide"));
        const int rock = rowNamed(results, QStringLiteral("Rock"));
        QCOMPARE(column(results, kPathColumn).at(rock), QStringLiteral("Music\\"));
        QCOMPARE(column(results, kSizeColumn).at(rock), QStringLiteral("[SUB-DIR]"));
        QCOMPARE(results->data(results->index(rock, 0), SearchResultsModel::ImageRole).toInt(), 2);
        QCOMPARE(results->data(results->index(song, 0), SearchResultsModel::ImageRole).toInt(), 4);
    }

    void theStatusBarShowsWhereTheRunIs() {
        CatalogFixture fixture;
        writeDiscs(fixture);
        Recorder recorder;
        TQuillonForm form(recorder.services());
        enterSearchMode(form);
        QString volumes;
        QString place;
        QTimer::singleShot(0, &form, [&] {
            volumes = form.statusText(0);
            place = form.statusText(1);
        });
        form.searchPane()->SearchNow->click();
        QCOMPARE(volumes, QStringLiteral("1 Volumes to search"));
        QCOMPARE(place, QStringLiteral("Disc1:\\"));
    }

    void oneVolumeOnly() {
        CatalogFixture fixture;
        writeDiscs(fixture);
        Recorder recorder;
        TQuillonForm form(recorder.services());
        enterSearchMode(form);
        SearchPane& pane = *form.searchPane();
        pane.LookIn->setCurrentIndex(3);
        pane.SearchNow->click();
        QCOMPARE(column(form.searchModel(), kNameColumn),
                 (QStringList{QStringLiteral("Docs"), QStringLiteral("a.txt"), QStringLiteral("intro.mp3")}));
        QCOMPARE(column(form.searchModel(), kVolumeColumn),
                 (QStringList{QStringLiteral("Disc2"), QStringLiteral("Disc2"), QStringLiteral("Disc2")}));
        QCOMPARE(form.statusText(1), QStringLiteral("3 Matches found"));
    }

    void theSelectedFolderOrTheRoot() {
        CatalogFixture fixture;
        writeDiscs(fixture);
        Recorder recorder;
        TQuillonForm form(recorder.services());
        form.selectNode(childNamed(volumeNamed(form, "Disc1"), "Music"));
        enterSearchMode(form);
        SearchPane& pane = *form.searchPane();
        pane.LookIn->setCurrentIndex(0);
        pane.SearchNow->click();
        // Below the folder, not the folder itself.
        QCOMPARE(column(form.searchModel(), kNameColumn),
                 (QStringList{QStringLiteral("Rock"), QStringLiteral("list.txt"), QStringLiteral("song.mp3"),
                              QStringLiteral("zeta.txt")}));

        QTest::mouseClick(child<QToolButton>(form, "FBut"), Qt::LeftButton);
        form.selectNode(&form.catalog().root());
        enterSearchMode(form);
        QCOMPARE(pane.LookIn->itemText(0), QStringLiteral("My Catalogs"));
        pane.LookIn->setCurrentIndex(0);
        pane.SearchNow->click();
        QCOMPARE(form.searchModel()->rowCount(), 9);
    }

    void sizeTexts() {
        CatalogFixture fixture;
        fixture.writeNormalSettings();
        fixture.writeVolume("Sizes", [](CatalogNode& volume) {
            CatalogFixture::addFile(volume, "s0", 0, sampleDate());
            CatalogFixture::addFile(volume, "s1", 999 * 1024, sampleDate());
            CatalogFixture::addFile(volume, "s2", 1000 * 1024, sampleDate());
            CatalogFixture::addFile(volume, "s3", 1024 * 1024, sampleDate());
        });
        Recorder recorder;
        TQuillonForm form(recorder.services());
        enterSearchMode(form);
        form.searchPane()->SearchNow->click();
        QCOMPARE(column(form.searchModel(), kSizeColumn),
                 (QStringList{QStringLiteral("0 KB"), QStringLiteral("999 KB"), QStringLiteral("0.977 MB"),
                              QStringLiteral("1.000 MB")}));
    }

    void stopKeepsTheRowsFoundSorted() {
        CatalogFixture fixture;
        fixture.writeNormalSettings();
        writeBigVolume(fixture, 3000);
        Recorder recorder;
        TQuillonForm form(recorder.services());
        form.setSearchProgressInterval(0ms);
        enterSearchMode(form);
        SearchPane& pane = *form.searchPane();
        bool runningWhenStopped = false;
        duringRun(form, [&] {
            runningWhenStopped =
                pane.StopSearch->isEnabled() && !pane.SearchNow->isEnabled() && pane.FindFile->isRunning();
            QTest::mouseClick(pane.StopSearch, Qt::LeftButton);
        });
        pane.SearchNow->click();
        QVERIFY(runningWhenStopped);
        const QStringList names = column(form.searchModel(), kNameColumn);
        QVERIFY(!names.isEmpty());
        QVERIFY(names.size() < 3000);
        QStringList sorted = names;
        sorted.sort();
        QCOMPARE(names, sorted);
        // The walk went from the end of the names: what it found is the last names.
        QCOMPARE(names.last(), QStringLiteral("f02999"));
        QCOMPARE(form.statusText(1), QStringLiteral("%1 Matches found").arg(names.size()));
        QCOMPARE(form.statusText(0), QStringLiteral("1 Catalogs"));
        QVERIFY(pane.SearchNow->isEnabled());
        QVERIFY(!pane.StopSearch->isEnabled());
        QVERIFY(!pane.FindFile->isRunning());
    }

    void enterStartsARunAndStopsARunningOne() {
        CatalogFixture fixture;
        fixture.writeNormalSettings();
        writeBigVolume(fixture, 3000);
        Recorder recorder;
        TQuillonForm form(recorder.services());
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.setSearchProgressInterval(0ms);
        enterSearchMode(form);
        SearchPane& pane = *form.searchPane();
        duringRun(form, [&] { QTest::keyClick(pane.FileNames, Qt::Key_Return); });
        QTest::keyClick(pane.FileNames, Qt::Key_Return);
        QVERIFY(form.searchModel()->rowCount() > 0);
        QVERIFY(form.searchModel()->rowCount() < 3000);
        QVERIFY(pane.SearchNow->isEnabled());
        QTest::keyClick(pane.FileNames, Qt::Key_Return);
        QCOMPARE(form.searchModel()->rowCount(), 3000);
    }

    void foldersStopsARun() {
        CatalogFixture fixture;
        fixture.writeNormalSettings();
        writeBigVolume(fixture, 3000);
        Recorder recorder;
        TQuillonForm form(recorder.services());
        form.setSearchProgressInterval(0ms);
        enterSearchMode(form);
        duringRun(form, [&] { QTest::mouseClick(child<QToolButton>(form, "FBut"), Qt::LeftButton); });
        form.searchPane()->SearchNow->click();
        QVERIFY(!form.searching());
        QVERIFY(form.searchModel()->rowCount() > 0);
        QVERIFY(form.searchModel()->rowCount() < 3000);
        QVERIFY(!child<ItemListView>(form, "ListView")->isHidden());
        QVERIFY(child<ItemListView>(form, "SearchView")->isHidden());
        QVERIFY(!form.actions()->SaveSR->isEnabled());
        QCOMPARE(form.statusText(1), QStringLiteral("%1 Matches found").arg(form.searchModel()->rowCount()));

        // The rows stay across the switch and show again in search mode.
        const int rows = form.searchModel()->rowCount();
        enterSearchMode(form);
        QCOMPARE(form.searchModel()->rowCount(), rows);
        QCOMPARE(form.statusText(1), QStringLiteral("%1 Matches found").arg(rows));
    }

    void criteriaChangedDuringARunApplyToTheEntriesAfter() {
        CatalogFixture fixture;
        fixture.writeNormalSettings();
        writeBigVolume(fixture, 3000);
        Recorder recorder;
        TQuillonForm form(recorder.services());
        form.setSearchProgressInterval(0ms);
        enterSearchMode(form);
        SearchPane& pane = *form.searchPane();
        // Once the first rows are in, only names holding "f00" (f00000 to f00999) are accepted.
        pane.FileNames->setText(QStringLiteral("*"));
        int before = 0;
        duringRun(form, [&] {
            before = form.searchModel()->rowCount();
            pane.FileNames->setText(QStringLiteral("f00*"));
        });
        pane.SearchNow->click();
        QVERIFY(before > 0);
        QCOMPARE(form.searchModel()->rowCount(), before + 1000);
    }

    void theOptionsPanel() {
        CatalogFixture fixture;
        writeDiscs(fixture);
        Recorder recorder;
        TQuillonForm form(recorder.services());
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        enterSearchMode(form);
        SearchPane& pane = *form.searchPane();
        pane.SecondDate->setDate(QDate(2005, 6, 20));
        QTest::mouseClick(pane.SOptHiden, Qt::LeftButton);
        QVERIFY(pane.Panel2->isVisible());
        QVERIFY(pane.SOptHiden->isHidden());
        QCOMPARE(pane.FirstDate->date(), QDate(2005, 6, 10));
        // The first date takes the second one's time of day as well.
        const SearchCriteria shown = pane.criteria();
        QVERIFY(std::abs(shown.secondDate - shown.firstDate - 10) < 1e-6);
        QVERIFY(!pane.Artist->isVisible());
        QVERIFY(!pane.Months->isVisible());
        QVERIFY(!pane.LeastMost->isVisible());

        pane.FileNames->setText(QStringLiteral("abc"));
        pane.MediaInfo->click();
        QCOMPARE(pane.FileNames->text(), QStringLiteral("*.mp3"));
        QVERIFY(!pane.FileNames->isEnabled());
        QVERIFY(pane.Artist->isVisible());
        QVERIFY(pane.Title->isVisible());
        pane.DateCB->click();
        QVERIFY(pane.Months->isVisible());
        QVERIFY(pane.SecondDate->isVisible());
        pane.LastDays->click();
        QVERIFY(pane.Days->isEnabled());
        QVERIFY(!pane.Months->isEnabled());
        QVERIFY(!pane.FirstDate->isEnabled());
        pane.SizeCB->click();
        QVERIFY(pane.SizeEdit->isVisible());
        QVERIFY(pane.Panel2->height() > pane.SizeEdit->geometry().bottom());
        const SearchCriteria all = pane.criteria();
        QVERIFY(all.mediaInfo && all.dateOn && all.sizeOn);
        QCOMPARE(all.dateKind, DateKind::LastDays);

        QTest::mouseClick(pane.SOptShown, Qt::LeftButton);
        QVERIFY(pane.Panel2->isHidden());
        QVERIFY(pane.SOptHiden->isVisible());
        QVERIFY(!pane.MediaInfo->isChecked());
        QVERIFY(!pane.DateCB->isChecked());
        QVERIFY(!pane.SizeCB->isChecked());
        QCOMPARE(pane.FileNames->text(), QString());
        QVERIFY(pane.FileNames->isEnabled());
        const SearchCriteria hidden = pane.criteria();
        QVERIFY(!hidden.mediaInfo && !hidden.dateOn && !hidden.sizeOn);
        QCOMPARE(pane.FirstDate->date(), QDate(2005, 6, 10));
    }

    void sizeCriterionLeavesOutFolders() {
        CatalogFixture fixture;
        writeDiscs(fixture);
        Recorder recorder;
        TQuillonForm form(recorder.services());
        enterSearchMode(form);
        SearchPane& pane = *form.searchPane();
        pane.ToggleSearchOptions();
        pane.SizeCB->click();
        pane.LeastMost->setCurrentIndex(1);
        pane.SizeEdit->setValue(1);
        pane.SearchNow->click();
        QCOMPARE(
            column(form.searchModel(), kNameColumn),
            (QStringList{QStringLiteral("a.txt"), QStringLiteral("readme.txt"), QStringLiteral("zeta.txt")}));
    }

    void doubleClickingAFolderHitShowsTheFolder() {
        CatalogFixture fixture;
        writeDiscs(fixture);
        Recorder recorder;
        TQuillonForm form(recorder.services());
        enterSearchMode(form);
        SearchPane& pane = *form.searchPane();
        pane.FileNames->setText(QStringLiteral("o"));  // contained text: Rock, Docs, intro.mp3, song.mp3
        pane.SearchNow->click();
        auto* results = child<ItemListView>(form, "SearchView");

        results->selectRow(rowNamed(form.searchModel(), QStringLiteral("song.mp3")));
        form.SearchViewDblClick();
        QVERIFY(child<QToolButton>(form, "SBut")->isChecked());
        QVERIFY(!results->isHidden());

        results->selectRow(rowNamed(form.searchModel(), QStringLiteral("Rock")));
        form.SearchViewDblClick();
        QVERIFY(child<QToolButton>(form, "FBut")->isChecked());
        QVERIFY(!child<QToolButton>(form, "SBut")->isChecked());
        QVERIFY(results->isHidden());
        const CatalogNode* rock = childNamed(childNamed(volumeNamed(form, "Disc1"), "Music"), "Rock");
        QCOMPARE(form.treeModel()->nodeAt(child<QTreeView>(form, "Catalog")->currentIndex()), rock);
        QCOMPARE(form.contentsModel()->rowCount(), 2);
        QCOMPARE(form.statusText(1), QStringLiteral("2 Items"));
        QCOMPARE(child<QComboBox>(form, "PathBox")->itemText(0), QStringLiteral("Disc1:\\Music\\Rock\\"));
    }

    void anInvalidMaskEndsTheRunAsStopDoes() {
        CatalogFixture fixture;
        writeDiscs(fixture);
        Recorder recorder;
        TQuillonForm form(recorder.services());
        enterSearchMode(form);
        SearchPane& pane = *form.searchPane();
        pane.FileNames->setText(QStringLiteral("*[abc"));
        pane.SearchNow->click();
        QCOMPARE(recorder.boxes.shown().size(), 1);
        QCOMPARE(recorder.boxes.shown().first().kind, MessageKind::StandardError);
        QCOMPARE(recorder.boxes.shown().first().text, QStringLiteral("'*[abc' is an invalid mask at (6)"));
        QVERIFY(pane.SearchNow->isEnabled());
        QVERIFY(!pane.StopSearch->isEnabled());
        QVERIFY(!pane.FindFile->isRunning());
        QVERIFY(!form.searching());
        QCOMPARE(form.statusText(0), QStringLiteral("2 Catalogs"));
        QCOMPARE(form.statusText(1), QStringLiteral("0 Matches found"));

        pane.FileNames->setText(QStringLiteral("*.txt"));
        pane.SearchNow->click();
        QCOMPARE(form.searchModel()->rowCount(), 4);
    }

    void aSavedReport() {
        CatalogFixture fixture;
        writeDiscs(fixture);
        Recorder recorder;
        TQuillonForm form(recorder.services());
        enterSearchMode(form);
        // Nothing to save: no dialog, no file.
        form.actions()->SaveSR->trigger();
        QVERIFY(recorder.saveCalls.isEmpty());

        SearchPane& pane = *form.searchPane();
        pane.ToggleSearchOptions();
        pane.MediaInfo->click();
        pane.Artist->setText(QStringLiteral("brass"));
        pane.SearchNow->click();
        QCOMPARE(form.searchModel()->rowCount(), 2);

        const QString path = fixture.path() + QStringLiteral("/report.txt");
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(5000, 'x'));  // replaced without a question
        old.close();
        recorder.saveTo = path;
        form.actions()->SaveSR->trigger();
        QCOMPARE(recorder.saveCalls.size(), 1);
        QCOMPARE(recorder.saveCalls.first().title, QStringLiteral("Save To File.."));
        QCOMPARE(recorder.saveCalls.first().filter, QStringLiteral("Text Files (*.txt);; All Files (*.*)"));
        QCOMPARE(recorder.saveCalls.first().suffix, QStringLiteral("txt"));
        QVERIFY(recorder.boxes.shown().isEmpty());

        const QString rule(40, u'-');
        const QStringList lines{
            QStringLiteral("Criteria: *.mp3"),
            QStringLiteral("Look In: My Catalogs"),
            QStringLiteral("MediaInfo:"),
            QStringLiteral("   Artist: brass"),
            QStringLiteral("    Title: "),
            QStringLiteral("Date: None"),
            QStringLiteral("Size: None"),
            rule,
            padded(QStringLiteral("intro.mp3"), 12) + padded(QStringLiteral("Disc2"), 8) + padded({}, 14) +
                rightAligned(QStringLiteral("812 KB   "), 14) +
                padded(QStringLiteral("2/1/2002 9:00:00 AM"), 26) +
                padded(QStringLiteral("Brass Ferns - Intro"), 29),
            padded(QStringLiteral("song.mp3"), 12) + padded(QStringLiteral("Disc1"), 8) +
                padded(QStringLiteral("Music\\Rock\\"), 14) +
                rightAligned(QStringLiteral("5.123 MB   "), 14) +
                padded(QStringLiteral("3/12/2001 2:22:10 PM"), 26) +
                padded(QStringLiteral("Brass Ferns - Morning Tide"), 29),
            rule,
            QStringLiteral("2 Catalogs         2 Matches found"),
        };
        QFile saved(path);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(), (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8());

        // A file that cannot be created.
        const QString unreachable = fixture.path() + QStringLiteral("/no such folder/report.txt");
        recorder.saveTo = unreachable;
        form.actions()->SaveSR->trigger();
        QCOMPARE(recorder.boxes.shown().size(), 1);
        QCOMPARE(recorder.boxes.shown().first().kind, MessageKind::StandardError);
        QCOMPARE(recorder.boxes.shown().first().text, QStringLiteral("Cannot create file ") + unreachable);
        QCOMPARE(form.searchModel()->rowCount(), 2);
    }

    void hitsOfARemovedVolumeStayReadable() {
        CatalogFixture fixture;
        writeDiscs(fixture);
        Recorder recorder;
        TQuillonForm form(recorder.services());
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        enterSearchMode(form);
        form.searchPane()->SearchNow->click();
        const QStringList before = allCells(form.searchModel());
        QCOMPARE(form.searchModel()->rowCount(), 9);

        // Delete Disc2 while its hits are listed.
        form.selectNode(volumeNamed(form, "Disc2"));
        recorder.boxes.queueAnswer(true);
        form.actions()->Delete1->trigger();
        QVERIFY(!volumeNamed(form, "Disc2"));
        QVERIFY(form.catalog().removedCount() > 0);
        QCOMPARE(allCells(form.searchModel()), before);
        auto* results = child<ItemListView>(form, "SearchView");
        results->grab();
        form.ListViewColumnClick(results, kVolumeColumn);
        form.ListViewColumnClick(results, kVolumeColumn);
        QCOMPARE(column(form.searchModel(), kVolumeColumn).first(), QStringLiteral("Disc2"));
        results->grab();

        // Its folder hit is no longer in the tree: double-click and Space leave it alone.
        const int docs = rowNamed(form.searchModel(), QStringLiteral("Docs"));
        results->selectRow(docs);
        form.SearchViewDblClick();
        QVERIFY(child<QToolButton>(form, "SBut")->isChecked());
        QTest::keyClick(results->currentView(), Qt::Key_Space);
        QCOMPARE(column(form.searchModel(), kSizeColumn).at(docs), QStringLiteral("[SUB-DIR]"));
        // A folder hit of a volume still loaded gets its total.
        const int music = rowNamed(form.searchModel(), QStringLiteral("Music"));
        results->selectRow(music);
        results->currentView()->setFocus();
        QTest::keyClick(results->currentView(), Qt::Key_Space);
        QCOMPARE(column(form.searchModel(), kSizeColumn).at(music), QStringLiteral("5.126 MB"));

        const QString path = fixture.path() + QStringLiteral("/after-delete.txt");
        recorder.saveTo = path;
        form.actions()->SaveSR->trigger();
        QFile saved(path);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QVERIFY(saved.readAll().contains("intro.mp3"));

        // Reloading the catalog folder replaces every volume: the rows still read, none leads anywhere.
        recorder.chosenFolder = fixture.catalogFolder();
        form.SetCatDirClick();
        QVERIFY(volumeNamed(form, "Disc1"));
        QCOMPARE(form.searchModel()->rowCount(), 9);
        allCells(form.searchModel());
        results->grab();
        results->selectRow(rowNamed(form.searchModel(), QStringLiteral("Music")));
        form.SearchViewDblClick();
        QVERIFY(child<QToolButton>(form, "SBut")->isChecked());

        // The next run lets the removed volumes go.
        form.searchPane()->SearchNow->click();
        QCOMPARE(form.catalog().removedCount(), std::size_t(0));
        QCOMPARE(form.searchModel()->rowCount(), 6);
    }

    void deletingDuringARunStopsTheRunFirst() {
        CatalogFixture fixture;
        writeDiscs(fixture);
        writeBigVolume(fixture, 3000);
        Recorder recorder;
        TQuillonForm form(recorder.services());
        form.setSearchProgressInterval(0ms);
        form.selectNode(volumeNamed(form, "Big"));
        enterSearchMode(form);
        form.searchPane()->LookIn->setCurrentIndex(1);
        bool deletedInsideTheRun = true;
        duringRun(form, [&] {
            recorder.boxes.queueAnswer(true);
            form.actions()->Delete1->trigger();
            deletedInsideTheRun = !volumeNamed(form, "Big");
        });
        form.searchPane()->SearchNow->click();
        QVERIFY(!deletedInsideTheRun);
        QVERIFY(!volumeNamed(form, "Big"));
        QCOMPARE(recorder.boxes.texts(),
                 QStringList{QStringLiteral("Do you really want to delete the catalog folder of Big?")});
        QVERIFY(form.searchModel()->rowCount() > 0);
        QVERIFY(form.searchModel()->rowCount() < 3000);
        QCOMPARE(column(form.searchModel(), kVolumeColumn).first(), QStringLiteral("Big"));
        allCells(form.searchModel());
        QCOMPARE(form.statusText(0), QStringLiteral("2 Catalogs"));
        QCOMPARE(form.searchPane()->LookIn->count(), 4);
    }

    void aRenameConfirmedDuringARunIsDoneAfterIt() {
        CatalogFixture fixture;
        fixture.writeNormalSettings();
        writeBigVolume(fixture, 3000);
        Recorder recorder;
        TQuillonForm form(recorder.services());
        form.setSearchProgressInterval(0ms);
        enterSearchMode(form);
        QString nameLeftInsideTheRun;
        bool renamedInsideTheRun = true;
        duringRun(form, [&] {
            QString name = QStringLiteral("Renamed");
            form.CatalogEdited(volumeNamed(form, "Big"), name);
            nameLeftInsideTheRun = name;
            renamedInsideTheRun = QFile::exists(fixture.catalogFolder() + QStringLiteral("/Renamed.qvl"));
        });
        form.searchPane()->SearchNow->click();
        QCOMPARE(nameLeftInsideTheRun, QStringLiteral("Big"));
        QVERIFY(!renamedInsideTheRun);
        QVERIFY(form.searchModel()->rowCount() < 3000);
        QVERIFY(volumeNamed(form, "Renamed"));
        QVERIFY(!volumeNamed(form, "Big"));
        QVERIFY(QFile::exists(fixture.catalogFolder() + QStringLiteral("/Renamed.qvl")));
        QCOMPARE(column(form.searchModel(), kVolumeColumn).first(), QStringLiteral("Renamed"));
    }

    void newCatalogAndReloadDuringARunWaitForItsEnd() {
        CatalogFixture fixture;
        fixture.writeNormalSettings();
        writeBigVolume(fixture, 3000);
        Recorder recorder;
        TQuillonForm form(recorder.services());
        form.setSearchProgressInterval(0ms);
        enterSearchMode(form);
        bool reloadedInsideTheRun = true;
        recorder.chosenFolder = fixture.catalogFolder();
        duringRun(form, [&] {
            const std::uint64_t id = volumeNamed(form, "Big")->id();
            form.SetCatDirClick();
            reloadedInsideTheRun = volumeNamed(form, "Big")->id() != id;
        });
        form.searchPane()->SearchNow->click();
        QVERIFY(!reloadedInsideTheRun);
        QVERIFY(form.searchModel()->rowCount() > 0);
        QVERIFY(form.searchModel()->rowCount() < 3000);
        allCells(form.searchModel());
    }
};

int runSearchTest(int argc, char** argv) {
    SearchTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "search_test.moc"
