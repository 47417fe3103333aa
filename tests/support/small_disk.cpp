#include "support/small_disk.h"

#include <sys/mount.h>

#include <cerrno>
#include <cstring>

SmallDisk::SmallDisk(const std::filesystem::path& where) : path_(where) {
    std::filesystem::create_directories(path_);
    if (::mount("tmpfs", path_.c_str(), "tmpfs", 0, "size=20k") == 0) {
        mounted_ = true;
    } else {
        why_ = "cannot mount a 20 KB tmpfs for the full-disk case (" +
               std::string(std::strerror(errno)) + "; needs root)";
    }
}

SmallDisk::~SmallDisk() {
    if (mounted_) ::umount2(path_.c_str(), MNT_DETACH);
}
