#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <functional>
#include <string>

#include "catalog.h"

namespace quillon::test {

// A temporary current directory with a settings file and a catalog folder, as the program finds them when
// it starts. The previous current directory comes back when the fixture goes.
class CatalogFixture final : public QTemporaryDir {
public:
    CatalogFixture();
    ~CatalogFixture();
    CatalogFixture(const CatalogFixture&) = delete;
    CatalogFixture& operator=(const CatalogFixture&) = delete;

    // "./quillon.ini" with exactly these lines.
    void writeSettings(const QString& lines);
    // A normal start: FirstStart=0 and nothing else.
    void writeNormalSettings() { writeSettings(QStringLiteral("[General]\nFirstStart=0\n")); }
    QString settingsText() const;

    // Writes "./Catalogs/<name>.qvl" from a volume that fill builds.
    void writeVolume(const std::string& name, const std::function<void(CatalogNode& volume)>& fill = {},
                     DateTime catalogedAt = 0);
    // Any bytes as a catalog file.
    void writeRawCatalog(const QString& fileName, const QByteArray& bytes);
    QString catalogFolder() const;

    // A file record for a volume being filled.
    static void addFile(CatalogNode& folder, const std::string& name, std::int64_t bytes, DateTime date,
                        const std::string& artist = {}, const std::string& title = {});

private:
    QString m_previous;
};

// 2003-05-17 14:03:08, a date every test can read in the fixed test locale.
DateTime sampleDate(int dayOffset = 0);

}  // namespace quillon::test
