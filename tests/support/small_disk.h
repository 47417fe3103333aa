// A 20 KB file system for tests of full-disk writes: a tmpfs mounted in a
// scratch folder, which needs root. Where it cannot be mounted, `Ready()`
// is false and `Why()` says so, for a visible skip.
#pragma once

#include <filesystem>
#include <string>

class SmallDisk {
  public:
    explicit SmallDisk(const std::filesystem::path& where);
    ~SmallDisk();
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool Ready() const { return mounted_; }
    const std::string& Why() const { return why_; }
    const std::filesystem::path& Path() const { return path_; }

  private:
    std::filesystem::path path_;
    bool mounted_ = false;
    std::string why_;
};
