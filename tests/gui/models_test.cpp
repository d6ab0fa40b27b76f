#include <QAbstractItemModelTester>
#include <QFontMetrics>
#include <QListView>
#include <QScrollBar>
#include <QTest>
#include <QTableView>
#include <QTreeView>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "catalogfixture.h"
#include "catalogtreemodel.h"
#include "celltexts.h"
#include "codepage.h"
#include "contentsmodel.h"
#include "itemlistview.h"
#include "searchresultsmodel.h"
#include "textadvances.h"

using namespace quillon;
using quillon::test::sampleDate;

namespace {

// A catalog with volumes Disk1 (folders A > B, files) and Disk2 (empty), sorted.
struct SampleCatalog {
    Catalog catalog;
    CatalogNode* disk1 = nullptr;
    CatalogNode* disk2 = nullptr;
    CatalogNode* a = nullptr;
    CatalogNode* b = nullptr;

    SampleCatalog() {
        disk2 = catalog.addVolume("Disk2", NewFolderData(sampleDate()), nullptr);
        disk1 = catalog.addVolume("Disk1", NewFolderData(sampleDate()), nullptr);
        a = disk1->addFolder("A", NewFolderData(sampleDate(1)));
        b = a->addFolder("B", NewFolderData(sampleDate(2)));
        disk1->addFolder("C", NewFolderData(sampleDate(3)));
        test::CatalogFixture::addFile(*disk1, "small.txt", 999 * 1024, sampleDate());
        test::CatalogFixture::addFile(*disk1, "k1000.bin", 1000 * 1024, sampleDate(-1));
        test::CatalogFixture::addFile(*disk1, "k1024.bin", 1024 * 1024, sampleDate(-2));
        test::CatalogFixture::addFile(*disk1, "huge.iso", 1048576LL * 1024, sampleDate(-3));
        test::CatalogFixture::addFile(*disk1, "song.mp3", 4000, sampleDate(), "Artist", " - Title");
        catalog.sort();
    }
};

// A made-up font in which nearly every UTF-16 unit has an advance of its own.
float fakeAdvance(char16_t unit) {
    return float(1 + unit % 7 + unit / 1000.0);
}

// Files and folders whose texts take every way through the column sums: printable ASCII and other names (one
// outside the basic plane), sizes on both sides of the KB/MB switch, halfway thousandths and 1,000 MB and
// more, dates with and without a time, and media texts of every kind. Names are bytes of the active code
// page. A tab in a name is measured to the next tab stop, far wider than its advance: only for comparing
// sums.
struct MixedCatalog {
    Catalog catalog;
    CatalogNode* volume = nullptr;
    CatalogNode* deep = nullptr;

