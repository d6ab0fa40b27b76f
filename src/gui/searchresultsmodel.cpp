#include "searchresultsmodel.h"

#include "codepage.h"
#include "localeformat.h"

namespace quillon {

QString SearchResultsModel::text(const SearchRow& row, int column) const {
    switch (column) {
        case kNameColumn:
            return activeCodePage().toUnicode(row.name());
        case kVolumeColumn:
            return activeCodePage().toUnicode(row.volumeName());
        case kPathColumn:
            return activeCodePage().toUnicode(pathText(row));
        case kSizeColumn:
            return sizeText(row, activeLocaleFormat());
        case kModifiedColumn:
            return activeLocaleFormat().dateText(row.date());
        case kMediaColumn:
            return row.file ? activeCodePage().toUnicode(mediaText(*row.file)) : QString();
        default:
            return {};
    }
}

void SearchResultsModel::columnAdvances(TextAdvances& advances, std::vector<std::vector<double>>& sums) const {
    const CodePage& codePage = activeCodePage();
    LocaleFormat::Advances format(activeLocaleFormat(), advances);
    const double subDir = advances.sum(kSubDirText, codePage);
    sumColumns(
        sums, [](const SearchRow& row) { __builtin_prefetch(row.name().data()); },
        [&](const SearchRow& row) { return advances.sum(row.name(), codePage); },
        [&](const SearchRow& row) { return advances.sum(row.volumeName(), codePage); },
        [&](const SearchRow& row) { return pathTextAdvance(row, advances, codePage); },
        [&](const SearchRow& row) { return sizeTextAdvance(row, format, subDir); },
        [&](const SearchRow& row) { return format.dateText(row.date()); },
        [&](const SearchRow& row) { return row.file ? mediaTextAdvance(*row.file, advances, codePage) : 0.0; });
    static_assert(kNameColumn == 0 && kVolumeColumn == 1 && kPathColumn == 2 && kSizeColumn == 3 &&
                  kModifiedColumn == 4 && kMediaColumn == 5 && kSearchColumnCount == 6);
}

QString SearchResultsModel::columnTitle(int column) const {
    switch (column) {
        case kNameColumn:
            return QStringLiteral("Name");
        case kVolumeColumn:
            return QStringLiteral("Volume");
        case kPathColumn:
            return QStringLiteral("Path");
        case kSizeColumn:
            return QStringLiteral("Size");
        case kModifiedColumn:
            return QStringLiteral("Modified");
        case kMediaColumn:
            return QStringLiteral("Media Info");
        default:
            return {};
    }
}

}  // namespace quillon
