#pragma once

#include <QObject>
#include <array>

class QAction;
class QActionGroup;
class QMenu;
class QMenuBar;
class QWidget;

namespace quillon {

// Every command of the main window: the actions with their captions, shortcuts, check marks and radio groups,
// and the menus that show them. The window connects the handlers; the shortcuts work anywhere in the window
// because every action is also added to the window itself.
class QuillonActions final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(QuillonActions)

public:
    explicit QuillonActions(QWidget* window);

    // Fills the menu bar with "&File", "&Edit", "&View" and "&Help".
    void buildMainMenu(QMenuBar* bar);

    // The view-style item of the "&View" menu and of the views button's menu, by style number 0 to 3.
    QAction* viewMenuItem(int style) const { return m_viewMenuItems[std::size_t(style)]; }
    QAction* viewsItem(int style) const { return m_viewsItems[std::size_t(style)]; }

    // File
    QAction* CreateNew;
    QAction* SetCatDir;
    QAction* SaveSR;
    QAction* Repaint;
    QAction* Quit;
    // Edit
    QAction* Rename1;
    QAction* Delete1;
    QAction* Preferences1;
    // View
    QAction* StandartButtons1;
    QAction* PathBar1;
    QAction* AdjustCols;
    QAction* AutoAdjust1;
    QAction* LIcons;
    QAction* SIcons;
    QAction* VList;
    QAction* VDetails;
    // Help
    QAction* HelpContents;
    QAction* Update;
    QAction* About1;
    // The views button's menu
    QAction* LargeIcons2;
    QAction* SmallIcons1;
    QAction* List2;
    QAction* Details2;

    QMenu* AdjustColumns1;  // "&Columns": opening it also resizes the columns
    QMenu* Views;
    QMenu* BackMenu;
    QMenu* ForwMenu;

private:
    QAction* make(const QString& text, QObject* parent);

    QActionGroup* m_viewMenuGroup;
    QActionGroup* m_viewsGroup;
    std::array<QAction*, 4> m_viewMenuItems{};
    std::array<QAction*, 4> m_viewsItems{};
};

}  // namespace quillon
