#include "id3tag.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QString>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>
#include <utility>

#include "codepage.h"

namespace quillon {

namespace {

// At most this many bytes of a frame are kept, its encoding byte included: plenty for an artist or a title,
// and it bounds what one frame costs whatever size it claims.
constexpr std::size_t kMaxFrameBytes = 500;
// The first read takes this much of the file: the header and the text frames of nearly every tag, which
// writers put before pictures and padding. A larger tag is read on in windows of the same size, so a picture
// in front of the text frames costs one more read, not the picture.
constexpr std::size_t kWindowBytes = 16 * 1024;
constexpr std::size_t kHeaderBytes = 10;
constexpr std::size_t kID3v1Bytes = 128;
// Extra bytes an ID3v2.4 frame may carry in front of its content: a group id and a data length.
constexpr std::size_t kMaxFramePrefix = 5;

unsigned char byteAt(std::string_view s, std::size_t i)
{
    return static_cast<unsigned char>(s[i]);
}

std::uint32_t bigEndian32(const unsigned char* p)
{
    return (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) | (std::uint32_t(p[2]) << 8) | p[3];
}

bool isSynchsafe(const unsigned char* p)
{
    return ((p[0] | p[1] | p[2] | p[3]) & 0x80) == 0;
}

std::uint32_t synchsafe32(const unsigned char* p)
{
    return (std::uint32_t(p[0]) << 21) | (std::uint32_t(p[1]) << 14) | (std::uint32_t(p[2]) << 7) | p[3];
}

}  // namespace

// The bytes of a file, from memory or from an open descriptor. A descriptor is read through one window of
// the caller's buffer, refilled only when a request falls outside it.
class ByteSource final {
public:
    explicit ByteSource(std::string_view bytes) : m_size(std::int64_t(bytes.size())), m_window(bytes) {}
    ByteSource(int fd, std::int64_t size, char* buffer, std::size_t bufferSize)
        : m_fd(fd), m_size(size), m_buffer(buffer), m_bufferSize(bufferSize)
    {
    }

    std::int64_t size() const { return m_size; }

    // The bytes from offset on: at least min(want, bytes left in the file) of them unless the file cannot be
    // read. The view lasts until the next call. want must not exceed the buffer.
    std::string_view bytesAt(std::int64_t offset, std::size_t want);

private:
    int m_fd = -1;
    std::int64_t m_size = 0;
    char* m_buffer = nullptr;
    std::size_t m_bufferSize = 0;
    std::string_view m_window;
    std::int64_t m_windowStart = 0;
};

std::string_view ByteSource::bytesAt(std::int64_t offset, std::size_t want)
{
    if (offset < 0 || offset >= m_size) return {};
    const auto left = std::uint64_t(m_size - offset);
    want = std::size_t(std::min<std::uint64_t>(want, left));
    if (offset >= m_windowStart && std::uint64_t(offset - m_windowStart) <= m_window.size()) {
        const std::string_view view = m_window.substr(std::size_t(offset - m_windowStart));
        if (view.size() >= want) return view;
    }
    if (m_fd < 0) return {};
    const auto length = std::size_t(std::min<std::uint64_t>(m_bufferSize, left));
    std::size_t got = 0;
    while (got < length) {
        const ssize_t n = ::pread(m_fd, m_buffer + got, length - got, off_t(offset + std::int64_t(got)));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;  // an error, or the file shrank since it was measured
        got += std::size_t(n);
    }
    m_window = std::string_view(m_buffer, got);
    m_windowStart = offset;
    return m_window;
}

namespace {

// An open regular file. Anything else (a folder, a pipe, a device) counts as unreadable: reading a pipe
// named like an MP3 would wait for a writer.
class OpenFile final {
public:
    explicit OpenFile(const std::string& path)
    {
        m_fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
        if (m_fd < 0) return;
        struct stat st {};
        if (::fstat(m_fd, &st) != 0 || !S_ISREG(st.st_mode)) {
            ::close(m_fd);
            m_fd = -1;
            return;
        }
        m_size = std::int64_t(st.st_size);
    }
    ~OpenFile()
    {
        if (m_fd >= 0) ::close(m_fd);
    }
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;

