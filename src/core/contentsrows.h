#pragma once

#include "catalog.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace quillon {

class CodePage;
class TextAdvances;

inline constexpr std::string_view kSubDirText = "[SUB-DIR]";
inline constexpr int kFileImage = 4;

// One row of the contents view: a child node (volume or folder) or a file of the shown node.
struct ContentsRow {
    const CatalogNode* node = nullptr;  // volume and folder rows
    const TFileData* file = nullptr;    // file rows
    int image = kFileImage;
    // A total that Space put in place of "[SUB-DIR]"; negative while the row shows "[SUB-DIR]".
    std::int64_t totalKB = -1;

    std::string_view name() const { return node ? std::string_view(node->text()) : file->Name(); }
    DateTime date() const { return node ? node->data().Date : file->Date; }
};

// The rows the contents view shows for a node, unsorted: a row per child node, then a row per file (none for
// the root). No rows at all while no volume is loaded.
std::vector<ContentsRow> contentsRows(const Catalog& catalog, const CatalogNode& node);

// The media text of a file: artist followed directly by title; empty without media info.
std::string mediaText(const TFileData& file);
// The advance sum of the media text as the code page reads it, straight from the artist and title where both are
// printable ASCII.
double mediaTextAdvance(const TFileData& file, TextAdvances& advances, const CodePage& codePage);

}  // namespace quillon
