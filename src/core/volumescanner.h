#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "catalog.h"
#include "id3tag.h"
#include "scanobserver.h"

namespace quillon {

// Reads the media info of the MP3 file at path (folder path + "/" + name); tests and benchmarks give their own.
using MediaReader = std::function<MediaText(const std::string& path)>;

// ReadMediaInfo: the ID3v2 tag, else the ID3v1 trailer, else the file name.
MediaReader defaultMediaReader();

// A file record: the name, the size in KB and the date; for a ".mp3" name (any letter case) the media info
// that the reader gives for folderPath + "/" + name.
TFileData NewFileData(TextStore& store, std::string_view name, std::string_view folderPath, DateTime date,
                      std::int64_t byteSize, const MediaReader& readMedia);

// Walks a folder tree into catalog nodes. Entries come in the file system's listing order, hidden ones
// included; a symbolic link is recorded as the entry it is (a file record with the link's own size and date)
// and never followed, so links cannot make the walk loop. A folder that cannot be listed is recorded empty.
class VolumeScanner final {
public:
    // observer and cancel must outlive the scanner; cancel is read once per entry.
    VolumeScanner(MediaReader readMedia, ScanObserver& observer, const std::atomic<bool>& cancel);
    ~VolumeScanner();
    VolumeScanner(const VolumeScanner&) = delete;
    VolumeScanner& operator=(const VolumeScanner&) = delete;

    // Records the contents of the folder at path below node, recursively. path has no trailing "/" (the file
    // system's root is the empty path). Returns false when the scan was cancelled; the entries recorded
    // before stay in the tree for the caller to drop.
    bool ScanFolder(const std::string& path, CatalogNode& node);

    int folderCount() const { return m_folders; }
    int fileCount() const { return m_files; }

private:
    class LocalTimeConverter;
    bool scanDirectory(int dirFd, std::string& path, CatalogNode& node, TextStore& store, std::size_t depth);

    MediaReader m_readMedia;
    ScanObserver& m_observer;
    const std::atomic<bool>& m_cancel;
    // One listing buffer per depth, kept for the whole scan: a folder's listing stays in its buffer while its
    // sub-folders are walked, and no folder allocates its own.
    std::vector<std::unique_ptr<char[]>> m_buffers;
    std::unique_ptr<LocalTimeConverter> m_times;
    int m_folders = 0;
    int m_files = 0;
};

}  // namespace quillon
