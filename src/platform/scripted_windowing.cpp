#include "platform/scripted_windowing.h"

namespace platform {

void ScriptedWindowing::SetText(int control, const std::string& text) {
    texts[control] = text;
    if (!onStatusLine || control != 8) return;
    // The log is six lines each ended by "\r\n"; the newest is the last.
    std::string body = text;
    if (body.size() >= 2 && body.compare(body.size() - 2, 2, "\r\n") == 0)
        body.resize(body.size() - 2);
    const auto cut = body.rfind("\r\n");
    onStatusLine(cut == std::string::npos ? body : body.substr(cut + 2));
}

std::string ScriptedWindowing::NextAnswer() {
    if (answers.empty()) return "";
    std::string answer = answers.front();
    answers.pop_front();
    return answer;
}

std::string ScriptedWindowing::OpenFileDialog(const std::string& title,
                                              const std::string& defaultPath,
                                              const std::string& filter, int /*filterIndex*/) {
    dialogs.push_back({"open", title, defaultPath, filter});
    return NextAnswer();
}

std::string ScriptedWindowing::SaveFileDialog(const std::string& title,
                                              const std::string& defaultPath,
                                              const std::string& filter, int /*filterIndex*/) {
    dialogs.push_back({"save", title, defaultPath, filter});
    return NextAnswer();
}

std::string ScriptedWindowing::InputDialog(const std::string& title, const std::string& prompt,
                                           const std::string& defaultText) {
    dialogs.push_back({"input", title, defaultText, prompt});
    return NextAnswer();
}

}  // namespace platform
