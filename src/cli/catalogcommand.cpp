// The catalog command: catalogs a folder into the catalog folder as the new catalog dialog does.
#include "clicontext.h"
#include "driveservices.h"
#include "scanobserver.h"
#include "volumecataloger.h"

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <iostream>

namespace quillon::cli {

namespace {

volatile std::sig_atomic_t g_interrupted = 0;

void onInterrupt(int) { g_interrupted = 1; }

// Answers the questions with the command's flags and keeps a progress line on a terminal.
class CliScanObserver final : public ScanObserver {
public:
    CliScanObserver(bool replace, bool again, bool showProgress)
        : m_replace(replace), m_again(again), m_showProgress(showProgress)
    {
    }

    void setCataloger(VolumeCataloger* cataloger) { m_cataloger = cataloger; }
    const std::string& declinedQuestion() const { return m_declined; }

    bool ask(ScanQuestion question, std::string_view text) override
    {
        const bool yes = question == ScanQuestion::ReplaceVolume ? m_replace : m_again;
        if (!yes) m_declined = text;
        return yes;
    }

    void progress(const ScanProgress& where) override
    {
        if (g_interrupted && m_cataloger) m_cataloger->cancel();
        if (!m_showProgress) return;
        // Repainting a terminal line per entry would cost more than the scan; ten times a second is enough.
        const auto now = std::chrono::steady_clock::now();
        if (now - m_lastShown < std::chrono::milliseconds(100)) return;
        m_lastShown = now;
        std::cerr << '\r' << where.folders << " folders, " << where.files << " files  "
                  << progressFolderText(where.folder) << "\x1b[K" << std::flush;
        m_lineShown = true;
    }

    void error(std::string_view message) override
    {
        clearLine();
        std::cerr << message << '\n';
    }

    void clearLine()
    {
        if (m_lineShown) std::cerr << "\r\x1b[K" << std::flush;
        m_lineShown = false;
    }

private:
    bool m_replace;
    bool m_again;
    bool m_showProgress;
    bool m_lineShown = false;
    std::chrono::steady_clock::time_point m_lastShown{};
    std::string m_declined;
    VolumeCataloger* m_cataloger = nullptr;
};

// An absolute "/"-separated path without a trailing "/" (except for the root itself).
std::string absoluteFolder(const std::string& path)
{
    std::string folder = std::filesystem::absolute(std::filesystem::path(path)).lexically_normal().string();
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    return folder;
}

}  // namespace

int runCatalog(CliContext& context)
{
    constexpr const char* kUsageText =
        "usage: quillon-cli catalog SOURCE --name NAME [--label TEXT] [--replace] [--again]";
    std::string name;
    std::string label;
    const bool hasName = context.takeOption("--name", name);
    const bool hasLabel = context.takeOption("--label", label);
    const bool replace = context.takeFlag("--replace");
    const bool again = context.takeFlag("--again");
    if (!context.checkNoUnknownOptions() || context.args().size() != 1 || !hasName) {
        return context.fail(kUsage, kUsageText);
    }
    const std::string source = absoluteFolder(context.args()[0]);
    struct stat st {};
    if (::stat(source.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        return context.fail(kError, "quillon-cli: not a folder: " + source);
    }
    if (!hasLabel) {
        const SystemMountTable mounts;
        label = DriveServices(mounts).GetVolumeLabel(source);
    }

    Catalog& catalog = context.loadCatalogs();
    CliScanObserver observer(replace, again, ::isatty(STDERR_FILENO) == 1);
    VolumeCataloger cataloger(catalog, observer);
    observer.setCataloger(&cataloger);
    const auto previousHandler = std::signal(SIGINT, onInterrupt);
    const CatalogResult result = cataloger.run({source, name, label, context.catalogFolder()});
    std::signal(SIGINT, previousHandler);
    observer.clearLine();

    switch (result.outcome) {
        case CatalogOutcome::Cataloged:
            std::cout << result.folders << " folders, " << result.files << " files\n" << std::flush;
            return kSuccess;
        case CatalogOutcome::Refused:  // the observer has shown the message
            return kRefused;
        case CatalogOutcome::Declined:
            return context.fail(kRefused, observer.declinedQuestion());
        case CatalogOutcome::Cancelled:
            return context.fail(kError, "quillon-cli: interrupted; nothing written");
        case CatalogOutcome::Failed:  // the observer has shown the message
        case CatalogOutcome::Busy:
            return kError;
    }
    return kError;
}

}  // namespace quillon::cli