    explicit MixedCatalog(const std::string& accented, bool tab = true) {
        volume = catalog.addVolume("Mixed " + accented, NewFolderData(sampleDate()), nullptr);
        CatalogNode* plain = volume->addFolder("Plain folder", NewFolderData(sampleDate(1)));
        CatalogNode* other = plain->addFolder("Caf" + accented, NewFolderData(sampleDate(2) + 0.25));
        deep = other->addFolder("deeper", NewFolderData(encodeDateTime({2003, 5, 17, 0, 0, 0, 500})));
        const std::int64_t sizes[] = {0,    999,     1000,      1023,      1024,         1025,
                                      1047, 524'800, 1'048'575, 1'048'576, 2'000'000'000};
        const std::string names[] = {
            "a.txt",           "Ärger " + accented, tab ? "tab\there" : "no tab here",
            "x\xFFy",          "plain.mp3",         "empty.mp3",
            accented + ".mp3", "song.mp3"};
        int i = 0;
        for (CatalogNode* folder : {volume, plain, other, deep}) {
            for (const std::int64_t kb : sizes) {
                const std::string& name = names[std::size_t(i) % std::size(names)];
                const std::string artist = i % 3 == 0 ? "Artist" : i % 3 == 1 ? "Bj" + accented + "rk" : "";
                const std::string title = i % 2 == 0 ? " - Title " + std::to_string(i) : "";
                const DateTime date = i % 4 == 0   ? encodeDateTime({2003, 5, 17, 0, 0, 0})
                                      : i % 4 == 1 ? encodeDateTime({999, 1, 2, 3, 4, 5})
                                                   : sampleDate(i * 37) + i / 100.0;
                test::CatalogFixture::addFile(*folder, name, kb * 1024, date, artist, title);
                ++i;
            }
        }
        catalog.sort();
    }
};

// Every column's sums against the sums over the texts the model shows.
void compareColumnAdvances(const QAbstractItemModel& model, const CellTexts& cells) {
    TextAdvances advances(fakeAdvance);
    TextAdvances textAdvances(fakeAdvance);
    std::vector<std::vector<double>> sums;
    cells.columnAdvances(advances, sums);
    QCOMPARE(sums.size(), std::size_t(model.columnCount()));
    for (int c = 0; c < model.columnCount(); ++c) {
        QCOMPARE(sums[std::size_t(c)].size(), std::size_t(model.rowCount()));
        for (int r = 0; r < model.rowCount(); ++r) {
            const QString text = cells.cellText(r, c);
            QVERIFY2(sums[std::size_t(c)][std::size_t(r)] == textAdvances.sum(text),
                     qPrintable(QStringLiteral("column %1 row %2: %3").arg(c).arg(r).arg(text)));
        }
    }
}

QStringList columnTexts(const QAbstractItemModel& model, int column) {
    QStringList texts;
    for (int r = 0; r < model.rowCount(); ++r) texts << model.index(r, column).data().toString();
    return texts;
}

// A details list over the model, its columns sized automatically: each as wide as its widest text measured
// one by one, plus the margin, plus the picture in the first.
void expectColumnsSizedToWidestTexts(QAbstractItemModel& model) {
    ItemListView view;
    view.setModel(&model);
    view.adjustColumns();
    const QFontMetrics metrics(view.detailsView()->font());
    for (int c = 0; c < model.columnCount(); ++c) {
        int widest = 0;
        for (const QString& text : columnTexts(model, c)) widest = std::max(widest, metrics.horizontalAdvance(text));
        QCOMPARE(view.detailsView()->columnWidth(c), widest + 16 + (c == 0 ? 16 + 4 : 0));
    }
}

// The contents of Disk1 in a list.
struct SampleList {
    SampleCatalog s;
    ContentsModel model;
    ItemListView view;

    SampleList() {
        model.setRows(contentsRows(s.catalog, *s.disk1));
        view.setModel(&model);
    }
};

// A one-column list whose estimates are set apart from its texts, so a test can place a text wider than its
// estimate says among estimates within reach of the widest.
class EstimatedTexts final : public QAbstractTableModel, public CellTexts {
public:
    EstimatedTexts(std::size_t rows, double estimate) : texts(rows, QStringLiteral("i")), estimates(rows, estimate) {}
    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : int(texts.size()); }
    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : 1; }
    QVariant data(const QModelIndex& index, int role) const override {
        return role == Qt::DisplayRole ? QVariant(texts[std::size_t(index.row())]) : QVariant();
    }
    QString cellText(int row, int) const override { return texts[std::size_t(row)]; }
    void columnAdvances(TextAdvances&, std::vector<std::vector<double>>& sums) const override { sums = {estimates}; }

    std::vector<QString> texts;
    std::vector<double> estimates;
};

// The width the details view gives the single column of model.
int sizedColumnWidth(QAbstractItemModel& model) {
    ItemListView view;
    view.setModel(&model);
    view.adjustColumns();
    return view.detailsView()->columnWidth(0);
}

}  // namespace

