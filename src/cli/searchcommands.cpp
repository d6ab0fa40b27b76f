// The search commands: a search over the loaded catalogs, and a mask tested against names.
#include "clicontext.h"
#include "codepage.h"
#include "json.h"
#include "listviewcompare.h"
#include "localeformat.h"
#include "masks.h"
#include "nodepath.h"
#include "searchengine.h"
#include "searchreport.h"
#include "searchrun.h"

#include <QDate>
#include <QTime>

#include <charconv>
#include <cmath>
#include <iostream>
#include <optional>

namespace quillon::cli {

namespace {

constexpr const char* kSearchUsage =
    "usage: quillon-cli search [--in SCOPE] [--name PATTERN] [--artist TEXT] [--title TEXT]\n"
    "       [--last-months N | --last-days N | --between FROM TO] [--at-least KB | --at-most KB]\n"
    "       [--sort name|volume|path|size|modified|media] [--desc] [--json] [--report FILE]";

std::optional<std::int64_t> parseInteger(const std::string& text)
{
    std::int64_t value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end || text.empty()) return std::nullopt;
    return value;
}

// "YYYY-MM-DDTHH:MM:SS", or "YYYY-MM-DD" for 00:00:00 of that day.
std::optional<DateTime> parseDateTime(const std::string& text)
{
    DateTimeParts p;
    const auto number = [&](std::size_t at, std::size_t length, int& out) {
        if (at + length > text.size()) return false;
        const auto [ptr, ec] = std::from_chars(text.data() + at, text.data() + at + length, out);
        return ec == std::errc() && ptr == text.data() + at + length;
    };
    if (text.size() != 10 && text.size() != 19) return std::nullopt;
    if (!number(0, 4, p.year) || text[4] != '-' || !number(5, 2, p.month) || text[7] != '-' ||
        !number(8, 2, p.day)) {
        return std::nullopt;
    }
    if (text.size() == 19 && (text[10] != 'T' || !number(11, 2, p.hour) || text[13] != ':' ||
                              !number(14, 2, p.minute) || text[16] != ':' || !number(17, 2, p.second))) {
        return std::nullopt;
    }
    if (!QDate(p.year, p.month, p.day).isValid() || !QTime(p.hour, p.minute, p.second).isValid()) {
        return std::nullopt;
    }
    return encodeDateTime(p);
}

std::optional<int> sortColumn(const std::string& name)
{
    static constexpr const char* kNames[] = {"name", "volume", "path", "size", "modified", "media"};
    for (int i = 0; i < kSearchColumnCount; ++i) {
        if (name == kNames[i]) return i;
    }
    return std::nullopt;
}

// "My Catalogs", a volume's name, or a path string as the path box takes it.
std::optional<SearchScope> resolveScope(Catalog& catalog, const std::string& scope)
{
    if (scope == Catalog::kRootText) return SearchScope::allVolumes();
    for (std::size_t i = 0; i < catalog.volumeCount(); ++i) {
        if (catalog.root().child(i)->text() == scope) return SearchScope::volume(catalog, int(i));
    }
    if (const CatalogNode* node = resolveNodePath(catalog, scope)) return SearchScope::selectedNode(*node);
    return std::nullopt;
}

std::string jsonRow(const SearchRow& row)
{
    std::string out = "{\"kind\":";
    out += row.file ? "\"file\"" : "\"folder\"";
    out += ",\"name\":" + jsonString(row.name());
    out += ",\"volume\":" + jsonString(row.volumeName());
    out += ",\"path\":" + jsonString(pathText(row));
    out += ",\"kb\":" + (row.file ? std::to_string(row.file->SizeKB) : std::string("null"));
    out += ",\"modified\":\"" + isoText(row.date()) + '"';
    out += ",\"media\":" + (row.file && row.file->MediaInfo ? jsonString(mediaText(*row.file)) : "null");
    out += "}\n";
    return out;
}

}  // namespace

