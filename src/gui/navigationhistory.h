#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>

namespace quillon {

// One visit: the node's text when it was visited (menus keep showing it after a rename) and the node's id,
// which is never reused, so an entry of a removed node can be told from any node that exists later.
struct THistoryEntry {
    QString Name;
    std::uint64_t Node = 0;
};

// The visits behind the Back and Forward buttons. Slots 0 and 12 stay empty and end the walks in both
// directions; entries fill slots 1 upward without gaps, so at most 11 visits are held.
class NavigationHistory final {
public:
    static constexpr int kSlots = 13;
    static constexpr int kLastSlot = kSlots - 2;

    // Puts the visit at the end of the list (not after the current position), dropping the oldest visit
    // when the list is full, and makes it current.
    void record(const QString& name, std::uint64_t node);

    int pos() const { return m_pos; }
    void setPos(int pos) { m_pos = pos; }
    const std::optional<THistoryEntry>& slot(int index) const { return m_slots[std::size_t(index)]; }
    // The names behind and ahead of the current position, nearest first: the items of the two menus.
    QStringList backNames() const;
    QStringList forwardNames() const;
    int count() const;

    // Drops the entries whose node no longer exists, closing the gaps; the current position stays on its
    // entry, or on the nearest older one when its own entry went.
    void dropStale(const std::function<bool(std::uint64_t node)>& exists);

private:
    std::array<std::optional<THistoryEntry>, kSlots> m_slots{};
    int m_pos = 1;
};

}  // namespace quillon
