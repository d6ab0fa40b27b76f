#pragma once

#include <QIcon>

namespace quillon {

// The images of the catalog tree, the lists and the path box: 0 root, 1 volume, 2 folder, 3 open folder,
// 4 file, 5 search results. The folder image carries the open folder as its selected state, so a view
// draws a selected folder open without asking the model.
QIcon catalogImage(int index);

enum class ToolImage { Back, Forward, Up, Search, Folders, Views };
QIcon toolImage(ToolImage image);

}  // namespace quillon
