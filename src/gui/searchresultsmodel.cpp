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
