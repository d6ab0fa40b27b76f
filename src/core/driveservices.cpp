#include "driveservices.h"

#include <fcntl.h>
#include <linux/cdrom.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace quillon {

namespace {

std::string_view withoutTrailingSlashes(std::string_view path)
{
    while (path.size() > 1 && path.back() == '/') path.remove_suffix(1);
    return path;
}

bool isOpticalMount(const MountEntry& entry)
{
    return entry.device.starts_with("/dev/sr") || entry.fileSystemType == "iso9660" ||
           entry.fileSystemType == "udf";
}

}  // namespace

std::optional<MountEntry> DriveServices::cdMount(std::string_view path) const
{
    const std::string_view root = withoutTrailingSlashes(path);
    if (root.empty()) return std::nullopt;
    const std::vector<MountEntry> entries = m_mounts.mounts();
    const MountEntry* found = nullptr;
    // A later mount on the same point hides the earlier ones.
    for (const MountEntry& entry : entries) {
        if (withoutTrailingSlashes(entry.mountPoint) == root) found = &entry;
    }
    if (!found || !isOpticalMount(*found)) return std::nullopt;
    return *found;
}

bool DriveServices::CheckCDDrive(std::string_view path) const { return cdMount(path).has_value(); }

std::string DriveServices::GetVolumeLabel(std::string_view path) const
{
    if (const auto mount = cdMount(path)) {
        std::string label = mount->label;
        while (!label.empty() && (label.back() == ' ' || label.back() == '\0')) label.pop_back();
        return label;
    }
    return folderDisplayName(path);
}

std::optional<std::string> DriveServices::cdDevice(std::string_view path) const
{
    if (const auto mount = cdMount(path)) return mount->device;
    return std::nullopt;
}

void DriveServices::OpenCDDoor(std::string_view path) const
{
    const auto device = cdDevice(path);
    if (!device) return;
    // O_NONBLOCK opens a drive that holds no disc or is not ready, as eject(1) does.
    const int fd = ::open(device->c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return;
    (void)::ioctl(fd, CDROMEJECT, 0);
    ::close(fd);
}

std::string folderDisplayName(std::string_view path)
{
    const std::string_view trimmed = withoutTrailingSlashes(path);
    if (trimmed == "/") return "/";
    const auto slash = trimmed.rfind('/');
    return std::string(slash == std::string_view::npos ? trimmed : trimmed.substr(slash + 1));
}

}  // namespace quillon
