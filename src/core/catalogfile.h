#pragma once

#include "catalog.h"
#include "status.h"

#include <QSaveFile>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace quillon {

inline constexpr std::string_view kCannotCreateFile = "Cannot create file %s";
inline constexpr std::string_view kCannotOpenFile = "Cannot open file %s";
inline constexpr std::string_view kCannotWriteFile = "Cannot write file %s";
inline constexpr std::string_view kErrorInFolder = "Error in folder: ";

// Writes one catalog file. The records go to a temporary file beside the target, which replaces the target
// only when every record has been written and flushed: a failed write leaves the old file, or none, behind.
class CatalogWriter final {
public:
    CatalogWriter() = default;
    ~CatalogWriter();
    CatalogWriter(const CatalogWriter&) = delete;
    CatalogWriter& operator=(const CatalogWriter&) = delete;

    // Makes the file's folder when it is missing (one level), then starts the file.
    Status CreateCatalogFile(const std::string& path);
    // A "/" is appended to the source path when it does not end with one.
    void WriteVolumeHeader(std::string_view label, std::string_view sourcePath, DateTime catalogedAt);
    void WriteFolderRecord(std::string_view name, std::uint8_t depth, DateTime date);
    void WriteFileRecord(const TFileData& file);
    // Every record below the node, in pre-order: its files, then each child's record and contents.
    void WriteVolumeTree(const CatalogNode& node);
    // Puts the file in place; "Cannot write file %s" when anything failed, and then nothing is left behind.
    Status CloseCatalogFile();
    // Drops what was written; the target stays as it was.
    void discard();

private:
    void putText(std::string_view text);
    void putU16(std::uint16_t v);
    void putU32(std::uint32_t v);
    void flushBuffer();

    std::unique_ptr<QSaveFile> m_file;
    std::string m_path;
    std::string m_buffer;
    bool m_failed = false;
};

// Writes a whole volume: header and every record below the volume node.
Status writeVolumeFile(const std::string& path, const CatalogNode& volume, std::string_view label,
                       std::string_view sourcePath);

// What reading reports about damaged records ("Error in folder: ..."); reading goes on after each.
using RecordErrorHandler = std::function<void(const std::string& message)>;

struct ReadOutcome {
    Status status;                  // "Cannot open file %s" when the file cannot be read
    CatalogNode* volume = nullptr;  // null also when the header's date is not valid: no volume for the file
};

// Reads a whole catalog file into a new volume of the catalog, appended unsorted under the root.
ReadOutcome readCatalogFile(const std::string& path, std::string volumeName, Catalog& catalog,
                            const RecordErrorHandler& onRecordError = {});

// The same from bytes in memory (tests, fuzzing); the buffer becomes the volume's text store.
CatalogNode* readCatalogBytes(std::unique_ptr<char[]> bytes, std::size_t size, std::string volumeName,
                              Catalog& catalog, const RecordErrorHandler& onRecordError = {});

// The source path and the label of a catalog file joined, as the already-cataloged check compares them.
// A text that cannot be read is "Error".
std::string ReadHeaderStrings(const std::string& path);

// The whole file in one read; false when it cannot be opened or read.
bool readWholeFile(const std::string& path, std::unique_ptr<char[]>& bytes, std::size_t& size);

}  // namespace quillon
