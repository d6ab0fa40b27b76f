#include "searchreport.h"

#include <QDate>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace quillon {

namespace {

std::size_t charCount(std::string_view s, const CodePage& codePage)
{
    std::size_t count = 0;
    for (std::size_t i = 0; i < s.size(); i += codePage.charLength(s, i)) ++count;
    return count;
}

std::string shortDate(DateTime value, const LocaleFormat& format, const CodePage& codePage)
{
    const DateTimeParts p = decodeDateTime(value);
    return codePage.fromUnicode(format.locale().toString(QDate(p.year, p.month, p.day), format.shortDateFormat()));
}

void padRight(std::string& line, std::string_view text, std::size_t width, const CodePage& codePage)
{
    line += text;
    const std::size_t length = charCount(text, codePage);
    if (length < width) line.append(width - length, ' ');
}

void padLeft(std::string& line, std::string_view text, std::size_t width, const CodePage& codePage)
{
    const std::size_t length = charCount(text, codePage);
    if (length < width) line.append(width - length, ' ');
    line += text;
}

}  // namespace

std::vector<std::string> SearchReport::lines(const SearchCriteria& criteria, std::string_view lookIn,
                                             const std::vector<RowTexts>& rows, std::string_view volumesStatus,
                                             std::string_view matchesStatus, const LocaleFormat& format,
                                             const CodePage& codePage)
{
    std::vector<std::string> out;
    out.reserve(rows.size() + 12);
    out.push_back("Criteria: " + criteria.pattern);
    out.push_back("Look In: " + std::string(lookIn));
    if (criteria.mediaInfo) {
        out.emplace_back("MediaInfo:");
        out.push_back("   Artist: " + criteria.artist);
        out.push_back("    Title: " + criteria.title);
    } else {
        out.emplace_back("MediaInfo: None");
    }
    if (!criteria.dateOn) {
        out.emplace_back("Date: None");
    } else if (criteria.dateKind == DateKind::LastMonths) {
        out.push_back("Date: in the last " + std::to_string(criteria.months) + " months");
    } else if (criteria.dateKind == DateKind::LastDays) {
        out.push_back("Date: in the last " + std::to_string(criteria.days) + " days");
    } else {
        out.push_back("Date: between " + shortDate(criteria.firstDate, format, codePage) + " and " +
                      shortDate(criteria.secondDate, format, codePage));
    }
    // With no item of the size list selected the criterion restricts nothing, and the report says so.
    if (!criteria.sizeOn || criteria.sizeSense == SizeSense::Unselected) {
        out.emplace_back("Size: None");
    } else {
        out.push_back(std::string(criteria.sizeSense == SizeSense::AtLeast ? "Size: at least " : "Size: at most ") +
                      std::to_string(criteria.sizeKB) + " KB");
    }
    out.emplace_back(kRule);

    std::array<std::size_t, kSearchColumnCount> width{};
    for (const RowTexts& row : rows) {
        for (std::size_t c = 0; c < row.size(); ++c) width[c] = std::max(width[c], charCount(row[c], codePage));
    }
    for (std::size_t& w : width) w += 3;
    for (const RowTexts& row : rows) {
        std::string line;
        padRight(line, row[kNameColumn], width[kNameColumn], codePage);
        padRight(line, row[kVolumeColumn], width[kVolumeColumn], codePage);
        padRight(line, row[kPathColumn], width[kPathColumn], codePage);
        padLeft(line, row[kSizeColumn] + "   ", width[kSizeColumn] + 3, codePage);
        padRight(line, row[kModifiedColumn], width[kModifiedColumn] + 3, codePage);
        padRight(line, row[kMediaColumn], width[kMediaColumn], codePage);
        out.push_back(std::move(line));
    }

    out.emplace_back(kRule);
    out.push_back(std::string(volumesStatus) + std::string(kSummaryGap) + std::string(matchesStatus));
    return out;
}

std::string SearchReport::text(const std::vector<std::string>& lines)
{
    std::string text;
    std::size_t size = 0;
    for (const std::string& line : lines) size += line.size() + 2;
    text.reserve(size);
    for (const std::string& line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

Status SearchReport::write(const std::string& path, const std::vector<std::string>& lines)
{
    const auto fail = [&] { return Status::failure(withPath("Cannot create file %s", path)); };
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "wb"), std::fclose);
    if (!file) return fail();
    const std::string content = text(lines);
    if (std::fwrite(content.data(), 1, content.size(), file.get()) != content.size()) return fail();
    if (std::fclose(file.release()) != 0) return fail();
    return Status::success();
}

}  // namespace quillon
