// Times the loading of a catalog folder against reading the same files with cat, in the same run.
//   quillon-load-bench CATALOG_DIR [--runs N]     medians and the ratio
//   quillon-load-bench CATALOG_DIR --memory       peak memory of one load, per entry
#include "benchsupport.h"
#include "catalog.h"
#include "catalogloader.h"

#include <QCoreApplication>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

using namespace quillon;
using quillon::bench::median;
using Clock = std::chrono::steady_clock;

namespace {

long peakKiB(const char* field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field, 0) == 0) return std::atol(line.c_str() + std::string(field).size());
    }
    return -1;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::cerr << "usage: quillon-load-bench CATALOG_DIR [--runs N] [--memory]\n";
        return 2;
    }
    std::string folder = argv[1];
    if (folder.back() != '/') folder += '/';
    int runs = 7;
    bool memory = false;
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--runs" && i + 1 < argc) runs = std::max(1, std::atoi(argv[++i]));
        if (arg == "--memory") memory = true;
    }

    if (memory) {
        const long before = peakKiB("VmRSS:");
        Catalog catalog;
        ReloadCatalogFolder(folder, catalog);
        const SubtreeCounts counts = countSubtree(catalog.root());
        const long peak = peakKiB("VmHWM:");
        std::int64_t nameBytes = 0;
        std::vector<const CatalogNode*> stack{&catalog.root()};
        while (!stack.empty()) {
            const CatalogNode* n = stack.back();
            stack.pop_back();
            if (n->level() > 0) nameBytes += std::int64_t(n->text().size());
            for (const TFileData& f : n->data().Files) {
                nameBytes += std::int64_t(f.Name().size());
                if (f.MediaInfo) nameBytes += std::int64_t(f.MediaInfo->Artist.size() + f.MediaInfo->Title.size());
            }
            for (const auto& c : n->children()) stack.push_back(c.get());
        }
        const std::int64_t entries = counts.files + counts.folders + std::int64_t(catalog.volumeCount());
        const double loadBytes = double(peak - before) * 1024.0;
        std::cout << "entries " << entries << ", name and media bytes " << nameBytes << '\n'
                  << "peak RSS " << peak << " KiB, before loading " << before << " KiB\n"
                  << "load memory per entry beyond its texts: " << (loadBytes - double(nameBytes)) / double(entries)
                  << " bytes (target < 64)\n";
        return 0;
    }

    const std::string cat = "cat '" + folder + "'*.qvl > /dev/null";
    std::vector<double> catTimes, loadTimes;
    std::int64_t files = 0;
    for (int r = 0; r < runs; ++r) {
        auto t0 = Clock::now();
        if (std::system(cat.c_str()) != 0) std::cerr << "cat failed\n";
        catTimes.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());

        Catalog catalog;
        t0 = Clock::now();
        ReloadCatalogFolder(folder, catalog);
        loadTimes.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
        files = countSubtree(catalog.root()).files;
    }
    const double catMs = median(catTimes), loadMs = median(loadTimes);
    std::cout << "files " << files << ", runs " << runs << '\n'
              << "cat  median " << catMs << " ms\n"
              << "load median " << loadMs << " ms\n"
              << "ratio load/cat " << loadMs / catMs << " (target <= 8)\n";
    return 0;
}
