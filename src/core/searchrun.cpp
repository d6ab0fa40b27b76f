#include "searchrun.h"

#include "nodepath.h"

namespace quillon {

namespace {

// Reading the clock after every entry would cost more than testing most entries; every 256th entry keeps the
// progress calls within a fraction of a millisecond of their interval.
constexpr unsigned kEntriesPerClockRead = 256;

}  // namespace

SearchScope SearchScope::selectedNode(const CatalogNode& node)
{
    if (node.level() == 0) return allVolumes();
    return {Kind::Node, &node};
}

SearchScope SearchScope::volume(const Catalog& catalog, int index)
{
    if (index < 0 || std::size_t(index) >= catalog.volumeCount()) return {};
    return {Kind::Node, catalog.root().child(std::size_t(index))};
}

SearchScope SearchScope::lookInEntry(const Catalog& catalog, int entry, const CatalogNode* selected)
{
    if (entry == 0) return selected ? selectedNode(*selected) : SearchScope{};
    if (entry == 1) return allVolumes();
    if (entry >= 2) return volume(catalog, entry - 2);
    return {};
}

std::string volumesToSearchText(std::size_t count) { return std::to_string(count) + " Volumes to search"; }
std::string catalogsText(std::size_t count) { return std::to_string(count) + " Catalogs"; }
std::string matchesFoundText(std::size_t count) { return std::to_string(count) + " Matches found"; }

SearchRun::SearchRun(SearchEngine& engine, SearchHooks hooks) : m_engine(engine), m_hooks(std::move(hooks))
{
    if (m_hooks.batchSize == 0) m_hooks.batchSize = 1;
}

SearchOutcome SearchRun::run(const Catalog& catalog, const SearchScope& scope)
{
    m_batch.clear();
    m_batch.reserve(m_hooks.batchSize);
    m_hitCount = 0;
    m_stopped = false;
    m_place = nullptr;
    m_countingVolumes = false;
    SearchOutcome outcome;
    try {
        if (scope.kind == SearchScope::Kind::AllVolumes) {
            searchAllVolumes(catalog);
        } else if (scope.kind == SearchScope::Kind::Node && scope.node) {
            m_place = scope.node;
            reportProgress();
            SearchNode(*scope.node);
        }
    } catch (const EMaskException& e) {
        outcome.end = SearchEnd::Failed;
        outcome.error = e.what();
    }
    flushHits();
    outcome.hits = m_hitCount;
    if (outcome.end != SearchEnd::Failed && m_stopped) outcome.end = SearchEnd::Stopped;
    return outcome;
}

void SearchRun::searchAllVolumes(const Catalog& catalog)
{
    const std::size_t count = catalog.volumeCount();
    m_countingVolumes = true;
    for (std::size_t i = 0; i < count; ++i) {
        if (stopRequested()) {
            m_stopped = true;
            return;
        }
        m_volumesLeft = count - i - 1;
        m_place = catalog.root().child(i);
        // A volume's start shows its count of volumes left, still no more often than the interval allows.
        if (i == 0 || std::chrono::steady_clock::now() - m_lastProgress >= m_hooks.progressInterval) {
            reportProgress();
        }
        SearchNode(*catalog.root().child(i));
        if (m_stopped) return;
    }
}

void SearchRun::SearchNode(const CatalogNode& node)
{
    m_place = &node;
    for (const TFileData& file : node.data().Files) {
        if (stopRequested()) {
            m_stopped = true;
            return;
        }
        if (m_engine.MatchFileEntry(file)) addHit(fileHit(node, file));
        tick();
    }
    for (const auto& child : node.children()) {
        if (stopRequested()) {
            m_stopped = true;
            return;
        }
        if (m_engine.MatchFolderEntry(child->data().Date, child->text())) addHit(folderHit(*child));
        tick();
        SearchNode(*child);
        if (m_stopped) return;
        m_place = &node;
    }
}

void SearchRun::addHit(const SearchRow& row)
{
    m_batch.push_back(row);
    ++m_hitCount;
    if (m_batch.size() >= m_hooks.batchSize) flushHits();
}

void SearchRun::tick()
{
    if (++m_sinceClock < kEntriesPerClockRead) return;
    m_sinceClock = 0;
    if (std::chrono::steady_clock::now() - m_lastProgress >= m_hooks.progressInterval) reportProgress();
}

void SearchRun::flushHits()
{
    if (m_batch.empty()) return;
    if (m_hooks.hits) m_hooks.hits(m_batch);
    m_batch.clear();
}

void SearchRun::reportProgress()
{
    flushHits();
    if (m_hooks.progress) {
        SearchStatus status;
        if (m_countingVolumes) status.volumes = volumesToSearchText(m_volumesLeft);
        if (m_place) status.place = GetNodePath(*m_place);
        m_hooks.progress(status);
    }
    m_lastProgress = std::chrono::steady_clock::now();
}

}  // namespace quillon
