#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <utility>

#include "aboutbox.h"
#include "guitest.h"

using namespace quillon;

namespace {

QLabel* label(QWidget* box, const char* name) {
    return box->findChild<QLabel*>(QString::fromLatin1(name));
}

QColor textColor(const QLabel* label) {
    return label->palette().color(QPalette::WindowText);
}

void clickOn(QWidget* widget) {
    QTest::mouseClick(widget, Qt::LeftButton, {}, widget->rect().center());
}

void enter(QWidget* widget) {
    QEnterEvent event(QPointF(2, 2), widget->mapToGlobal(QPointF(2, 2)), widget->mapToGlobal(QPointF(2, 2)));
    QApplication::sendEvent(widget, &event);
}

void leave(QWidget* widget) {
    QEvent event(QEvent::Leave);
    QApplication::sendEvent(widget, &event);
}

// Remembers what the box asked the desktop to open.
struct Opened {
    QList<QUrl> urls;
    UrlOpener opener() {
        return [this](const QUrl& url) {
            urls.append(url);
            return true;
        };
    }
};

}  // namespace

class TestAboutBox final : public QObject {
    Q_OBJECT

private slots:
    void texts() {
        Opened opened;
        TAboutBox box(nullptr, opened.opener());
        QCOMPARE(box.windowTitle(), QStringLiteral("About"));
        QCOMPARE(box.size(), QSize(298, 195));
        QCOMPARE(label(&box, "Label5")->text(), QStringLiteral("Quillon"));
        QVERIFY(label(&box, "Label5")->font().bold());
        QCOMPARE(label(&box, "Label5")->font().pointSize(), 14);
        QCOMPARE(textColor(label(&box, "Label5")), QColor(0, 0, 128));
        QCOMPARE(label(&box, "Version")->text(), QStringLiteral("Version: 1.5"));
        QCOMPARE(label(&box, "Label6")->text(), QStringLiteral("Homepage: "));
        QCOMPARE(label(&box, "Homepage")->text(), QStringLiteral("quillon.example.org"));
        QCOMPARE(label(&box, "Label3")->text(), QStringLiteral("Contact me via e-mail:"));
        QCOMPARE(label(&box, "email")->text(), QStringLiteral("quillon@example.org"));
        QVERIFY(!label(&box, "Author")->text().isEmpty());
        QVERIFY(label(&box, "Freeware")->text().contains(QStringLiteral("freeware")));
        QVERIFY(!label(&box, "Image1")->pixmap().isNull());
        QCOMPARE(label(&box, "Image1")->pixmap().size(), QSize(32, 32));

        auto* ok = box.findChild<QPushButton*>(QStringLiteral("OKButton"));
        QCOMPARE(ok->text(), QStringLiteral("OK"));
        QVERIFY(ok->isDefault());
        QCOMPARE(ok->geometry(), QRect(111, 164, 75, 25));
        QVERIFY(opened.urls.isEmpty());
    }

    void labelsStandWhereTheyBelong() {
        TAboutBox box(nullptr, Opened().opener());
        QCOMPARE(label(&box, "Version")->pos(), QPoint(112, 32));
        QCOMPARE(label(&box, "Image1")->pos(), QPoint(10, 10));
        // Each link follows its caption on the caption's line, without overlapping it, inside the panel.
        const QWidget* panel = label(&box, "Homepage")->parentWidget();
        for (const auto& [captionName, linkName] :
             {std::pair{"Label6", "Homepage"}, std::pair{"Label3", "email"}}) {
            const QRect caption = label(&box, captionName)->geometry();
            const QRect link = label(&box, linkName)->geometry();
            QCOMPARE(link.y(), caption.y());
            QVERIFY(link.left() > caption.right());
            QVERIFY(link.left() - caption.right() <= 4);
            QVERIFY(caption.left() >= 0);
            QVERIFY2(link.right() < panel->width(), qPrintable(QString::number(link.right())));
        }
        QCOMPARE(label(&box, "Label6")->y(), 104);
        QCOMPARE(label(&box, "Label3")->y(), 120);
    }

