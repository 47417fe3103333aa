#include "platform/paths.h"

#include "platform/encoding.h"

#include <algorithm>
#include <filesystem>
#include <string_view>

namespace platform {
namespace {

std::size_t LastTrackSeparator(const std::string& path) {
    return path.find_last_of("/\\");
}

}  // namespace

std::string FolderPart(const std::string& path) {
    const auto cut = LastTrackSeparator(path);
    return cut == std::string::npos ? "" : path.substr(0, cut + 1);
}

std::string FilePart(const std::string& path) {
    const auto cut = LastTrackSeparator(path);
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::string WithSeparator(std::string folder) {
    if (!folder.empty() &&
        std::string_view(kPathSeparators).find(folder.back()) == std::string_view::npos)
        folder += kPathSeparator;
    return folder;
}

std::string LowerExtension(const std::string& path) {
    const auto dot = path.find_last_of('.');
    const auto slash = path.find_last_of(kPathSeparators);
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
    std::string extension = path.substr(dot);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

bool IsTrackFileName(std::string_view path) {
    const std::string name = FilePart(std::string(path));
    return name.size() > 4 && LowerExtension(name) == ".trk";
}

std::string MessageName(const std::string& path) {
    std::string file = FilePart(path);
    if (!file.empty() || path.empty()) return file;
    const auto last = path.find_last_not_of(kPathSeparators);
    return FilePart(path.substr(0, last + 1)) + path.back();
}

bool IsFileNameCharacter(char c) {
    return static_cast<unsigned char>(c) >= 32 &&
           std::string_view("\"*/:<>?\\|").find(c) == std::string_view::npos;
}

std::string DialogInitialName(const std::string& defaultPath) {
    const auto cut = defaultPath.find_last_of(kPathSeparators);
    std::string name = cut == std::string::npos ? defaultPath : defaultPath.substr(cut + 1);
    return std::all_of(name.begin(), name.end(), IsFileNameCharacter) ? name : "";
}

std::string DialogInitialDirectory(const std::string& defaultPath) {
    const auto cut = defaultPath.find_last_of(kPathSeparators);
    return cut == std::string::npos ? "" : defaultPath.substr(0, cut + 1);
}

std::string ProposedPath(const std::string& text, const std::string& extension) {
    const std::string name = PathFromText(text) + extension;
    // A name the dialog would cut at a separator or blank out is no name.
    const bool usable = DialogInitialName(name) == name;
    return CurrentDirectory() + (usable ? name : "");
}

std::string CurrentDirectory() {
    std::error_code error;
    const std::string dir = PathText(std::filesystem::current_path(error));
    // A working folder that was deleted has no path; "/" in its place would
    // put default-named files at the root.
    if (error || dir.empty()) return "";
    return WithSeparator(dir);
}

Result<> MakeFolders(const std::string& folder) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path path = FsPath(folder);
    fs::create_directories(path, error);
    if (error) {
        // A link to nothing on the way would be told as "File exists".
        for (fs::path part = path; !part.empty(); part = part.parent_path()) {
            std::error_code ignored;
            if (fs::is_symlink(fs::symlink_status(part, ignored)) && !fs::exists(part, ignored)) {
                const std::string what =
                    "a link to nothing (" + PathText(fs::read_symlink(part, ignored)) + ")";
                return Fail(part == path ? what : PathText(part) + " is " + what);
            }
            if (part == part.parent_path()) break;
        }
        return Fail(error.message());
    }
    if (!std::filesystem::is_directory(FsPath(folder), error)) return Fail("not a folder");
    return {};
}

}  // namespace platform