    bool isOpen() const { return m_fd >= 0; }
    int fd() const { return m_fd; }
    std::int64_t size() const { return m_size; }

private:
    int m_fd = -1;
    std::int64_t m_size = 0;
};

// The tag's bytes between two file offsets. In ID3v2.2 and 2.3 tags written with unsynchronisation every
// 0xFF 0x00 pair stands for 0xFF and frame sizes count the bytes after that is undone, so the stream undoes
// it as it goes; consumed() counts the bytes handed out.
class TagStream final {
public:
    TagStream(ByteSource& source, std::int64_t begin, std::int64_t end, bool unsynchronised)
        : m_source(source), m_pos(begin), m_end(end), m_unsynchronised(unsynchronised)
    {
    }

    std::size_t read(char* out, std::size_t n) { return std::size_t(transfer(out, n)); }
    void skip(std::uint64_t n)
    {
        if (m_unsynchronised) {
            transfer(nullptr, n);
            return;
        }
        const std::uint64_t step =
            std::min<std::uint64_t>(n, std::uint64_t(std::max<std::int64_t>(0, m_end - m_pos)));
        m_pos += std::int64_t(step);
        m_consumed += step;
    }
    bool atEnd() const { return m_pos >= m_end; }
    std::uint64_t consumed() const { return m_consumed; }

private:
    std::uint64_t transfer(char* out, std::uint64_t n);

