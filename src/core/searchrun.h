#pragma once

#include "catalog.h"
#include "searchengine.h"
#include "searchrow.h"

#include <atomic>
#include <chrono>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace quillon {

// Where a run looks: below one node, in all volumes, or nowhere.
struct SearchScope {
    enum class Kind : std::uint8_t { Node, AllVolumes, Nothing };
    Kind kind = Kind::Nothing;
    const CatalogNode* node = nullptr;

    // The selected tree node: below it, or all volumes when it is the root.
    static SearchScope selectedNode(const CatalogNode& node);
    static SearchScope allVolumes() { return {Kind::AllVolumes, nullptr}; }
    // The volume at the given position among the root's children; nothing when there is none.
    static SearchScope volume(const Catalog& catalog, int index);
    // An entry of the "Look in:" list: 0 the selected node, 1 "My Catalogs", 2 and on the volumes in tree order;
    // a negative entry (none selected) searches nothing.
    static SearchScope lookInEntry(const Catalog& catalog, int entry, const CatalogNode* selected);
};

// The status bar texts of a run: panel 0 (volumes) and panel 1 (the place being searched). An empty text leaves
// its panel as it is.
struct SearchStatus {
    std::string volumes;
    std::string place;
};

std::string volumesToSearchText(std::size_t count);  // "2 Volumes to search"
std::string catalogsText(std::size_t count);         // "3 Catalogs"
std::string matchesFoundText(std::size_t count);     // "2 Matches found"

struct SearchHooks {
    // Receives the hits found since the previous call, in walk order; the vector is reused afterwards.
    std::function<void(const std::vector<SearchRow>&)> hits;
    // Called when the run starts and then at most once per progressInterval, after the pending hits went out:
    // the GUI repaints, shows the status and processes events (which may change the criteria or stop the run).
    std::function<void(const SearchStatus&)> progress;
    // Checked before every entry, folder and volume; true ends the run there.
    const std::atomic<bool>* stop = nullptr;
    // A repaint every frame or so keeps the window responsive without costing the walk noticeable time.
    std::chrono::milliseconds progressInterval{15};
    std::size_t batchSize = 4096;
};

enum class SearchEnd : std::uint8_t { Completed, Stopped, Failed };

struct SearchOutcome {
    SearchEnd end = SearchEnd::Completed;
    std::size_t hits = 0;
    // Failed: the message for the user (an invalid mask).
    std::string error;
};

// One search run: walks the scope and tests every file and folder with the engine. A folder's files come
// first, then each sub-folder's own row just before the rows from inside it; the node a walk starts at is
// never a hit itself. The engine is read for every entry, so criteria set on it during progress apply at once.
class SearchRun final {
public:
    SearchRun(SearchEngine& engine, SearchHooks hooks);

    SearchOutcome run(const Catalog& catalog, const SearchScope& scope);

private:
    void SearchNode(const CatalogNode& node);
    void searchAllVolumes(const Catalog& catalog);
    bool stopRequested() const { return m_hooks.stop && m_hooks.stop->load(std::memory_order_relaxed); }
    void addHit(const SearchRow& row);
    void tick();
    void flushHits();
    void reportProgress();

    SearchEngine& m_engine;
    SearchHooks m_hooks;
    std::vector<SearchRow> m_batch;
    std::chrono::steady_clock::time_point m_lastProgress;
    const CatalogNode* m_place = nullptr;
    std::size_t m_volumesLeft = 0;
    bool m_countingVolumes = false;
    bool m_stopped = false;
    std::size_t m_hitCount = 0;
    unsigned m_sinceClock = 0;
};

}  // namespace quillon