    void linksStartBlueWithAHand() {
        TAboutBox box(nullptr, Opened().opener());
        for (const char* name : {"Homepage", "email"}) {
            QCOMPARE(textColor(label(&box, name)), QColor(0, 0, 255));
            QCOMPARE(label(&box, name)->cursor().shape(), Qt::PointingHandCursor);
            QVERIFY(!label(&box, name)->font().underline());
        }
    }

    void homepageLinkOpensTheHomepageAndTurnsPurple() {
        Opened opened;
        TAboutBox box(nullptr, opened.opener());
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        clickOn(label(&box, "Homepage"));
        QCOMPARE(opened.urls, QList<QUrl>{QUrl(QStringLiteral("https://quillon.example.org"))});
        QCOMPARE(textColor(label(&box, "Homepage")), QColor(128, 0, 128));
        QCOMPARE(textColor(label(&box, "email")), QColor(0, 0, 255));
    }

    void mailLinkWritesANewMessageAndTurnsPurple() {
        Opened opened;
        TAboutBox box(nullptr, opened.opener());
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        clickOn(label(&box, "email"));
        QCOMPARE(opened.urls.size(), 1);
        const QUrl url = opened.urls.first();
        QCOMPARE(url.scheme(), QStringLiteral("mailto"));
        QCOMPARE(url.path(), QStringLiteral("quillon@example.org"));
        QCOMPARE(url.toString(), QStringLiteral("mailto:quillon@example.org?subject=Quillon&?body="));
        QCOMPARE(textColor(label(&box, "email")), QColor(128, 0, 128));
        QCOMPARE(textColor(label(&box, "Homepage")), QColor(0, 0, 255));
    }

    void otherLabelsAndButtonsOpenNothing() {
        Opened opened;
        TAboutBox box(nullptr, opened.opener());
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        clickOn(label(&box, "Label6"));
        clickOn(label(&box, "Label3"));
        QTest::mouseClick(label(&box, "email"), Qt::RightButton, {}, label(&box, "email")->rect().center());
        QVERIFY(opened.urls.isEmpty());
    }

    void hoverUnderlinesWithoutChangingColour() {
        TAboutBox box(nullptr, Opened().opener());
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        QLabel* homepage = label(&box, "Homepage");
        QLabel* email = label(&box, "email");

        enter(homepage);
        QVERIFY(homepage->font().underline());
        QVERIFY(!email->font().underline());
        QCOMPARE(textColor(homepage), QColor(0, 0, 255));
        leave(homepage);
        QVERIFY(!homepage->font().underline());

        enter(email);
        QVERIFY(email->font().underline());
        QVERIFY(!homepage->font().underline());
        leave(email);
        QVERIFY(!email->font().underline());
        // Plain labels do not react.
        enter(label(&box, "Label3"));
        QVERIFY(!label(&box, "Label3")->font().underline());
    }

    void visitedColourLastsOnlyForTheBox() {
        Opened opened;
        {
            TAboutBox box(nullptr, opened.opener());
            box.HomepageClick();
            box.maillinkClick();
            QCOMPARE(textColor(label(&box, "Homepage")), QColor(128, 0, 128));
        }
        TAboutBox next(nullptr, opened.opener());
        QCOMPARE(textColor(label(&next, "Homepage")), QColor(0, 0, 255));
        QCOMPARE(textColor(label(&next, "email")), QColor(0, 0, 255));
    }

    void centredOnTheScreenNotOverTheWindow() {
        QWidget window;
        window.setGeometry(0, 0, 300, 200);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        TAboutBox box(&window, Opened().opener());
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        const QPoint screenCentre = window.screen()->availableGeometry().center();
        QVERIFY2(
            (box.geometry().center() - screenCentre).manhattanLength() <= 40,
            qPrintable(
                QStringLiteral("%1,%2").arg(box.geometry().center().x()).arg(box.geometry().center().y())));
    }

    void okClosesTheModalBox() {
        bool shown = false;
        test::whenModal<TAboutBox>([&shown](TAboutBox* box) {
            shown = true;
            box->findChild<QPushButton*>(QStringLiteral("OKButton"))->click();
        });
        TAboutBox::execute(nullptr, Opened().opener());
        QVERIFY(shown);
    }
};

QUILLON_GUI_TEST_MAIN(TestAboutBox)
#include "tst_aboutbox.moc"
