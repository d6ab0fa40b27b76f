#include "catalogfile.h"

#include <QDir>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>

namespace quillon {

namespace {

constexpr std::uint8_t kFolderTag = 2;
constexpr std::uint8_t kFileTag = 4;
constexpr std::size_t kWriteBlock = 256 * 1024;

QString toQtPath(const std::string& path) { return QString::fromLocal8Bit(path.data(), qsizetype(path.size())); }

}  // namespace

CatalogWriter::~CatalogWriter() { discard(); }

Status CatalogWriter::CreateCatalogFile(const std::string& path)
{
    discard();
    m_path = path;
    m_failed = false;
    m_buffer.clear();
    const QString qpath = toQtPath(path);
    const QFileInfo info(qpath);
    const QDir folder = info.dir();
    if (!folder.exists()) QDir().mkdir(folder.path());  // one level only: a missing parent is not made
    m_file = std::make_unique<QSaveFile>(qpath);
    if (!m_file->open(QIODevice::WriteOnly)) {
        m_file.reset();
        return Status::failure(withPath(kCannotCreateFile, path));
    }
    m_buffer.reserve(kWriteBlock + 1024);
    return Status::success();
}

void CatalogWriter::putU16(std::uint16_t v)
{
    m_buffer += char(v & 0xFF);
    m_buffer += char(v >> 8);
}

void CatalogWriter::putU32(std::uint32_t v)
{
    for (int i = 0; i < 4; ++i) m_buffer += char((v >> (8 * i)) & 0xFF);
}

void CatalogWriter::putText(std::string_view text)
{
    // A length field holds at most 65535 bytes; longer texts (never produced by the scanner) are cut.
    text = text.substr(0, std::numeric_limits<std::uint16_t>::max());
    putU16(std::uint16_t(text.size()));
    m_buffer.append(text);
    if (m_buffer.size() >= kWriteBlock) flushBuffer();
}

void CatalogWriter::flushBuffer()
{
    if (!m_file || m_buffer.empty()) return;
    if (!m_failed) {
        const qint64 written = m_file->write(m_buffer.data(), qint64(m_buffer.size()));
        if (written != qint64(m_buffer.size())) m_failed = true;
    }
    m_buffer.clear();
}

void CatalogWriter::WriteVolumeHeader(std::string_view label, std::string_view sourcePath, DateTime catalogedAt)
{
    std::string source(sourcePath);
    if (source.empty() || source.back() != '/') source += '/';
    putText(source);
    putText(label);
    putU32(dateTimeToDos(catalogedAt));
}

void CatalogWriter::WriteFolderRecord(std::string_view name, std::uint8_t depth, DateTime date)
{
    m_buffer += char(kFolderTag);
    m_buffer += char(depth);
    putText(name);
    putU32(dateTimeToDos(date));
}

void CatalogWriter::WriteFileRecord(const TFileData& file)
{
    m_buffer += char(kFileTag);
    putText(file.Name());
    putU32(std::uint32_t(file.SizeKB));
    putU32(dateTimeToDos(file.Date));
    // The name alone decides whether media texts follow, on writing as on reading.
    if (hasMp3Extension(file.Name())) {
        putText(file.MediaInfo ? file.MediaInfo->Artist : std::string_view());
        putText(file.MediaInfo ? file.MediaInfo->Title : std::string_view());
    }
}

void CatalogWriter::WriteVolumeTree(const CatalogNode& node)
{
    // Depths above 255 do not fit the record's byte; such folders keep the deepest depth it holds.
    const auto depth = std::uint8_t(std::min(node.level() + 1, 255));
    for (const TFileData& file : node.data().Files) WriteFileRecord(file);
    for (const auto& child : node.children()) {
        WriteFolderRecord(child->text(), depth, child->data().Date);
        WriteVolumeTree(*child);
    }
}

Status CatalogWriter::CloseCatalogFile()
{
    if (!m_file) return Status::failure(withPath(kCannotWriteFile, m_path));
    flushBuffer();
    // QSaveFile keeps small writes in its own buffer; a failure to flush that buffer does not make commit()
    // fail, so it is checked here.
    const bool ok = !m_failed && m_file->flush() && m_file->commit();
    m_file.reset();
    if (!ok) return Status::failure(withPath(kCannotWriteFile, m_path));
    return Status::success();
}

void CatalogWriter::discard()
{
    if (m_file) m_file->cancelWriting();
    m_file.reset();
    m_buffer.clear();
}

Status writeVolumeFile(const std::string& path, const CatalogNode& volume, std::string_view label,
                       std::string_view sourcePath)
{
    CatalogWriter writer;
    if (Status s = writer.CreateCatalogFile(path); !s) return s;
    writer.WriteVolumeHeader(label, sourcePath, volume.data().Date);
    writer.WriteVolumeTree(volume);
    return writer.CloseCatalogFile();
}

bool readWholeFile(const std::string& path, std::unique_ptr<char[]>& bytes, std::size_t& size)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return false;
    }
    std::size_t capacity = std::size_t(st.st_size);
    bytes = std::make_unique_for_overwrite<char[]>(std::max<std::size_t>(capacity, 1));
    size = 0;
    // The size can change under us; read what is there, up to the size seen.
    while (size < capacity) {
        const ssize_t n = ::read(fd, bytes.get() + size, capacity - size);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            ::close(fd);
            return false;
        }
        if (n == 0) break;
        size += std::size_t(n);
    }
    ::close(fd);
    return true;
}

namespace {

// Reads fields of a catalog file held in memory; every read checks the bytes left, so nothing is read past
// the end whatever the bytes are.
class RecordCursor {
public:
    RecordCursor(const char* data, std::size_t size) : m_data(data), m_size(size) {}

