#include "codepage.h"
#include "localeformat.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

#include <memory>

// Every test starts from the same text services: UTF-8 with English collation and United States formats,
// whatever the machine's locale is. Tests that need others set them themselves.
int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    QLocale::setDefault(english);
    quillon::setActiveCodePage(std::make_shared<quillon::Utf8CodePage>(english));
    quillon::setActiveLocaleFormat(quillon::LocaleFormat(english));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