    ByteSource& m_source;
    std::int64_t m_pos;
    std::int64_t m_end;
    bool m_unsynchronised;
    bool m_afterFF = false;
    std::uint64_t m_consumed = 0;
};

std::uint64_t TagStream::transfer(char* out, std::uint64_t n)
{
    std::uint64_t done = 0;
    while (done < n && m_pos < m_end) {
        const auto want = std::size_t(std::min<std::uint64_t>(n - done, kWindowBytes));
        std::string_view view = m_source.bytesAt(m_pos, want);
        view =
            view.substr(0, std::size_t(std::min<std::uint64_t>(view.size(), std::uint64_t(m_end - m_pos))));
        if (view.empty()) {  // unreadable: the tag ends here
            m_pos = m_end;
            break;
        }
        if (!m_unsynchronised) {
            const auto k = std::size_t(std::min<std::uint64_t>(view.size(), n - done));
            if (out) std::memcpy(out + done, view.data(), k);
            done += k;
            m_pos += std::int64_t(k);
            continue;
        }
        std::size_t i = 0;
        for (; i < view.size() && done < n; ++i) {
            const unsigned char c = byteAt(view, i);
            if (m_afterFF && c == 0) {
                m_afterFF = false;
                continue;
            }
            m_afterFF = c == 0xFF;
            if (out) out[done] = char(c);
            ++done;
        }
        m_pos += std::int64_t(i);
    }
    m_consumed += done;
    return done;
}

// Undoes unsynchronisation in place (0xFF 0x00 becomes 0xFF); returns the new length.
std::size_t undoUnsynchronisation(char* p, std::size_t n)
{
    std::size_t out = 0;
    bool afterFF = false;
    for (std::size_t i = 0; i < n; ++i) {
        const auto c = static_cast<unsigned char>(p[i]);
        if (afterFF && c == 0) {
            afterFF = false;
            continue;
        }
        afterFF = c == 0xFF;
        p[out++] = p[i];
    }
    return out;
}

constexpr int kSlotCount = 16;
// Frame ids by slot: ID3v2.3 and 2.4 ids, then ID3v2.2 ids. The slot order is what the fields below use.
constexpr std::array<std::string_view, kSlotCount> kFrameIds = {
    "TIT2", "TPE1", "TALB", "TRCK", "TYER", "TCON", "COMM", "TCOM",
    "TENC", "TCOP", "TLAN", "WXXX", "TDRC", "TOPE", "TIT1", "TOAL"};
constexpr std::array<std::string_view, kSlotCount> kFrameIdsV22 = {"TT2", "TP1", "TAL", "TRK", "TYE", "TCO",
                                                                   "COM", "TCM", "TEN", "TCR", "TLA", "WXX",
                                                                   "TOR", "TOA", "TT1", "TOT"};
enum Slot {
    SlotTitle,
    SlotArtist,
    SlotAlbum,
    SlotTrack,
    SlotYear,
    SlotGenre,
    SlotComment,
    SlotComposer,
    SlotEncoder,
    SlotRights,
    SlotLanguage,
    SlotLink,
    SlotYear2,
    SlotArtist2,
    SlotTitle2,
    SlotAlbum2
};

int slotOf(std::string_view id, bool version22)
{
    const auto& ids = version22 ? kFrameIdsV22 : kFrameIds;
    for (int i = 0; i < kSlotCount; ++i)
        if (ids[std::size_t(i)] == id) return i;
    return -1;
}

// The first bytes of the last frame seen for each slot, its encoding byte first. Kept in place rather than
// in strings: most slots stay empty, and a read allocates only for the texts it returns.
class FrameSlots final {
public:
    void set(int slot, std::string_view content)
    {
        // Encoding bytes above 3 are not defined; such a frame cannot be read as text.
        if (!content.empty() && byteAt(content, 0) > 3) return;
        Entry& e = m_entries[std::size_t(slot)];
        e.length = std::min(content.size(), kMaxFrameBytes);
        std::memcpy(e.bytes.data(), content.data(), e.length);
    }
    std::string_view operator[](int slot) const
    {
        const Entry& e = m_entries[std::size_t(slot)];
        return {e.bytes.data(), e.length};
    }

private:
    struct Entry {
        std::size_t length = 0;
        std::array<char, kMaxFrameBytes> bytes;
    };
    std::array<Entry, kSlotCount> m_entries;
};

std::string_view beforeNul(std::string_view s)
{
    return s.substr(0, s.find('\0'));
}

// Drops a multi-byte character cut short at the end, as the 500-byte limit may leave one.
std::string_view withoutCutUtf8Character(std::string_view s)
{
    const std::size_t n = s.size();
    std::size_t trailing = 0;
    while (trailing < 3 && trailing < n && (byteAt(s, n - 1 - trailing) & 0xC0) == 0x80) ++trailing;
    if (trailing == n) return s;
    const unsigned char lead = byteAt(s, n - 1 - trailing);
    const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    return length > trailing + 1 ? s.substr(0, n - 1 - trailing) : s;
}

enum class ByteOrder { FromMark, Big };

QString fromUtf16(std::string_view bytes, ByteOrder order)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t n = bytes.size() & ~std::size_t(1);
    bool big = order == ByteOrder::Big;
    std::size_t i = 0;
    if (order == ByteOrder::FromMark && n >= 2) {
        // Without a mark the text is taken as little-endian, as Windows programs wrote it.
        if (p[0] == 0xFE && p[1] == 0xFF) big = true;
        if ((p[0] == 0xFE && p[1] == 0xFF) || (p[0] == 0xFF && p[1] == 0xFE)) i = 2;
    }
    QString out;
    out.reserve(qsizetype((n - i) / 2));
    for (; i < n; i += 2) {
        const char16_t unit = big ? char16_t((p[i] << 8) | p[i + 1]) : char16_t((p[i + 1] << 8) | p[i]);
        if (unit == 0) break;
        // Some writers repeat the byte-order mark, or put one in front of UTF-16BE text.
        if (unit == 0xFEFF && out.isEmpty()) continue;
        out.append(QChar(unit));
    }
    return out;
}

std::string trimmedControls(std::string s)
{
    auto isControlOrBlank = [](char c) { return static_cast<unsigned char>(c) <= 32; };
    const auto last = std::find_if_not(s.rbegin(), s.rend(), isControlOrBlank);
    s.erase(last.base(), s.end());
    const auto first = std::find_if_not(s.begin(), s.end(), isControlOrBlank);
    s.erase(s.begin(), first);
    return s;
}

// The first string of text in the given encoding, in the active code page and trimmed.
std::string decodeText(unsigned encoding, std::string_view text)
{
    QString unicode;
    switch (encoding) {
    case 0: {
        const std::string_view latin1 = beforeNul(text);
        unicode = QString::fromLatin1(latin1.data(), qsizetype(latin1.size()));
        break;
    }
    case 1: unicode = fromUtf16(text, ByteOrder::FromMark); break;
    case 2: unicode = fromUtf16(text, ByteOrder::Big); break;
    case 3: {
        std::string_view utf8 = beforeNul(text);
        if (utf8.substr(0, 3) == "\xEF\xBB\xBF") utf8.remove_prefix(3);
        utf8 = withoutCutUtf8Character(utf8);
        unicode = QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
        break;
    }
    default: return {};
    }
    if (unicode.isEmpty()) return {};
    return trimmedControls(activeCodePage().fromUnicode(unicode));
}

std::string FirstNonEmpty(std::string_view a, std::string_view b)
{
    std::string text = DecodeFrameText(a);
    return text.empty() ? DecodeFrameText(b) : text;
}

std::uint8_t ExtractTrack(std::string_view s)
{
    std::string text = DecodeFrameText(s);
    const std::size_t slash = text.find('/');
    if (slash != std::string::npos) text.resize(slash);
    // A whole decimal number in the signed 32-bit range, else 0; "07" counts, "7 " and "A1" do not.
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (i == text.size()) return 0;
    std::int64_t value = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return 0;
        value = value * 10 + (text[i] - '0');
        if (value > std::int64_t(std::numeric_limits<std::int32_t>::max()) + 1) return 0;
    }
    if (negative) value = -value;
    if (value > std::numeric_limits<std::int32_t>::max()) return 0;
    return std::uint8_t(std::uint64_t(value) & 0xFF);
}