    bool atEnd() const { return m_pos >= m_size; }
    std::size_t position() const { return m_pos; }

    bool byte(std::uint8_t& out)
    {
        if (m_pos + 1 > m_size) return fail();
        out = static_cast<std::uint8_t>(m_data[m_pos++]);
        return true;
    }
    bool u16(std::uint16_t& out)
    {
        if (m_size - std::min(m_pos, m_size) < 2) return fail();
        const auto* p = reinterpret_cast<const unsigned char*>(m_data + m_pos);
        out = std::uint16_t(p[0] | (p[1] << 8));
        m_pos += 2;
        return true;
    }
    bool u32(std::uint32_t& out)
    {
        if (m_size - std::min(m_pos, m_size) < 4) return fail();
        const auto* p = reinterpret_cast<const unsigned char*>(m_data + m_pos);
        out = std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) |
              (std::uint32_t(p[3]) << 24);
        m_pos += 4;
        return true;
    }
    bool text(std::string_view& out)
    {
        std::uint16_t length = 0;
        if (!u16(length)) return false;
        if (m_size - m_pos < length) return fail();
        out = std::string_view(m_data + m_pos, length);
        m_pos += length;
        return true;
    }

private:
    bool fail()
    {
        m_pos = m_size;
        return false;
    }

    const char* m_data;
    std::size_t m_size;
    std::size_t m_pos = 0;
};

// Files of one folder are gathered here and moved into the folder's list, sized exactly, once the next folder
// starts: a folder's file records always follow its own record, so each folder is filled once.
class FileListBuilder {
public:
    void flushInto(CatalogNode* node)
    {
        if (!node) return;
        node->data().Files.assign(m_files.begin(), m_files.end());
        m_files.clear();
    }
    void add(const TFileData& file) { m_files.push_back(file); }

private:
    std::vector<TFileData> m_files;
};

}  // namespace

CatalogNode* readCatalogBytes(std::unique_ptr<char[]> bytes, std::size_t size, std::string volumeName,
                              Catalog& catalog, const RecordErrorHandler& onRecordError)
{
    const char* data = bytes.get();
    RecordCursor in(data, size);
    std::string_view sourcePath, label;
    std::uint32_t catalogedAt = 0;
    // A header cut short, or one whose date is not valid, gives no volume.
    if (!in.text(sourcePath) || !in.text(label) || !in.u32(catalogedAt) || !isValidDosDateTime(catalogedAt)) {
        return nullptr;
    }

    auto store = std::make_unique<TextStore>();
    TextStore* texts = store.get();
    texts->adopt(std::move(bytes));
    CatalogNode* volume = catalog.addVolume(std::move(volumeName), NewFolderData(dosToDateTime(catalogedAt)),
                                            std::move(store));
    CatalogNode* current = volume;
    FileListBuilder files;

    while (!in.atEnd()) {
        std::uint8_t tag = 0;
        if (!in.byte(tag)) break;
        if (tag == kFileTag) {
            std::string_view name, artist, title;
            std::uint32_t kb = 0, date = 0;
            if (!in.text(name) || !in.u32(kb) || !in.u32(date)) break;  // cut short: dropped
            const bool mp3 = hasMp3Extension(name);
            if (mp3 && (!in.text(artist) || !in.text(title))) break;
            // A file whose date is not valid is left out; its media texts are passed over with it, so they
            // are never taken for records.
            if (!isValidDosDateTime(date)) continue;
            TFileData file;
            file.NameData = name.data();
            file.NameLength = std::uint16_t(name.size());
            file.SizeKB = std::int32_t(kb);
            file.Date = dosToDateTime(date);
            if (mp3) file.MediaInfo = texts->addMedia(artist, title);
            files.add(file);
        } else if (tag == kFolderTag) {
            std::uint8_t depth = 0;
            std::string_view name;
            std::uint32_t date = 0;
            if (!in.byte(depth) || !in.text(name) || !in.u32(date)) break;
            files.flushInto(current);
            // Never above the volume, whatever depth the record claims.
            while (current->level() > 1 && current->level() > int(depth) - 1) current = current->parent();
            TFolderData folderData;
            std::string folderName(name);
            if (isValidDosDateTime(date)) {
                folderData.Date = dosToDateTime(date);
            } else {
                if (onRecordError) onRecordError(std::string(kErrorInFolder) + folderName);
                folderName = "Error";
                folderData.Date = currentDateTime();
            }
            current = current->addFolder(std::move(folderName), std::move(folderData));
        }
        // Any other tag byte is passed over.
    }
    files.flushInto(current);
    return volume;
}

ReadOutcome readCatalogFile(const std::string& path, std::string volumeName, Catalog& catalog,
                            const RecordErrorHandler& onRecordError)
{
    ReadOutcome outcome;
    std::unique_ptr<char[]> bytes;
    std::size_t size = 0;
    if (!readWholeFile(path, bytes, size)) {
        outcome.status = Status::failure(withPath(kCannotOpenFile, path));
        return outcome;
    }
    outcome.volume = readCatalogBytes(std::move(bytes), size, std::move(volumeName), catalog, onRecordError);
    return outcome;
}

std::string ReadHeaderStrings(const std::string& path)
{
    // The two texts lie within the first 2 + 65535 + 2 + 65535 bytes.
    std::string result;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return "ErrorError";
    std::string head(4 + 2 * 65535, '\0');
    std::size_t got = 0;
    while (got < head.size()) {
        const ssize_t n = ::read(fd, head.data() + got, head.size() - got);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        got += std::size_t(n);
    }
    ::close(fd);
    RecordCursor in(head.data(), got);
    std::string_view text;
    result += in.text(text) ? std::string(text) : std::string("Error");
    result += in.text(text) ? std::string(text) : std::string("Error");
    return result;
}

}  // namespace quillon
