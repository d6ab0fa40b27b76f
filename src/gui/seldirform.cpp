#include "seldirform.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileSystemModel>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

#include "catalogtreemodel.h"
#include "codepage.h"
#include "messageboxes.h"
#include "settings.h"

namespace quillon {

namespace {

QString fromBytes(std::string_view text) {
    return activeCodePage().toUnicode(text);
}

std::string pathBytes(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

QString pathText(std::string_view path) {
    return QFile::decodeName(QByteArray(path.data(), qsizetype(path.size())));
}

const MountTable& mountsOf(const SelDirServices& services, std::unique_ptr<MountTable>& own) {
    if (services.mounts) return *services.mounts;
    own = std::make_unique<SystemMountTable>();
    return *own;
}

}  // namespace

TSelDirForm::TSelDirForm(Catalog& catalog, CatalogTreeModel& treeModel, const Settings& settings,
                         SelDirServices services, QWidget* tree, QWidget* parent)
    : QDialog(parent),
      m_catalog(catalog),
      m_treeModel(treeModel),
      m_settings(settings),
      m_services(std::move(services)),
      m_drives(mountsOf(m_services, m_ownMounts)),
      m_cataloger(catalog, *this),
      m_tree(tree) {
    setObjectName(QStringLiteral("SelDirForm"));
    setWindowTitle(QStringLiteral("Browse For Folder"));
    // A tool window without title-bar buttons that stays above the main window.
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint);
    setSizeGripEnabled(true);
    resize(455, 293);

    m_folders = new QFileSystemModel(this);
    m_folders->setFilter(QDir::AllDirs | QDir::Drives | QDir::Hidden | QDir::NoDotAndDotDot);
    m_folders->setOption(QFileSystemModel::DontWatchForChanges);
    m_folders->setRootPath(QDir::rootPath());

    ShellTreeView1 = new QTreeView;
    ShellTreeView1->setObjectName(QStringLiteral("ShellTreeView1"));
    ShellTreeView1->setModel(m_folders);
    ShellTreeView1->setHeaderHidden(true);
    for (int column = 1; column < m_folders->columnCount(); ++column) ShellTreeView1->hideColumn(column);
    ShellTreeView1->setUniformRowHeights(true);
    // The home folder open and in view, where most folders to catalog are; the folders that removable drives
    // are mounted in open too.
    const QString user = qEnvironmentVariable("USER");
    for (const QString& mounts : {QStringLiteral("/media"), QStringLiteral("/mnt"),
                                  QStringLiteral("/run/media/") + user, QStringLiteral("/media/") + user}) {
        const QModelIndex index = QDir(mounts).exists() ? m_folders->index(mounts) : QModelIndex();
        for (QModelIndex up = index; up.isValid(); up = up.parent()) ShellTreeView1->expand(up);
    }
    const QModelIndex home = m_folders->index(QDir::homePath());
    for (QModelIndex up = home; up.isValid(); up = up.parent()) ShellTreeView1->expand(up);
    ShellTreeView1->scrollTo(home);

    StatusLbl = new QLabel(QStringLiteral(" Selecting..."));
    StatusLbl->setObjectName(QStringLiteral("StatusLbl"));
    QFont bold = StatusLbl->font();
    bold.setBold(true);
    StatusLbl->setFont(bold);
    StatusLbl->setAutoFillBackground(true);
    QPalette silver = StatusLbl->palette();
    silver.setColor(QPalette::Window, QColor(0xC0, 0xC0, 0xC0));
    StatusLbl->setPalette(silver);

    auto* nameLabel = new QLabel(QStringLiteral("Enter New Volume Name:"));
    VolumeName = new QLineEdit(QStringLiteral("New Volume"));
    VolumeName->setObjectName(QStringLiteral("VolumeName"));
    nameLabel->setBuddy(VolumeName);
    auto* label1 = new QLabel(QStringLiteral("Current Folder:"));
    CurDir = new QLabel(QDir::toNativeSeparators(QDir::homePath()));
    CurDir->setObjectName(QStringLiteral("CurDir"));
    auto* label2 = new QLabel(QStringLiteral("Current File:"));
    CurFile = new QLabel;
    CurFile->setObjectName(QStringLiteral("CurFile"));
    auto* label4 = new QLabel(QStringLiteral("Cataloged folders:"));
    NumFolders = new QLabel(QStringLiteral("0"));
    NumFolders->setObjectName(QStringLiteral("NumFolders"));
    auto* label6 = new QLabel(QStringLiteral("Cataloged files:"));
    NumFiles = new QLabel(QStringLiteral("0"));
    NumFiles->setObjectName(QStringLiteral("NumFiles"));
    // Long names must not widen the dialog while a scan runs.
    for (QLabel* text : {CurDir, CurFile}) text->setMinimumWidth(1);

