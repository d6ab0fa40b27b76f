#include <QCheckBox>
#include <QFrame>
#include <QPushButton>

#include "guitest.h"
#include "preferences.h"
#include "settings.h"

using namespace quillon;

namespace {

QCheckBox* check(QWidget* dialog, const char* name) {
    return dialog->findChild<QCheckBox*>(QString::fromLatin1(name));
}

QPushButton* button(QWidget* dialog, const char* name) {
    return dialog->findChild<QPushButton*>(QString::fromLatin1(name));
}

}  // namespace

class TestPreferences final : public QObject {
    Q_OBJECT

private slots:
    void controlsAndTexts() {
        TPreferences dialog(true, true);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Preferences"));
        QCOMPARE(check(&dialog, "AutoOpen")->text(), QStringLiteral("Open CD-drive after CD is cataloged"));
        QCOMPARE(check(&dialog, "AskForLast")->text(), QStringLiteral("Ask for more catalogs to create"));
        QCOMPARE(button(&dialog, "OKBut")->text(), QStringLiteral("&OK"));
        QCOMPARE(button(&dialog, "CancelBut")->text(), QStringLiteral("&Cancel"));
        QVERIFY(dialog.findChild<QFrame*>(QStringLiteral("Bevel1")));
        QCOMPARE(check(&dialog, "AutoOpen")->parentWidget()->objectName(), QStringLiteral("Bevel1"));
        QCOMPARE(check(&dialog, "AskForLast")->parentWidget()->objectName(), QStringLiteral("Bevel1"));
        QVERIFY(dialog.width() >= 258 && dialog.height() >= 146);
        QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
        QVERIFY(dialog.windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(!(dialog.windowFlags() & Qt::WindowCloseButtonHint));
    }

    void textsAreNotCutOff() {
        TPreferences dialog(true, true);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        for (const char* name : {"AutoOpen", "AskForLast"}) {
            const QCheckBox* box = check(&dialog, name);
            QVERIFY2(box->width() >= box->sizeHint().width(), name);
            QVERIFY2(box->geometry().right() < box->parentWidget()->width(), name);
        }
        for (const char* name : {"OKBut", "CancelBut"}) {
            const QPushButton* b = button(&dialog, name);
            QVERIFY2(b->width() >= b->sizeHint().width(), name);
            QVERIFY2(b->geometry().bottom() < dialog.height(), name);
        }
    }

    void checkBoxesStartFromTheValues_data() {
        QTest::addColumn<bool>("autoOpen");
        QTest::addColumn<bool>("askForLast");
        QTest::newRow("both on") << true << true;
        QTest::newRow("only auto open") << true << false;
        QTest::newRow("only ask") << false << true;
        QTest::newRow("both off") << false << false;
    }

    void checkBoxesStartFromTheValues() {
        QFETCH(bool, autoOpen);
        QFETCH(bool, askForLast);
        TPreferences dialog(autoOpen, askForLast);
        QCOMPARE(check(&dialog, "AutoOpen")->isChecked(), autoOpen);
        QCOMPARE(check(&dialog, "AskForLast")->isChecked(), askForLast);
    }

    void okCopiesTheCheckBoxes() {
        bool autoOpen = true;
        bool askForLast = true;
        test::whenModal<TPreferences>([](TPreferences* dialog) {
            check(dialog, "AskForLast")->click();
            button(dialog, "OKBut")->click();
        });
        QVERIFY(TPreferences::execute(nullptr, autoOpen, askForLast));
        QCOMPARE(autoOpen, true);
        QCOMPARE(askForLast, false);
    }

    void okCopiesBothWays() {
        bool autoOpen = false;
        bool askForLast = true;
        test::whenModal<TPreferences>([](TPreferences* dialog) {
            check(dialog, "AutoOpen")->click();
            check(dialog, "AskForLast")->click();
            button(dialog, "OKBut")->click();
        });
        QVERIFY(TPreferences::execute(nullptr, autoOpen, askForLast));
        QCOMPARE(autoOpen, true);
        QCOMPARE(askForLast, false);
    }

    void cancelLeavesTheValues() {
        bool autoOpen = true;
        bool askForLast = false;
        test::whenModal<TPreferences>([](TPreferences* dialog) {
            check(dialog, "AutoOpen")->click();
            check(dialog, "AskForLast")->click();
            button(dialog, "CancelBut")->click();
        });
        QVERIFY(!TPreferences::execute(nullptr, autoOpen, askForLast));
        QCOMPARE(autoOpen, true);
        QCOMPARE(askForLast, false);
    }

    void escapeIsCancel() {
        bool autoOpen = true;
        bool askForLast = true;
        test::whenModal<TPreferences>([](TPreferences* dialog) {
            check(dialog, "AutoOpen")->click();
            QTest::keyClick(dialog, Qt::Key_Escape);
        });
        QVERIFY(!TPreferences::execute(nullptr, autoOpen, askForLast));
        QCOMPARE(autoOpen, true);
    }

    void enterIsOk() {
        bool autoOpen = true;
        bool askForLast = true;
        test::whenModal<TPreferences>([](TPreferences* dialog) {
            check(dialog, "AutoOpen")->click();
            QTest::keyClick(dialog, Qt::Key_Return);
        });
        QVERIFY(TPreferences::execute(nullptr, autoOpen, askForLast));
        QCOMPARE(autoOpen, false);
    }

    void reopeningShowsTheStoredState() {
        Settings settings;
        settings.AutoOpen = true;
        settings.AskForLast = true;
        test::whenModal<TPreferences>([](TPreferences* dialog) {
            check(dialog, "AskForLast")->click();
            button(dialog, "CancelBut")->click();
        });
        QVERIFY(!TPreferences::execute(nullptr, settings));

        bool seenAskForLast = false;
        test::whenModal<TPreferences>([&seenAskForLast](TPreferences* dialog) {
            seenAskForLast = check(dialog, "AskForLast")->isChecked();
            check(dialog, "AutoOpen")->click();
            button(dialog, "OKBut")->click();
        });
        QVERIFY(TPreferences::execute(nullptr, settings));
        QVERIFY(seenAskForLast);
        QCOMPARE(settings.AutoOpen, false);
        QCOMPARE(settings.AskForLast, true);
        // The dialog touches no other setting.
        Settings expected;
        expected.AutoOpen = false;
        QCOMPARE(settings, expected);
    }

    void centredOverItsParent() {
        QWidget window;
        window.setGeometry(200, 150, 600, 400);
        window.show();
        QPoint centre;
        test::whenModal<TPreferences>([&centre](TPreferences* dialog) {
            centre = dialog->geometry().center();
            button(dialog, "CancelBut")->click();
        });
        bool autoOpen = true;
        bool askForLast = true;
        TPreferences::execute(&window, autoOpen, askForLast);
        QVERIFY2((centre - window.geometry().center()).manhattanLength() <= 40,
                 qPrintable(QStringLiteral("dialog centre %1,%2").arg(centre.x()).arg(centre.y())));
    }
};

QUILLON_GUI_TEST_MAIN(TestPreferences)
#include "tst_preferences.moc"
