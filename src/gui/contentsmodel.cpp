#include "contentsmodel.h"

#include "codepage.h"
#include "localeformat.h"

namespace quillon {

QString ContentsModel::text(const ContentsRow& row, int column) const {
    switch (column) {
        case NameColumn:
            return activeCodePage().toUnicode(row.name());
        case SizeColumn:
            if (row.file) return activeLocaleFormat().sizeText(row.file->SizeKB);
            if (row.totalKB >= 0) return activeLocaleFormat().sizeText(row.totalKB);
            return QLatin1StringView(kSubDirText.data(), qsizetype(kSubDirText.size()));
        case ModifiedColumn:
            return activeLocaleFormat().dateText(row.date());
        case MediaColumn:
            return row.file ? activeCodePage().toUnicode(mediaText(*row.file)) : QString();
        default:
            return {};
    }
}

QString ContentsModel::columnTitle(int column) const {
    switch (column) {
        case NameColumn:
            return QStringLiteral("Name");
        case SizeColumn:
            return QStringLiteral("Size");
        case ModifiedColumn:
            return QStringLiteral("Modified");
        case MediaColumn:
            return QStringLiteral("Media Info");
        default:
            return {};
    }
}

}  // namespace quillon
