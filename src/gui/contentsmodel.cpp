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

void ContentsModel::columnAdvances(TextAdvances& advances, std::vector<std::vector<double>>& sums) const {
    const CodePage& codePage = activeCodePage();
    LocaleFormat::Advances format(activeLocaleFormat(), advances);
    const double subDir = advances.sum(kSubDirText, codePage);
    sumColumns(
        sums,
        [](const ContentsRow& row) {
            __builtin_prefetch(row.name().data());
            if (row.file) __builtin_prefetch(row.file->MediaInfo);
        },
        [&](const ContentsRow& row) { return advances.sum(row.name(), codePage); },
        [&](const ContentsRow& row) { return sizeTextAdvance(row, format, subDir); },
        [&](const ContentsRow& row) { return format.dateText(row.date()); },
        [&](const ContentsRow& row) { return row.file ? mediaTextAdvance(*row.file, advances, codePage) : 0.0; });
    static_assert(NameColumn == 0 && SizeColumn == 1 && ModifiedColumn == 2 && MediaColumn == 3 &&
                  ColumnCount == 4);
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
