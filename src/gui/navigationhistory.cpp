#include "navigationhistory.h"

namespace quillon {

void NavigationHistory::record(const QString& name, std::uint64_t node) {
    if (m_slots[kLastSlot]) {
        for (int k = 1; k <= kLastSlot; ++k) m_slots[std::size_t(k)] = m_slots[std::size_t(k + 1)];
    }
    int free = 1;
    while (m_slots[std::size_t(free)]) ++free;
    m_slots[std::size_t(free)] = THistoryEntry{name, node};
    m_pos = free;
}

QStringList NavigationHistory::backNames() const {
    QStringList names;
    for (int k = m_pos - 1; k >= 0 && m_slots[std::size_t(k)]; --k) names << m_slots[std::size_t(k)]->Name;
    return names;
}

QStringList NavigationHistory::forwardNames() const {
    QStringList names;
    for (int k = m_pos + 1; k < kSlots && m_slots[std::size_t(k)]; ++k)
        names << m_slots[std::size_t(k)]->Name;
    return names;
}

int NavigationHistory::count() const {
    int n = 0;
    while (m_slots[std::size_t(n + 1)]) ++n;
    return n;
}

void NavigationHistory::dropStale(const std::function<bool(std::uint64_t node)>& exists) {
    std::array<std::optional<THistoryEntry>, kSlots> kept{};
    int next = 1;
    int pos = 1;
    for (int k = 1; k <= kLastSlot && m_slots[std::size_t(k)]; ++k) {
        const bool live = exists(m_slots[std::size_t(k)]->Node);
        if (live) kept[std::size_t(next++)] = m_slots[std::size_t(k)];
        if (k <= m_pos && next > 1) pos = next - 1;
    }
    m_slots = kept;
    m_pos = pos;
}

}  // namespace quillon
