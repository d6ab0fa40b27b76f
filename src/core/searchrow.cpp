#include "searchrow.h"

#include "nodepath.h"
#include "textadvances.h"

namespace quillon {

std::string pathText(const SearchRow& row)
{
    const CatalogNode* folder = row.pathFolder();
    return folder ? innerPath(*folder) : std::string();
}

double pathTextAdvance(const SearchRow& row, TextAdvances& advances, const CodePage& codePage)
{
    // The names of the folders below the volume, each followed by "\", as innerPath() writes them.
    double sum = 0;
    for (const CatalogNode* n = row.pathFolder(); n && n->level() >= 2; n = n->parent()) {
        double name = 0;
        if (!advances.sumPrintableAscii(n->text(), name)) return advances.sum(pathText(row), codePage);
        sum += name + advances.unit(u'\\');
    }
    return sum;
}

QString sizeText(const SearchRow& row, const LocaleFormat& format)
{
    if (row.file) return format.sizeText(row.file->SizeKB);
    if (row.totalKB >= 0) return format.sizeText(row.totalKB);
    return QString::fromLatin1(kSubDirText.data(), qsizetype(kSubDirText.size()));
}

std::array<std::string, kSearchColumnCount> searchRowTexts(const SearchRow& row, const LocaleFormat& format,
                                                            const CodePage& codePage)
{
    return {
        std::string(row.name()),
        std::string(row.volumeName()),
        pathText(row),
        codePage.fromUnicode(sizeText(row, format)),
        codePage.fromUnicode(format.dateText(row.date())),
        row.file ? mediaText(*row.file) : std::string(),
    };
}

}  // namespace quillon
