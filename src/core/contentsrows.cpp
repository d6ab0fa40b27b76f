#include "contentsrows.h"

#include "codepage.h"
#include "textadvances.h"

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

double mediaTextAdvance(const TFileData& file, TextAdvances& advances, const CodePage& codePage)
{
    if (!file.MediaInfo) return 0;
    double artist = 0;
    double title = 0;
    if (advances.sumPrintableAscii(file.MediaInfo->Artist, artist) &&
        advances.sumPrintableAscii(file.MediaInfo->Title, title))
        return artist + title;
    return advances.sum(codePage.toUnicode(mediaText(file)));
}

}  // namespace quillon
