// Times the search phase over loaded catalogs against `LC_ALL=C grep -c` over the same names, in the same run.
//   quillon-search-bench CATALOG_DIR [--runs N] [--names FILE] [--case INDEX]
// The names file (every file and folder name, one per line) is written first; grep then reads it from the page
// cache. Each case prints the medians, the ratios, both hit counts (which must agree), and the time of a first run
// whose consumer fills a fresh row vector.
#include "benchsupport.h"
#include "catalog.h"
#include "catalogloader.h"
#include "listviewcompare.h"
#include "localeformat.h"
#include "searchengine.h"
#include "searchrun.h"

#include <QCoreApplication>

#include <sys/resource.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iomanip>
#include <iostream>
#include <string>
#include <vector>

using namespace quillon;
using quillon::bench::median;
using Clock = std::chrono::steady_clock;

namespace {

// CPU time, which a machine shared with other work disturbs far less than wall time: the thread's own for the
// search, that of the waited-for children (sh, grep, cat) for grep.
double threadCpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

double childrenCpuMs()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

double msSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void writeNames(const CatalogNode& node, std::ofstream& out)
{
    for (const TFileData& f : node.data().Files) out << f.Name() << '\n';
    for (const auto& child : node.children()) {
        out << child->text() << '\n';
        writeNames(*child, out);
    }
}

// Runs the command through the shell with its output piped on, as a script would; returns what it printed.
std::string runCommand(const std::string& command)
{
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return output;
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe)) output += buffer;
    pclose(pipe);
    return output;
}

