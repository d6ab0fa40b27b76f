#pragma once

#include <QMainWindow>
#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>
#include <string>

#include "catalog.h"
#include "helplinks.h"
#include "listviewcompare.h"
#include "navigationhistory.h"
#include "searchcriteria.h"
#include "settings.h"

class QAction;
class QComboBox;
class QFrame;
class QLabel;
class QScrollArea;
class QSplitter;
class QToolBar;
class QToolButton;
class QTreeView;

namespace quillon {

class CatalogTreeModel;
class ContentsModel;
class ItemListView;
class MessageBoxes;
class MountTable;
class PathComboBox;
class QuillonActions;
class SearchEngine;
class SearchPane;
class SearchResultsModel;

inline constexpr QLatin1StringView kFirstStartText{
    "It seems to be the first time you start Quillon 1.5. If you have used the previous version it is better "
    "to "
    "run  the Convertor because of incompatibility in catalog files. Run it now?"};

// What the window asks of the world outside: message boxes, the converter, links, the end of the program.
// Tests put recorders in their place; what is left empty gets the real thing.
struct FormServices {
    MessageBoxes* boxes = nullptr;         // not owned
    std::function<void()> startConverter;  // "./conv.exe", started and left alone
    std::function<void()> quitSoon;        // ends the event loop once it runs
    UrlOpener openUrl;                     // the help file and the homepage
    // The folder chosen as the new catalog folder; empty when the user cancels.
    std::function<QString(QWidget* parent, const QString& title)> chooseFolder;
    // The file a report is saved to; empty when the user cancels. The dialog adds the default suffix to a
    // name without one and does not ask before replacing a file.
    std::function<QString(QWidget* parent, const QString& title, const QString& filter,
                          const QString& defaultSuffix)>
        chooseSaveFile;
};

// The main window: the catalog tree on the left, the contents (or search results) list on the right, the
// menu, the two toolbars and the status bar. Start-up runs in the constructor and shutdown in the destructor,
// so settings are read once when the window is made and written once when it goes.
class TQuillonForm final : public QMainWindow {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TQuillonForm)

public:
    explicit TQuillonForm(FormServices services = {}, QWidget* parent = nullptr);
    ~TQuillonForm() override;

    // True after a first start: the converter was offered and the program is to end without showing the
    // window.
    bool endedAtStart() const { return m_endedAtStart; }

    quillon::Catalog& catalog() { return m_catalog; }
    CatalogTreeModel* treeModel() const { return m_treeModel; }
    ContentsModel* contentsModel() const { return m_contents; }
    SearchResultsModel* searchModel() const { return m_results; }
    SearchPane* searchPane() const { return m_searchPane; }
    // True while a search run is walking the catalogs (and processing events between its entries).
    bool searching() const { return m_searching; }
    // How often a run shows where it is and processes events; tests shorten it to act in the middle of a run.
    void setSearchProgressInterval(std::chrono::milliseconds interval) { m_progressInterval = interval; }
    QuillonActions* actions() const { return m_actions; }
    const SortState& sortState() const { return m_sort; }
    QString statusText(int panel) const;

    struct LoadGauge {
        bool shown = false;
        int maximum = 0;
        int advances = 0;
    };
    // What the loading window showed during the last reload.
    const LoadGauge& lastLoad() const { return m_lastLoad; }
    const NavigationHistory& history() const { return History; }
    int historyPos() const { return History.pos(); }
    std::optional<std::uint64_t> lastNode() const { return LastNode; }
    QString catalogFolder() const { return m_settings.CatalogFolder; }

    // The new catalog dialog's mount table (not owned) and CD door, so tests can present a CD; null and empty
    // give the system's.
    void setDriveServices(const MountTable* mounts, std::function<void(const std::string& root)> openCDDoor) {
        m_mounts = mounts;
        m_openCDDoor = std::move(openCDDoor);
    }

    // Selects the node in the tree and shows it, as the operations that pick a node by program do.
    void selectNode(const CatalogNode* node);

