#include "mounttable.h"

#include "codepage.h"

#include <QStorageInfo>

namespace quillon {

std::vector<MountEntry> SystemMountTable::mounts() const
{
    std::vector<MountEntry> entries;
    const CodePage& cp = activeCodePage();
    for (const QStorageInfo& storage : QStorageInfo::mountedVolumes()) {
        MountEntry entry;
        entry.mountPoint = storage.rootPath().toStdString();
        entry.device = storage.device().toStdString();
        entry.fileSystemType = storage.fileSystemType().toStdString();
        entry.label = cp.fromUnicode(storage.name());
        entries.push_back(std::move(entry));
    }
    return entries;
}

}  // namespace quillon
