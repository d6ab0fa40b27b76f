#include "volumescanner.h"

#include "codepage.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>

namespace quillon {

namespace {

// Big enough that a folder of a few hundred entries is listed in one call, small enough to keep one per
// depth.
constexpr std::size_t kListingBufferSize = 32 * 1024;

// Seconds from 1970-01-01 back to 1899-12-30, the day count's origin.
constexpr std::int64_t kEpochDays = 25569;
constexpr std::int64_t kSecondsPerDay = 86400;

std::int64_t floorDiv(std::int64_t a, std::int64_t b)
{
    const std::int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

// The smallest date a catalog file holds, for an entry whose time stamp cannot be read.
DateTime unknownDate() { return dosToDateTime((1u << 21) | (1u << 16)); }

struct DirectoryFd {
    int fd = -1;
    explicit DirectoryFd(int f) : fd(f) {}
    ~DirectoryFd()
    {
        if (fd >= 0) ::close(fd);
    }
    DirectoryFd(const DirectoryFd&) = delete;
    DirectoryFd& operator=(const DirectoryFd&) = delete;
};

constexpr int kOpenFolderFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;

}  // namespace

// Modification times as the catalog keeps them: local day counts truncated to the 2 seconds of a DOS
// date-time. The local offset is looked up once per quarter hour of UTC (offsets and their changes fall on
// such boundaries), which spares a full time-zone conversion per file.
class VolumeScanner::LocalTimeConverter final {
public:
    DateTime convert(std::int64_t unixSeconds)
    {
        const std::int64_t block = floorDiv(unixSeconds, 900);
        if (block != m_block) {
            const time_t at = time_t(block * 900);
            tm parts{};
            m_offset = ::localtime_r(&at, &parts) ? parts.tm_gmtoff : 0;
            m_block = block;
        }
        std::int64_t local = unixSeconds + m_offset;
        local -= local - floorDiv(local, 2) * 2;
        const std::int64_t days = floorDiv(local, kSecondsPerDay);
        // Day counts before their origin hold the time of day with the sign of the day; not worth a fast
        // path.
        if (days + kEpochDays < 0) return fromUnixTime(unixSeconds);
        const std::int64_t secondOfDay = local - days * kSecondsPerDay;
        return double(days + kEpochDays) + double(secondOfDay) / double(kSecondsPerDay);
    }

private:
    std::int64_t m_block = INT64_MIN;
    std::int64_t m_offset = 0;
};

MediaReader defaultMediaReader() { return ReadMediaInfo; }

TFileData NewFileData(TextStore& store, std::string_view name, std::string_view folderPath, DateTime date,
                      std::int64_t byteSize, const MediaReader& readMedia)
{
    if (!hasMp3Extension(name)) return makeFileData(store, name, byteSize, date);
    std::string path;
    path.reserve(folderPath.size() + 1 + name.size());
    path.append(folderPath).append("/").append(name);
    const MediaText media = readMedia ? readMedia(path) : ReadMediaInfo(path);
    return makeFileData(store, name, byteSize, date, media.Artist, media.Title);
}

std::string progressFolderText(std::string_view folder)
{
    const CodePage& cp = activeCodePage();
    // Characters, not bytes: a multi-byte character is never cut.
    std::size_t chars = 0;
    std::size_t firstThreeEnd = 0;
    for (std::size_t pos = 0; pos < folder.size(); pos += cp.charLength(folder, pos)) {
        ++chars;
        if (chars == 3) firstThreeEnd = pos + cp.charLength(folder, pos);
    }
    if (chars < 35) return std::string(folder);
    const auto slash = folder.rfind('/');
    std::string text(folder.substr(0, firstThreeEnd));
    text += " ...";
    if (slash != std::string_view::npos) text.append(folder.substr(slash));
    return text;
}

VolumeScanner::VolumeScanner(MediaReader readMedia, ScanObserver& observer, const std::atomic<bool>& cancel)
    : m_readMedia(std::move(readMedia)),
      m_observer(observer),
      m_cancel(cancel),
      m_times(std::make_unique<LocalTimeConverter>())
{
}

VolumeScanner::~VolumeScanner() = default;

bool VolumeScanner::ScanFolder(const std::string& path, CatalogNode& node)
{
    TextStore* store = node.store();
    if (!store) return true;  // the root holds no files
    const int fd = ::open(path.empty() ? "/" : path.c_str(), kOpenFolderFlags);
    if (fd < 0) return true;  // a folder that cannot be listed is recorded empty
    DirectoryFd dir(fd);
    std::string walkPath = path;
    return scanDirectory(dir.fd, walkPath, node, *store, 0);
}

bool VolumeScanner::scanDirectory(int dirFd, std::string& path, CatalogNode& node, TextStore& store,
                                  std::size_t depth)
{
    if (m_buffers.size() <= depth) m_buffers.resize(depth + 1);
    if (!m_buffers[depth]) m_buffers[depth] = std::make_unique_for_overwrite<char[]>(kListingBufferSize);
    char* buffer = m_buffers[depth].get();
    LocalTimeConverter& times = *m_times;

    for (;;) {
        const ssize_t got = ::getdents64(dirFd, buffer, kListingBufferSize);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return true;  // the end of the listing, or a listing that fails: what came so far stays
        for (ssize_t offset = 0; offset < got;) {
            const auto* entry = reinterpret_cast<const dirent64*>(buffer + offset);
            offset += entry->d_reclen;
            const std::string_view name(entry->d_name);
            if (name == "." || name == "..") continue;

            m_observer.progress(
                {path.empty() ? std::string_view("/") : std::string_view(path), name, m_folders, m_files});
            if (m_cancel.load(std::memory_order_relaxed)) return false;

            struct stat st {};
            const bool stated = ::fstatat(dirFd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0;
            if (!stated && errno == ENOENT) continue;  // gone since the listing
            const bool isFolder = stated ? S_ISDIR(st.st_mode) : entry->d_type == DT_DIR;
            const DateTime date = stated ? times.convert(std::int64_t(st.st_mtim.tv_sec)) : unknownDate();

            if (isFolder) {
                CatalogNode* child = node.addFolder(std::string(name), NewFolderData(date));
                ++m_folders;
                const std::size_t pathLength = path.size();
                path += '/';
                path.append(name);
                // O_NOFOLLOW: an entry swapped for a link since it was examined is not followed either.
                DirectoryFd sub(::openat(dirFd, entry->d_name, kOpenFolderFlags | O_NOFOLLOW));
                const bool goOn = sub.fd < 0 || scanDirectory(sub.fd, path, *child, store, depth + 1);
                path.resize(pathLength);
                if (!goOn) return false;
                // The buffer of this depth still holds the rest of this listing; deeper ones were used below.
            } else {
                ++m_files;
                node.data().Files.push_back(
                    NewFileData(store, name, path, date, stated ? std::int64_t(st.st_size) : 0, m_readMedia));
            }
        }
    }
}

}  // namespace quillon
