#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include "guitest.h"
#include "icons.h"

using namespace quillon;

namespace {

// Pixels a viewer would see: not fully transparent.
int visiblePixels(const QPixmap& pixmap) {
    const QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) > 0) ++count;
    return count;
}

QImage asImage(const QPixmap& pixmap) {
    return pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
}

}  // namespace

class TestIcons final : public QObject {
    Q_OBJECT

private slots:
    void everyCatalogImageAtBothSizes_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("size");
        for (int index = 0; index < kCatalogImageCount; ++index)
            for (int size : {kSmallIconSize, kLargeIconSize})
                QTest::addRow("image %d at %d", index, size) << index << size;
    }

    void everyCatalogImageAtBothSizes() {
        QFETCH(int, index);
        QFETCH(int, size);
        for (const QPixmap& pixmap : {catalogPixmap(index, size), drawnCatalogPixmap(index, size)}) {
            QVERIFY(!pixmap.isNull());
            QCOMPARE(pixmap.size(), QSize(size, size));
            // Something is drawn, and not just a dot or a filled square.
            const int visible = visiblePixels(pixmap);
            QVERIFY2(visible > size * size / 8, qPrintable(QString::number(visible)));
            QVERIFY2(visible < size * size, qPrintable(QString::number(visible)));
        }
        QVERIFY(!catalogIcon(index).isNull());
    }

    void catalogImagesDifferFromEachOther() {
        for (int size : {kSmallIconSize, kLargeIconSize}) {
            for (int a = 0; a < kCatalogImageCount; ++a)
                for (int b = a + 1; b < kCatalogImageCount; ++b)
                    QVERIFY2(asImage(drawnCatalogPixmap(a, size)) != asImage(drawnCatalogPixmap(b, size)),
                             qPrintable(QStringLiteral("%1 and %2 at %3").arg(a).arg(b).arg(size)));
        }
    }

    void indexesOutsideTheListGiveNothing() {
        for (int index : {-1, kCatalogImageCount, 100}) {
            QVERIFY(catalogIcon(index).isNull());
            QVERIFY(catalogPixmap(index, kSmallIconSize).isNull());
            QVERIFY(drawnCatalogPixmap(index, kSmallIconSize).isNull());
        }
    }

    void toolbarImages() {
        for (int index = 0; index < kToolbarImageCount; ++index) {
            const auto image = ToolbarImage(index);
            QVERIFY(!toolbarIcon(image).isNull());
            for (int size : {kSmallIconSize, kLargeIconSize}) {
                const QPixmap pixmap = drawnToolbarPixmap(image, size);
                QCOMPARE(pixmap.size(), QSize(size, size));
                QVERIFY(visiblePixels(pixmap) > size * size / 8);
                QVERIFY(!toolbarIcon(image).pixmap(size, size).isNull());
            }
            for (int other = index + 1; other < kToolbarImageCount; ++other)
                QVERIFY(asImage(drawnToolbarPixmap(image, 16)) !=
                        asImage(drawnToolbarPixmap(ToolbarImage(other), 16)));
        }
    }

    void toolbarImagesLightUpUnderTheMouse() {
        for (int index = 0; index < kToolbarImageCount; ++index) {
            const QIcon icon = toolbarIcon(ToolbarImage(index));
            const QImage normal = asImage(icon.pixmap(16, 16, QIcon::Normal));
            const QImage hot = asImage(icon.pixmap(16, 16, QIcon::Active));
            QCOMPARE(hot.size(), normal.size());
            long normalLight = 0;
            long hotLight = 0;
            for (int y = 0; y < 16; ++y) {
                for (int x = 0; x < 16; ++x) {
                    // Same shape, lighter colours.
                    QCOMPARE(qAlpha(hot.pixel(x, y)), qAlpha(normal.pixel(x, y)));
                    if (qAlpha(normal.pixel(x, y)) == 0) continue;
                    normalLight += qGray(normal.pixel(x, y));
                    hotLight += qGray(hot.pixel(x, y));
                }
            }
            QVERIFY2(hotLight > normalLight, qPrintable(QString::number(index)));
        }
    }

    void backAndForwardPointOpposite() {
        // The forward arrow mirrored left to right is the back arrow.
        const QImage back = asImage(drawnToolbarPixmap(ToolbarImage::Back, 32));
        const QImage forward = asImage(drawnToolbarPixmap(ToolbarImage::Forward, 32));
        const QImage mirrored = forward.mirrored(true, false);
        int differing = 0;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                if (qAbs(qAlpha(back.pixel(x, y)) - qAlpha(mirrored.pixel(x, y))) > 64) ++differing;
        QVERIFY2(differing < 16, qPrintable(QString::number(differing)));
        // And the arrow's point is on the left for back.
        int leftHalf = 0;
        int rightHalf = 0;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                if (qAlpha(back.pixel(x, y)) > 0) (x < 16 ? leftHalf : rightHalf) += 1;
        QVERIFY(leftHalf != rightHalf);
    }

    void applicationIconAtBothSizes() {
        for (int size : {kSmallIconSize, kLargeIconSize}) {
            const QPixmap pixmap = applicationIcon().pixmap(size, size);
            QCOMPARE(pixmap.size(), QSize(size, size));
            QVERIFY(visiblePixels(pixmap) > size * size / 8);
        }
    }

    void desktopThemeIsPreferredWhereItFits() {
        // A theme with a folder icon at 16 pixels only, drawn in plain red so it cannot be mistaken for ours.
        QTemporaryDir themes;
        QVERIFY(themes.isValid());
        const QString theme = themes.path() + QStringLiteral("/redtest");
        QVERIFY(QDir().mkpath(theme + QStringLiteral("/16x16/places")));
        QFile index(theme + QStringLiteral("/index.theme"));
        QVERIFY(index.open(QIODevice::WriteOnly));
        index.write(
            "[Icon Theme]\nName=redtest\nDirectories=16x16/places\n\n"
            "[16x16/places]\nSize=16\nContext=Places\nType=Fixed\n");
        index.close();
        QImage red(16, 16, QImage::Format_ARGB32);
        red.fill(Qt::red);
        QVERIFY(red.save(theme + QStringLiteral("/16x16/places/folder.png")));

        const QStringList oldPaths = QIcon::themeSearchPaths();
        const QString oldName = QIcon::themeName();
        QIcon::setThemeSearchPaths({themes.path()});
        QIcon::setThemeName(QStringLiteral("redtest"));

        const QImage folderSmall = asImage(catalogPixmap(int(CatalogImage::Folder), kSmallIconSize));
        const QImage folderLarge = asImage(catalogPixmap(int(CatalogImage::Folder), kLargeIconSize));
        const QImage root = asImage(catalogPixmap(int(CatalogImage::Root), kSmallIconSize));
        const QImage toolbarFolders = asImage(toolbarIcon(ToolbarImage::Folders).pixmap(16, 16));

        QIcon::setThemeName(oldName);
        QIcon::setThemeSearchPaths(oldPaths);

        QCOMPARE(folderSmall.pixelColor(8, 8), QColor(Qt::red));
        QCOMPARE(toolbarFolders.pixelColor(8, 8), QColor(Qt::red));
        // A theme without the large size still gives a picture of the size the large-icon view needs.
        QCOMPARE(folderLarge.size(), QSize(kLargeIconSize, kLargeIconSize));
        QCOMPARE(folderLarge.pixelColor(16, 16), QColor(Qt::red));
        // Images the theme lacks are ours.
        QCOMPARE(root, asImage(drawnCatalogPixmap(int(CatalogImage::Root), kSmallIconSize)));
    }

    void splashIsBlueWithTheNameOnIt() {
        const QPixmap splash = splashPixmap();
        QCOMPARE(splash.size(), QSize(kSplashWidth, kSplashHeight));
        const QImage image = asImage(splash);
        // The corners are blue.
        for (const QPoint& corner : {QPoint(0, 0), QPoint(kSplashWidth - 1, 0), QPoint(0, kSplashHeight - 1),
                                     QPoint(kSplashWidth - 1, kSplashHeight - 1)}) {
            const QColor colour = image.pixelColor(corner);
            QVERIFY(colour.blue() > colour.red() + 30);
            QVERIFY(colour.blue() > colour.green() + 30);
        }
        // The name is written in light letters across the middle.
        int light = 0;
        for (int y = 50; y < 130; ++y)
            for (int x = 0; x < kSplashWidth; ++x)
                if (qGray(image.pixel(x, y)) > 200) ++light;
        QVERIFY2(light > 500, qPrintable(QString::number(light)));
    }
};

QUILLON_GUI_TEST_MAIN(TestIcons)
#include "tst_icons.moc"