    OKBut = new QPushButton(QStringLiteral("&OK"));
    OKBut->setObjectName(QStringLiteral("OKBut"));
    OKBut->setDefault(true);
    CancelBut = new QPushButton(QStringLiteral("&Cancel"));
    CancelBut->setObjectName(QStringLiteral("CancelBut"));

    Bevel1 = new QFrame;
    Bevel1->setFrameShape(QFrame::StyledPanel);
    auto* panel = new QVBoxLayout(Bevel1);
    panel->addWidget(StatusLbl);
    panel->addWidget(nameLabel);
    panel->addWidget(VolumeName);
    panel->addWidget(label1);
    panel->addWidget(CurDir);
    panel->addWidget(label2);
    panel->addWidget(CurFile);
    auto* counts = new QGridLayout;
    counts->addWidget(label4, 0, 0);
    counts->addWidget(NumFolders, 0, 1, Qt::AlignRight);
    counts->addWidget(label6, 1, 0);
    counts->addWidget(NumFiles, 1, 1, Qt::AlignRight);
    panel->addLayout(counts);
    panel->addStretch(1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(OKBut);
    buttons->addWidget(CancelBut);
    panel->addLayout(buttons);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(ShellTreeView1, 1);
    layout->addWidget(Bevel1);

    connect(ShellTreeView1, &QTreeView::clicked, this, &TSelDirForm::ShellTreeView1Click);
    connect(OKBut, &QPushButton::clicked, this, &TSelDirForm::OKButClick);
    connect(CancelBut, &QPushButton::clicked, this, &TSelDirForm::CancelButClick);
}

TSelDirForm::~TSelDirForm() {
    // Closing the window while a scan runs (the dialog is then deleted only after OKButClick unwinds, as
    // exec() returns) must not leave the main tree frozen.
    m_cataloger.cancel();
}

bool TSelDirForm::selectFolder(const QString& path) {
    const QModelIndex index = m_folders->index(path);
    if (!index.isValid()) return false;
    ShellTreeView1->setCurrentIndex(index);
    ShellTreeView1Click();
    return true;
}

QString TSelDirForm::selectedPath() const {
    const QModelIndex index = ShellTreeView1->currentIndex();
    return index.isValid() ? m_folders->filePath(index) : QString();
}

void TSelDirForm::ShellTreeView1Click() {
    if (selectedPath().isEmpty()) return;
    CheckCDDrive();
    VolumeName->setText(GetVolumeLabel());
    ShowProgressPath(QDir::toNativeSeparators(selectedPath()), {});
}

void TSelDirForm::CheckCDDrive() {
    IsCDROM = m_drives.CheckCDDrive(pathBytes(selectedPath()));
}

QString TSelDirForm::GetVolumeLabel() const {
    const QString path = selectedPath();
    if (path.isEmpty()) return {};
    // A disc's label is in the active code page; a folder's name is a file name.
    const std::string label = m_drives.GetVolumeLabel(pathBytes(path));
    return IsCDROM ? fromBytes(label) : pathText(label);
}

void TSelDirForm::ShowProgressPath(const QString& folder, const QString& file) {
    CurDir->setText(pathText(progressFolderText(pathBytes(folder))));
    CurFile->setText(file);
}

void TSelDirForm::OKButClick() {
    // A press that reaches us from the event processing of a running scan starts nothing.
    if (m_scanning || selectedPath().isEmpty()) return;
    const QString path = selectedPath();
    const bool wasCDROM = IsCDROM;
    Cancelled = false;
    VolumeName->setEnabled(false);
    OKBut->setEnabled(false);
    FileCount = 0;
    FolderCount = 0;

    CatalogRequest request;
    request.sourcePath = pathBytes(path);
    request.volumeName = activeCodePage().fromUnicode(VolumeName->text());
    request.label = IsCDROM ? activeCodePage().fromUnicode(GetVolumeLabel()) : pathBytes(GetVolumeLabel());
    request.catalogFolder = pathBytes(m_settings.CatalogFolder);

    m_scanning = true;
    m_scanStarted = false;
    m_sinceEvents.start();
    const CatalogResult result = m_cataloger.run(request);
    m_scanning = false;
    OKBut->setEnabled(true);

    switch (result.outcome) {
        case CatalogOutcome::Refused:
        case CatalogOutcome::Declined:
            refuse();
            return;
        case CatalogOutcome::Busy:
            return;
        case CatalogOutcome::Cancelled:
        case CatalogOutcome::Failed:
            // Cancel has already asked the window to close; a failed write was reported by error().
            VolumeName->setEnabled(true);
            FolderCount = result.folders;
            FileCount = result.files;
            showCounts();
            return;
        case CatalogOutcome::Cataloged:
            break;
    }

    FolderCount = result.folders;
    FileCount = result.files;
    showCounts();
    emit volumeCataloged(result.volume);

    VolumeName->setEnabled(true);
    CurDir->clear();
    CurFile->clear();
    if (wasCDROM && m_settings.AutoOpen) {
        setStatus(QStringLiteral(" Opening CD-ROM..."));
        if (m_services.openCDDoor)
            m_services.openCDDoor(request.sourcePath);
        else
            m_drives.OpenCDDoor(request.sourcePath);
    }
    setStatus(fromBytes(kPhaseEnding));
    if (!m_settings.AskForLast ||
        !m_services.boxes->question(this, QStringLiteral("Will you catalog another volume or folder?"))) {
        accept();
        return;
    }
    update();
}

void TSelDirForm::CancelButClick() {
    Cancelled = true;
    m_cataloger.cancel();
    // During a scan this only hides the window; exec() returns once OKButClick has unwound.
    reject();
}

void TSelDirForm::keyPressEvent(QKeyEvent* event) {
    // Escape is not bound to Cancel.
    if (event->key() == Qt::Key_Escape) {
        event->ignore();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TSelDirForm::closeEvent(QCloseEvent* event) {
    Cancelled = true;
    m_cataloger.cancel();
    QDialog::closeEvent(event);
}

void TSelDirForm::refuse() {
    VolumeName->setEnabled(true);
    VolumeName->setFocus();
}

void TSelDirForm::showCounts() {
    NumFolders->setText(QString::number(FolderCount));
    NumFiles->setText(QString::number(FileCount));
}

void TSelDirForm::setStatus(const QString& text) {
    StatusLbl->setText(text);
    StatusLbl->repaint();
}

bool TSelDirForm::ask(ScanQuestion question, std::string_view text) {
    const QString shown = fromBytes(text);
    if (question == ScanQuestion::ReplaceVolume) return m_services.boxes->warningQuestion(this, shown);
    return m_services.boxes->question(this, shown);
}

void TSelDirForm::phase(std::string_view text) {
    m_scanStarted = true;
    setStatus(fromBytes(text));
}

void TSelDirForm::progress(const ScanProgress& where) {
    FolderCount = where.folders;
    FileCount = where.files;
    if (m_services.entrySeen) m_services.entrySeen(FolderCount, FileCount);
    // Labels and events on a time budget, not per entry: a 100,000-file scan would otherwise spend most of
    // its time repainting.
    if (m_sinceEvents.elapsed() < kRepaintBudgetMs) return;
    ShowProgressPath(pathText(where.folder), pathText(where.entry));
    showCounts();
    QCoreApplication::processEvents();
    m_sinceEvents.restart();
}

void TSelDirForm::error(std::string_view message) {
    // Before the scan begins an error is a refused name; afterwards, a catalog file that could not be
    // written, which goes to the standard error box like every file error.
    if (m_scanStarted)
        m_services.boxes->standardError(this, fromBytes(message));
    else
        m_services.boxes->error(this, fromBytes(message));
}

void TSelDirForm::beginTreeUpdate() {
    if (m_treeUpdates++ > 0) return;
    if (m_tree) m_tree->setUpdatesEnabled(false);
    m_treeModel.beginReload();
}

void TSelDirForm::endTreeUpdate() {
    if (--m_treeUpdates > 0) return;
    m_treeModel.endReload();
    if (m_tree) m_tree->setUpdatesEnabled(true);
}

}  // namespace quillon
