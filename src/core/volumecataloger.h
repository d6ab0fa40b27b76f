#pragma once

#include <atomic>
#include <string>
#include <string_view>

#include "catalog.h"
#include "scanobserver.h"
#include "volumescanner.h"

namespace quillon {

struct CatalogRequest {
    std::string sourcePath;  // the chosen folder, "/"-separated; "/" for the file system's root
    std::string volumeName;  // as typed
    std::string label;       // the disc's label or the folder's display name (DriveServices::GetVolumeLabel)
    std::string catalogFolder;  // ends with "/"
};

enum class CatalogOutcome {
    Cataloged,  // written, the tree sorted
    Refused,    // the name cannot become a file name (message set)
    Declined,   // a question was answered No
    Cancelled,  // nothing written, the new volume dropped
    Failed,     // the catalog file could not be created or written (message set), the new volume dropped
    Busy,       // a run was already going on
};

struct CatalogResult {
    CatalogOutcome outcome = CatalogOutcome::Declined;
    std::string message;
    CatalogNode* volume = nullptr;  // the new volume when cataloged
    int folders = 0;
    int files = 0;
};

// A volume that the new one is to replace, found by ConfirmVolumeName.
struct SameNameVolume {
    bool proceed = true;           // false when the question was answered No
    CatalogNode* older = nullptr;  // the volume to replace, if any
    std::string olderFile;         // its catalog file name in the catalog folder; empty when none is found
};

// Looks among the volumes for one whose name equals name without regard to letter case and, when there is
// one, asks whether to replace it. Nothing is removed here: see removeVolume.
SameNameVolume ConfirmVolumeName(const Catalog& catalog, const std::string& catalogFolder,
                                 std::string_view name, ScanObserver& observer);

// The name of the catalog file that a loaded volume came from: a file of the folder whose name decodes to the
// volume's name exactly, the one that the name encodes to first. Empty when there is none.
std::string volumeCatalogFile(const std::string& catalogFolder, std::string_view volumeName);

// Removes a replaced volume: its own catalog file, unless keepPath names the same file, and its node.
void removeVolume(Catalog& catalog, const std::string& catalogFolder, const SameNameVolume& replaced,
                  const std::string& keepPath = {});

// True when a catalog file of the folder (not its sub-folders), other than skipFile, holds the header
// strings key (source path with its trailing "/", then the label), compared exactly. A file that cannot be
// read does not match.
bool IsAlreadyCataloged(const std::string& catalogFolder, std::string_view key,
                        std::string_view skipFile = {});

// The cataloging of one volume, as the new catalog dialog's OK button runs it: check the name, ask the
// questions, walk the folder into a new volume of the catalog, write its catalog file, sort the tree. The
// window that drives it answers the questions and shows the progress through the observer.
//
// Unlike older versions, a replaced volume is removed only once the new catalog file has been written, so a
// cancel or a failed write keeps it.
class VolumeCataloger final {
public:
    VolumeCataloger(Catalog& catalog, ScanObserver& observer, MediaReader readMedia = defaultMediaReader());
    VolumeCataloger(const VolumeCataloger&) = delete;
    VolumeCataloger& operator=(const VolumeCataloger&) = delete;

    CatalogResult run(const CatalogRequest& request);

    // The Cancel button: the scan stops at its next entry. Safe from another thread or from inside
    // progress().
    void cancel() { m_cancel.store(true, std::memory_order_relaxed); }
    bool isRunning() const { return m_running; }

private:
    CatalogResult catalogVolume(const CatalogRequest& request);

    Catalog& m_catalog;
    ScanObserver& m_observer;
    MediaReader m_readMedia;
    std::atomic<bool> m_cancel{false};
    bool m_running = false;
};

}  // namespace quillon