struct Case {
    const char* label;
    const char* pattern;
    const char* grepArgs;  // the equivalent grep options and regex
};

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::cerr << "usage: quillon-search-bench CATALOG_DIR [--runs N] [--names FILE] [--case INDEX]\n";
        return 2;
    }
    std::string folder = argv[1];
    if (folder.back() != '/') folder += '/';
    int runs = 9;
    int onlyCase = -1;  // for profiling one case
    std::string namesPath = "/tmp/quillon-search-names.txt";
    for (int i = 2; i + 1 < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--runs") {
            runs = std::max(1, std::atoi(argv[++i]));
        } else if (arg == "--names") {
            namesPath = argv[++i];
        } else if (arg == "--case") {
            onlyCase = std::atoi(argv[++i]);
        }
    }

    Catalog catalog;
    ReloadCatalogFolder(folder, catalog);
    {
        std::ofstream out(namesPath, std::ios::binary);
        // Volumes themselves are never tested, only what lies below them.
        for (const auto& volume : catalog.root().children()) writeNames(*volume, out);
    }
    const SubtreeCounts counts = countSubtree(catalog.root());
    std::cout << catalog.volumeCount() << " volumes, " << counts.files << " files, " << counts.folders
              << " folders; names in " << namesPath << "; medians of " << runs << " runs\n\n";
    runCommand("cat '" + namesPath + "' > /dev/null");

    const Case cases[] = {
        {"mask *.mp3", "*.mp3", "-c '\\.[mM][pP]3$'"},
        {"mask [a-c]*", "[a-c]*", "-c '^[a-cA-C]'"},
        {"text garden", "garden", "-ci 'garden'"},
        {"text (no match)", "qxzqj", "-ci 'qxzqj'"},
    };
    std::cout << std::left << std::setw(18) << "case" << std::right << std::setw(9) << "hits" << std::setw(9)
              << "grep -c"
              << "   wall ms: search    grep  ratio   cpu ms: search    grep  ratio  fresh ms   grep arguments\n";
    for (int caseIndex = 0; caseIndex < int(std::size(cases)); ++caseIndex) {
        if (onlyCase >= 0 && caseIndex != onlyCase) continue;
        const Case& c = cases[caseIndex];
        SearchCriteria criteria;
        criteria.pattern = c.pattern;
        criteria.useMask = SearchEngine::ChooseNameMode(criteria.pattern);
        std::vector<double> searchMs, grepMs, searchCpu, grepCpu;
        std::size_t hits = 0;
        std::string grepCount;
        // The results model clears its rows for a new run and keeps their storage, as this vector does; the
        // first run fills a fresh one and is reported on its own.
        std::vector<SearchRow> rows;
        double freshMs = 0;
        for (int r = -1; r < runs; ++r) {
            rows.clear();
            const auto start = Clock::now();
            const double cpuStart = threadCpuMs();
            SearchEngine engine(criteria);
            SearchHooks hooks;
            hooks.hits = [&rows](const std::vector<SearchRow>& batch) {
                rows.insert(rows.end(), batch.begin(), batch.end());
            };
            SearchRun run(engine, std::move(hooks));
            hits = run.run(catalog, SearchScope::allVolumes()).hits;
            if (r < 0) {
                freshMs = msSince(start);
                continue;
            }
            searchCpu.push_back(threadCpuMs() - cpuStart);
            searchMs.push_back(msSince(start));

            const auto grepStart = Clock::now();
            const double grepCpuStart = childrenCpuMs();
            grepCount = runCommand(std::string("LC_ALL=C grep ") + c.grepArgs + " '" + namesPath + "' | cat");
            grepCpu.push_back(childrenCpuMs() - grepCpuStart);
            grepMs.push_back(msSince(grepStart));
        }
        while (!grepCount.empty() && grepCount.back() == '\n') grepCount.pop_back();
        const double s = median(searchMs);
        const double g = median(grepMs);
        const double sc = median(searchCpu);
        const double gc = median(grepCpu);
        std::cout << std::left << std::setw(18) << c.label << std::right << std::setw(9) << hits << std::setw(9)
                  << grepCount << std::fixed << std::setprecision(1) << std::setw(18) << s << std::setw(8) << g
                  << std::setprecision(2) << std::setw(7) << s / g << std::setprecision(1) << std::setw(17) << sc
                  << std::setw(8) << gc << std::setprecision(2) << std::setw(7) << sc / gc << std::setprecision(1)
                  << std::setw(10) << freshMs << "   " << c.grepArgs << '\n';
    }

    // What the results view pays after a run: one sort, and the texts of the rows it shows.
    SearchCriteria criteria;
    criteria.pattern = "*.mp3";
    SearchEngine engine(criteria);
    std::vector<SearchRow> rows;
    SearchHooks hooks;
    hooks.hits = [&rows](const std::vector<SearchRow>& batch) { rows.insert(rows.end(), batch.begin(), batch.end()); };
    SearchRun(engine, std::move(hooks)).run(catalog, SearchScope::allVolumes());
    std::vector<double> sortNameMs, sortSizeMs, textMs;
    const LocaleFormat& format = activeLocaleFormat();
    for (int r = 0; r < std::max(1, runs / 3); ++r) {
        std::vector<SearchRow> copy = rows;
        auto start = Clock::now();
        sortRows(copy, SortState{kNameColumn, 1});
        sortNameMs.push_back(msSince(start));
        copy = rows;
        start = Clock::now();
        sortRows(copy, SortState{kSizeColumn, 1});
        sortSizeMs.push_back(msSince(start));
        start = Clock::now();
        std::size_t bytes = 0;
        for (const SearchRow& row : rows) {
            bytes += format.sizeText(row.file ? row.file->SizeKB : 0).size() + format.dateText(row.date()).size();
        }
        textMs.push_back(msSince(start));
        if (bytes == 0) std::cout << "";
    }
    std::cout << "\nafter a run of " << rows.size() << " hits (*.mp3): sort by name " << median(sortNameMs)
              << " ms, by size " << median(sortSizeMs) << " ms; size and date texts of every hit " << median(textMs)
              << " ms (" << median(textMs) * 1000.0 / double(std::max<std::size_t>(1, rows.size())) << " us per row)\n";
    return 0;
}
