#include <QEvent>
#include <QGuiApplication>
#include <QtTest>
#include <stdexcept>

#include "errorboxapplication.h"
#include "recordingmessageboxes.h"

using namespace quillon;

namespace {

// An object whose event handler fails the way a core error escapes a handler.
class Throwing final : public QObject {
public:
    bool event(QEvent* event) override {
        if (event->type() == QEvent::User) throw std::runtime_error("Cannot open file ./Catalogs/CD1.qvl");
        return QObject::event(event);
    }
};

}  // namespace

class TestErrorBoxApplication final : public QObject {
    Q_OBJECT

private slots:
    void namedQuillonWithoutADisplayNameForCaptions() {
        QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("Quillon"));
        // Unset, the display name follows the name; set, the platforms would append it to every caption.
        QCOMPARE(QGuiApplication::applicationDisplayName(), QStringLiteral("Quillon"));
        QGuiApplication::setApplicationName(QStringLiteral("renamed"));
        const QString followed = QGuiApplication::applicationDisplayName();
        QGuiApplication::setApplicationName(QStringLiteral("Quillon"));
        QCOMPARE(followed, QStringLiteral("renamed"));
    }

    void escapedErrorGoesToTheStandardErrorBox() {
        auto* app = qobject_cast<ErrorBoxApplication*>(QCoreApplication::instance());
        QVERIFY(app);
        RecordingMessageBoxes boxes;
        app->setMessageBoxes(&boxes);
        Throwing target;
        QCoreApplication::postEvent(&target, new QEvent(QEvent::User));
        QCoreApplication::sendPostedEvents(&target, QEvent::User);
        app->setMessageBoxes(nullptr);

        const QList<ShownMessage> expected{{MessageKind::StandardError, QStringLiteral("Quillon"),
                                            QStringLiteral("Cannot open file ./Catalogs/CD1.qvl"),
                                            MessageButtons::Ok}};
        QCOMPARE(boxes.shown(), expected);
    }

    void theProgramGoesOnAfterAnError() {
        auto* app = qobject_cast<ErrorBoxApplication*>(QCoreApplication::instance());
        RecordingMessageBoxes boxes;
        app->setMessageBoxes(&boxes);
        Throwing target;
        QEvent first(QEvent::User);
        QEvent second(QEvent::User);
        QCoreApplication::sendEvent(&target, &first);
        QCoreApplication::sendEvent(&target, &second);
        app->setMessageBoxes(nullptr);
        QCOMPARE(boxes.shown().size(), 2);
    }

    void eventsWithoutErrorsShowNothing() {
        auto* app = qobject_cast<ErrorBoxApplication*>(QCoreApplication::instance());
        RecordingMessageBoxes boxes;
        app->setMessageBoxes(&boxes);
        Throwing target;
        QEvent event(QEvent::None);
        QCoreApplication::sendEvent(&target, &event);
        app->setMessageBoxes(nullptr);
        QVERIFY(boxes.shown().isEmpty());
    }
};

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    ErrorBoxApplication app(argc, argv);
    TestErrorBoxApplication test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_errorboxapplication.moc"
