// The browsing commands: the volumes of the catalog folder and the contents of one node.
#include "clicontext.h"
#include "codepage.h"
#include "contentsrows.h"
#include "json.h"
#include "listviewcompare.h"
#include "localeformat.h"
#include "nodepath.h"

#include <iostream>

namespace quillon::cli {

int runVolumes(CliContext& context)
{
    const bool json = context.takeFlag("--json");
    if (!context.checkNoUnknownOptions() || !context.args().empty()) {
        return context.fail(kUsage, "usage: quillon-cli volumes [--json]");
    }
    Catalog& catalog = context.loadCatalogs();
    const LocaleFormat& format = activeLocaleFormat();
    std::string out;
    for (const auto& volume : catalog.root().children()) {
        const SubtreeCounts counts = countSubtree(*volume);
        if (json) {
            out += "{\"name\":" + jsonString(volume->text()) + ",\"cataloged\":\"" +
                   isoText(volume->data().Date) + "\",\"folders\":" + std::to_string(counts.folders) +
                   ",\"files\":" + std::to_string(counts.files) + ",\"kb\":" + std::to_string(counts.kb) + "}\n";
        } else {
            out += volume->text() + '\t' + toBytes(format.dateText(volume->data().Date)) + '\t' +
                   std::to_string(counts.folders) + '\t' + std::to_string(counts.files) + '\t' +
                   std::to_string(counts.kb) + '\n';
        }
    }
    std::cout << out << std::flush;
    return kSuccess;
}

int runLs(CliContext& context)
{
    const bool json = context.takeFlag("--json");
    if (!context.checkNoUnknownOptions() || context.args().size() > 1) {
        return context.fail(kUsage, "usage: quillon-cli ls [PATH] [--json]");
    }
    const std::string path = context.args().empty() ? std::string(Catalog::kRootText) : context.args()[0];
    Catalog& catalog = context.loadCatalogs();
    const CatalogNode* node = resolveNodePath(catalog, path);
    if (!node) return context.fail(kError, std::string(kPathNotFound));

    std::vector<ContentsRow> rows = contentsRows(catalog, *node);
    // The contents view's order at start: folders first, then by name.
    sortRows(rows, SortState{});
    const LocaleFormat& format = activeLocaleFormat();
    std::string out;
    for (const ContentsRow& row : rows) {
        const bool media = row.file && row.file->MediaInfo;
        if (json) {
            const char* kind = row.file ? "file" : (row.node->level() == 1 ? "volume" : "folder");
            out += "{\"kind\":\"";
            out += kind;
            out += "\",\"name\":" + jsonString(row.name()) + ",\"kb\":" +
                   (row.file ? std::to_string(row.file->SizeKB) : std::string("null")) + ",\"modified\":\"" +
                   isoText(row.date()) + "\",\"media\":" + (media ? jsonString(mediaText(*row.file)) : "null") +
                   "}\n";
        } else {
            out += row.name();
            out += '\t';
            out += row.file ? toBytes(format.sizeText(row.file->SizeKB)) : std::string(kSubDirText);
            out += '\t' + toBytes(format.dateText(row.date())) + '\t';
            if (row.file) out += mediaText(*row.file);
            out += '\n';
        }
    }
    std::cout << out << std::flush;
    return kSuccess;
}

}  // namespace quillon::cli
