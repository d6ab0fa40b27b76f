// The media info that cataloging would store for each file.
#include "clicontext.h"
#include "id3tag.h"

#include <iostream>

namespace quillon::cli {

int runMedia(CliContext& context)
{
    if (!context.checkNoUnknownOptions() || context.args().empty()) {
        return context.fail(kUsage, "usage: quillon-cli media FILE...");
    }
    for (const std::string& path : context.args()) {
        const MediaText media = ReadMediaInfo(path);
        std::cout << media.Artist << '\t' << media.Title << '\n';
    }
    std::cout << std::flush;
    return kSuccess;
}

}  // namespace quillon::cli
