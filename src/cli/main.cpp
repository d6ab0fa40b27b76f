// quillon-cli: the scripting face of the catalog engine.
#include "clicontext.h"

#include <QCoreApplication>

#include <cstring>
#include <iostream>
#include <string>
#include <vector>

using namespace quillon::cli;

namespace {

constexpr const char* kUsageText =
    "usage: quillon-cli [--catalogs DIR] COMMAND [ARGS]\n"
    "commands:\n"
    "  volumes [--json]           the volumes with their date, folder, file and KB counts\n"
    "  ls [PATH] [--json]         the contents of a node (\"My Catalogs\", \"Disk1:\\\", \"Disk1:\\A\\B\")\n"
    "  search [--in SCOPE] [--name PATTERN] [--artist TEXT] [--title TEXT]\n"
    "         [--last-months N | --last-days N | --between FROM TO] [--at-least KB | --at-most KB]\n"
    "         [--sort name|volume|path|size|modified|media] [--desc] [--json] [--report FILE]\n"
    "                             files and folders that meet the criteria, in the results view's order\n"
    "  match MASK NAME...         \"fits\" or \"no\" for each name\n";

struct Command {
    const char* name;
    int (*run)(CliContext&);
};

constexpr Command kCommands[] = {
    {"volumes", runVolumes},
    {"ls", runLs},
    {"search", runSearch},
    {"match", runMatch},
};

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    std::vector<std::string> args(argv + 1, argv + argc);
    std::string catalogFolder;
    bool folderGiven = false;
    while (!args.empty() && args.front().compare(0, 2, "--") == 0) {
        if (args.front() == "--catalogs" && args.size() >= 2) {
            catalogFolder = args[1];
            folderGiven = true;
            args.erase(args.begin(), args.begin() + 2);
        } else if (args.front() == "--help") {
            std::cout << kUsageText;
            return kSuccess;
        } else {
            std::cerr << kUsageText;
            return kUsage;
        }
    }
    if (args.empty()) {
        std::cerr << kUsageText;
        return kUsage;
    }
    // The folder path is joined to file names by plain concatenation, so it needs its separator.
    if (folderGiven && !catalogFolder.empty() && catalogFolder.back() != '/') catalogFolder += '/';
    if (!folderGiven) catalogFolder = defaultCatalogFolder();

    const std::string name = args.front();
    args.erase(args.begin());
    for (const Command& command : kCommands) {
        if (name == command.name) {
            CliContext context(catalogFolder, std::move(args));
            return command.run(context);
        }
    }
    std::cerr << "quillon-cli: unknown command " << name << '\n' << kUsageText;
    return kUsage;
}
