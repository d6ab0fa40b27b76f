#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <functional>
#include <memory>
#include <string>

#include "catalog.h"
#include "driveservices.h"
#include "scanobserver.h"
#include "volumecataloger.h"

class QFileSystemModel;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeView;

namespace quillon {

class CatalogTreeModel;
class MessageBoxes;
class Settings;

// What the new catalog dialog needs from outside besides the catalog. Tests put fakes in place of the mount
// table and the door; what is left empty gets the real thing.
struct SelDirServices {
    MessageBoxes* boxes = nullptr;                            // not owned; required
    const MountTable* mounts = nullptr;                       // not owned; the system's mount table when null
    std::function<void(const std::string& root)> openCDDoor;  // DriveServices::OpenCDDoor when empty
    // Called for every directory entry with the counts so far, after the dialog has seen it: lets a test
    // press Cancel in the middle of a scan.
    std::function<void(int folders, int files)> entrySeen;
};

// The new catalog dialog: a folder tree to choose what to catalog, the name of the new volume, the progress
// of the scan that OK runs and Cancel. The scan runs on the GUI thread inside OKButClick; the dialog stays
// responsive by processing events from the scan's progress callback on a time budget.
class TSelDirForm final : public QDialog, private ScanObserver {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TSelDirForm)

public:
    // tree is the main window's view of treeModel: it is not repainted while the catalog tree changes.
    TSelDirForm(Catalog& catalog, CatalogTreeModel& treeModel, const Settings& settings,
                SelDirServices services, QWidget* tree = nullptr, QWidget* parent = nullptr);
    ~TSelDirForm() override;

    // Selects the folder in the tree and runs ShellTreeView1Click, as a click on it does. False when the
    // folder is not in the tree.
    bool selectFolder(const QString& path);
    // The selected folder's path, empty when none.
    QString selectedPath() const;

    bool IsCDROM = false;
    bool Cancelled = false;
    int FileCount = 0;
    int FolderCount = 0;

    QTreeView* ShellTreeView1 = nullptr;
    QPushButton* OKBut = nullptr;
    QPushButton* CancelBut = nullptr;
    QLineEdit* VolumeName = nullptr;
    QLabel* CurDir = nullptr;
    QLabel* StatusLbl = nullptr;
    QLabel* CurFile = nullptr;
    QLabel* NumFolders = nullptr;
    QLabel* NumFiles = nullptr;

    // The minimum time between two rounds of event processing during a scan. Processing after every entry
    // would spend more time repainting than scanning; 15 ms keeps Cancel and the labels within a frame or
    // two.
    static constexpr int kRepaintBudgetMs = 15;

signals:
    // A volume was cataloged, written and the tree sorted: the main window shows it.
    void volumeCataloged(const quillon::CatalogNode* volume);

public slots:
    void ShellTreeView1Click();
    void OKButClick();
    void CancelButClick();

public:
    void CheckCDDrive();
    QString GetVolumeLabel() const;
    void ShowProgressPath(const QString& folder, const QString& file);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // ScanObserver
    bool ask(ScanQuestion question, std::string_view text) override;
    void phase(std::string_view text) override;
    void progress(const ScanProgress& where) override;
    void error(std::string_view message) override;
    void beginTreeUpdate() override;
    void endTreeUpdate() override;

    void setStatus(const QString& text);
    void refuse();
    void showCounts();

    Catalog& m_catalog;
    CatalogTreeModel& m_treeModel;
    const Settings& m_settings;
    SelDirServices m_services;
    std::unique_ptr<MountTable> m_ownMounts;
    DriveServices m_drives;
    VolumeCataloger m_cataloger;
    QWidget* m_tree = nullptr;
    QFileSystemModel* m_folders = nullptr;
    QFrame* Bevel1 = nullptr;
    QElapsedTimer m_sinceEvents;
    bool m_scanning = false;
    bool m_scanStarted = false;  // the run is past its questions
    int m_treeUpdates = 0;
};

}  // namespace quillon
