#include "volumecataloger.h"

#include "catalogfile.h"
#include "catalogloader.h"
#include "codepage.h"
#include "volumename.h"

#include <sys/stat.h>
#include <unistd.h>

namespace quillon {

namespace {

bool sameFile(const std::string& a, const std::string& b)
{
    if (a == b) return true;
    // A case-insensitive file system maps two spellings to one file.
    struct stat sa {
    }, sb{};
    return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

}  // namespace

SameNameVolume ConfirmVolumeName(const Catalog& catalog, const std::string& catalogFolder,
                                 std::string_view name, ScanObserver& observer)
{
    SameNameVolume result;
    const CodePage& cp = activeCodePage();
    for (const auto& volume : catalog.root().children()) {
        if (!cp.equalsNoCase(volume->text(), name)) continue;
        if (!observer.ask(ScanQuestion::ReplaceVolume, kReplaceVolumeQuestion)) {
            result.proceed = false;
            return result;
        }
        result.older = volume.get();
        result.olderFile = volumeCatalogFile(catalogFolder, volume->text());
        return result;
    }
    return result;
}

std::string volumeCatalogFile(const std::string& catalogFolder, std::string_view volumeName)
{
    // The name encodes to one file name, but a volume may have been loaded from another one that decodes to
    // the same name ("X.QVL", or escapes that older versions wrote differently).
    const EncodedName encoded = EncodeVolumeName(volumeName);
    std::string found;
    for (const std::string& file : listCatalogFiles(catalogFolder)) {
        if (DecodeVolumeName(file) != volumeName) continue;
        if (!encoded.refused && file == encoded.fileName + ".qvl") return file;
        if (found.empty()) found = file;
    }
    return found;
}

void removeVolume(Catalog& catalog, const std::string& catalogFolder, const SameNameVolume& replaced,
                  const std::string& keepPath)
{
    if (!replaced.olderFile.empty()) {
        const std::string path = catalogFolder + replaced.olderFile;
        if (keepPath.empty() || !sameFile(path, keepPath)) ::unlink(path.c_str());
    }
    if (replaced.older) catalog.remove(replaced.older);
}

bool IsAlreadyCataloged(const std::string& catalogFolder, std::string_view key, std::string_view skipFile)
{
    for (const std::string& file : listCatalogFiles(catalogFolder)) {
        if (!skipFile.empty() && file == skipFile) continue;
        if (ReadHeaderStrings(catalogFolder + file) == key) return true;
    }
    return false;
}

VolumeCataloger::VolumeCataloger(Catalog& catalog, ScanObserver& observer, MediaReader readMedia)
    : m_catalog(catalog), m_observer(observer), m_readMedia(std::move(readMedia))
{
}

CatalogResult VolumeCataloger::run(const CatalogRequest& request)
{
    // Progress callbacks may run the window's event loop; a second OK press then must not nest a second scan.
    if (m_running) return {CatalogOutcome::Busy, {}, nullptr, 0, 0};
    m_running = true;
    m_cancel.store(false, std::memory_order_relaxed);
    CatalogResult result = catalogVolume(request);
    m_running = false;
    return result;
}

CatalogResult VolumeCataloger::catalogVolume(const CatalogRequest& request)
{
    CatalogResult result;
    const EncodedName encoded = EncodeVolumeName(request.volumeName);
    if (encoded.refused) {
        m_observer.error(encoded.message);
        return {CatalogOutcome::Refused, encoded.message, nullptr, 0, 0};
    }
    const SameNameVolume replaced =
        ConfirmVolumeName(m_catalog, request.catalogFolder, request.volumeName, m_observer);
    if (!replaced.proceed) return result;

    std::string source = request.sourcePath;
    if (source.empty() || source.back() != '/') source += '/';
    // Older versions had deleted the replaced volume's file by now, so it is not asked about.
    if (IsAlreadyCataloged(request.catalogFolder, source + request.label, replaced.olderFile) &&
        !m_observer.ask(ScanQuestion::AlreadyCataloged, kAlreadyCatalogedQuestion)) {
        return result;
    }
    std::string root = source;
    while (!root.empty() && root.back() == '/') root.pop_back();

    m_observer.beginTreeUpdate();
    // At the precision of the catalog file, so the volume in memory and the one loaded later agree.
    const DateTime now = dosToDateTime(dateTimeToDos(currentDateTime()));
    CatalogNode* volume =
        m_catalog.addVolume(request.volumeName, NewFolderData(now), std::make_unique<TextStore>());
    m_observer.phase(kPhaseScanning);
    VolumeScanner scanner(m_readMedia, m_observer, m_cancel);
    const bool complete = scanner.ScanFolder(root, *volume);
    result.folders = scanner.folderCount();
    result.files = scanner.fileCount();
    if (!complete) {
        m_catalog.remove(volume);
        m_observer.endTreeUpdate();
        result.outcome = CatalogOutcome::Cancelled;
        return result;
    }
    m_observer.endTreeUpdate();

    m_observer.phase(kPhaseSaving);
    const std::string path = request.catalogFolder + encoded.fileName + ".qvl";
    const Status written = writeVolumeFile(path, *volume, request.label, source);
    if (!written) {
        m_observer.beginTreeUpdate();
        m_catalog.remove(volume);
        m_observer.endTreeUpdate();
        m_observer.error(written.message);
        result.outcome = CatalogOutcome::Failed;
        result.message = written.message;
        return result;
    }

    m_observer.phase(kPhaseSorting);
    m_observer.beginTreeUpdate();
    removeVolume(m_catalog, request.catalogFolder, replaced, path);
    m_catalog.sort();
    m_observer.endTreeUpdate();
    m_observer.phase(kPhaseEnding);
    result.outcome = CatalogOutcome::Cataloged;
    result.volume = volume;
    return result;
}

}  // namespace quillon
