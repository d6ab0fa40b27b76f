#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <QtTest>
#include <functional>
#include <memory>

// Runs the test class on the offscreen platform unless the environment names another, so the tests need no
// display and no real window ever appears.
#define QUILLON_GUI_TEST_MAIN(TestClass)                                                             \
    int main(int argc, char** argv) {                                                                \
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen"); \
        QApplication app(argc, argv);                                                                \
        TestClass test;                                                                              \
        return QTest::qExec(&test, argc, argv);                                                      \
    }

namespace quillon::test {

// Calls act with the modal widget of type T once one is on screen, from inside its event loop: how a test
// answers a dialog that exec() shows. The act is dropped after five seconds without one, so a dialog that
// never appears cannot hang the test: the test's own checks then fail.
template <typename T>
void whenModal(std::function<void(T*)> act) {
    auto* timer = new QTimer;
    auto tries = std::make_shared<int>(0);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, tries, act = std::move(act)] {
        if (auto* widget = qobject_cast<T*>(QApplication::activeModalWidget());
            widget && widget->isVisible()) {
            timer->deleteLater();
            timer->stop();
            act(widget);
        } else if (++*tries > 500) {
            timer->deleteLater();
            timer->stop();
        }
    });
    timer->start();
}

}  // namespace quillon::test
