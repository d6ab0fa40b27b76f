#pragma once

#include "datetime.h"

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

// Artist and title of an MP3 file. Title carries its " - " prefix, so the text shown is Artist + Title.
struct TMediaInfo {
    std::string_view Artist;
    std::string_view Title;
};

// One cataloged file. Catalogs hold millions of these, so the record is 32 bytes: the name and the media info
// are views into the text store of the file's volume, which lives exactly as long as the volume node.
struct TFileData {
    DateTime Date = 0;
    const char* NameData = nullptr;
    const TMediaInfo* MediaInfo = nullptr;
    std::int32_t SizeKB = 0;
    std::uint16_t NameLength = 0;

    std::string_view Name() const { return {NameData, NameLength}; }
};

struct TFolderData {
    DateTime Date = 0;
    std::vector<TFileData> Files;
};

// True when the name's extension (from the last dot on) is ".mp3" in any letter case: such files carry media
// info in memory and in catalog files.
bool hasMp3Extension(std::string_view name);

// KB as catalog files hold them: the byte size divided by 1024, rounded up, at most 2^31 - 1.
std::int32_t sizeToKB(std::int64_t bytes);

// Owns the bytes that the file records and media infos of one volume refer to.
class TextStore final {
public:
    TextStore() = default;
    TextStore(const TextStore&) = delete;
    TextStore& operator=(const TextStore&) = delete;

    // Copies the text in; the view stays valid as long as the store.
    std::string_view add(std::string_view text);
    // Keeps a buffer whose bytes records already point into (a whole catalog file read at once).
    void adopt(std::unique_ptr<char[]> buffer);
    // Views must point into this store (or be static).
    const TMediaInfo* addMedia(std::string_view artist, std::string_view title);

private:
    std::vector<std::unique_ptr<char[]>> m_blocks;
    std::size_t m_blockUsed = 0;
    std::size_t m_blockSize = 0;
    std::deque<TMediaInfo> m_media;
};

TFolderData NewFolderData(DateTime date);
// A file record whose texts are copied into the store. media is used only for ".mp3" names.
TFileData makeFileData(TextStore& store, std::string_view name, std::int64_t byteSize, DateTime date,
                       std::string_view artist = {}, std::string_view title = {});

// A node of the catalog tree: the root "My Catalogs" (level 0, no data), a volume (level 1) or a folder
// (level 2 and deeper). Files are not nodes; they are the records of their folder's data.
class CatalogNode final {
public:
    CatalogNode(const CatalogNode&) = delete;
    CatalogNode& operator=(const CatalogNode&) = delete;

    const std::string& text() const { return m_text; }
    int level() const { return m_level; }
    CatalogNode* parent() const { return m_parent; }
    // Position among the parent's children.
    int row() const { return m_row; }
    // Never reused while the program runs, so a stale reference can be told from a new node.
    std::uint64_t id() const { return m_id; }

    std::size_t childCount() const { return m_children.size(); }
    CatalogNode* child(std::size_t index) const { return m_children[index].get(); }
    const std::vector<std::unique_ptr<CatalogNode>>& children() const { return m_children; }

    TFolderData& data() { return m_data; }
    const TFolderData& data() const { return m_data; }

    // 0 root, 1 volume, 2 folder; a folder shows 3 when selected.
    int image() const { return m_level == 0 ? 0 : (m_level == 1 ? 1 : 2); }
    int selectedImage() const { return m_level >= 2 ? 3 : image(); }

    // The volume this node belongs to (itself for a volume); null for the root.
    CatalogNode* volume();
    const CatalogNode* volume() const;
    // The store of the node's volume; null for the root.
    TextStore* store() const;

    // Appends a folder below this volume or folder; the caller sorts when all are added.
    CatalogNode* addFolder(std::string name, TFolderData data);

private:
    friend class Catalog;
    CatalogNode(std::string text, int level, CatalogNode* parent, TFolderData data);
    CatalogNode* addChild(std::unique_ptr<CatalogNode> node);
    void sortChildren();
    void renumber(std::size_t from);

    std::string m_text;
    CatalogNode* m_parent = nullptr;
    std::vector<std::unique_ptr<CatalogNode>> m_children;
    TFolderData m_data;
    std::unique_ptr<TextStore> m_store;  // volumes only
    std::uint64_t m_id = 0;
    int m_level = 0;
    int m_row = 0;
};

// The one in-memory model of all catalogs: the root and every volume below it.
class Catalog final {
public:
    static constexpr std::string_view kRootText = "My Catalogs";

    Catalog();
    Catalog(const Catalog&) = delete;
    Catalog& operator=(const Catalog&) = delete;

    CatalogNode& root() { return *m_root; }
    const CatalogNode& root() const { return *m_root; }
    std::size_t volumeCount() const { return m_root->childCount(); }

    // Appends a volume as the last child of the root; the caller sorts when all are added.
    CatalogNode* addVolume(std::string name, TFolderData data, std::unique_ptr<TextStore> store);
    // Removes a volume or folder with everything below it.
    void remove(CatalogNode* node);
    void clear();

    // While on, removed nodes leave the tree but stay in memory until releaseRemoved: search hits refer to
    // the records of volumes that may be deleted or reloaded while the hits are still listed.
    void setKeepRemoved(bool keep) { m_keepRemoved = keep; }
    bool keepsRemoved() const { return m_keepRemoved; }
    void releaseRemoved() { m_removed.clear(); }
    std::size_t removedCount() const { return m_removed.size(); }
    // Gives a volume another name and moves it to its place among the volumes.
    void renameVolume(CatalogNode* volume, std::string name);

    // Sorts the children of every node, at every depth, by the active code page's collation.
    void sort();

    // The node with the given id, or null when it has been removed since.
    CatalogNode* findById(std::uint64_t id);

private:
    std::unique_ptr<CatalogNode> m_root;
    std::vector<std::unique_ptr<CatalogNode>> m_removed;
    bool m_keepRemoved = false;
};

// Sum of the sizes of every file of the node and of all nodes below it, in 64 bits: a 32-bit sum wraps past
// 2 TiB.
std::int64_t FolderSizeKB(const CatalogNode& node);

struct SubtreeCounts {
    std::int64_t folders = 0;
    std::int64_t files = 0;
    std::int64_t kb = 0;
};
SubtreeCounts countSubtree(const CatalogNode& node);

}  // namespace quillon
