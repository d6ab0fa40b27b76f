#include "quillonactions.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>
#include <QWidget>

namespace quillon {

QuillonActions::QuillonActions(QWidget* window)
    : QObject(window), m_viewMenuGroup(new QActionGroup(this)), m_viewsGroup(new QActionGroup(this)) {
    CreateNew = make(QStringLiteral("&New Catalog..."), this);
    CreateNew->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    SetCatDir = make(QStringLiteral("Set Catalog &Folder"), this);
    SaveSR = make(QStringLiteral("&Save Search Results"), this);
    SaveSR->setEnabled(false);
    // "&Refresh" has no operation; an action without one is shown disabled.
    Repaint = make(QStringLiteral("&Refresh"), this);
    Repaint->setShortcut(QKeySequence(Qt::Key_F5));
    Repaint->setEnabled(false);
    Quit = make(QStringLiteral("&Quit"), this);
    Quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_X));

    Rename1 = make(QStringLiteral("&Rename"), this);
    Rename1->setShortcut(QKeySequence(Qt::Key_F2));
    Delete1 = make(QStringLiteral("&Delete"), this);
    Delete1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    Preferences1 = make(QStringLiteral("&Preferences"), this);

    StandartButtons1 = make(QStringLiteral("&Standard Buttons"), this);
    PathBar1 = make(QStringLiteral("&Path Bar"), this);
    AutoAdjust1 = make(QStringLiteral("A&uto Resize"), this);
    for (QAction* item : {StandartButtons1, PathBar1, AutoAdjust1}) {
        item->setCheckable(true);
        item->setChecked(true);
    }
    AdjustCols = make(QStringLiteral("&Resize Now"), this);
    AdjustCols->setShortcut(QKeySequence(Qt::Key_F3));

    HelpContents = make(QStringLiteral("Contents"), this);
    // The menu shows F10; Ctrl+F1 works as well.
    HelpContents->setShortcuts({QKeySequence(Qt::Key_F10), QKeySequence(Qt::CTRL | Qt::Key_F1)});
    Update = make(QStringLiteral("Check For &Update"), this);
    About1 = make(QStringLiteral("&About"), this);

    const std::array<QString, 4> styles{QStringLiteral("L&arge Icons"), QStringLiteral("&Small Icons"),
                                        QStringLiteral("&List"), QStringLiteral("&Details")};
    for (std::size_t i = 0; i < styles.size(); ++i) {
        m_viewMenuItems[i] = make(styles[i], m_viewMenuGroup);
        m_viewsItems[i] = make(styles[i], m_viewsGroup);
        for (QAction* item : {m_viewMenuItems[i], m_viewsItems[i]}) item->setCheckable(true);
    }
    m_viewMenuGroup->setExclusive(true);
    m_viewsGroup->setExclusive(true);
    LIcons = m_viewMenuItems[0];
    SIcons = m_viewMenuItems[1];
    VList = m_viewMenuItems[2];
    VDetails = m_viewMenuItems[3];
    LargeIcons2 = m_viewsItems[0];
    SmallIcons1 = m_viewsItems[1];
    List2 = m_viewsItems[2];
    Details2 = m_viewsItems[3];

    Views = new QMenu(window);
    Views->addActions(m_viewsGroup->actions());
    BackMenu = new QMenu(window);
    ForwMenu = new QMenu(window);
    AdjustColumns1 = new QMenu(QStringLiteral("&Columns"), window);
    AdjustColumns1->addAction(AdjustCols);
    AdjustColumns1->addAction(AutoAdjust1);

    window->addActions({CreateNew, SaveSR, Repaint, Quit, AdjustCols, Rename1, Delete1, HelpContents});
}

QAction* QuillonActions::make(const QString& text, QObject* parent) {
    auto* action = new QAction(text, parent);
    action->setShortcutContext(Qt::WindowShortcut);
    return action;
}

void QuillonActions::buildMainMenu(QMenuBar* bar) {
    QMenu* file = bar->addMenu(QStringLiteral("&File"));
    file->addAction(CreateNew);
    file->addAction(SetCatDir);
    file->addAction(SaveSR);
    file->addSeparator();
    file->addAction(Repaint);
    file->addSeparator();
    file->addAction(Quit);

    QMenu* edit = bar->addMenu(QStringLiteral("&Edit"));
    edit->addAction(Rename1);
    edit->addAction(Delete1);
    edit->addSeparator();
    edit->addAction(Preferences1);

    QMenu* view = bar->addMenu(QStringLiteral("&View"));
    QMenu* toolBars = view->addMenu(QStringLiteral("&ToolBars"));
    toolBars->addAction(StandartButtons1);
    toolBars->addAction(PathBar1);
    view->addMenu(AdjustColumns1);
    view->addSeparator();
    view->addActions(m_viewMenuGroup->actions());

    QMenu* help = bar->addMenu(QStringLiteral("&Help"));
    help->addAction(HelpContents);
    help->addSeparator();
    help->addAction(Update);
    help->addSeparator();
    help->addAction(About1);
}

}  // namespace quillon
