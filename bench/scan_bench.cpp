// Times the cataloging of a folder tree against find(1) listing the same tree with sizes and dates, in the
// same run and on the same warm cache.
//   quillon-scan-bench TREE [--runs N] [--media id3|name]
// --media id3 (the default) reads the tags of .mp3 files as cataloging does; --media name gives them the
// file-name media info without opening them.
#include "benchsupport.h"
#include "catalog.h"
#include "scanobserver.h"
#include "volumecataloger.h"
#include "volumescanner.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

using namespace quillon;
using quillon::bench::median;
using Clock = std::chrono::steady_clock;

namespace {

class YesObserver final : public ScanObserver {
public:
    bool ask(ScanQuestion, std::string_view) override { return true; }
};

// The media info of a file without a tag, without reading the file: the cost of the walk alone.
MediaText fileNameOnly(const std::string& path)
{
    const std::string name = path.substr(path.rfind('/') + 1);
    return {name.substr(0, name.size() >= 4 ? name.size() - 4 : 0), {}};
}

double seconds(Clock::time_point from) { return std::chrono::duration<double>(Clock::now() - from).count(); }

// User and system time, of this process or of its waited-for children: on a loaded machine a steadier
// measure than wall time.
double cpuSeconds(int who)
{
    rusage usage{};
    ::getrusage(who, &usage);
    const auto s = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return s(usage.ru_utime) + s(usage.ru_stime);
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        std::cerr << "usage: quillon-scan-bench TREE [--runs N] [--media id3|name]\n";
        return 2;
    }
    const std::string tree = args[0];
    int runs = 7;
    std::string media = "id3";
    for (std::size_t i = 1; i + 1 < args.size(); ++i) {
        if (args[i] == "--runs") runs = std::max(1, std::atoi(args[i + 1].c_str()));
        if (args[i] == "--media") media = args[i + 1];
    }
    const MediaReader reader = media == "name" ? MediaReader(fileNameOnly) : defaultMediaReader();
    const std::string find = "find '" + tree + "' -printf '%s %T@ %p\\n' > /dev/null";

    QTemporaryDir catalogs;
    const std::string catalogFolder = catalogs.path().toStdString() + "/";
    std::vector<double> findTimes, scanTimes, catalogTimes, findCpu, scanCpu, catalogCpu;
    int folders = 0, files = 0;
    (void)!std::system(find.c_str());  // warm the cache
    for (int run = 0; run < runs; ++run) {
        auto start = Clock::now();
        double cpu = cpuSeconds(RUSAGE_CHILDREN);
        if (std::system(find.c_str()) != 0) return 1;
        findTimes.push_back(seconds(start));
        findCpu.push_back(cpuSeconds(RUSAGE_CHILDREN) - cpu);

        {
            Catalog catalog;
            YesObserver observer;
            const std::atomic<bool> cancel{false};
            CatalogNode* volume = catalog.addVolume("Scan", NewFolderData(0), nullptr);
            start = Clock::now();
            cpu = cpuSeconds(RUSAGE_SELF);
            VolumeScanner scanner(reader, observer, cancel);
            scanner.ScanFolder(tree, *volume);
            scanTimes.push_back(seconds(start));
            scanCpu.push_back(cpuSeconds(RUSAGE_SELF) - cpu);
        }
        {
            Catalog catalog;
            YesObserver observer;
            VolumeCataloger cataloger(catalog, observer, reader);
            start = Clock::now();
            cpu = cpuSeconds(RUSAGE_SELF);
            const CatalogResult result = cataloger.run({tree, "Bench", "Bench", catalogFolder});
            catalogTimes.push_back(seconds(start));
            catalogCpu.push_back(cpuSeconds(RUSAGE_SELF) - cpu);
            if (result.outcome != CatalogOutcome::Cataloged) {
                std::cerr << "cataloging failed: " << result.message << '\n';
                return 1;
            }
            folders = result.folders;
            files = result.files;
        }
    }
    const double f = median(findTimes), s = median(scanTimes), c = median(catalogTimes);
    const double fc = median(findCpu), sc = median(scanCpu), cc = median(catalogCpu);
    std::cout << folders << " folders, " << files << " files, media " << media << ", " << runs
              << " runs; medians, wall time and user+system time\n"
              << "find:     " << f * 1000 << " ms wall, " << fc * 1000 << " ms cpu\n"
              << "scan:     " << s * 1000 << " ms wall (" << s / f << "x find), " << sc * 1000 << " ms cpu ("
              << sc / fc << "x find)\n"
              << "catalog:  " << c * 1000 << " ms wall (" << c / f << "x find), " << cc * 1000 << " ms cpu ("
              << cc / fc << "x find); scan, write, sort\n";
    return 0;
}
