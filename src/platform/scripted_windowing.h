// A windowing backend without a window: dialogs are answered from a queue
// of prepared answers, and the text boxes are kept as text. The command line
// and the tests drive the actions through it.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/windowing.h"

namespace platform {

class ScriptedWindowing : public Windowing {
  public:
    // Answers for the dialogs, taken in order; an empty queue answers "".
    std::deque<std::string> answers;
    std::vector<DialogCall> dialogs;
    std::map<int, std::string> texts;
    std::map<int, std::vector<std::string>> lines;  // as AppendInfoLine added them
    std::map<int, PictureRef> pictures;
    int showCount = 0;
    // Called with the newest line each time the status log is shown.
    std::function<void(const std::string&)> onStatusLine;

    void ClearText(int control) override {
        texts[control].clear();
        lines[control].clear();
    }
    void AppendRaw(int control, const std::string& text) override { texts[control] += text; }
    void LineAdded(int control, const std::string& text) override {
        lines[control].push_back(text);
    }
    void SetText(int control, const std::string& text) override;
    void ShowPicture(int control, PictureRef picture) override {
        pictures[control] = picture;
        ++showCount;
    }
    std::string OpenFileDialog(const std::string& title, const std::string& defaultPath,
                               const std::string& filter, int filterIndex) override;
    std::string SaveFileDialog(const std::string& title, const std::string& defaultPath,
                               const std::string& filter, int filterIndex) override;
    std::string InputDialog(const std::string& title, const std::string& prompt,
                            const std::string& defaultText) override;

  private:
    std::string NextAnswer();
};

}  // namespace platform