int runSearch(CliContext& context)
{
    const auto usage = [&] { return context.fail(kUsage, kSearchUsage); };
    SearchCriteria criteria;
    std::string scopeText(Catalog::kRootText);
    context.takeOption("--in", scopeText);
    const bool nameGiven = context.takeOption("--name", criteria.pattern);
    criteria.mediaInfo = context.takeOption("--artist", criteria.artist);
    criteria.mediaInfo = context.takeOption("--title", criteria.title) || criteria.mediaInfo;
    // Checking Media Info puts "*.mp3" in the name box.
    if (criteria.mediaInfo && !nameGiven) criteria.pattern = "*.mp3";

    std::string months, days, from, to, atLeast, atMost, sortName, reportPath;
    const bool byMonths = context.takeOption("--last-months", months);
    const bool byDays = context.takeOption("--last-days", days);
    const bool between = context.takeOptionPair("--between", from, to);
    if (int(byMonths) + int(byDays) + int(between) > 1) return usage();
    criteria.dateOn = byMonths || byDays || between;
    if (byMonths || byDays) {
        const auto n = parseInteger(byMonths ? months : days);
        if (!n) return usage();
        criteria.dateKind = byMonths ? DateKind::LastMonths : DateKind::LastDays;
        (byMonths ? criteria.months : criteria.days) = *n;
    } else if (between) {
        const auto first = parseDateTime(from);
        const auto second = parseDateTime(to);
        if (!first || !second) return usage();
        criteria.dateKind = DateKind::Between;
        criteria.firstDate = *first;
        criteria.secondDate = *second;
    }

    const bool least = context.takeOption("--at-least", atLeast);
    const bool most = context.takeOption("--at-most", atMost);
    if (least && most) return usage();
    if (least || most) {
        const auto kb = parseInteger(least ? atLeast : atMost);
        if (!kb) return usage();
        criteria.sizeOn = true;
        criteria.sizeSense = least ? SizeSense::AtLeast : SizeSense::AtMost;
        criteria.sizeKB = *kb;
    }

    SortState sort;
    if (context.takeOption("--sort", sortName)) {
        const auto column = sortColumn(sortName);
        if (!column) return usage();
        sort.column = *column;
    }
    if (context.takeFlag("--desc")) sort.direction = -1;
    const bool json = context.takeFlag("--json");
    const bool report = context.takeOption("--report", reportPath);
    if (!context.checkNoUnknownOptions() || !context.args().empty()) return usage();

    criteria.useMask = SearchEngine::ChooseNameMode(criteria.pattern);
    // A script learns of a bad mask even when the scope holds nothing to test it on.
    if (criteria.useMask) {
        try {
            TMask mask(criteria.pattern);
        } catch (const EMaskException& e) {
            return context.fail(kError, e.what());
        }
    }
    criteria.today = std::floor(currentDateTime());

    Catalog& catalog = context.loadCatalogs();
    const std::optional<SearchScope> scope = resolveScope(catalog, scopeText);
    if (!scope) return context.fail(kError, std::string(kPathNotFound));

    SearchEngine engine(criteria);
    std::vector<SearchRow> rows;
    SearchHooks hooks;
    hooks.hits = [&rows](const std::vector<SearchRow>& batch) { rows.insert(rows.end(), batch.begin(), batch.end()); };
    SearchRun run(engine, std::move(hooks));
    const SearchOutcome outcome = run.run(catalog, *scope);
    if (outcome.end == SearchEnd::Failed) return context.fail(kError, outcome.error);
    sortRows(rows, sort);

    const LocaleFormat& format = activeLocaleFormat();
    std::string out;
    for (const SearchRow& row : rows) {
        if (json) {
            out += jsonRow(row);
            continue;
        }
        const auto texts = searchRowTexts(row, format);
        for (std::size_t c = 0; c < texts.size(); ++c) {
            if (c) out += '\t';
            out += texts[c];
        }
        out += '\n';
    }
    std::cout << out << std::flush;

    // As in the window, a report of no rows is not written.
    if (report && !rows.empty()) {
        std::vector<SearchReport::RowTexts> texts;
        texts.reserve(rows.size());
        for (const SearchRow& row : rows) texts.push_back(searchRowTexts(row, format));
        const auto lines = SearchReport::lines(criteria, scopeText, texts, catalogsText(catalog.volumeCount()),
                                               matchesFoundText(rows.size()), format);
        if (Status s = SearchReport::write(reportPath, lines); !s) return context.fail(kError, s.message);
    }
    return kSuccess;
}

int runMatch(CliContext& context)
{
    // Names are taken as they come, also ones that begin with "--".
    if (context.args().size() < 2) {
        return context.fail(kUsage, "usage: quillon-cli match MASK NAME...");
    }
    const std::vector<std::string>& args = context.args();
    try {
        const TMask mask(args[0]);
        std::string out;
        for (std::size_t i = 1; i < args.size(); ++i) out += mask.matches(args[i]) ? "fits\n" : "no\n";
        std::cout << out << std::flush;
    } catch (const EMaskException& e) {
        return context.fail(kError, e.what());
    }
    return kSuccess;
}

}  // namespace quillon::cli
