#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>

#include "guitest.h"
#include "recordingmessageboxes.h"
#include "widgetmessageboxes.h"

using namespace quillon;

namespace {

QStringList buttonTexts(const QMessageBox* box) {
    QStringList texts;
    for (const QAbstractButton* button : box->buttons()) texts.append(button->text());
    texts.sort();
    return texts;
}

QAbstractButton* buttonWithText(const QMessageBox* box, const QString& text) {
    for (QAbstractButton* button : box->buttons())
        if (button->text() == text) return button;
    return nullptr;
}

// What a real box looked like while it was up.
struct SeenBox {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;
    QString defaultButton;
};

SeenBox see(const QMessageBox* box) {
    return {box->windowTitle(), box->text(), box->icon(), buttonTexts(box),
            box->defaultButton() ? box->defaultButton()->text() : QString()};
}

}  // namespace

class TestMessageBoxes final : public QObject {
    Q_OBJECT

private slots:
    void titlesNameTheKind() {
        QCOMPARE(messageTitle(MessageKind::Question), QStringLiteral("Confirm"));
        QCOMPARE(messageTitle(MessageKind::Warning), QStringLiteral("Warning"));
        QCOMPARE(messageTitle(MessageKind::Error), QStringLiteral("Error"));
        QCOMPARE(messageTitle(MessageKind::Information), QStringLiteral("Information"));
        QCOMPARE(messageTitle(MessageKind::StandardError), QStringLiteral("Quillon"));
    }

    void recorderLogsEveryBoxInOrder() {
        RecordingMessageBoxes boxes;
        boxes.error(nullptr, QStringLiteral("Cannot open file x.qvl"));
        boxes.warning(nullptr, QStringLiteral("w"));
        boxes.information(nullptr, QStringLiteral("i"));
        boxes.standardError(nullptr, QStringLiteral("s"));
        boxes.queueAnswer(true);
        boxes.queueAnswer(true);
        QVERIFY(boxes.question(nullptr, QStringLiteral("q?")));
        QVERIFY(boxes.warningQuestion(nullptr, QStringLiteral("wq?")));

        using enum MessageKind;
        using enum MessageButtons;
        const QList<ShownMessage> expected{
            {Error, QStringLiteral("Error"), QStringLiteral("Cannot open file x.qvl"), Ok},
            {Warning, QStringLiteral("Warning"), QStringLiteral("w"), Ok},
            {Information, QStringLiteral("Information"), QStringLiteral("i"), Ok},
            {StandardError, QStringLiteral("Quillon"), QStringLiteral("s"), Ok},
            {Question, QStringLiteral("Confirm"), QStringLiteral("q?"), YesNo},
            {Warning, QStringLiteral("Warning"), QStringLiteral("wq?"), YesNo},
        };
        QCOMPARE(boxes.shown(), expected);
        QCOMPARE(boxes.texts(), (QStringList{QStringLiteral("Cannot open file x.qvl"), QStringLiteral("w"),
                                             QStringLiteral("i"), QStringLiteral("s"), QStringLiteral("q?"),
                                             QStringLiteral("wq?")}));
    }

    void recorderAnswersFromTheQueueInOrder() {
        RecordingMessageBoxes boxes;
        boxes.queueAnswer(false);
        boxes.queueAnswer(true);
        boxes.queueAnswer(false);
        QCOMPARE(boxes.queuedAnswers(), 3);
        QCOMPARE(boxes.question(nullptr, QStringLiteral("1")), false);
        QCOMPARE(boxes.question(nullptr, QStringLiteral("2")), true);
        QCOMPARE(boxes.question(nullptr, QStringLiteral("3")), false);
        QCOMPARE(boxes.queuedAnswers(), 0);
        QCOMPARE(boxes.unansweredQuestions(), 0);
    }

    void recorderAnswersNoWhenNothingIsQueuedAndCountsIt() {
        RecordingMessageBoxes boxes;
        boxes.queueAnswer(true);
        QVERIFY(boxes.question(nullptr, QStringLiteral("planned")));
        QVERIFY(!boxes.question(nullptr, QStringLiteral("unplanned")));
        QVERIFY(!boxes.warningQuestion(nullptr, QStringLiteral("unplanned too")));
        QCOMPARE(boxes.unansweredQuestions(), 2);
        QCOMPARE(boxes.shown().size(), 3);
    }

    void recorderOkBoxesTakeNoAnswer() {
        RecordingMessageBoxes boxes;
        boxes.queueAnswer(true);
        boxes.error(nullptr, QStringLiteral("e"));
        QCOMPARE(boxes.queuedAnswers(), 1);
    }

