// The file dialogs and the input dialog of the FLTK backend. Each runs
// modally on the caller's thread and returns only when it is closed.
#pragma once

#include <string>

namespace platform::fltk {

enum class FileDialogKind { kOpen, kSave };

// The chosen path (file system encoding), or "" on cancel or failure.
// `title` and `filter` are Windows-1252; `defaultPath` is a path.
std::string RunFileDialog(FileDialogKind kind, const std::string& title,
                          const std::string& defaultPath, const std::string& filter,
                          int filterIndex);

// The text entered (Windows-1252), or "" on cancel.
std::string RunInputDialog(const std::string& title, const std::string& prompt,
                           const std::string& defaultText);

}  // namespace platform::fltk
