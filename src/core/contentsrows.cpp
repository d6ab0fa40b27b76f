#include "contentsrows.h"

namespace quillon {

std::vector<ContentsRow> contentsRows(const Catalog& catalog, const CatalogNode& node)
{
    std::vector<ContentsRow> rows;
    if (catalog.volumeCount() == 0) return rows;
    rows.reserve(node.childCount() + (node.level() > 0 ? node.data().Files.size() : 0));
    for (const auto& child : node.children()) rows.push_back({child.get(), nullptr, child->image()});
    if (node.level() > 0) {
        for (const TFileData& file : node.data().Files) rows.push_back({nullptr, &file, kFileImage});
    }
    return rows;
}

std::string mediaText(const TFileData& file)
{
    if (!file.MediaInfo) return {};
    std::string text(file.MediaInfo->Artist);
    text += file.MediaInfo->Title;
    return text;
}

}  // namespace quillon