class ModelsTest final : public QObject {
    Q_OBJECT

private slots:
    void treeModelFollowsTheCatalog() {
        SampleCatalog s;
        CatalogTreeModel model(s.catalog);
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QCOMPARE(model.rowCount(), 1);
        const QModelIndex root = model.rootIndex();
        QCOMPARE(root.data().toString(), QStringLiteral("My Catalogs"));
        QCOMPARE(root.data(CatalogTreeModel::ImageRole).toInt(), 0);
        QCOMPARE(model.rowCount(root), 2);
        QCOMPARE(model.index(0, 0, root).data().toString(), QStringLiteral("Disk1"));
        QCOMPARE(model.index(0, 0, root).data(CatalogTreeModel::ImageRole).toInt(), 1);
        const QModelIndex a = model.indexOf(s.a);
        QCOMPARE(a.data().toString(), QStringLiteral("A"));
        QCOMPARE(a.data(CatalogTreeModel::ImageRole).toInt(), 2);
        QCOMPARE(model.parent(a), model.index(0, 0, root));
        QCOMPARE(model.nodeAt(model.index(0, 0, a)), s.b);
        QCOMPARE(model.parent(root), QModelIndex());

        model.beginReload();
        s.catalog.clear();
        model.endReload();
        QCOMPARE(model.rowCount(model.rootIndex()), 0);
    }

    void contentsModelShowsRowsAndSortsThem() {
        SampleCatalog s;
        ContentsModel model;
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        std::vector<ContentsRow> rows = contentsRows(s.catalog, *s.disk1);
        sortRows(rows, SortState{});
        model.setRows(std::move(rows));

        QCOMPARE(model.columnCount(), 4);
        QCOMPARE(model.headerData(0, Qt::Horizontal).toString(), QStringLiteral("Name"));
        QCOMPARE(model.headerData(3, Qt::Horizontal).toString(), QStringLiteral("Media Info"));
        QCOMPARE(columnTexts(model, 0),
                 (QStringList{QStringLiteral("A"), QStringLiteral("C"), QStringLiteral("huge.iso"),
                              QStringLiteral("k1000.bin"), QStringLiteral("k1024.bin"),
                              QStringLiteral("small.txt"), QStringLiteral("song.mp3")}));
        QCOMPARE(columnTexts(model, 1),
                 (QStringList{QStringLiteral("[SUB-DIR]"), QStringLiteral("[SUB-DIR]"),
                              QStringLiteral("1,024.000 MB"), QStringLiteral("0.977 MB"),
                              QStringLiteral("1.000 MB"), QStringLiteral("999 KB"), QStringLiteral("4 KB")}));
        QCOMPARE(model.index(0, 2).data().toString(), QStringLiteral("5/18/2003 2:03:08 PM"));
        QCOMPARE(model.index(6, 3).data().toString(), QStringLiteral("Artist - Title"));
        QCOMPARE(model.index(5, 3).data().toString(), QString());
        QCOMPARE(model.index(0, 0).data(ContentsModel::ImageRole).toInt(), 2);
        QCOMPARE(model.index(2, 0).data(ContentsModel::ImageRole).toInt(), 4);
        QCOMPARE(model.index(2, 1).data(Qt::TextAlignmentRole).toInt(),
                 int(Qt::AlignRight | Qt::AlignVCenter));

        // The row that is current stays current when the order changes.
        const QPersistentModelIndex small = model.index(5, 0);
        SortState bySize;
        bySize.columnClicked(1);
        model.sortBy(bySize);
        QCOMPARE(columnTexts(model, 0),
                 (QStringList{QStringLiteral("A"), QStringLiteral("C"), QStringLiteral("song.mp3"),
                              QStringLiteral("small.txt"), QStringLiteral("k1000.bin"),
                              QStringLiteral("k1024.bin"), QStringLiteral("huge.iso")}));
        QCOMPARE(small.row(), 3);
        QCOMPARE(small.data().toString(), QStringLiteral("small.txt"));

        bySize.columnClicked(1);
        model.sortBy(bySize);
        QCOMPARE(model.index(2, 0).data().toString(), QStringLiteral("huge.iso"));
        QCOMPARE(model.index(6, 0).data().toString(), QStringLiteral("song.mp3"));

        const int a = model.index(0, 0).data().toString() == QStringLiteral("A") ? 0 : 1;
        model.setTotal(a, FolderSizeKB(*s.a));
        QCOMPARE(model.index(a, 1).data().toString(), QStringLiteral("0 KB"));

        model.clear();
        QCOMPARE(model.rowCount(), 0);
    }

