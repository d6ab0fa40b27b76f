#pragma once

#include <QIcon>
#include <QPixmap>

namespace quillon {

// The images of the catalog tree and the lists, by the index every view uses for them.
enum class CatalogImage { Root = 0, Volume = 1, Folder = 2, OpenFolder = 3, File = 4, SearchResults = 5 };
inline constexpr int kCatalogImageCount = 6;

// The images of the standard toolbar.
enum class ToolbarImage { Back = 0, Forward = 1, Up = 2, Search = 3, Folders = 4, Views = 5 };
inline constexpr int kToolbarImageCount = 6;

// Small icons in the tree and the small-icon, list and details views; large icons in the large-icon view.
inline constexpr int kSmallIconSize = 16;
inline constexpr int kLargeIconSize = 32;

// The image with the given index (0 to 5) at both sizes: the desktop theme's icon where the theme has a
// fitting one, else ours. Null for any other index.
QIcon catalogIcon(int index);
// catalogIcon(index) as a pixmap of size by size pixels (16 or 32). Null for an index outside 0 to 5.
QPixmap catalogPixmap(int index, int size);
// Our own picture for the index, whatever the theme holds: the fallback, and the one tests can compare.
QPixmap drawnCatalogPixmap(int index, int size);

QIcon toolbarIcon(ToolbarImage image);
QPixmap drawnToolbarPixmap(ToolbarImage image, int size);

// The icon of the program's windows and the about box: a disc in a catalog drawer.
QIcon applicationIcon();

// The picture of the loading window: the product name on a blue background.
inline constexpr int kSplashWidth = 340;
inline constexpr int kSplashHeight = 240;
QPixmap splashPixmap();

}  // namespace quillon
