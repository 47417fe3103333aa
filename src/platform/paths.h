// Paths as texts: every cut into folder and file, every extension, every
// check of a name, in one place; and paths for std::filesystem from the
// tool's UTF-8 path texts, and back.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "platform/result.h"

namespace platform {

// The separator the system writes, and every one it reads.
#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
inline constexpr const char* kPathSeparators = "\\/";
#else
inline constexpr char kPathSeparator = '/';
inline constexpr const char* kPathSeparators = "/";
#endif

// std::filesystem takes a plain std::string in the system's narrow code
// page, which on Windows is not UTF-8 and loses characters: these go
// through char8_t, which means UTF-8 everywhere.
inline std::filesystem::path FsPath(std::string_view utf8) {
    return {std::u8string_view(reinterpret_cast<const char8_t*>(utf8.data()), utf8.size())};
}

inline std::string PathText(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return {reinterpret_cast<const char*>(text.data()), text.size()};
}

// A track's path is cut at its last "/" or "\", whichever system named it:
// the folder part up to and including it (empty without one), and the file
// part after it.
std::string FolderPart(const std::string& path);
std::string FilePart(const std::string& path);

// `folder` ended by kPathSeparator; the empty folder stays empty.
std::string WithSeparator(std::string folder);

// The extension of the path's file part with its dot, in lower case; empty
// when it has none.
std::string LowerExtension(const std::string& path);

// Whether `path` names a track file by its name: a file part of more than
// four characters that ends in ".trk", in any case (".trk" alone is no track's name).
bool IsTrackFileName(std::string_view path);

// How a message names the file `path` (its file part), or the folder of a
// path that ends in a separator, with that separator ("tracks/").
std::string MessageName(const std::string& path);

// The characters no file name may hold, on any system: those below 32 and
// " * / : < > ? \ |.
bool IsFileNameCharacter(char c);

// The initial name a file dialog shows for `defaultPath`: the part after
// the last separator, or empty when it holds a character a file name cannot.
std::string DialogInitialName(const std::string& defaultPath);
// The folder part of `defaultPath` (up to the last separator), or empty.
std::string DialogInitialDirectory(const std::string& defaultPath);

// The default path a save dialog offers, and trk's default output: the
// current directory followed by `text` (Windows-1252) and `extension`, or
// by nothing when `text` holds a character a file name cannot (the
// separator among them), so that a dialog opens with an empty name.
std::string ProposedPath(const std::string& text, const std::string& extension);

// The process's current directory, ended by the path separator; empty when
// it no longer exists.
std::string CurrentDirectory();

// Creates `folder` and its missing parents; fails when it is not a folder
// afterwards.
Result<> MakeFolders(const std::string& folder);

}  // namespace platform