    void rootRowsAreTheVolumes() {
        SampleCatalog s;
        ContentsModel model;
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        model.setRows(contentsRows(s.catalog, s.catalog.root()));
        QCOMPARE(columnTexts(model, 0), (QStringList{QStringLiteral("Disk1"), QStringLiteral("Disk2")}));
        QCOMPARE(model.index(0, 0).data(ContentsModel::ImageRole).toInt(), 1);
        QCOMPARE(model.index(0, 1).data().toString(), QStringLiteral("[SUB-DIR]"));
    }

    void searchResultsModelShowsHits() {
        SampleCatalog s;
        SearchResultsModel model;
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        std::vector<SearchRow> rows{fileHit(*s.disk1, s.disk1->data().Files[0]), folderHit(*s.b)};
        model.setRows(std::move(rows));
        QCOMPARE(model.columnCount(), 6);
        QCOMPARE(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("Volume"));
        QCOMPARE(model.index(1, 0).data().toString(), QStringLiteral("B"));
        QCOMPARE(model.index(1, 1).data().toString(), QStringLiteral("Disk1"));
        QCOMPARE(model.index(1, 2).data().toString(), QStringLiteral("A\\"));
        QCOMPARE(model.index(1, 3).data().toString(), QStringLiteral("[SUB-DIR]"));
        SortState byName;
        model.sortBy(byName);
        QCOMPARE(model.index(0, 0).data().toString(), QStringLiteral("B"));  // folders before files
    }

    // The details list moves by rows as a file list does: Home and End to the first and last row, Left and Right
    // scroll the columns and leave the current row and column, Tab leaves the list.
    void detailsKeysMoveByRows() {
        SampleList list;
        const ContentsModel& model = list.model;
        ItemListView& view = list.view;
        view.resize(120, 200);  // narrower than the columns
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QTableView* details = view.detailsView();
        details->setFocus();
        const int last = model.rowCount() - 1;
        QVERIFY(last >= 3);
        view.selectRow(1);
        QTest::keyClick(details, Qt::Key_End);
        QCOMPARE(details->currentIndex().row(), last);
        QCOMPARE(view.selectedRow(), last);
        QTest::keyClick(details, Qt::Key_Home);
        QCOMPARE(details->currentIndex().row(), 0);
        QTest::keyClick(details, Qt::Key_Down);
        QCOMPARE(details->currentIndex(), model.index(1, 0));

        QScrollBar* bar = details->horizontalScrollBar();
        QVERIFY(bar->maximum() > 0);
        QCOMPARE(bar->value(), 0);
        QTest::keyClick(details, Qt::Key_Right);
        QVERIFY(bar->value() > 0);
        QCOMPARE(details->currentIndex(), model.index(1, 0));
        QTest::keyClick(details, Qt::Key_Left);
        QCOMPARE(bar->value(), 0);
        QCOMPARE(details->currentIndex(), model.index(1, 0));
        QCOMPARE(view.selectedRow(), 1);
        QVERIFY(!details->tabKeyNavigation());
    }

