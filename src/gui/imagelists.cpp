#include "imagelists.h"

#include <QApplication>
#include <QStyle>

namespace quillon {

namespace {

// The one place that chooses pictures: the style's standard icons stand in until the drawn image set exists.
QIcon standard(QStyle::StandardPixmap pixmap) { return QApplication::style()->standardIcon(pixmap); }

}  // namespace

QIcon catalogImage(int index)
{
    switch (index) {
    case 0: return standard(QStyle::SP_ComputerIcon);
    case 1: return standard(QStyle::SP_DriveCDIcon);
    case 2: {
        QIcon folder = standard(QStyle::SP_DirClosedIcon);
        const QIcon open = standard(QStyle::SP_DirOpenIcon);
        for (const int size : {16, 32}) folder.addPixmap(open.pixmap(size), QIcon::Selected);
        return folder;
    }
    case 3: return standard(QStyle::SP_DirOpenIcon);
    case 4: return standard(QStyle::SP_FileIcon);
    case 5: return standard(QStyle::SP_FileDialogContentsView);
    default: return {};
    }
}

QIcon toolImage(ToolImage image)
{
    switch (image) {
    case ToolImage::Back: return standard(QStyle::SP_ArrowBack);
    case ToolImage::Forward: return standard(QStyle::SP_ArrowForward);
    case ToolImage::Up: return standard(QStyle::SP_FileDialogToParent);
    case ToolImage::Search: return standard(QStyle::SP_FileDialogContentsView);
    case ToolImage::Folders: return standard(QStyle::SP_DirIcon);
    case ToolImage::Views: return standard(QStyle::SP_FileDialogDetailedView);
    }
    return {};
}

}  // namespace quillon