    // Handlers, named after their control and event.
    void CatalogClick();
    void FillContents();
    void ListViewColumnClick(ItemListView* sender, int column);
    void ListViewDblClick();
    void ListViewKeyDown(ItemListView* sender);
    void LargeIcons2Click() { applyViewStyle(0); }
    void SmallIcons1Click() { applyViewStyle(1); }
    void List2Click() { applyViewStyle(2); }
    void Details2Click() { applyViewStyle(3); }
    void LIconsClick() { applyViewStyle(0); }
    void SIconsClick() { applyViewStyle(1); }
    void VListClick() { applyViewStyle(2); }
    void VDetailsClick() { applyViewStyle(3); }
    void ToggleToolbars();
    void AdjustColsExecute();
    void QuitExecute();
    void ToggleSearch();
    void XButClick();
    void SearchNowClick();
    void StopSearchClick();
    void SearchViewDblClick();
    void SaveSRExecute();
    void FillLookIn();
    void UpButClick();
    void BackButClick();
    void ForwButClick();
    void BackMenuClick(QAction* item);
    void ForwMenuClick(QAction* item);
    void UpdateHistoryMenus();
    void PathBoxCloseUp();
    void GoButClick();
    void CreateNewExecute();
    void Preferences1Click();
    void About1Click();
    void HelpContentsExecute();
    void UpdateClick();
    void Rename1Execute();
    void CatalogEdited(CatalogNode* node, QString& name);
    void Delete1Execute();
    void SetCatDirClick();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void FormCreate();
    void FormDestroy();
    void FirstStartPrompt();
    void LoadSettings();
    void SaveSettings();
    // False when a catalog file could not be opened: the window then shows what was read and stops there.
    bool ReloadCatalogFolder();
    void RecordVisit();

    void buildToolBars();
    QWidget* buildFoldersPanel();
    void buildWorkArea();
    void buildStatusBar();
    void connectHandlers();

    // Marks the style in both view menus and gives it to the list on show.
    void applyViewStyle(int style);
    ItemListView* visibleList() const;
    CatalogNode* selectedNode() const;
    void pushPath(const QString& path);
    // Shows the history entry of the slot, unless its node has been removed since.
    void goToHistorySlot(int slot);
    std::string catalogFolderBytes() const;
    void showCatalogCount();
    // Rebuilds the rows of the node on show after a volume went, without touching the path box.
    void refillShownContents();
    void setStatusText(int panel, const QString& text);

    // A run processes events between its entries, and the tree must not change under it: an operation that
    // adds, removes or reorders volumes stops the run and is done once the run has unwound. False when
    // nothing runs and the caller goes on at once.
    bool deferWhileSearching(std::function<void()> work);
    SearchCriteria runCriteria() const;
    void searchCriteriaChanged();
    void finishSearch();
    void SearchViewKeyDown();

    std::unique_ptr<MessageBoxes> m_ownBoxes;
    FormServices m_services;
    quillon::Catalog m_catalog;  // qualified: the tree control below is named Catalog
    Settings m_settings;
    bool m_endedAtStart = false;
    const MountTable* m_mounts = nullptr;
    std::function<void(const std::string& root)> m_openCDDoor;

    SortState m_sort;
    NavigationHistory History;
    // The id of the node last shown by a click; ids are never reused, so a removed node is never taken for a
    // new one.
    std::optional<std::uint64_t> LastNode;
    LoadGauge m_lastLoad;

    QuillonActions* m_actions = nullptr;
    CatalogTreeModel* m_treeModel = nullptr;
    ContentsModel* m_contents = nullptr;
    SearchResultsModel* m_results = nullptr;

    // Set by each run from the name it starts with: a mask, or a text the names must contain.
    bool UseMask = false;
    bool m_searching = false;
    std::atomic<bool> m_stopRun{false};
    SearchEngine* m_runEngine = nullptr;  // the engine of the run going on
    DateTime m_runToday = 0;
    std::chrono::milliseconds m_progressInterval{15};
    std::vector<std::function<void()>> m_afterSearch;

    QToolBar* StandartButs = nullptr;
    QToolButton* BackBut = nullptr;
    QToolButton* ForwBut = nullptr;
    QToolButton* UpBut = nullptr;
    QToolButton* SBut = nullptr;
    QToolButton* FBut = nullptr;
    QToolButton* ToolButton9 = nullptr;
    QToolBar* PathBar = nullptr;
    PathComboBox* PathBox = nullptr;
    QSplitter* Splitter1 = nullptr;
    QFrame* Panel3 = nullptr;
    QLabel* Panel1 = nullptr;
    QToolButton* XBut = nullptr;
    QTreeView* Catalog = nullptr;
    QScrollArea* ScrollBox1 = nullptr;
    SearchPane* m_searchPane = nullptr;
    ItemListView* ListView = nullptr;
    ItemListView* SearchView = nullptr;
    std::array<QLabel*, 2> StatusBar1{};
};

}  // namespace quillon
