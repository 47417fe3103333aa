#include "platform/fltk/fltk_dialogs.h"

#include <FL/Fl.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_Native_File_Chooser.H>
#include <FL/Fl_Return_Button.H>

#include <dlfcn.h>

#include <algorithm>
#include <filesystem>

#include "platform/encoding.h"
#include "platform/fltk/fltk_text.h"
#include "platform/fltk/fltk_widgets.h"
#include "platform/paths.h"
#include "platform/windowing.h"

namespace platform::fltk {
namespace {

// GLib's structured logging, as far as we use it. GTK is loaded by FLTK at
// run time, so we find GLib the same way rather than link against it.
struct LogField {
    const char* key;
    const void* value;
    long length;
};
using LogWriter = int (*)(int level, const LogField* fields, unsigned long count, void* data);
using SetLogWriter = void (*)(LogWriter writer, void* data, void (*destroy)(void*));
constexpr int kLogLevelCritical = 1 << 3;  // and G_LOG_LEVEL_ERROR (1 << 2) below it
constexpr int kLogHandled = 1;

LogWriter defaultWriter = nullptr;

// GTK's file chooser warns on stderr about things the user cannot act on,
// the recently-used list above all (recently-used.xbel missing or not
// writable). Warnings and chatter are dropped; criticals and errors still
// reach GLib's own writer.
int QuietWriter(int level, const LogField* fields, unsigned long count, void* data) {
    if ((level & (kLogLevelCritical | (1 << 2))) == 0) return kLogHandled;
    return defaultWriter ? defaultWriter(level, fields, count, data) : 0;
}

void QuietenGtk() {
    static bool done = false;
    if (done) return;
    void* glib = dlopen("libglib-2.0.so.0", RTLD_LAZY | RTLD_NOLOAD);
    if (!glib) return;  // GTK is not in use (yet)
    done = true;
    auto setWriter = reinterpret_cast<SetLogWriter>(dlsym(glib, "g_log_set_writer_func"));
    defaultWriter = reinterpret_cast<LogWriter>(dlsym(glib, "g_log_writer_default"));
    if (setWriter && defaultWriter) setWriter(QuietWriter, nullptr, nullptr);
    dlclose(glib);  // it stays loaded: GTK holds it
}

// FLTK 1.3 drives GTK's dialog through a call only GTK 2 has
// (gdk_x11_drawable_get_xid). Where GTK 2 is missing, as on a minimal Debian
// with GTK 3 alone, it prints that failed look-up on stderr and shows its own
// dialog anyway; we ask for its own directly, before it looks.
void UseOwnChooserWithoutGtk2() {
#if FL_API_VERSION < 10400
    static bool checked = false;
    if (checked || !Fl::option(Fl::OPTION_FNFC_USES_GTK)) return;
    checked = true;
    // Loaded for good: FLTK opens the same library right after.
    if (dlopen("libgtk-x11-2.0.so.0", RTLD_LAZY | RTLD_GLOBAL)) return;
    Fl::option(Fl::OPTION_FNFC_USES_GTK, false);
#endif
}

}  // namespace

std::string RunFileDialog(FileDialogKind kind, const std::string& title,
                          const std::string& defaultPath, const std::string& filter,
                          int filterIndex) {
    UseOwnChooserWithoutGtk2();
    Fl_Native_File_Chooser chooser(kind == FileDialogKind::kSave
                                       ? Fl_Native_File_Chooser::BROWSE_SAVE_FILE
                                       : Fl_Native_File_Chooser::BROWSE_FILE);
    // The chooser has loaded GTK, when it uses it, by now.
    QuietenGtk();
    const std::string utf8Title = Cp1252ToUtf8(title);
    chooser.title(utf8Title.c_str());
    const std::string chooserFilter = ChooserFilter(Cp1252ToUtf8(filter));
    chooser.filter(chooserFilter.c_str());
    if (chooser.filters() > 0)
        chooser.filter_value(std::clamp(filterIndex, 0, chooser.filters() - 1));

    const std::string directory = DialogInitialDirectory(defaultPath);
    const std::string name = DialogInitialName(defaultPath);
    if (!directory.empty()) chooser.directory(directory.c_str());
    // FLTK's own chooser takes a bare preset name as relative to the
    // process's directory, so it gets the whole path; GTK's uses the name part.
    const std::string preset = name.empty() ? "" : directory + name;
    if (!preset.empty()) chooser.preset_file(preset.c_str());
    // No overwrite question and no appended extension: the answer is exactly
    // the name the user chose or typed.
    chooser.options(Fl_Native_File_Chooser::NO_OPTIONS);

    std::error_code error;
    const auto workingDirectory = std::filesystem::current_path(error);
    const int result = chooser.show();
    if (!error) std::filesystem::current_path(workingDirectory, error);

    if (result != 0 || !chooser.filename()) return "";
    return chooser.filename();
}

namespace {

struct InputAnswer {
    Fl_Input* input = nullptr;
    bool given = false;
};

void OnInputOk(Fl_Widget* button, void* data) {
    auto* answer = static_cast<InputAnswer*>(data);
    answer->given = true;
    button->window()->hide();
}

// Escape and the close request both end the dialog without an answer.
void OnInputCancel(Fl_Widget* window, void* /*data*/) {
    window->hide();
}

}  // namespace

std::string RunInputDialog(const std::string& title, const std::string& prompt,
                           const std::string& defaultText) {
    constexpr int kWidth = 300;
    constexpr int kHeight = 130;
    int screenX = 0, screenY = 0, screenW = 0, screenH = 0;
    Fl::screen_xywh(screenX, screenY, screenW, screenH, 0);

    Fl_Group* const outer = Fl_Group::current();
    Fl_Group::current(nullptr);
    Fl_Double_Window dialog(screenX + screenW / 2 - kWidth / 2, screenY + screenH / 2 - kHeight / 2,
                            kWidth, kHeight);
    dialog.copy_label(Cp1252ToUtf8(title).c_str());
    PlainText promptText(10, 10, 280, 22, false);
    promptText.Text(Cp1252ToUtf8(prompt));
    promptText.box(FL_NO_BOX);
    Fl_Input input(10, 32, 275, 21);
    input.textsize(kControlFontSize);
    const std::string start = Cp1252ToUtf8(defaultText);
    input.value(start.c_str());
    input.position(input.size());
    Fl_Return_Button ok(110, 67, 80, 25, "OK");
    ok.labelsize(kControlFontSize);
    dialog.end();
    Fl_Group::current(outer);

    InputAnswer answer{&input};
    ok.callback(OnInputOk, &answer);
    dialog.callback(OnInputCancel);
    dialog.set_modal();
    dialog.show();
    input.take_focus();
    while (dialog.shown()) Fl::wait();

    return answer.given ? Utf8ToCp1252(input.value()) : "";
}

}  // namespace platform::fltk
