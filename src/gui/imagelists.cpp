#include "imagelists.h"

#include "icons.h"

namespace quillon {

QIcon catalogImage(int index) {
    QIcon icon = catalogIcon(index);
    if (index == int(CatalogImage::Folder)) {
        for (const int size : {kSmallIconSize, kLargeIconSize})
            icon.addPixmap(catalogPixmap(int(CatalogImage::OpenFolder), size), QIcon::Selected);
    }
    return icon;
}

QIcon toolImage(ToolImage image) {
    switch (image) {
        case ToolImage::Back:
            return toolbarIcon(ToolbarImage::Back);
        case ToolImage::Forward:
            return toolbarIcon(ToolbarImage::Forward);
        case ToolImage::Up:
            return toolbarIcon(ToolbarImage::Up);
        case ToolImage::Search:
            return toolbarIcon(ToolbarImage::Search);
        case ToolImage::Folders:
            return toolbarIcon(ToolbarImage::Folders);
        case ToolImage::Views:
            return toolbarIcon(ToolbarImage::Views);
    }
    return {};
}

}  // namespace quillon