    void listViewSwitchesStylesAndSizesColumns() {
        SampleCatalog s;
        ContentsModel model;
        ItemListView view;
        view.setModel(&model);
        view.resize(400, 300);
        QCOMPARE(view.viewStyle(), ViewStyle::Details);
        QCOMPARE(view.currentWidget(), view.detailsView());

        view.adjustColumns();
        for (int c = 0; c < 4; ++c) QCOMPARE(view.detailsView()->columnWidth(c), 16);

        model.setRows(contentsRows(s.catalog, *s.disk1));
        view.adjustColumns();
        const QFontMetrics metrics(view.detailsView()->font());
        int widest = 0;
        for (const QString& text : columnTexts(model, 3))
            widest = std::max(widest, metrics.horizontalAdvance(text));
        QCOMPARE(view.detailsView()->columnWidth(3), widest + 16);
        widest = 0;
        for (const QString& text : columnTexts(model, 0))
            widest = std::max(widest, metrics.horizontalAdvance(text));
        QCOMPARE(view.detailsView()->columnWidth(0),
                 widest + 16 + 16 + 4);  // and the picture before the name

        view.selectRow(2);
        view.setViewStyle(ViewStyle::LargeIcons);
        QCOMPARE(view.currentWidget(), view.iconView());
        QCOMPARE(view.iconView()->viewMode(), QListView::IconMode);
        QCOMPARE(view.selectedRow(), 2);
        view.detailsView()->setColumnWidth(0, 33);
        view.adjustColumns();  // nothing to resize outside the details style
        QCOMPARE(view.detailsView()->columnWidth(0), 33);

        view.setViewStyle(ViewStyle::SmallIcons);
        QCOMPARE(view.iconView()->viewMode(), QListView::ListMode);
        QCOMPARE(view.iconView()->flow(), QListView::LeftToRight);
        view.setViewStyle(ViewStyle::List);
        QCOMPARE(view.iconView()->flow(), QListView::TopToBottom);
        QVERIFY(view.iconView()->isWrapping());
        view.setViewStyle(ViewStyle::Details);
        QCOMPARE(view.currentWidget(), view.detailsView());
        QCOMPARE(view.selectedRow(), 2);
    }

    void sharedColumnsFillTheViewUntilSizedToTheirTexts() {
        SampleList list;
        const ContentsModel& model = list.model;
        ItemListView& view = list.view;
        view.setColumnWidths({120, 80, 82, 82});
        view.setSharedColumns({0, 1}, 30);
        view.resize(900, 300);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QTableView* details = view.detailsView();
        const int fixed = details->columnWidth(2) + details->columnWidth(3);
        QCOMPARE(fixed, 82 + 82);
        // The two shared columns take what the fixed ones leave, in equal parts.
        QVERIFY(details->columnWidth(0) + details->columnWidth(1) + fixed >= details->viewport()->width() - 2);
        QVERIFY(qAbs(details->columnWidth(0) - details->columnWidth(1)) <= 1);
        const int wide = details->columnWidth(0);
        view.resize(600, 300);
        QTRY_VERIFY(details->columnWidth(0) <= wide - 140);
        QVERIFY(details->columnWidth(0) >= 30);

        view.adjustColumns();  // sized to their texts, and left so
        const QFontMetrics metrics(details->font());
        int widest = 0;
        for (const QString& text : columnTexts(model, 1)) widest = std::max(widest, metrics.horizontalAdvance(text));
        QCOMPARE(details->columnWidth(1), std::max(widest + 16, 30));
        view.resize(900, 300);
        QTest::qWait(10);
        QCOMPARE(details->columnWidth(1), std::max(widest + 16, 30));
    }

    void columnAdvancesAreTheSumsOverTheShownTexts() {
        for (const bool western : {false, true}) {
            std::optional<ScopedCodePage> codePage;
            if (western)
                codePage.emplace(
                    std::make_shared<Windows1252CodePage>(QLocale(QLocale::English, QLocale::UnitedStates)));
            // é and a clef outside the basic plane in UTF-8; é alone in Windows-1252.
            MixedCatalog s(western ? std::string("\xE9") : std::string("\xC3\xA9 \xF0\x9D\x84\x9E"));

            ContentsModel contents;
            std::vector<ContentsRow> rows = contentsRows(s.catalog, *s.volume);
            sortRows(rows, SortState{});
            contents.setRows(std::move(rows));
            contents.setTotal(0, 5000);
            compareColumnAdvances(contents, contents);
            contents.setRows(contentsRows(s.catalog, s.catalog.root()));
            compareColumnAdvances(contents, contents);

            SearchResultsModel results;
            std::vector<SearchRow> hits;
            const std::vector<const CatalogNode*> folders{s.volume, s.deep, s.deep->parent(),
                                                          s.deep->parent()->parent()};
            for (const CatalogNode* folder : folders) {
                if (folder->level() >= 2) hits.push_back(folderHit(*folder));
                for (const TFileData& file : folder->data().Files) hits.push_back(fileHit(*folder, file));
            }
            results.setRows(std::move(hits));
            results.setTotal(1, 1'048'576);
            compareColumnAdvances(results, results);
        }
    }

