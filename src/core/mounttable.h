#pragma once

#include <string>
#include <vector>

namespace quillon {

struct MountEntry {
    std::string mountPoint;      // "/"-separated, without a trailing "/" except for "/" itself
    std::string device;          // "/dev/sr0"
    std::string fileSystemType;  // "iso9660"
    std::string label;           // the file system's volume label, in the active code page; may be empty
};

// The mounted file systems. The drive services read them through this interface so that tests can present
// an optical drive on a machine that has none.
class MountTable {
public:
    virtual ~MountTable() = default;
    virtual std::vector<MountEntry> mounts() const = 0;
};

// The system's mount table, as Qt reads it.
class SystemMountTable final : public MountTable {
public:
    std::vector<MountEntry> mounts() const override;
};

}  // namespace quillon