std::string ExtractYear(std::string_view a, std::string_view b)
{
    std::string year = DecodeFrameText(a);
    if (!year.empty()) return year;
    year = DecodeFrameText(b);  // a recording time such as 2004-05-01T12:00
    if (year.size() > 4) year.resize(4);
    return year;
}

std::string ExtractGenre(std::string_view s)
{
    std::string genre = DecodeFrameText(s);
    const std::size_t close = genre.rfind(')');
    if (close != std::string::npos) genre.erase(0, close + 1);  // "(17)Rock" gives "Rock"
    return genre;
}

// The text after the content description of a COMM frame (prefix: encoding byte and language) or a WXXX
// frame (prefix: encoding byte). A URL is always ISO-8859-1, whatever the description's encoding.
std::string ExtractDescribedText(std::string_view s, std::size_t prefixLength, bool latin1Text)
{
    if (s.size() <= prefixLength) return {};
    const unsigned encoding = byteAt(s, 0);
    const std::string_view rest = s.substr(prefixLength);
    std::size_t textStart = 0;  // no terminated description: all of it is the text
    if (encoding == 1 || encoding == 2) {
        for (std::size_t i = 0; i + 1 < rest.size(); i += 2) {
            if (rest[i] == 0 && rest[i + 1] == 0) {
                textStart = i + 2;
                break;
            }
        }
    } else {
        const std::size_t nul = rest.find('\0');
        if (nul != std::string_view::npos) textStart = nul + 1;
    }
    return decodeText(latin1Text ? 0 : encoding, rest.substr(textStart));
}

// ID3v1 marks no encoding; writers used the system's code page. A single-byte code page takes the bytes as
// its own characters, as catalogs made on Windows did; otherwise they are read as ISO-8859-1, the character
// set the format names.
std::string id3v1Text(std::string_view field)
{
    std::string raw = CleanID3v1Text(field);
    const CodePage& codePage = activeCodePage();
    if (raw.empty() || dynamic_cast<const TableCodePage*>(&codePage) != nullptr) return raw;
    return codePage.fromUnicode(QString::fromLatin1(raw.data(), qsizetype(raw.size())));
}

void readID3v1(ByteSource& source, TID3v1Tag& tag)
{
    tag = TID3v1Tag{};
    if (source.size() < std::int64_t(kID3v1Bytes)) return;
    const std::string_view v = source.bytesAt(source.size() - std::int64_t(kID3v1Bytes), kID3v1Bytes);
    if (v.size() < kID3v1Bytes) return;
    auto copy = [&v](auto& field, std::size_t offset) {
        std::memcpy(field.data(), v.data() + offset, field.size());
    };
    copy(tag.Header, 0);
    copy(tag.Title, 3);
    copy(tag.Artist, 33);
    copy(tag.Album, 63);
    copy(tag.Year, 93);
    copy(tag.Comment, 97);
    tag.Genre = byteAt(v, 127);
    tag.Exists = v.substr(0, 3) == "TAG";
}

// The file name of a path less its last 4 characters: "Song" for ".../Song.mp3".
std::string NameWithoutExtension(std::string_view path)
{
    const std::size_t slash = path.rfind('/');
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const CodePage& codePage = activeCodePage();
    std::size_t characters = 0;
    for (std::size_t i = 0; i < name.size(); i += codePage.charLength(name, i)) ++characters;
    if (characters <= 4) return {};
    std::size_t end = 0;
    for (std::size_t k = 0; k < characters - 4; ++k) end += codePage.charLength(name, end);
    return std::string(name.substr(0, end));
}

