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

void ContentsModel::columnAdvances(int column, TextAdvances& advances, std::vector<double>& sums) const {
    const CodePage& codePage = activeCodePage();
    switch (column) {
        case NameColumn:
            sumRows(
                sums, [&](const ContentsRow& row) { return advances.sum(row.name(), codePage); },
                [](const ContentsRow& row) { __builtin_prefetch(row.name().data()); });
            break;
        case SizeColumn: {
            LocaleFormat::Advances format(activeLocaleFormat(), advances);
            const double subDir = advances.sum(kSubDirText, codePage);
            sumRows(sums, [&](const ContentsRow& row) {
                if (row.file) return format.sizeText(row.file->SizeKB);
                if (row.totalKB >= 0) return format.sizeText(row.totalKB);
                return subDir;
            });
            break;
        }
        case ModifiedColumn: {
            LocaleFormat::Advances format(activeLocaleFormat(), advances);
            sumRows(sums, [&](const ContentsRow& row) { return format.dateText(row.date()); });
            break;
        }
        case MediaColumn:
            sumRows(
                sums,
                [&](const ContentsRow& row) {
                    return row.file ? mediaTextAdvance(*row.file, advances, codePage) : 0.0;
                },
                [](const ContentsRow& row) {
                    if (row.file) __builtin_prefetch(row.file->MediaInfo);
                });
            break;
        default:
            RowTableModel::columnAdvances(column, advances, sums);
            break;
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
