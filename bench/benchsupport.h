#pragma once

// Pieces shared by the benchmark programs.

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "catalog.h"
#include "catalogloader.h"

namespace quillon::bench {

// The middle value (the mean of the two middle ones for an even count); 0 for none.
inline double median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// A temporary current folder whose "./quillon.ini" points the window at a catalog folder, as a normal start
// finds it. ok() is false when the settings file could not be written.
class WindowHome {
public:
    explicit WindowHome(const QString& catalogFolder) {
        QDir::setCurrent(m_dir.path());
        QFile ini(QStringLiteral("quillon.ini"));
        m_ok = ini.open(QIODevice::WriteOnly) &&
               ini.write("[General]\r\nFirstStart=0\r\nCatalogFolder=" + QFile::encodeName(catalogFolder) +
                         "\r\n") > 0;
    }
    bool ok() const { return m_ok; }
    QString filePath(const QString& name) const { return m_dir.filePath(name); }

private:
    QTemporaryDir m_dir;
    bool m_ok = false;
};

// The command line "PROGRAM CATALOG_DIR [--runs N]" of a benchmark over a folder that holds one volume: loads
// that volume into catalog and the number of runs (defaultRuns without --runs) into runs. False, with a
// message, when the command line or the folder does not fit.
inline bool loadOneVolume(int argc, char** argv, Catalog& catalog, int& runs, int defaultRuns) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s CATALOG_DIR [--runs N]\n", argv[0]);
        return false;
    }
    std::string folder = argv[1];
    if (folder.back() != '/') folder += '/';
    runs = argc > 3 && std::string(argv[2]) == "--runs" ? std::max(1, std::atoi(argv[3])) : defaultRuns;
    ReloadCatalogFolder(folder, catalog);
    if (catalog.volumeCount() != 1) {
        std::fprintf(stderr, "%s should hold exactly one catalog\n", folder.c_str());
        return false;
    }
    return true;
}

}  // namespace quillon::bench