MediaText mediaInfoFrom(ByteSource& source, std::string_view path)
{
    static const std::string kUnknownArtist = "Unknown Artist";
    static const std::string kUntitled = "Untitled";
    static const std::string kSeparator = " - ";

    MediaText info;
    TID3v2 tag;
    tag.ReadFromSource(source);
    // A found ID3v2 header decides, even when its tag gives nothing: the trailer is then not consulted.
    if (tag.Exists) {
        info.Artist = tag.Artist.empty() ? kUnknownArtist : std::move(tag.Artist);
        info.Title = kSeparator + (tag.Title.empty() ? kUntitled : tag.Title);
        return info;
    }
    TID3v1Tag trailer;
    readID3v1(source, trailer);
    if (trailer.Exists) {
        info.Artist = id3v1Text({trailer.Artist.data(), trailer.Artist.size()});
        if (info.Artist.empty()) info.Artist = kUnknownArtist;
        const std::string title = id3v1Text({trailer.Title.data(), trailer.Title.size()});
        info.Title = kSeparator + (title.empty() ? kUntitled : title);
        return info;
    }
    info.Artist = NameWithoutExtension(path);
    return info;
}

void readFrames(ByteSource& source, std::uint8_t version, std::uint8_t flags, std::int64_t tagEnd,
                FrameSlots& frames)
{
    const bool version22 = version == 2;
    // Compression of a whole 2.2 tag was never defined, so such a tag cannot be read.
    if (version22 && (flags & 0x40)) return;
    // From 2.4 on, unsynchronisation is per frame; the header flag then says that every frame has it.
    const bool tagUnsynchronised = (flags & 0x80) != 0;
    TagStream stream(source, std::int64_t(kHeaderBytes), tagEnd, tagUnsynchronised && version < 4);

    if (!version22 && (flags & 0x40)) {
        unsigned char ext[4];
        if (stream.read(reinterpret_cast<char*>(ext), 4) != 4) return;
        if (version == 3) {
            stream.skip(bigEndian32(ext));  // the size leaves out its own 4 bytes
        } else {
            if (!isSynchsafe(ext) || synchsafe32(ext) < 6) return;
            stream.skip(synchsafe32(ext) - 4);
        }
    }

    const std::size_t headerSize = version22 ? 6 : 10;
    while (!stream.atEnd()) {
        unsigned char header[10];
        if (stream.read(reinterpret_cast<char*>(header), headerSize) != headerSize) break;
        // Padding, or bytes that are no frame.
        if (header[0] < 'A' || header[0] > 'Z') break;

        std::uint64_t size = 0;
        std::size_t prefix = 0;
        bool unreadable = false;
        bool frameUnsynchronised = false;
        if (version22) {
            size = (std::uint32_t(header[3]) << 16) | (std::uint32_t(header[4]) << 8) | header[5];
        } else if (version == 3) {
            size = bigEndian32(header + 4);
            const unsigned char format = header[9];
            unreadable = (format & 0xC0) != 0;  // compressed or encrypted
            if (format & 0x20) prefix += 1;     // group id
        } else {
            // Some writers stored plain sizes in 2.4 tags; a size byte with its high bit set cannot be
            // synchsafe, so such a size is taken as plain.
            size = isSynchsafe(header + 4) ? synchsafe32(header + 4) : bigEndian32(header + 4);
            const unsigned char format = header[9];
            unreadable = (format & 0x0C) != 0;  // compressed or encrypted
            if (format & 0x40) prefix += 1;     // group id
            if (format & 0x01) prefix += 4;     // data length
            frameUnsynchronised = tagUnsynchronised || (format & 0x02) != 0;
        }

        const std::uint64_t start = stream.consumed();
        const int slot = slotOf({reinterpret_cast<const char*>(header), version22 ? 3u : 4u}, version22);
        if (slot >= 0 && !unreadable) {
            // Unsynchronisation at most doubles the bytes stored for the bytes kept.
            char raw[2 * (kMaxFrameBytes + kMaxFramePrefix)];
            const std::size_t want = frameUnsynchronised ? sizeof raw : kMaxFrameBytes + prefix;
            std::size_t got = stream.read(raw, std::size_t(std::min<std::uint64_t>(size, want)));
            if (frameUnsynchronised) got = undoUnsynchronisation(raw, got);
            const std::size_t skipped = std::min(got, prefix);
            frames.set(slot, {raw + skipped, got - skipped});
        }
        const std::uint64_t used = stream.consumed() - start;
        if (size > used) stream.skip(size - used);
    }
}

}  // namespace

