#pragma once

// Pieces shared by the benchmark programs.

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <vector>

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

}  // namespace quillon::bench
