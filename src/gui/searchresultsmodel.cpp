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

void SearchResultsModel::columnAdvances(int column, TextAdvances& advances, std::vector<double>& sums) const {
    const CodePage& codePage = activeCodePage();
    switch (column) {
        case kNameColumn:
            sumRows(sums, [&](const SearchRow& row) { return advances.sum(row.name(), codePage); });
            break;
        case kVolumeColumn:
            sumRows(sums, [&](const SearchRow& row) { return advances.sum(row.volumeName(), codePage); });
            break;
        case kPathColumn:
            sumRows(sums, [&](const SearchRow& row) { return pathTextAdvance(row, advances, codePage); });
            break;
        case kSizeColumn: {
            LocaleFormat::Advances format(activeLocaleFormat(), advances);
            const double subDir = advances.sum(kSubDirText, codePage);
            sumRows(sums, [&](const SearchRow& row) {
                if (row.file) return format.sizeText(row.file->SizeKB);
                if (row.totalKB >= 0) return format.sizeText(row.totalKB);
                return subDir;
            });
            break;
        }
        case kModifiedColumn: {
            LocaleFormat::Advances format(activeLocaleFormat(), advances);
            sumRows(sums, [&](const SearchRow& row) { return format.dateText(row.date()); });
            break;
        }
        case kMediaColumn:
            sumRows(sums, [&](const SearchRow& row) {
                return row.file ? mediaTextAdvance(*row.file, advances, codePage) : 0.0;
            });
            break;
        default:
            RowTableModel::columnAdvances(column, advances, sums);
            break;
    }
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
