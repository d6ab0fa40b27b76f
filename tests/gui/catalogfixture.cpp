#include "catalogfixture.h"

#include <QDir>
#include <QFile>

#include "catalogfile.h"

namespace quillon::test {

CatalogFixture::CatalogFixture() : m_previous(QDir::currentPath()) {
    QDir(path()).mkdir(QStringLiteral("Catalogs"));
    QDir::setCurrent(path());
}

CatalogFixture::~CatalogFixture() {
    QDir::setCurrent(m_previous);
}

void CatalogFixture::writeSettings(const QString& lines) {
    QFile file(filePath(QStringLiteral("quillon.ini")));
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) file.write(lines.toUtf8());
}

QString CatalogFixture::settingsText() const {
    QFile file(filePath(QStringLiteral("quillon.ini")));
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(file.readAll()).remove(u'\r');
}

QString CatalogFixture::catalogFolder() const {
    return filePath(QStringLiteral("Catalogs"));
}

void CatalogFixture::writeVolume(const std::string& name, const std::function<void(CatalogNode&)>& fill,
                                 DateTime catalogedAt) {
    Catalog catalog;
    CatalogNode* volume =
        catalog.addVolume(name, NewFolderData(catalogedAt ? catalogedAt : sampleDate()), nullptr);
    if (fill) fill(*volume);
    const std::string path = (catalogFolder() + u'/').toStdString() + name + ".qvl";
    (void)writeVolumeFile(path, *volume, name, "/media/cdrom/");
}

void CatalogFixture::writeRawCatalog(const QString& fileName, const QByteArray& bytes) {
    QFile file(catalogFolder() + u'/' + fileName);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) file.write(bytes);
}

void CatalogFixture::addFile(CatalogNode& folder, const std::string& name, std::int64_t bytes, DateTime date,
                             const std::string& artist, const std::string& title) {
    folder.data().Files.push_back(makeFileData(*folder.store(), name, bytes, date, artist, title));
}

DateTime sampleDate(int dayOffset) {
    return encodeDateTime({2003, 5, 17, 14, 3, 8}) + dayOffset;
}

}  // namespace quillon::test
