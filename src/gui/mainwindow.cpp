#include "mainwindow.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QFont>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QScrollArea>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>
#include <filesystem>
#include <future>
#include <memory>

#include "aboutbox.h"
#include "catalogloader.h"
#include "catalogtreemodel.h"
#include "codepage.h"
#include "contentsmodel.h"
#include "icons.h"
#include "imagelists.h"
#include "itemlistview.h"
#include "loadform.h"
#include "nodepath.h"
#include "pathcombobox.h"
#include "preferences.h"
#include "quillonactions.h"
#include "searchpane.h"
#include "searchresultsmodel.h"
#include "seldirform.h"
#include "volumecataloger.h"
#include "volumename.h"
#include "widgetmessageboxes.h"

namespace quillon {

namespace {

const QString kSearchResults = QStringLiteral("Search Results");

QString fromBytes(std::string_view text) {
    return activeCodePage().toUnicode(text);
}

// The picture of a path box entry, told from its text alone.
int pathImage(const QString& text) {
    if (text == kSearchResults) return 5;
    if (text.endsWith(QStringLiteral(":\\"))) return 1;
    if (text.contains(u'\\')) return 2;
    return 0;
}

FormServices withDefaults(FormServices services, MessageBoxes* ownBoxes) {
    if (!services.boxes) services.boxes = ownBoxes;
    if (!services.openUrl) services.openUrl = openWithDesktop;
    if (!services.startConverter)
        services.startConverter = [] { QProcess::startDetached(QStringLiteral("./conv.exe"), {}); };
    if (!services.chooseFolder)
        services.chooseFolder = [](QWidget* parent, const QString& title) {
            return QFileDialog::getExistingDirectory(parent, title);
        };
    if (!services.chooseSaveFile)
        services.chooseSaveFile = [](QWidget* parent, const QString& title, const QString& filter,
                                     const QString& defaultSuffix) {
            QFileDialog dialog(parent, title, {}, filter);
            dialog.setAcceptMode(QFileDialog::AcceptSave);
            dialog.setDefaultSuffix(defaultSuffix);
            dialog.setOption(QFileDialog::DontConfirmOverwrite);
            if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
            return dialog.selectedFiles().constFirst();
        };
    if (!services.quitSoon)
        services.quitSoon = [] {
            QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
        };
    return services;
}

QToolButton* toolButton(const QIcon& icon, const QString& text, const QString& hint) {
    auto* button = new QToolButton;
    button->setIcon(icon);
    button->setAutoRaise(true);
    if (!text.isEmpty()) {
        button->setText(text);
        button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    }
    button->setToolTip(hint);
    return button;
}

}  // namespace

TQuillonForm::TQuillonForm(FormServices services, QWidget* parent)
    : QMainWindow(parent),
      m_ownBoxes(std::make_unique<WidgetMessageBoxes>()),
      m_services(withDefaults(std::move(services), m_ownBoxes.get())) {
    setObjectName(QStringLiteral("QuillonForm"));
    setWindowIcon(applicationIcon());
    setWindowTitle(QStringLiteral("Quillon 1.5"));
    // No menu of toolbars on a right click: the toolbars are switched from the View menu only.
    setContextMenuPolicy(Qt::NoContextMenu);
    // Tahoma 8 pt where it is installed, else the platform's sans-serif face at that size; the lists, the tree
    // and the bars take it from the window.
    QFont windowFont = font();
    windowFont.setFamilies({QStringLiteral("Tahoma"), windowFont.family()});
    windowFont.setStyleHint(QFont::SansSerif);
    windowFont.setPointSize(8);
    setFont(windowFont);
    move(191, 132);
    resize(539, 391);

    m_actions = new QuillonActions(this);
    m_actions->buildMainMenu(menuBar());
    m_treeModel = new CatalogTreeModel(m_catalog, this);
    m_contents = new ContentsModel(this);
    m_results = new SearchResultsModel(this);
    buildToolBars();
    buildWorkArea();
    buildStatusBar();
    connectHandlers();

    FormCreate();
}

TQuillonForm::~TQuillonForm() {
    FormDestroy();
    // The views go before the catalog their models point into; as children they would outlive it.
    std::unique_ptr<QWidget> views(takeCentralWidget());
    m_contents->clear();
    m_results->clear();
}

void TQuillonForm::buildToolBars() {
    StandartButs = addToolBar(QStringLiteral("Standard Buttons"));
    StandartButs->setObjectName(QStringLiteral("StandartButs"));
    StandartButs->setMovable(false);
    StandartButs->setIconSize({16, 16});

    BackBut = toolButton(toolImage(ToolImage::Back), QStringLiteral("Back"), {});
    BackBut->setObjectName(QStringLiteral("BackBut"));
    BackBut->setMenu(m_actions->BackMenu);
    BackBut->setPopupMode(QToolButton::MenuButtonPopup);
    BackBut->setEnabled(false);
    ForwBut = toolButton(toolImage(ToolImage::Forward), {}, {});
    ForwBut->setObjectName(QStringLiteral("ForwBut"));
    ForwBut->setMenu(m_actions->ForwMenu);
    ForwBut->setPopupMode(QToolButton::MenuButtonPopup);
    ForwBut->setEnabled(false);
    UpBut = toolButton(toolImage(ToolImage::Up), {}, QStringLiteral("To parent directory"));
    UpBut->setObjectName(QStringLiteral("UpBut"));
    UpBut->setEnabled(false);
    SBut = toolButton(toolImage(ToolImage::Search), QStringLiteral("Search"),
                      QStringLiteral("Switch to search mode"));
    SBut->setObjectName(QStringLiteral("SBut"));
    FBut = toolButton(toolImage(ToolImage::Folders), QStringLiteral("Folders"),
                      QStringLiteral("Switch to folders mode"));
    FBut->setObjectName(QStringLiteral("FBut"));
    for (QToolButton* button : {SBut, FBut}) button->setCheckable(true);
    FBut->setChecked(true);
    ToolButton9 = toolButton(toolImage(ToolImage::Views), {}, QStringLiteral("Switch views"));
    ToolButton9->setObjectName(QStringLiteral("ToolButton9"));
    ToolButton9->setMenu(m_actions->Views);
    ToolButton9->setPopupMode(QToolButton::InstantPopup);

    StandartButs->addWidget(BackBut);
    StandartButs->addWidget(ForwBut);
    StandartButs->addWidget(UpBut);
    StandartButs->addSeparator();
    StandartButs->addWidget(SBut);
    StandartButs->addWidget(FBut);
    StandartButs->addSeparator();
    StandartButs->addWidget(ToolButton9);

    addToolBarBreak();
    PathBar = addToolBar(QStringLiteral("Path Bar"));
    PathBar->setObjectName(QStringLiteral("PathBar"));
    PathBar->setMovable(false);
    auto* bar = new QWidget;
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(8, 1, 4, 1);
    row->addWidget(new QLabel(QStringLiteral("Path:")));
    PathBox = new PathComboBox;
    PathBox->setObjectName(QStringLiteral("PathBox"));
    PathBox->setIconSize({16, 16});
    PathBox->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    PathBox->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    row->addWidget(PathBox, 1);
    PathBar->addWidget(bar);
}

QWidget* TQuillonForm::buildFoldersPanel() {
    Panel3 = new QFrame;
    Panel3->setObjectName(QStringLiteral("Panel3"));
    Panel3->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    auto* column = new QVBoxLayout(Panel3);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    auto* header = new QFrame;
    header->setFrameStyle(QFrame::Panel | QFrame::Raised);
    header->setFixedHeight(18);
    auto* headerRow = new QHBoxLayout(header);
    headerRow->setContentsMargins(0, 0, 1, 0);
    Panel1 = new QLabel(QStringLiteral(" Folders"));
    Panel1->setObjectName(QStringLiteral("Panel1"));
    XBut = new QToolButton;
    XBut->setObjectName(QStringLiteral("XBut"));
    XBut->setText(QStringLiteral("X"));
    XBut->setAutoRaise(true);
    XBut->setFixedSize(16, 16);
    QFont xFont(QStringLiteral("Lucida Console"));
    xFont.setStyleHint(QFont::Monospace);
    xFont.setBold(true);
    XBut->setFont(xFont);
    headerRow->addWidget(Panel1, 1);
    headerRow->addWidget(XBut);
    column->addWidget(header);

    Catalog = new QTreeView;
    Catalog->setObjectName(QStringLiteral("Catalog"));
    Catalog->setModel(m_treeModel);
    Catalog->setHeaderHidden(true);
    Catalog->setFrameShape(QFrame::NoFrame);
    Catalog->setIndentation(19);
    Catalog->setRootIsDecorated(false);  // "My Catalogs" has no expand button; the volumes do
    Catalog->setUniformRowHeights(true);
    Catalog->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Catalog->setSelectionMode(QAbstractItemView::SingleSelection);
    Catalog->setIconSize({16, 16});
    // Long names scroll sideways instead of being cut short.
    Catalog->header()->setStretchLastSection(false);
    Catalog->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    column->addWidget(Catalog, 1);

    ScrollBox1 = new QScrollArea;
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setFrameShape(QFrame::NoFrame);
    ScrollBox1->setBackgroundRole(QPalette::Base);
    ScrollBox1->setAutoFillBackground(true);
    // The pane's controls follow the width of the scroll box, down to the narrowest the options panel allows.
    ScrollBox1->setWidgetResizable(true);
    m_searchPane = new SearchPane;
    ScrollBox1->setWidget(m_searchPane);
    ScrollBox1->hide();
    column->addWidget(ScrollBox1, 1);
    return Panel3;
}

void TQuillonForm::buildWorkArea() {
    Splitter1 = new QSplitter(Qt::Horizontal);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    Splitter1->setHandleWidth(3);
    Splitter1->setChildrenCollapsible(false);
    Splitter1->addWidget(buildFoldersPanel());

    auto* lists = new QWidget;
    auto* stack = new QVBoxLayout(lists);
    stack->setContentsMargins(0, 0, 0, 0);
    ListView = new ItemListView;
    ListView->setObjectName(QStringLiteral("ListView"));
    ListView->setModel(m_contents);
    ListView->setColumnWidths({150, 82, 82, 80});
    SearchView = new ItemListView;
    SearchView->setObjectName(QStringLiteral("SearchView"));
    SearchView->setModel(m_results);
    SearchView->setColumnWidths({120, 80, 120, 82, 82, 49});
    SearchView->setSharedColumns({0, 1, 2}, 30);
    SearchView->hide();
    stack->addWidget(ListView);
    stack->addWidget(SearchView);
    Splitter1->addWidget(lists);
    Splitter1->setStretchFactor(1, 1);
    Splitter1->setSizes({225, 300});
    setCentralWidget(Splitter1);
}

void TQuillonForm::buildStatusBar() {
    for (std::size_t i = 0; i < StatusBar1.size(); ++i) {
        StatusBar1[i] = new QLabel;
        StatusBar1[i]->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
    }
    StatusBar1[0]->setMinimumWidth(150);
    StatusBar1[1]->setMinimumWidth(50);
    statusBar()->addWidget(StatusBar1[0]);
    statusBar()->addWidget(StatusBar1[1], 1);
}

void TQuillonForm::connectHandlers() {
    QuillonActions& a = *m_actions;
    connect(Catalog, &QTreeView::clicked, this, &TQuillonForm::CatalogClick);
    connect(a.Quit, &QAction::triggered, this, &TQuillonForm::QuitExecute);
    connect(a.AdjustCols, &QAction::triggered, this, &TQuillonForm::AdjustColsExecute);
    connect(a.AdjustColumns1, &QMenu::aboutToShow, this, &TQuillonForm::AdjustColsExecute);
    connect(a.StandartButtons1, &QAction::triggered, this, &TQuillonForm::ToggleToolbars);
    connect(a.PathBar1, &QAction::triggered, this, &TQuillonForm::ToggleToolbars);
    connect(a.LargeIcons2, &QAction::triggered, this, &TQuillonForm::LargeIcons2Click);
    connect(a.SmallIcons1, &QAction::triggered, this, &TQuillonForm::SmallIcons1Click);
    connect(a.List2, &QAction::triggered, this, &TQuillonForm::List2Click);
    connect(a.Details2, &QAction::triggered, this, &TQuillonForm::Details2Click);
    connect(a.LIcons, &QAction::triggered, this, &TQuillonForm::LIconsClick);
    connect(a.SIcons, &QAction::triggered, this, &TQuillonForm::SIconsClick);
    connect(a.VList, &QAction::triggered, this, &TQuillonForm::VListClick);
    connect(a.VDetails, &QAction::triggered, this, &TQuillonForm::VDetailsClick);
    connect(a.CreateNew, &QAction::triggered, this, &TQuillonForm::CreateNewExecute);
    connect(a.Preferences1, &QAction::triggered, this, &TQuillonForm::Preferences1Click);
    connect(a.About1, &QAction::triggered, this, &TQuillonForm::About1Click);
    connect(a.HelpContents, &QAction::triggered, this, &TQuillonForm::HelpContentsExecute);
    connect(a.Update, &QAction::triggered, this, &TQuillonForm::UpdateClick);

    connect(a.Rename1, &QAction::triggered, this, &TQuillonForm::Rename1Execute);
    connect(a.Delete1, &QAction::triggered, this, &TQuillonForm::Delete1Execute);
    connect(a.SetCatDir, &QAction::triggered, this, &TQuillonForm::SetCatDirClick);
    m_treeModel->setEditHandler([this](CatalogNode* node, QString& name) { CatalogEdited(node, name); });
    // Any end of the edit, confirmed or cancelled with Esc, makes the tree read-only again.
    connect(Catalog->itemDelegate(), &QAbstractItemDelegate::closeEditor, this,
            [this] { m_treeModel->setEditing(false); });

    connect(BackBut, &QToolButton::clicked, this, &TQuillonForm::BackButClick);
    connect(ForwBut, &QToolButton::clicked, this, &TQuillonForm::ForwButClick);
    connect(UpBut, &QToolButton::clicked, this, &TQuillonForm::UpButClick);
    // One group that may have both buttons up: pressing one releases the other.
    connect(SBut, &QToolButton::clicked, this, [this](bool down) {
        if (down) FBut->setChecked(false);
        ToggleSearch();
    });
    connect(FBut, &QToolButton::clicked, this, [this](bool down) {
        if (down) SBut->setChecked(false);
        ToggleSearch();
    });
    connect(XBut, &QToolButton::clicked, this, &TQuillonForm::XButClick);
    connect(PathBox, &PathComboBox::closedUp, this, &TQuillonForm::PathBoxCloseUp);

    connect(ListView, &ItemListView::columnClicked, this,
            [this](int column) { ListViewColumnClick(ListView, column); });
    connect(SearchView, &ItemListView::columnClicked, this,
            [this](int column) { ListViewColumnClick(SearchView, column); });
    connect(ListView, &ItemListView::rowDoubleClicked, this, &TQuillonForm::ListViewDblClick);
    connect(ListView, &ItemListView::spacePressed, this, [this] { ListViewKeyDown(ListView); });
    connect(SearchView, &ItemListView::spacePressed, this, [this] { ListViewKeyDown(SearchView); });
    connect(SearchView, &ItemListView::rowDoubleClicked, this, &TQuillonForm::SearchViewDblClick);

    connect(a.SaveSR, &QAction::triggered, this, &TQuillonForm::SaveSRExecute);
    connect(m_searchPane->SearchNow, &QPushButton::clicked, this, &TQuillonForm::SearchNowClick);
    connect(m_searchPane->StopSearch, &QPushButton::clicked, this, &TQuillonForm::StopSearchClick);
    connect(m_searchPane, &SearchPane::criteriaChanged, this, &TQuillonForm::searchCriteriaChanged);
}

// --- Start-up and shutdown ---

void TQuillonForm::FormCreate() {
    LoadSettings();
    if (m_settings.FirstStart) {
        FirstStartPrompt();
        m_endedAtStart = true;
        m_services.quitSoon();
        return;
    }
    m_sort = SortState{};
    History = NavigationHistory{};
    LastNode.reset();
    if (!ReloadCatalogFolder()) return;
    if (m_catalog.volumeCount() > 0) m_searchPane->LookIn->setCurrentIndex(1);
    showCatalogCount();
}

void TQuillonForm::FirstStartPrompt() {
    m_settings.FirstStart = false;
    m_services.boxes->information(this, kFirstStartText);
    m_services.startConverter();
}

void TQuillonForm::FormDestroy() {
    SaveSettings();
}

void TQuillonForm::LoadSettings() {
    m_settings.load();
    SearchView->setViewStyle(m_settings.SLV_ViewStyle);
    m_actions->StandartButtons1->setChecked(m_settings.StdBar);
    m_actions->PathBar1->setChecked(m_settings.PathBar);
    m_actions->AutoAdjust1->setChecked(m_settings.AutoAdjust);
    ToggleToolbars();
    applyViewStyle(int(m_settings.LV_ViewStyle));
}

void TQuillonForm::SaveSettings() {
    m_settings.LV_ViewStyle = ListView->viewStyle();
    m_settings.SLV_ViewStyle = SearchView->viewStyle();
    // Hidden explicitly, not merely off screen: the window itself is already closed at this point.
    m_settings.StdBar = !StandartButs->isHidden();
    m_settings.PathBar = !PathBar->isHidden();
    m_settings.AutoAdjust = m_actions->AutoAdjust1->isChecked();
    m_settings.save();  // a file that cannot be written is not reported
}

bool TQuillonForm::ReloadCatalogFolder() {
    std::unique_ptr<TLoadForm> loadForm;
    std::vector<QString> errors;
    LoadObserver observer;
    observer.started = [&](int count) {
        m_lastLoad = {true, count, 0};
        loadForm = std::make_unique<TLoadForm>(geometry(), count);
    };
    observer.advanced = [&] {
        ++m_lastLoad.advances;
        if (loadForm) loadForm->advance();
    };
    // Kept until the tree model is whole again: a message box runs an event loop that may repaint the tree.
    observer.error = [&](const std::string& message) { errors.push_back(fromBytes(message)); };

    m_lastLoad = {};
    // The rows look into the volumes about to be freed, and the loading window repaints the list.
    m_contents->clear();
    m_treeModel->beginReload();
    const LoadResult result = quillon::ReloadCatalogFolder(
        QFile::encodeName(m_settings.CatalogFolder).toStdString(), m_catalog, observer);
    m_treeModel->endReload();
    loadForm.reset();
    for (const QString& error : errors) m_services.boxes->standardError(this, error);

    if (result.catalogFiles == 0) {
        m_contents->clear();
        return true;
    }
    if (result.failedFiles > 0) return false;
    const QModelIndex root = m_treeModel->rootIndex();
    Catalog->expand(root);
    Catalog->setCurrentIndex(root);
    FillContents();
    FillLookIn();
    return true;
}

// --- Showing a node ---

CatalogNode* TQuillonForm::selectedNode() const {
    return m_treeModel->nodeAt(Catalog->currentIndex());
}

void TQuillonForm::selectNode(const CatalogNode* node) {
    Catalog->setCurrentIndex(m_treeModel->indexOf(node));
    CatalogClick();
}

void TQuillonForm::CatalogClick() {
    const CatalogNode* node = selectedNode();
    if (!node || (LastNode && *LastNode == node->id())) return;
    FillContents();
    if (!LastNode) {
        LastNode = node->id();
        return;
    }
    RecordVisit();
    LastNode = node->id();
}

void TQuillonForm::RecordVisit() {
    const CatalogNode* node = selectedNode();
    if (!node) return;
    History.record(fromBytes(node->text()), node->id());
    UpdateHistoryMenus();
}

void TQuillonForm::UpdateHistoryMenus() {
    // Entries of removed volumes (or of a tree since reloaded) are dropped, so they are never offered.
    History.dropStale([this](std::uint64_t id) { return m_catalog.findById(id) != nullptr; });
    QMenu* backMenu = m_actions->BackMenu;
    QMenu* forwMenu = m_actions->ForwMenu;
    backMenu->clear();
    forwMenu->clear();
    const QStringList back = History.backNames();
    const QStringList forward = History.forwardNames();
    if (!back.isEmpty()) BackBut->setToolTip(QStringLiteral("Back to ") + back.first());
    if (!forward.isEmpty()) ForwBut->setToolTip(QStringLiteral("Forwar to ") + forward.first());
    for (const QString& name : back) {
        QAction* item = backMenu->addAction(name);
        connect(item, &QAction::triggered, this, [this, item] { BackMenuClick(item); });
    }
    for (const QString& name : forward) {
        QAction* item = forwMenu->addAction(name);
        connect(item, &QAction::triggered, this, [this, item] { ForwMenuClick(item); });
    }
    BackBut->setEnabled(!back.isEmpty());
    ForwBut->setEnabled(!forward.isEmpty());
}

void TQuillonForm::BackMenuClick(QAction* item) {
    const int i = int(m_actions->BackMenu->actions().indexOf(item));
    if (i >= 0) goToHistorySlot(History.pos() - (i + 1));
}

void TQuillonForm::ForwMenuClick(QAction* item) {
    const int i = int(m_actions->ForwMenu->actions().indexOf(item));
    if (i >= 0) goToHistorySlot(History.pos() + (i + 1));
}

void TQuillonForm::BackButClick() {
    const QList<QAction*> items = m_actions->BackMenu->actions();
    if (!items.isEmpty()) BackMenuClick(items.first());
}

void TQuillonForm::ForwButClick() {
    const QList<QAction*> items = m_actions->ForwMenu->actions();
    if (!items.isEmpty()) ForwMenuClick(items.first());
}

void TQuillonForm::goToHistorySlot(int slot) {
    if (slot < 1 || slot > NavigationHistory::kLastSlot || !History.slot(slot)) return;
    const CatalogNode* node = m_catalog.findById(History.slot(slot)->Node);
    if (node) {
        History.setPos(slot);
        Catalog->setCurrentIndex(m_treeModel->indexOf(node));
        FillContents();
        LastNode = node->id();
    }
    UpdateHistoryMenus();
}

void TQuillonForm::FillContents() {
    const CatalogNode* node = selectedNode();
    if (!node) return;
    UpBut->setEnabled(node->level() > 0);
    const QModelIndex index = m_treeModel->indexOf(node);
    for (QModelIndex up = index.parent(); up.isValid(); up = up.parent()) Catalog->expand(up);
    Catalog->scrollTo(index);

    if (m_catalog.volumeCount() == 0) {
        m_contents->clear();
        return;
    }
    std::vector<ContentsRow> rows = contentsRows(m_catalog, *node);
    // Column widths do not depend on the order of the rows, and the rows are read several times faster in the
    // order the catalog holds their records: the contents list is sized on them in that order while a copy
    // is sorted on another thread. The sort reads only the catalog, which nothing changes meanwhile.
    const bool adjust = m_actions->AutoAdjust1->isChecked();
    // Only the details style has columns to size.
    const bool sizedFirst = adjust && visibleList() == ListView && ListView->viewStyle() == ViewStyle::Details;
    if (sizedFirst) {
        std::future<std::vector<ContentsRow>> sorted =
            std::async(std::launch::async, [copy = rows, sort = m_sort]() mutable {
                sortRows(copy, sort);
                return copy;
            });
        m_contents->setRows(std::move(rows));
        AdjustColsExecute();
        m_contents->setOrder(sorted.get());
    } else {
        sortRows(rows, m_sort);
        m_contents->setRows(std::move(rows));
    }
    setStatusText(1, QString::number(m_contents->rowCount()) + QStringLiteral(" Items"));
    const QString path = fromBytes(GetNodePath(*node));
    pushPath(path);
    m_searchPane->setLookInLocation(path, node->image());
    if (adjust && !sizedFirst) AdjustColsExecute();
}

void TQuillonForm::pushPath(const QString& path) {
    if (PathBox->count() > 9) PathBox->removeItem(PathBox->count() - 1);
    PathBox->insertItem(0, catalogImage(pathImage(path)), path);
    PathBox->setCurrentIndex(0);
}

void TQuillonForm::ListViewColumnClick(ItemListView* sender, int column) {
    m_sort.columnClicked(column);
    if (sender == ListView)
        m_contents->sortBy(m_sort);
    else
        m_results->sortBy(m_sort);
}

void TQuillonForm::ListViewDblClick() {
    const ContentsRow* row = m_contents->rowAt(ListView->selectedRow());
    if (row && row->node) selectNode(row->node);
}

void TQuillonForm::ListViewKeyDown(ItemListView* sender) {
    if (sender != ListView) {
        SearchViewKeyDown();
        return;
    }
    const int selected = ListView->selectedRow();
    const ContentsRow* row = m_contents->rowAt(selected);
    if (!row || row->image == kFileImage || !row->node) return;
    m_contents->setTotal(selected, FolderSizeKB(*row->node));
}

// --- View styles, toolbars, columns ---

ItemListView* TQuillonForm::visibleList() const {
    return ListView->isHidden() ? SearchView : ListView;
}

void TQuillonForm::applyViewStyle(int style) {
    m_actions->viewsItem(style)->setChecked(true);
    m_actions->viewMenuItem(style)->setChecked(true);
    visibleList()->setViewStyle(ViewStyle(style));
}

void TQuillonForm::ToggleToolbars() {
    StandartButs->setVisible(m_actions->StandartButtons1->isChecked());
    PathBar->setVisible(m_actions->PathBar1->isChecked());
}

void TQuillonForm::AdjustColsExecute() {
    visibleList()->adjustColumns();
}

void TQuillonForm::QuitExecute() {
    close();
}

// --- Mode buttons and the path box ---

void TQuillonForm::UpButClick() {
    const CatalogNode* node = selectedNode();
    if (node && node->parent()) selectNode(node->parent());
}

void TQuillonForm::PathBoxCloseUp() {
    FBut->setChecked(true);
    SBut->setChecked(false);
    ToggleSearch();  // stops a running search
    GoButClick();
}

void TQuillonForm::GoButClick() {
    if (m_catalog.volumeCount() == 0) return;
    const CatalogNode* node =
        resolveNodePath(m_catalog, activeCodePage().fromUnicode(PathBox->currentText()));
    if (!node) {
        m_services.boxes->error(this, fromBytes(kPathNotFound));
        PathBox->setCurrentIndex(0);
        return;
    }
    selectNode(node);
}

// --- Catalog management ---

std::string TQuillonForm::catalogFolderBytes() const {
    return QFile::encodeName(m_settings.CatalogFolder).toStdString();
}

void TQuillonForm::showCatalogCount() {
    setStatusText(0, QString::number(m_catalog.volumeCount()) + QStringLiteral(" Catalogs"));
}

void TQuillonForm::refillShownContents() {
    const CatalogNode* shown = LastNode ? m_catalog.findById(*LastNode) : &m_catalog.root();
    if (!shown || m_catalog.volumeCount() == 0) {
        m_contents->clear();
        return;
    }
    std::vector<ContentsRow> rows = contentsRows(m_catalog, *shown);
    sortRows(rows, m_sort);
    m_contents->setRows(std::move(rows));
    setStatusText(1, QString::number(m_contents->rowCount()) + QStringLiteral(" Items"));
}

void TQuillonForm::Rename1Execute() {
    if (deferWhileSearching([this] { Rename1Execute(); })) return;
    const CatalogNode* node = selectedNode();
    if (!node || node->level() != 1) return;
    m_treeModel->setEditing(true);
    Catalog->edit(Catalog->currentIndex());
}

void TQuillonForm::CatalogEdited(CatalogNode* node, QString& name) {
    const QString current = fromBytes(node->text());
    if (m_searching) {
        // Replacing a volume of the same name removes it: the edit is undone for now and done again, with
        // its questions, when the run has stopped.
        const std::uint64_t id = node->id();
        const QString typed = name;
        name = current;
        deferWhileSearching([this, id, typed] {
            CatalogNode* again = m_catalog.findById(id);
            if (!again || again->level() != 1) return;
            QString accepted = typed;
            CatalogEdited(again, accepted);
            std::string bytes = activeCodePage().fromUnicode(accepted);
            if (bytes != again->text()) m_treeModel->renameVolume(again, std::move(bytes));
        });
        return;
    }
    const std::string folder = catalogFolderBytes();
    const std::string newName = activeCodePage().fromUnicode(name);

    struct Asker final : ScanObserver {
        TQuillonForm* form;
        explicit Asker(TQuillonForm* f) : form(f) {}
        bool ask(ScanQuestion, std::string_view text) override {
            return form->m_services.boxes->warningQuestion(form, fromBytes(text));
        }
    } asker(this);
    SameNameVolume replaced = ConfirmVolumeName(m_catalog, folder, newName, asker);
    if (!replaced.proceed) {
        name = current;
        return;
    }
    // Confirming the volume's own name finds the volume itself: nothing of it is to be removed.
    if (replaced.older == node) replaced = {};

    const EncodedName encoded = EncodeVolumeName(newName);
    if (encoded.refused) {
        m_services.boxes->error(this, fromBytes(encoded.message));
        name = current;
        return;
    }
    const std::string ownFile = volumeCatalogFile(folder, node->text());
    const std::string from = folder + ownFile;
    const std::string to = folder + encoded.fileName + ".qvl";
    namespace fs = std::filesystem;
    std::error_code error;
    bool allowed = !ownFile.empty() && fs::exists(from, error);
    // The target may be the file itself (a new letter case) or the file of the volume being replaced;
    // any other file of that name is kept, as the rename of older versions refused to overwrite.
    if (allowed && fs::exists(to, error) && !fs::equivalent(from, to, error))
        allowed = !replaced.olderFile.empty() && fs::equivalent(to, folder + replaced.olderFile, error);
    if (allowed) {
        fs::rename(from, to, error);
        allowed = !error;
    }
    if (!allowed) {
        m_services.boxes->error(
            this, QStringLiteral("The name you have entered is not applicable. Please choose another one!"));
        name = current;
        return;
    }
    if (replaced.older) {
        m_treeModel->removeNode(replaced.older,
                                [&] { removeVolume(m_catalog, folder, replaced, to); });
        refillShownContents();
        showCatalogCount();
    }
}

void TQuillonForm::Delete1Execute() {
    if (deferWhileSearching([this] { Delete1Execute(); })) return;
    CatalogNode* node = selectedNode();
    if (!node || node->level() != 1) return;
    const QString name = fromBytes(node->text());
    if (!m_services.boxes->question(
            this, QStringLiteral("Do you really want to delete the catalog folder of ") + name + u'?'))
        return;
    const std::string folder = catalogFolderBytes();
    const std::string file = volumeCatalogFile(folder, node->text());
    std::error_code error;
    if (file.empty() || !std::filesystem::remove(folder + file, error)) {
        m_services.boxes->error(this, QStringLiteral("Catalog file is missing."));
        if (!m_services.boxes->question(this, QStringLiteral("Do you want to delete the node anyway?")))
            return;
    }
    m_treeModel->removeNode(node, [&] { m_catalog.remove(node); });
    // The rows shown may point into the removed volume; the click below refills only for another node.
    refillShownContents();
    FillLookIn();
    CatalogClick();
    UpdateHistoryMenus();
    showCatalogCount();
}

void TQuillonForm::SetCatDirClick() {
    if (deferWhileSearching([this] { SetCatDirClick(); })) return;
    const QString chosen = m_services.chooseFolder(this, QStringLiteral("Choose Catalog Folder..."));
    if (chosen.isEmpty()) return;
    m_settings.CatalogFolder = chosen + u'/';
    ReloadCatalogFolder();
    UpdateHistoryMenus();
    showCatalogCount();
}

// --- Dialogs and help ---

void TQuillonForm::CreateNewExecute() {
    if (deferWhileSearching([this] { CreateNewExecute(); })) return;
    // The dialog resets the tree model around its changes; the selection comes back by id, as the node may
    // be gone (a volume replaced under the same name).
    const CatalogNode* before = selectedNode();
    // Node ids start at 1, so 0 finds nothing.
    const std::uint64_t beforeId = before ? before->id() : 0;
    TSelDirForm form(m_catalog, *m_treeModel, m_settings, {m_services.boxes, m_mounts, m_openCDDoor, {}},
                     Catalog, this);
    connect(&form, &TSelDirForm::volumeCataloged, this, [this](const CatalogNode* volume) {
        Catalog->expand(m_treeModel->rootIndex());
        FillLookIn();
        selectNode(volume);
        setStatusText(0, QString::number(m_catalog.volumeCount()) + QStringLiteral(" Catalogs"));
    });
    form.exec();
    if (selectedNode()) return;
    const CatalogNode* again = m_catalog.findById(beforeId);
    Catalog->setCurrentIndex(again ? m_treeModel->indexOf(again) : m_treeModel->rootIndex());
    FillContents();
    setStatusText(0, QString::number(m_catalog.volumeCount()) + QStringLiteral(" Catalogs"));
}

void TQuillonForm::Preferences1Click() {
    TPreferences::execute(this, m_settings);
}

void TQuillonForm::About1Click() {
    TAboutBox::execute(this, m_services.openUrl);
}

void TQuillonForm::HelpContentsExecute() {
    openHelpContents(*m_services.boxes, this, m_services.openUrl);
}

void TQuillonForm::UpdateClick() {
    openHomepage(m_services.openUrl);
}

// --- Status bar ---

QString TQuillonForm::statusText(int panel) const {
    return StatusBar1[std::size_t(panel)]->text();
}

void TQuillonForm::setStatusText(int panel, const QString& text) {
    StatusBar1[std::size_t(panel)]->setText(text);
}

}  // namespace quillon