    void autoSizeFindsTheWidestSearchHitAmongMany() {
        MixedCatalog s("\xC3\xA9", false);
        SearchResultsModel model;
        std::vector<SearchRow> hits;
        // More rows than are measured one by one; the widest texts of each column are a few among them.
        for (int i = 0; i < 21000; ++i) {
            CatalogNode* folder = i % 5 == 0 ? s.volume : s.deep;
            const auto& files = folder->data().Files;
            hits.push_back(i % 97 == 0 ? folderHit(*s.deep)
                                       : fileHit(*folder, files[std::size_t(i) % files.size()]));
        }
        model.setRows(std::move(hits));
        expectColumnsSizedToWidestTexts(model);
    }

    void autoSizeFindsTheWidestTextAmongMany() {
        Catalog catalog;
        CatalogNode* volume = catalog.addVolume("V", NewFolderData(sampleDate()), nullptr);
        const std::vector<std::string> names{
            "iiiiiiiiiiiiiiiiiiiiiiiiiiii", "AVAVAVAVAVAVAV", "WWWWWWWWWWWW",
            "Tokyo Ärger ﬁle.txt",          "mmmmmmmmmmmm",   "llllllllllllllllllllllllll"};
        // More rows than are measured one by one.
        for (int i = 0; i < 24000; ++i)
            test::CatalogFixture::addFile(*volume,
                                          names[std::size_t(i) % names.size()] + std::to_string(i % 7),
                                          i * 1000, sampleDate(i % 300));
        ContentsModel model;
        model.setRows(contentsRows(catalog, *volume));
        expectColumnsSizedToWidestTexts(model);
    }
    void autoSizeFindsTheWidestAmongManyNearlyAsWide() {
        // Names of mixed letters: hundreds of different estimates lie within kerning's reach of the widest.
        Catalog catalog;
        CatalogNode* volume = catalog.addVolume("V", NewFolderData(sampleDate()), nullptr);
        const std::string letters = "aAbBcCdDeEfFgGhHiIjJkKlLmMnNoOpPqQrRsStTuUvVwWxXyYzZ";
        std::uint32_t seed = 12345;
        for (int i = 0; i < 22000; ++i) {
            std::string name;
            for (int k = 0; k < 30; ++k) {
                seed = seed * 1664525u + 1013904223u;
                name += letters[(seed >> 16) % letters.size()];
            }
            test::CatalogFixture::addFile(*volume, name, i, sampleDate(i % 50));
        }
        ContentsModel model;
        model.setRows(contentsRows(catalog, *volume));
        expectColumnsSizedToWidestTexts(model);
    }
    // The widest estimate need not be the widest text: the texts of the next widest estimates are measured too,
    // a few of each estimate that many rows share.
    void autoSizeMeasuresTheEstimatesNextToTheWidest() {
        const QFontMetrics metrics(ItemListView().detailsView()->font());
        const QString wide = QStringLiteral("WWWWWWWWWWWW");
        const int expected = metrics.horizontalAdvance(wide) + 16 + 16 + 4;

        EstimatedTexts few(21000, 100);
        for (std::size_t r = 5; r < 15; ++r) few.estimates[r] = 101;
        few.texts[12] = wide;  // the eighth row of the widest estimate
        QCOMPARE(sizedColumnWidth(few), expected);

        EstimatedTexts many(21000, 0);
        for (std::size_t r = 0; r < many.estimates.size(); ++r) many.estimates[r] = 100 + double(r) / 1000;
        many.texts[many.texts.size() - 40] = wide;
        QCOMPARE(sizedColumnWidth(many), expected);
    }
};

int runModelsTest(int argc, char** argv) {
    ModelsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "models_test.moc"
