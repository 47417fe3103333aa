#include "platform/windowing.h"

#include <filesystem>
#include <map>

namespace platform {
namespace {

Windowing* backend = nullptr;

// Per text box: an empty first line waits for the next line to show it.
struct InfoLineState {
    bool pending = false;
    bool shown = false;
    bool empty = true;
};
std::map<int, InfoLineState> infoLines;

}  // namespace

void UseWindowing(Windowing* b) {
    backend = b;
    infoLines.clear();
}

Windowing* CurrentWindowing() {
    return backend;
}

void ClearInfoList(int control) {
    infoLines[control] = InfoLineState{};
    if (backend) backend->ClearText(control);
}

void AppendInfoLine(int control, const std::string& text) {
    InfoLineState& box = infoLines[control];
    std::string insert;
    if (box.pending) {
        insert += '\n';
        box.pending = false;
        box.shown = true;
    }
    if (!box.empty) {
        insert += '\n';
    } else if (text.empty() && !box.shown && !box.pending) {
        box.pending = true;
    }
    insert += text;
    if (!insert.empty()) box.empty = false;
    if (backend && !insert.empty()) backend->AppendRaw(control, insert);
    if (backend) backend->LineAdded(control, text);
}

void SetText(int control, const std::string& text) {
    if (backend) backend->SetText(control, text);
}

void ShowPicture(int control, PictureRef picture) {
    if (backend) backend->ShowPicture(control, picture);
}

std::string OpenFileDialog(const std::string& title, const std::string& defaultPath,
                           const std::string& filter, int filterIndex) {
    return backend ? backend->OpenFileDialog(title, defaultPath, filter, filterIndex) : "";
}

std::string SaveFileDialog(const std::string& title, const std::string& defaultPath,
                           const std::string& filter, int filterIndex) {
    return backend ? backend->SaveFileDialog(title, defaultPath, filter, filterIndex) : "";
}

std::string InputDialog(const std::string& title, const std::string& prompt,
                        const std::string& defaultText) {
    return backend ? backend->InputDialog(title, prompt, defaultText) : "";
}

int WaitEvent() {
    return backend ? backend->WaitEvent() : kCloseEvent;
}
int EventControl() {
    return backend ? backend->EventControl() : 0;
}
Point EventPoint() {
    return backend ? backend->EventPoint() : Point{};
}

}  // namespace platform
