#include "catalog.h"

#include "codepage.h"

#include <QCollatorSortKey>

#include <algorithm>
#include <cstring>
#include <limits>

namespace quillon {

namespace {

std::uint64_t nextNodeId()
{
    static std::uint64_t next = 0;
    return ++next;
}

constexpr std::size_t kTextBlockSize = 64 * 1024;

}  // namespace

bool hasMp3Extension(std::string_view name)
{
    const auto dot = name.rfind('.');
    if (dot == std::string_view::npos || name.size() - dot != 4) return false;
    return CodePage::upperAscii(name.substr(dot)) == ".MP3";
}

std::int32_t sizeToKB(std::int64_t bytes)
{
    if (bytes <= 0) return 0;
    const std::int64_t kb = bytes / 1024 + (bytes % 1024 != 0 ? 1 : 0);
    return std::int32_t(std::min<std::int64_t>(kb, std::numeric_limits<std::int32_t>::max()));
}

std::string_view TextStore::add(std::string_view text)
{
    if (text.empty()) return {};
    if (text.size() > m_blockSize - m_blockUsed) {
        const std::size_t size = std::max(kTextBlockSize, text.size());
        // Keep the newest block last so that the free room at its end is used first.
        m_blocks.push_back(std::make_unique_for_overwrite<char[]>(size));
        m_blockSize = size;
        m_blockUsed = 0;
    }
    char* at = m_blocks.back().get() + m_blockUsed;
    std::memcpy(at, text.data(), text.size());
    m_blockUsed += text.size();
    return {at, text.size()};
}

void TextStore::adopt(std::unique_ptr<char[]> buffer)
{
    // Adopted buffers go in front: the last block stays the one being filled.
    m_blocks.insert(m_blocks.begin(), std::move(buffer));
}

const TMediaInfo* TextStore::addMedia(std::string_view artist, std::string_view title)
{
    return &m_media.emplace_back(TMediaInfo{artist, title});
}

TFolderData NewFolderData(DateTime date) { return TFolderData{date, {}}; }

TFileData makeFileData(TextStore& store, std::string_view name, std::int64_t byteSize, DateTime date,
                       std::string_view artist, std::string_view title)
{
    TFileData file;
    name = name.substr(0, std::numeric_limits<std::uint16_t>::max());
    const std::string_view stored = store.add(name);
    file.NameData = stored.data();
    file.NameLength = std::uint16_t(stored.size());
    file.SizeKB = sizeToKB(byteSize);
    file.Date = date;
    if (hasMp3Extension(name)) file.MediaInfo = store.addMedia(store.add(artist), store.add(title));
    return file;
}

CatalogNode::CatalogNode(std::string text, int level, CatalogNode* parent, TFolderData data)
    : m_text(std::move(text)), m_parent(parent), m_data(std::move(data)), m_id(nextNodeId()), m_level(level)
{
}

CatalogNode* CatalogNode::volume()
{
    CatalogNode* node = this;
    while (node && node->m_level > 1) node = node->m_parent;
    return node && node->m_level == 1 ? node : nullptr;
}

const CatalogNode* CatalogNode::volume() const { return const_cast<CatalogNode*>(this)->volume(); }

TextStore* CatalogNode::store() const
{
    const CatalogNode* v = volume();
    return v ? v->m_store.get() : nullptr;
}

CatalogNode* CatalogNode::addFolder(std::string name, TFolderData data)
{
    return addChild(std::unique_ptr<CatalogNode>(new CatalogNode(std::move(name), m_level + 1, this, std::move(data))));
}

CatalogNode* CatalogNode::addChild(std::unique_ptr<CatalogNode> node)
{
    node->m_row = int(m_children.size());
    m_children.push_back(std::move(node));
    return m_children.back().get();
}

void CatalogNode::renumber(std::size_t from)
{
    for (std::size_t i = from; i < m_children.size(); ++i) m_children[i]->m_row = int(i);
}

void CatalogNode::sortChildren()
{
    if (m_children.size() > 1) {
        const CodePage& cp = activeCodePage();
        struct Keyed {
            QCollatorSortKey key;
            std::unique_ptr<CatalogNode> node;
        };
        std::vector<Keyed> keyed;
        keyed.reserve(m_children.size());
        for (auto& child : m_children) keyed.push_back({cp.sortKey(child->m_text), std::move(child)});
        std::stable_sort(keyed.begin(), keyed.end(), [](const Keyed& a, const Keyed& b) {
            const int c = a.key.compare(b.key);
            // Texts that collate alike still get one order, by their bytes.
            return c != 0 ? c < 0 : a.node->m_text < b.node->m_text;
        });
        for (std::size_t i = 0; i < keyed.size(); ++i) m_children[i] = std::move(keyed[i].node);
        renumber(0);
    }
    for (auto& child : m_children) child->sortChildren();
}

Catalog::Catalog() : m_root(new CatalogNode(std::string(kRootText), 0, nullptr, TFolderData{})) {}

CatalogNode* Catalog::addVolume(std::string name, TFolderData data, std::unique_ptr<TextStore> store)
{
    std::unique_ptr<CatalogNode> node(new CatalogNode(std::move(name), 1, m_root.get(), std::move(data)));
    node->m_store = store ? std::move(store) : std::make_unique<TextStore>();
    return m_root->addChild(std::move(node));
}

void Catalog::remove(CatalogNode* node)
{
    if (!node || !node->m_parent) return;
    CatalogNode* parent = node->m_parent;
    const auto row = std::size_t(node->m_row);
    std::unique_ptr<CatalogNode> taken = std::move(parent->m_children[row]);
    parent->m_children.erase(parent->m_children.begin() + std::ptrdiff_t(row));
    parent->renumber(row);
    if (m_keepRemoved) m_removed.push_back(std::move(taken));
}

void Catalog::clear()
{
    if (m_keepRemoved) {
        for (auto& volume : m_root->m_children) m_removed.push_back(std::move(volume));
    }
    m_root->m_children.clear();
}

void Catalog::renameVolume(CatalogNode* volume, std::string name)
{
    if (!volume || volume->m_level != 1) return;
    volume->m_text = std::move(name);
    // Only the volumes are re-sorted: the folders inside keep their order.
    auto& volumes = m_root->m_children;
    const CodePage& cp = activeCodePage();
    std::stable_sort(volumes.begin(), volumes.end(), [&cp](const auto& a, const auto& b) {
        const int c = cp.compare(a->m_text, b->m_text);
        return c != 0 ? c < 0 : a->m_text < b->m_text;
    });
    m_root->renumber(0);
}

void Catalog::sort() { m_root->sortChildren(); }

CatalogNode* Catalog::findById(std::uint64_t id)
{
    std::vector<CatalogNode*> stack{m_root.get()};
    while (!stack.empty()) {
        CatalogNode* node = stack.back();
        stack.pop_back();
        if (node->id() == id) return node;
        for (const auto& child : node->children()) stack.push_back(child.get());
    }
    return nullptr;
}

std::int64_t FolderSizeKB(const CatalogNode& node) { return countSubtree(node).kb; }

SubtreeCounts countSubtree(const CatalogNode& node)
{
    SubtreeCounts counts;
    std::vector<const CatalogNode*> stack{&node};
    while (!stack.empty()) {
        const CatalogNode* n = stack.back();
        stack.pop_back();
        counts.files += std::int64_t(n->data().Files.size());
        for (const TFileData& f : n->data().Files) counts.kb += f.SizeKB;
        for (const auto& child : n->children()) {
            ++counts.folders;
            stack.push_back(child.get());
        }
    }
    if (node.level() == 0) counts.folders -= std::int64_t(node.childCount());  // volumes are not folders
    return counts;
}

}  // namespace quillon
