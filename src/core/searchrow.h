#pragma once

#include "catalog.h"
#include "codepage.h"
#include "contentsrows.h"
#include "localeformat.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace quillon {

class TextAdvances;

inline constexpr int kFolderHitImage = 2;

// One hit of a search run. A row refers to the catalog records instead of copying texts, so a run that finds a
// hundred thousand entries builds no text at all; the display texts are made when a row is shown or sorted. The
// row is kept to 24 bytes because a run appends one per hit: the volume and the icon follow from the folder and
// the file. Rows stay valid while the volume they were found in stays loaded: whoever removes or reloads volumes
// drops or refreshes the rows first.
struct SearchRow {
    // File hits: the folder (or volume) holding the file. Folder hits: the folder itself.
    const CatalogNode* folder = nullptr;
    const TFileData* file = nullptr;  // file hits only
    // A total that Space put in place of "[SUB-DIR]"; negative while the row shows "[SUB-DIR]".
    std::int64_t totalKB = -1;

    bool isFolder() const { return file == nullptr; }
    int image() const { return file ? kFileImage : kFolderHitImage; }
    std::string_view name() const { return file ? file->Name() : std::string_view(folder->text()); }
    // The volume that was searched.
    const CatalogNode* volume() const { return folder->volume(); }
    std::string_view volumeName() const { return volume()->text(); }
    DateTime date() const { return file ? file->Date : folder->data().Date; }
    // The folder's tree node for a folder hit; null for a file hit.
    const CatalogNode* node() const { return file ? nullptr : folder; }
    // The folder whose inner path the Path column shows: the file's folder, or the folder hit's parent.
    const CatalogNode* pathFolder() const { return file ? folder : folder->parent(); }
};

inline SearchRow fileHit(const CatalogNode& folder, const TFileData& file) { return {&folder, &file, -1}; }
inline SearchRow folderHit(const CatalogNode& folder) { return {&folder, nullptr, -1}; }

enum SearchColumn { kNameColumn, kVolumeColumn, kPathColumn, kSizeColumn, kModifiedColumn, kMediaColumn,
                    kSearchColumnCount };

// The inner path with "\" after every folder name; empty for an entry of the volume's root folder.
std::string pathText(const SearchRow& row);
// The advance sum of the path text as the code page reads it, from the folder names without making the path
// where they are all printable ASCII.
double pathTextAdvance(const SearchRow& row, TextAdvances& advances, const CodePage& codePage);
// The size text, "[SUB-DIR]" for a folder hit (or the size text of its Space total).
QString sizeText(const SearchRow& row, const LocaleFormat& format);
// The six texts of the results view, in column order, as bytes of the code page.
std::array<std::string, kSearchColumnCount> searchRowTexts(const SearchRow& row, const LocaleFormat& format,
                                                            const CodePage& codePage = activeCodePage());

}  // namespace quillon
