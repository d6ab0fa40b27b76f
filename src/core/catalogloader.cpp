#include "catalogloader.h"

#include "catalogfile.h"
#include "codepage.h"
#include "volumename.h"

#include <dirent.h>

#include <memory>

namespace quillon {

std::vector<std::string> listCatalogFiles(const std::string& catalogFolder)
{
    std::vector<std::string> names;
    // An empty folder path means the current directory, as with plain concatenation.
    const std::string folder = catalogFolder.empty() ? std::string(".") : catalogFolder;
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), ::closedir);
    if (!dir) return names;
    while (const dirent* entry = ::readdir(dir.get())) {
        const std::string_view name(entry->d_name);
        if (name.size() < 4) continue;
        const std::string_view ext = name.substr(name.size() - 4);
        // Catalog folders come from case-insensitive file systems too: "X.QVL" is a catalog file.
        if (CodePage::upperAscii(ext) == ".QVL") names.emplace_back(name);
    }
    return names;
}

LoadResult ReloadCatalogFolder(const std::string& catalogFolder, Catalog& catalog, const LoadObserver& observer)
{
    LoadResult result;
    catalog.clear();
    const std::vector<std::string> names = listCatalogFiles(catalogFolder);
    result.catalogFiles = int(names.size());
    if (names.empty()) return result;
    if (observer.started) observer.started(result.catalogFiles);
    RecordErrorHandler onRecordError;
    if (observer.error) onRecordError = observer.error;
    for (const std::string& name : names) {
        const ReadOutcome outcome =
            readCatalogFile(catalogFolder + name, DecodeVolumeName(name), catalog, onRecordError);
        if (observer.advanced) observer.advanced();
        if (!outcome.status) {
            ++result.failedFiles;
            if (observer.error) observer.error(outcome.status.message);
        }
    }
    catalog.sort();
    return result;
}

}  // namespace quillon
