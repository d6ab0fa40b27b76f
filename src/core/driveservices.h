#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "mounttable.h"

namespace quillon {

// What the new catalog dialog asks about the chosen folder: is it an optical drive's root, what name does it
// propose, and how to open the drive's door after cataloging.
class DriveServices final {
public:
    // mounts must outlive the services.
    explicit DriveServices(const MountTable& mounts) : m_mounts(mounts) {}

    // True when path is the mount point of an optical drive: a /dev/sr* device, or an iso9660 or udf file
    // system (images and drives known under other device names).
    bool CheckCDDrive(std::string_view path) const;

    // The disc's volume label (less trailing blanks) for an optical drive's root, else the folder's display
    // name: its last path component, "/" for the file system's root.
    std::string GetVolumeLabel(std::string_view path) const;

    // The device of the optical drive mounted at path; nothing when path is not such a root.
    std::optional<std::string> cdDevice(std::string_view path) const;

    // Ejects the drive mounted at path with the CD-ROM eject request of its device. Every failure is silent:
    // no drive, no permission, a drive that refuses while its disc is mounted.
    void OpenCDDoor(std::string_view path) const;

private:
    std::optional<MountEntry> cdMount(std::string_view path) const;

    const MountTable& m_mounts;
};

// The folder's name as a file manager shows it: the last path component, "/" for the root.
std::string folderDisplayName(std::string_view path);

}  // namespace quillon
