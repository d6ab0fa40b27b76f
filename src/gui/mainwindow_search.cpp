// Search mode of the main window: switching modes, the search runs, the results list and its report.
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSplitter>
#include <QStatusBar>
#include <QToolButton>
#include <QTreeView>
#include <cmath>

#include "catalogtreemodel.h"
#include "codepage.h"
#include "contentsmodel.h"
#include "findfileanimation.h"
#include "imagelists.h"
#include "itemlistview.h"
#include "mainwindow.h"
#include "messageboxes.h"
#include "pathcombobox.h"
#include "quillonactions.h"
#include "searchengine.h"
#include "searchpane.h"
#include "searchreport.h"
#include "searchresultsmodel.h"
#include "searchrun.h"

namespace quillon {

namespace {

const QString kSearchResultsEntry = QStringLiteral("Search Results");

QString fromBytes(std::string_view text) {
    return activeCodePage().toUnicode(text);
}

}  // namespace

void TQuillonForm::ToggleSearch() {
    const bool folders = FBut->isChecked();
    const bool search = SBut->isChecked();
    Panel3->setVisible(folders || search);
    Catalog->setVisible(folders);
    ScrollBox1->setVisible(search);
    if (folders) {
        if (m_searching) StopSearchClick();
        Panel1->setText(QStringLiteral(" Folders"));
        // Only the entry that search mode put on top goes: after the pane was closed there may be none.
        if (PathBox->count() > 0 && PathBox->itemText(0) == kSearchResultsEntry) {
            PathBox->removeItem(0);  // a chosen path stays chosen; in place of this entry comes the newest path
        }
        SearchView->hide();
        ListView->show();
        applyViewStyle(int(ListView->viewStyle()));
    } else if (search) {
        Panel1->setText(QStringLiteral(" Search"));
        // One "Search Results" entry at most, however often the pane was closed and opened again.
        if (PathBox->count() == 0 || PathBox->itemText(0) != kSearchResultsEntry)
            PathBox->insertItem(0, catalogImage(5), kSearchResultsEntry);
        PathBox->setCurrentIndex(0);
        if (m_searchPane->FileNames->isEnabled()) m_searchPane->FileNames->setFocus();
        ListView->hide();
        SearchView->show();
        applyViewStyle(int(SearchView->viewStyle()));
    }
    const bool results = !SearchView->isHidden();
    m_actions->SaveSR->setEnabled(results);
    if (results)
        setStatusText(1, fromBytes(matchesFoundText(std::size_t(m_results->rowCount()))));
    else
        setStatusText(1, QString::number(m_contents->rowCount()) + QStringLiteral(" Items"));
}

void TQuillonForm::XButClick() {
    Panel3->hide();
    SBut->setChecked(false);
    FBut->setChecked(false);
}

void TQuillonForm::FillLookIn() {
    m_searchPane->FillLookIn(m_catalog, selectedNode());
}

bool TQuillonForm::deferWhileSearching(std::function<void()> work) {
    if (!m_searching) return false;
    StopSearchClick();
    m_afterSearch.push_back(std::move(work));
    return true;
}

SearchCriteria TQuillonForm::runCriteria() const {
    SearchCriteria criteria = m_searchPane->criteria();
    criteria.useMask = UseMask;
    criteria.today = m_runToday;
    return criteria;
}

void TQuillonForm::searchCriteriaChanged() {
    if (m_runEngine) m_runEngine->setCriteria(runCriteria());
}

void TQuillonForm::SearchNowClick() {
    // A click that reaches the button after Stop Search, while the stopped run is still unwinding, starts the
    // next run once that one has ended.
    if (deferWhileSearching([this] { SearchNowClick(); })) return;
    SearchPane& pane = *m_searchPane;
    m_results->clear();
    // No row refers to the volumes removed since the last run any more.
    m_catalog.releaseRemoved();
    pane.StopSearch->setEnabled(true);
    pane.SearchNow->setEnabled(false);
    m_stopRun = false;
    QApplication::setOverrideCursor(Qt::BusyCursor);

    std::string pattern = activeCodePage().fromUnicode(pane.FileNames->text());
    UseMask = SearchEngine::ChooseNameMode(pattern);
    if (pane.FileNames->text().isEmpty()) pane.FileNames->setText(fromBytes(pattern));
    pane.FindFile->start();

    const int entry = pane.LookIn->currentIndex();
    SearchScope scope;
    if (entry >= 2) {
        // The entry names its volume by id, so a list not yet rebuilt after a rename never searches another.
        if (const CatalogNode* volume = m_catalog.findById(pane.lookInVolume(entry)))
            scope = SearchScope::selectedNode(*volume);
    } else {
        scope = SearchScope::lookInEntry(m_catalog, entry, selectedNode());
    }

    m_runToday = std::floor(currentDateTime());
    SearchEngine engine(runCriteria());
    SearchHooks hooks;
    hooks.stop = &m_stopRun;
    hooks.progressInterval = m_progressInterval;
    hooks.hits = [this](const std::vector<SearchRow>& rows) { m_results->appendRows(rows); };
    hooks.progress = [this](const SearchStatus& status) {
        if (!status.volumes.empty()) setStatusText(0, fromBytes(status.volumes));
        if (!status.place.empty()) setStatusText(1, fromBytes(status.place));
        // The events processed here paint the status bar at once; a repaint() before them would paint the
        // whole window, the growing results list with it, twice each time.
        QCoreApplication::processEvents();
    };
    // Rows refer to the records of the volumes they were found in; a volume removed while they are listed is
    // kept in memory until the next run clears them.
    m_catalog.setKeepRemoved(true);
    m_runEngine = &engine;
    m_searching = true;
    SearchRun run(engine, std::move(hooks));
    const SearchOutcome outcome = run.run(m_catalog, scope);
    m_searching = false;
    m_runEngine = nullptr;
    QApplication::restoreOverrideCursor();

    // An invalid mask ends the run as Stop Search does, so the window is ready for the next one.
    if (outcome.end == SearchEnd::Failed) m_services.boxes->standardError(this, fromBytes(outcome.error));
    finishSearch();

    std::vector<std::function<void()>> waiting;
    waiting.swap(m_afterSearch);
    for (const auto& work : waiting) work();
}

void TQuillonForm::finishSearch() {
    SearchPane& pane = *m_searchPane;
    SearchView->currentView()->viewport()->update();
    pane.StopSearch->setEnabled(false);
    pane.SearchNow->setEnabled(true);
    m_results->sortBy(m_sort);
    pane.FindFile->stop();
    if (pane.FileNames->isEnabled() && pane.FileNames->isVisible()) pane.FileNames->setFocus();
    setStatusText(0, fromBytes(catalogsText(m_catalog.volumeCount())));
    setStatusText(1, fromBytes(matchesFoundText(std::size_t(m_results->rowCount()))));
    if (m_results->rowCount() == 0) {
        m_catalog.setKeepRemoved(false);
        m_catalog.releaseRemoved();
    }
}

void TQuillonForm::StopSearchClick() {
    m_searchPane->StopSearch->setEnabled(false);
    m_searchPane->SearchNow->setEnabled(true);
    m_stopRun = true;
}

void TQuillonForm::SearchViewDblClick() {
    const SearchRow* row = m_results->rowAt(SearchView->selectedRow());
    if (!row || !row->isFolder()) return;
    // The row's folder may belong to a volume removed or reloaded since the run: it must be in the tree now.
    const CatalogNode* node = m_catalog.findById(row->folder->id());
    if (!node) return;
    FBut->setChecked(true);
    SBut->setChecked(false);
    Catalog->setCurrentIndex(m_treeModel->indexOf(node));
    ToggleSearch();
    CatalogClick();
}

void TQuillonForm::SearchViewKeyDown() {
    const int selected = SearchView->selectedRow();
    const SearchRow* row = m_results->rowAt(selected);
    if (!row || !row->isFolder()) return;
    const CatalogNode* node = m_catalog.findById(row->folder->id());
    if (!node) return;
    m_results->setTotal(selected, FolderSizeKB(*node));
}

void TQuillonForm::SaveSRExecute() {
    if (m_results->rowCount() == 0) return;
    const LocaleFormat& format = activeLocaleFormat();
    const CodePage& codePage = activeCodePage();
    std::vector<SearchReport::RowTexts> rows;
    rows.reserve(m_results->rows().size());
    for (const SearchRow& row : m_results->rows()) rows.push_back(searchRowTexts(row, format, codePage));
    const std::vector<std::string> lines = SearchReport::lines(
        m_searchPane->criteria(), codePage.fromUnicode(m_searchPane->LookIn->currentText()), rows,
        codePage.fromUnicode(statusText(0)), codePage.fromUnicode(statusText(1)), format, codePage);
    const QString file = m_services.chooseSaveFile(this, QStringLiteral("Save To File.."),
                                                   QStringLiteral("Text Files (*.txt);; All Files (*.*)"),
                                                   QStringLiteral("txt"));
    if (file.isEmpty()) return;
    const Status written = SearchReport::write(QFile::encodeName(file).toStdString(), lines);
    if (!written) m_services.boxes->standardError(this, fromBytes(written.message));
}

void TQuillonForm::closeEvent(QCloseEvent* event) {
    // A run going on ends with the window instead of walking on behind it.
    if (m_searching) StopSearchClick();
    QMainWindow::closeEvent(event);
}

}  // namespace quillon
