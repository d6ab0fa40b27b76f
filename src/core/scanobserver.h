#pragma once

#include <string>
#include <string_view>

namespace quillon {

// The questions that cataloging asks; the GUI answers them with a message box, the CLI with its flags.
enum class ScanQuestion {
    ReplaceVolume,     // "There is a volume with the same name. Update it?"
    AlreadyCataloged,  // "This folder has already been cataloged." ...
};

inline constexpr std::string_view kReplaceVolumeQuestion = "There is a volume with the same name. Update it?";
// Line feed before carriage return and three blanks: the order in which older versions showed the text.
inline constexpr std::string_view kAlreadyCatalogedQuestion =
    "This folder has already been cataloged.\n\r   Do you want to make a new volume?";

inline constexpr std::string_view kPhaseScanning = " Scaning...";
inline constexpr std::string_view kPhaseSaving = " Saving...";
inline constexpr std::string_view kPhaseSorting = " Sorting...";
inline constexpr std::string_view kPhaseEnding = " Ending...";

// Where the scan is. The views are valid only during the call: an observer that repaints later copies them.
struct ScanProgress {
    std::string_view folder;  // the folder being listed, as the scan names it
    std::string_view entry;   // the entry about to be recorded
    int folders = 0;
    int files = 0;
};

// What a cataloging run tells the window that drives it. progress() comes once per directory entry, so it
// must be cheap: the GUI keeps the values and repaints on a timer; it may set the run's cancel flag from
// there.
class ScanObserver {
public:
    virtual ~ScanObserver() = default;

    // True for Yes.
    virtual bool ask(ScanQuestion question, std::string_view text) = 0;
    // The status label's text: " Scaning...", " Saving...", " Sorting...", " Ending...".
    virtual void phase(std::string_view text) { (void)text; }
    // The current folder and file texts and the counters (the dialog's ShowProgressPath).
    virtual void progress(const ScanProgress& where) { (void)where; }
    // A refused name, a catalog file that cannot be created or written.
    virtual void error(std::string_view message) { (void)message; }
    // The catalog tree is about to change and has changed (a volume added, removed, the tree sorted); a tree
    // model resets around these rather than following thousands of single insertions.
    virtual void beginTreeUpdate() {}
    virtual void endTreeUpdate() {}
};

// The current folder text of the progress display: a folder path of fewer than 35 characters whole, a longer
// one as its first 3 characters, " ..." and its tail from the last "/" (so the last folder's name stays
// readable in a narrow label).
std::string progressFolderText(std::string_view folder);

}  // namespace quillon