std::string CleanID3v1Text(std::string_view field)
{
    std::string text;
    text.reserve(field.size());
    for (const char ch : field) {
        const auto c = static_cast<unsigned char>(ch);
        if (!((c >= 32 && c <= 126) || c >= 192)) break;
        text.push_back(ch);
    }
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    text.erase(text.find_last_not_of(' ') + 1);
    text.erase(0, first);
    return text;
}

std::string DecodeFrameText(std::string_view content)
{
    if (content.empty()) return {};
    return decodeText(byteAt(content, 0), content.substr(1));
}

void ReadID3v1(const std::string& path, TID3v1Tag& tag)
{
    tag = TID3v1Tag{};
    const OpenFile file(path);
    if (!file.isOpen()) return;
    std::array<char, kID3v1Bytes> buffer;
    ByteSource source(file.fd(), file.size(), buffer.data(), buffer.size());
    readID3v1(source, tag);
}

void ReadID3v1FromBytes(std::string_view fileBytes, TID3v1Tag& tag)
{
    ByteSource source(fileBytes);
    readID3v1(source, tag);
}

void TID3v2::ResetData()
{
    *this = TID3v2();
}

bool TID3v2::ReadFromFile(const std::string& path)
{
    ResetData();
    const OpenFile file(path);
    if (!file.isOpen()) return false;
    std::array<char, kWindowBytes> buffer;
    ByteSource source(file.fd(), file.size(), buffer.data(), buffer.size());
    return ReadFromSource(source);
}

bool TID3v2::ReadFromBytes(std::string_view fileBytes)
{
    ByteSource source(fileBytes);
    return ReadFromSource(source);
}

bool TID3v2::ReadFromSource(ByteSource& source)
{
    ResetData();
    const std::string_view header = source.bytesAt(0, kHeaderBytes);
    if (header.size() < kHeaderBytes) return false;
    if (header.substr(0, 3) != "ID3") return true;
    Exists = true;
    VersionID = byteAt(header, 3);
    const std::uint8_t flags = byteAt(header, 5);
    // The size bytes are taken as they stand: one with its high bit set is not a valid tag, and the size then
    // nearly always runs past the file, so the tag counts as found but empty.
    const std::int64_t bodySize = (std::int64_t(byteAt(header, 6)) << 21) +
                                  (std::int64_t(byteAt(header, 7)) << 14) +
                                  (std::int64_t(byteAt(header, 8)) << 7) + byteAt(header, 9);
    const std::int64_t total = bodySize + std::int64_t(kHeaderBytes) + ((flags & 0x10) ? 10 : 0);
    Size = total > source.size() ? 0 : std::int32_t(total);
    if (VersionID < 2 || VersionID > 4 || Size == 0) return true;

    FrameSlots frames;
    // The frames end where the footer begins.
    readFrames(source, VersionID, flags, std::int64_t(kHeaderBytes) + bodySize, frames);

    Title = FirstNonEmpty(frames[SlotTitle], frames[SlotTitle2]);
    Artist = FirstNonEmpty(frames[SlotArtist], frames[SlotArtist2]);
    Album = FirstNonEmpty(frames[SlotAlbum], frames[SlotAlbum2]);
    Track = ExtractTrack(frames[SlotTrack]);
    Year = ExtractYear(frames[SlotYear], frames[SlotYear2]);
    Genre = ExtractGenre(frames[SlotGenre]);
    Comment = ExtractDescribedText(frames[SlotComment], 4, false);
    Composer = DecodeFrameText(frames[SlotComposer]);
    Encoder = DecodeFrameText(frames[SlotEncoder]);
    Rights = DecodeFrameText(frames[SlotRights]);
    Language = DecodeFrameText(frames[SlotLanguage]);
    Link = ExtractDescribedText(frames[SlotLink], 1, true);
    return true;
}

MediaText ReadMediaInfo(const std::string& path)
{
    const OpenFile file(path);
    if (!file.isOpen()) return {NameWithoutExtension(path), {}};
    std::array<char, kWindowBytes> buffer;
    ByteSource source(file.fd(), file.size(), buffer.data(), buffer.size());
    return mediaInfoFrom(source, path);
}

MediaText ReadMediaInfoFromBytes(std::string_view fileBytes, std::string_view fileName)
{
    ByteSource source(fileBytes);
    return mediaInfoFrom(source, fileName);
}

}  // namespace quillon
