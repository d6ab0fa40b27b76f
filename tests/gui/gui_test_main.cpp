#include <QApplication>
#include <QLocale>
#include <memory>

#include "codepage.h"
#include "localeformat.h"

int runModelsTest(int argc, char** argv);
int runMainWindowTest(int argc, char** argv);
int runNavigationTest(int argc, char** argv);
int runSelDirFormTest(int argc, char** argv);
int runSearchTest(int argc, char** argv);

int main(int argc, char** argv) {
    // Headless whatever the environment says: the tests need no display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillon"));

    // Fixed formats and collation, so the texts compared are the same on every machine.
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    QLocale::setDefault(english);
    quillon::setActiveLocaleFormat(
        quillon::LocaleFormat(english, QStringLiteral("M/d/yyyy"), QStringLiteral("h:mm:ss AP")));
    quillon::setActiveCodePage(std::make_shared<quillon::Utf8CodePage>(english));

    int failures = 0;
    failures += runModelsTest(argc, argv);
    failures += runMainWindowTest(argc, argv);
    failures += runNavigationTest(argc, argv);
    failures += runSelDirFormTest(argc, argv);
    failures += runSearchTest(argc, argv);
    return failures == 0 ? 0 : 1;
}