    void recorderClearForgetsEverything() {
        RecordingMessageBoxes boxes;
        boxes.queueAnswer(true);
        boxes.question(nullptr, QStringLiteral("a"));
        boxes.question(nullptr, QStringLiteral("b"));
        boxes.queueAnswer(true);
        boxes.clear();
        QVERIFY(boxes.shown().isEmpty());
        QCOMPARE(boxes.queuedAnswers(), 0);
        QCOMPARE(boxes.unansweredQuestions(), 0);
        QVERIFY(!boxes.question(nullptr, QStringLiteral("c")));
    }

    void widgetQuestionYesIsTrue() {
        WidgetMessageBoxes boxes;
        SeenBox seen;
        test::whenModal<QMessageBox>([&seen](QMessageBox* box) {
            seen = see(box);
            buttonWithText(box, QStringLiteral("&Yes"))->click();
        });
        QVERIFY(boxes.question(nullptr, QStringLiteral("Delete volume?")));
        QCOMPARE(seen.title, QStringLiteral("Confirm"));
        QCOMPARE(seen.text, QStringLiteral("Delete volume?"));
        QCOMPARE(seen.icon, QMessageBox::Question);
        QCOMPARE(seen.buttons, (QStringList{QStringLiteral("&No"), QStringLiteral("&Yes")}));
    }

    void widgetWarningQuestion() {
        WidgetMessageBoxes boxes;
        SeenBox seen;
        test::whenModal<QMessageBox>([&seen](QMessageBox* box) {
            seen = see(box);
            buttonWithText(box, QStringLiteral("&Yes"))->click();
        });
        QVERIFY(boxes.warningQuestion(nullptr,
                                      QStringLiteral("There is a volume with the same name. Update it?")));
        QCOMPARE(seen.title, QStringLiteral("Warning"));
        QCOMPARE(seen.icon, QMessageBox::Warning);
        QCOMPARE(seen.buttons, (QStringList{QStringLiteral("&No"), QStringLiteral("&Yes")}));
    }

    void widgetQuestionNoIsFalse() {
        WidgetMessageBoxes boxes;
        test::whenModal<QMessageBox>(
            [](QMessageBox* box) { buttonWithText(box, QStringLiteral("&No"))->click(); });
        QVERIFY(!boxes.question(nullptr, QStringLiteral("Delete volume?")));
    }

    void widgetQuestionEscapeIsNo() {
        WidgetMessageBoxes boxes;
        test::whenModal<QMessageBox>([](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Escape); });
        QVERIFY(!boxes.question(nullptr, QStringLiteral("Delete volume?")));
    }

    void widgetQuestionEnterIsYes() {
        WidgetMessageBoxes boxes;
        test::whenModal<QMessageBox>([](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Return); });
        QVERIFY(boxes.question(nullptr, QStringLiteral("Delete volume?")));
    }

    void widgetOkBoxes_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("icon");
        QTest::newRow("error") << int(MessageKind::Error) << QStringLiteral("Error")
                               << int(QMessageBox::Critical);
        QTest::newRow("warning") << int(MessageKind::Warning) << QStringLiteral("Warning")
                                 << int(QMessageBox::Warning);
        QTest::newRow("information") << int(MessageKind::Information) << QStringLiteral("Information")
                                     << int(QMessageBox::Information);
        QTest::newRow("standard error")
            << int(MessageKind::StandardError) << QStringLiteral("Quillon") << int(QMessageBox::Critical);
    }

    void widgetOkBoxes() {
        QFETCH(int, kind);
        QFETCH(QString, title);
        QFETCH(int, icon);
        WidgetMessageBoxes boxes;
        SeenBox seen;
        test::whenModal<QMessageBox>([&seen](QMessageBox* box) {
            seen = see(box);
            buttonWithText(box, QStringLiteral("OK"))->click();
        });
        boxes.tell(nullptr, MessageKind(kind), QStringLiteral("Help files not found or corrupted."));
        QCOMPARE(seen.title, title);
        QCOMPARE(seen.text, QStringLiteral("Help files not found or corrupted."));
        QCOMPARE(int(seen.icon), icon);
        QCOMPARE(seen.buttons, QStringList{QStringLiteral("OK")});
        QCOMPARE(seen.defaultButton, QStringLiteral("OK"));
    }

    void widgetBoxIsModalOverItsParent() {
        QWidget window;
        window.show();
        WidgetMessageBoxes boxes;
        QWidget* parentSeen = nullptr;
        Qt::WindowModality modality = Qt::NonModal;
        test::whenModal<QMessageBox>([&](QMessageBox* box) {
            parentSeen = box->parentWidget();
            modality = box->windowModality();
            buttonWithText(box, QStringLiteral("OK"))->click();
        });
        boxes.error(&window, QStringLiteral("x"));
        QCOMPARE(parentSeen, &window);
        QVERIFY(modality != Qt::NonModal);
    }
};

QUILLON_GUI_TEST_MAIN(TestMessageBoxes)
#include "tst_messageboxes.moc"
