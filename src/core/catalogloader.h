#pragma once

#include "catalog.h"

#include <functional>
#include <string>
#include <vector>

namespace quillon {

// What a reload of the catalog folder tells its watcher: the loading window's gauge and the error box.
struct LoadObserver {
    std::function<void(int fileCount)> started;   // only when there is at least one catalog file
    std::function<void()> advanced;               // once per catalog file
    std::function<void(const std::string&)> error;  // "Cannot open file ...", "Error in folder: ..."
};

struct LoadResult {
    int catalogFiles = 0;  // entries matching "*.qvl"
    int failedFiles = 0;   // catalog files that could not be opened
};

// The names of the catalog files directly in the folder: "*.qvl", any letter case, in listing order.
std::vector<std::string> listCatalogFiles(const std::string& catalogFolder);

// Replaces every volume of the catalog by the catalog files of the folder and sorts the tree once at the end.
// The folder path is joined to file names by plain concatenation, so it carries its trailing "/". A catalog
// file that cannot be opened is reported and passed over; the others still load.
LoadResult ReloadCatalogFolder(const std::string& catalogFolder, Catalog& catalog,
                               const LoadObserver& observer = {});

}  // namespace quillon
