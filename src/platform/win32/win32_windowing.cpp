// The desktop backend of the windowing layer on Win32: the window and its
// controls through user32 and comctl32, the file dialogs through comdlg32,
// the picture painted through GDI. Texts are Windows-1252 inside the tool
// and UTF-16 on the screen; paths are UTF-8 inside and UTF-16 outside.
#include "win32_windowing.h"

#include <commctrl.h>
#include <commdlg.h>
#include <richedit.h>
#include <shellapi.h>
#include <windowsx.h>

#include <deque>
#include <map>
#include <vector>

#include "platform/encoding.h"
#include "platform/paths.h"
#include "wide.h"

namespace platform {
namespace {

constexpr wchar_t kMainClass[] = L"TrackAnalyseWindow";
constexpr wchar_t kPictureClass[] = L"TrackAnalysePicture";
constexpr wchar_t kInputClass[] = L"InputRequester";
constexpr DWORD kMainStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
// Longer than the classic 260, so that long paths come back whole.
constexpr DWORD kPathBuffer = 32768;

std::wstring ScreenText(const std::string& cp1252) {
    return Wide(Cp1252ToUtf8(cp1252));
}

// Line ends as the controls want them: "\r\n", whether the tool's text
// ends its lines so or with "\n" alone.
std::wstring ScreenLines(const std::string& cp1252) {
    std::wstring text;
    for (wchar_t c : ScreenText(cp1252)) {
        if (c == L'\n' && (text.empty() || text.back() != L'\r')) text += L'\r';
        text += c;
    }
    return text;
}

HFONT GuiFont() {
    return static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
}

HWND MakeChild(HWND parent, const wchar_t* windowClass, const std::wstring& text, DWORD style,
               DWORD extended, int number, int left, int top, int width, int height) {
    HWND control = ::CreateWindowExW(extended, windowClass, text.c_str(),
                                     WS_CHILD | WS_VISIBLE | style, left, top, width, height,
                                     parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(number)),
                                     ::GetModuleHandleW(nullptr), nullptr);
    if (control) ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(GuiFont()), TRUE);
    return control;
}

// The filter "jpg|*.jpg" as the dialogs take it: parts ended by NUL, and a
// second NUL at the end.
std::wstring DialogFilter(const std::string& filter) {
    std::wstring parts = ScreenText(filter);
    for (wchar_t& c : parts) {
        if (c == L'|') c = L'\0';
    }
    parts += L'\0';
    parts += L'\0';
    return parts;
}

}  // namespace

struct Win32Windowing::Impl {
    HWND window = nullptr;
    int windowNumber = 0;
    std::map<int, HWND> controls;
    std::map<int, std::vector<std::uint32_t>>
        shown;  // a picture control's pixels, as GDI takes them
    std::map<HWND, std::pair<int, int>> shownSize;
    std::vector<ACCEL> keys;
    HACCEL accelerators = nullptr;
    HWND tooltips = nullptr;
    bool richEdit = false;
    int pictureControl = -1;
    bool tracking = false;

    struct Event {
        int code;
        int control;
        Point point;
    };
    std::deque<Event> queue;
    int lastControl = 0;
    Point lastPoint;

    std::string preAnswer;
    bool preAnswered = false;
    int dropLoadButton = 0;

    static LRESULT CALLBACK MainProc(HWND window, UINT message, WPARAM w, LPARAM l);
    static LRESULT CALLBACK PictureProc(HWND window, UINT message, WPARAM w, LPARAM l);

    HWND Control(int number) const {
        const auto it = controls.find(number);
        return it == controls.end() ? nullptr : it->second;
    }
    int NumberOf(HWND control) const {
        for (const auto& [number, handle] : controls) {
            if (handle == control) return number;
        }
        return -1;
    }
    void Push(int code, int control, Point point = {}) { queue.push_back({code, control, point}); }

    std::string FileDialog(bool save, const std::string& title, const std::string& defaultPath,
                           const std::string& filter, int filterIndex);
    void Dropped(HDROP drop);
    void RebuildAccelerators();
};

namespace {
Win32Windowing::Impl* current = nullptr;
}

LRESULT CALLBACK Win32Windowing::Impl::MainProc(HWND window, UINT message, WPARAM w, LPARAM l) {
    Impl* self = current;
    if (self == nullptr) return ::DefWindowProcW(window, message, w, l);
    switch (message) {
        case WM_COMMAND: {
            const int id = LOWORD(w);
            if (l == 0 && HIWORD(w) == 1) {  // a key of the accelerator table
                if (id == self->windowNumber)
                    self->Push(kCloseEvent, 0);
                else
                    self->Push(kControlEvent, id);
            } else if (l != 0) {
                // Every notification of a control counts as its activity,
                // as the tool expects; the edit box's change notices do not.
                const int code = HIWORD(w);
                if (code != EN_CHANGE && code != EN_UPDATE && code != EN_SETFOCUS &&
                    code != EN_KILLFOCUS && code != EN_HSCROLL && code != EN_VSCROLL)
                    self->Push(kControlEvent, id);
            }
            return 0;
        }
        case WM_CLOSE:
            self->Push(kCloseEvent, 0);
            return 0;
        case WM_DROPFILES:
            self->Dropped(reinterpret_cast<HDROP>(w));
            return 0;
        case WM_CTLCOLORSTATIC:
            // Static texts on the window's own background.
            ::SetBkMode(reinterpret_cast<HDC>(w), TRANSPARENT);
            return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
        default:
            return ::DefWindowProcW(window, message, w, l);
    }
}

LRESULT CALLBACK Win32Windowing::Impl::PictureProc(HWND window, UINT message, WPARAM w, LPARAM l) {
    Impl* self = current;
    if (self == nullptr) return ::DefWindowProcW(window, message, w, l);
    const int number = static_cast<int>(::GetDlgCtrlID(window));
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = ::BeginPaint(window, &paint);
            const auto pixels = self->shown.find(number);
            const auto size = self->shownSize.find(window);
            if (pixels != self->shown.end() && size != self->shownSize.end()) {
                BITMAPINFO info{};
                info.bmiHeader.biSize = sizeof info.bmiHeader;
                info.bmiHeader.biWidth = size->second.first;
                info.bmiHeader.biHeight = -size->second.second;  // top row first
                info.bmiHeader.biPlanes = 1;
                info.bmiHeader.biBitCount = 32;
                info.bmiHeader.biCompression = BI_RGB;
                ::SetDIBitsToDevice(dc, 0, 0, static_cast<DWORD>(size->second.first),
                                    static_cast<DWORD>(size->second.second), 0, 0, 0,
                                    static_cast<UINT>(size->second.second), pixels->second.data(),
                                    &info, DIB_RGB_COLORS);
            } else {
                ::FillRect(dc, &paint.rcPaint, ::GetSysColorBrush(COLOR_BTNFACE));
            }
            ::EndPaint(window, &paint);
            return 0;
        }
        case WM_LBUTTONDOWN:
            self->Push(kControlEvent, number);
            return 0;
        case WM_MOUSEMOVE: {
            if (!self->tracking) {
                TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, window, 0};
                self->tracking = ::TrackMouseEvent(&track) != FALSE;
            }
            self->Push(kPointerEvent, number, {GET_X_LPARAM(l), GET_Y_LPARAM(l)});
            return 0;
        }
        case WM_MOUSELEAVE:
            self->tracking = false;
            self->Push(kPointerEvent, number, {});
            return 0;
        default:
            return ::DefWindowProcW(window, message, w, l);
    }
}

void Win32Windowing::Impl::Dropped(HDROP drop) {
    const UINT length = ::DragQueryFileW(drop, 0, nullptr, 0);
    std::wstring path(length + 1, L'\0');
    if (length > 0 && ::DragQueryFileW(drop, 0, path.data(), length + 1) > 0) {
        path.resize(length);
        preAnswer = Utf8(path);
        preAnswered = true;
        if (dropLoadButton != 0) Push(kControlEvent, dropLoadButton);
    }
    ::DragFinish(drop);
}

void Win32Windowing::Impl::RebuildAccelerators() {
    if (accelerators) ::DestroyAcceleratorTable(accelerators);
    accelerators = keys.empty()
                       ? nullptr
                       : ::CreateAcceleratorTableW(keys.data(), static_cast<int>(keys.size()));
}

std::string Win32Windowing::Impl::FileDialog(bool save, const std::string& title,
                                             const std::string& defaultPath,
                                             const std::string& filter, int filterIndex) {
    const std::wstring directory = Wide(DialogInitialDirectory(defaultPath));
    std::vector<wchar_t> name(kPathBuffer, L'\0');
    const std::wstring initial = Wide(DialogInitialName(defaultPath));
    if (initial.size() < kPathBuffer) std::copy(initial.begin(), initial.end(), name.begin());
    const std::wstring filters = DialogFilter(filter);
    const std::wstring caption = ScreenText(title);

    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = ::GetForegroundWindow();
    if (dialog.hwndOwner == nullptr) dialog.hwndOwner = window;
    dialog.lpstrFilter = filters.c_str();
    dialog.nFilterIndex = static_cast<DWORD>(filterIndex + 1);
    dialog.lpstrFile = name.data();
    dialog.nMaxFile = kPathBuffer;
    dialog.lpstrInitialDir = directory.empty() ? nullptr : directory.c_str();
    dialog.lpstrTitle = caption.c_str();
    // No question before overwriting and no added extension: the answer is
    // exactly the name chosen or typed.
    dialog.Flags = OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_HIDEREADONLY;
    const BOOL chosen = save ? ::GetSaveFileNameW(&dialog) : ::GetOpenFileNameW(&dialog);
    return chosen ? Utf8(name.data()) : "";
}

Win32Windowing::Win32Windowing() : impl_(std::make_unique<Impl>()) {
    current = impl_.get();
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);
    (void)::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    // The rich-edit box of Windows since XP; the plain edit box otherwise.
    impl_->richEdit = ::LoadLibraryW(L"Msftedit.dll") != nullptr;

    WNDCLASSEXW main{};
    main.cbSize = sizeof main;
    main.lpfnWndProc = Impl::MainProc;
    main.hInstance = ::GetModuleHandleW(nullptr);
    main.hIcon = ::LoadIconW(main.hInstance, MAKEINTRESOURCEW(1));
    main.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    main.hbrBackground = ::GetSysColorBrush(COLOR_BTNFACE);
    main.lpszClassName = kMainClass;
    ::RegisterClassExW(&main);

    WNDCLASSEXW picture{};
    picture.cbSize = sizeof picture;
    picture.lpfnWndProc = Impl::PictureProc;
    picture.hInstance = main.hInstance;
    picture.hCursor = main.hCursor;
    picture.lpszClassName = kPictureClass;
    ::RegisterClassExW(&picture);
}

Win32Windowing::~Win32Windowing() {
    if (impl_->accelerators) ::DestroyAcceleratorTable(impl_->accelerators);
    if (impl_->window) ::DestroyWindow(impl_->window);
    current = nullptr;
    ::CoUninitialize();
}

void Win32Windowing::OpenWindow(int number, int left, int top, int width, int height,
                                const std::string& title) {
    // The frame is sized so that the client area is exactly as asked.
    RECT frame{0, 0, width, height};
    ::AdjustWindowRectEx(&frame, kMainStyle, FALSE, 0);
    impl_->windowNumber = number;
    impl_->window =
        ::CreateWindowExW(WS_EX_ACCEPTFILES, kMainClass, ScreenText(title).c_str(), kMainStyle,
                          left, top, frame.right - frame.left, frame.bottom - frame.top, nullptr,
                          nullptr, ::GetModuleHandleW(nullptr), nullptr);
    if (!impl_->window) return;
    impl_->tooltips = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                        WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, impl_->window,
                                        nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ::ShowWindow(impl_->window, SW_SHOWNORMAL);
    ::UpdateWindow(impl_->window);
}

void Win32Windowing::CreateInfoBox(int number, int left, int top, int width, int height) {
    const DWORD style = WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_AUTOVSCROLL |
                        ES_AUTOHSCROLL | ES_NOHIDESEL | ES_WANTRETURN;
    HWND box = MakeChild(impl_->window, impl_->richEdit ? MSFTEDIT_CLASS : L"EDIT", L"", style,
                         WS_EX_CLIENTEDGE, number, left, top, width, height);
    if (!box) return;
    // No limit on the text's length.
    ::SendMessageW(box, impl_->richEdit ? EM_EXLIMITTEXT : EM_SETLIMITTEXT, 0,
                   impl_->richEdit ? 0x7FFFFFFE : 0);
    impl_->controls[number] = box;
}

void Win32Windowing::CreateStaticText(int number, int left, int top, int width, int height,
                                      const std::string& text) {
    if (HWND label = MakeChild(impl_->window, L"STATIC", ScreenLines(text), WS_GROUP | SS_LEFT, 0,
                               number, left, top, width, height))
        impl_->controls[number] = label;
}

void Win32Windowing::CreatePictureControl(int number, int left, int top, int width, int height) {
    if (HWND picture =
            MakeChild(impl_->window, kPictureClass, L"", 0, 0, number, left, top, width, height))
        impl_->controls[number] = picture;
}

void Win32Windowing::CreateButton(int number, int left, int top, int width, int height,
                                  const std::string& caption) {
    if (HWND button =
            MakeChild(impl_->window, L"BUTTON", ScreenText(caption),
                      WS_TABSTOP | WS_GROUP | BS_PUSHBUTTON, 0, number, left, top, width, height))
        impl_->controls[number] = button;
}

void Win32Windowing::SetShortcut(int control, Shortcut key, const std::string& tooltip) {
    if (key.key < 'a' || key.key > 'z') return;
    ACCEL accel{};
    accel.fVirt = static_cast<BYTE>(FVIRTKEY | (key.ctrl ? FCONTROL : 0) | (key.alt ? FALT : 0));
    accel.key = static_cast<WORD>(key.key - 'a' + 'A');
    accel.cmd = static_cast<WORD>(control);
    impl_->keys.push_back(accel);
    impl_->RebuildAccelerators();
    HWND button = impl_->Control(control);
    if (button && impl_->tooltips) {
        std::wstring text = ScreenText(tooltip);
        TOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = impl_->window;
        tool.uId = reinterpret_cast<UINT_PTR>(button);
        tool.lpszText = text.data();
        ::SendMessageW(impl_->tooltips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

void Win32Windowing::ClearText(int control) {
    if (HWND box = impl_->Control(control)) ::SetWindowTextW(box, L"");
}

void Win32Windowing::AppendRaw(int control, const std::string& text) {
    HWND box = impl_->Control(control);
    if (!box) return;
    const std::wstring lines = ScreenLines(text);
    // The caret to the end, the text in, with the selection hidden meanwhile.
    ::SendMessageW(box, WM_SETREDRAW, FALSE, 0);
    const LRESULT length = ::GetWindowTextLengthW(box);
    if (impl_->richEdit) {
        CHARRANGE end{static_cast<LONG>(length), static_cast<LONG>(length)};
        // A rich-edit box counts a line break as one character, so the
        // length overshoots the end, which is where the caret stops.
        ::SendMessageW(box, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&end));
    } else {
        ::SendMessageW(box, EM_SETSEL, static_cast<WPARAM>(length), length);
    }
    ::SendMessageW(box, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(lines.c_str()));
    ::SendMessageW(box, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(box, nullptr, TRUE);
}

void Win32Windowing::SetText(int control, const std::string& text) {
    if (HWND label = impl_->Control(control)) ::SetWindowTextW(label, ScreenLines(text).c_str());
}

void Win32Windowing::ShowPicture(int control, PictureRef picture) {
    HWND target = impl_->Control(control);
    if (!target) return;
    std::vector<std::uint32_t>& pixels = impl_->shown[control];
    if (picture == nullptr || picture->width <= 0 || picture->height <= 0) {
        impl_->shown.erase(control);
        impl_->shownSize.erase(target);
    } else {
        // Red in the low byte here; GDI wants blue there.
        pixels.resize(picture->pixels.size());
        for (std::size_t i = 0; i < pixels.size(); ++i) {
            const raster::Colour c = picture->pixels[i];
            pixels[i] = static_cast<std::uint32_t>(raster::BlueOf(c) | raster::GreenOf(c) << 8 |
                                                   raster::RedOf(c) << 16);
        }
        impl_->shownSize[target] = {picture->width, picture->height};
        ::SetWindowPos(target, nullptr, 0, 0, picture->width, picture->height,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    ::InvalidateRect(target, nullptr, FALSE);
    ::UpdateWindow(target);
}

std::string Win32Windowing::OpenFileDialog(const std::string& title, const std::string& defaultPath,
                                           const std::string& filter, int filterIndex) {
    if (impl_->preAnswered) {
        impl_->preAnswered = false;
        return impl_->preAnswer;
    }
    return impl_->FileDialog(false, title, defaultPath, filter, filterIndex);
}

std::string Win32Windowing::SaveFileDialog(const std::string& title, const std::string& defaultPath,
                                           const std::string& filter, int filterIndex) {
    return impl_->FileDialog(true, title, defaultPath, filter, filterIndex);
}

namespace {

// The one input dialog open at a time.
struct InputAnswer {
    bool done = false;
    bool given = false;
    std::wstring text;
    HWND field = nullptr;
};
InputAnswer* inputAnswer = nullptr;

LRESULT CALLBACK InputProc(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (inputAnswer != nullptr) {
        if (message == WM_COMMAND && LOWORD(w) == IDOK) {
            const int length = ::GetWindowTextLengthW(inputAnswer->field);
            std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
            ::GetWindowTextW(inputAnswer->field, text.data(), length + 1);
            text.resize(static_cast<std::size_t>(length));
            inputAnswer->text = text;
            inputAnswer->given = true;
            inputAnswer->done = true;
            return 0;
        }
        if ((message == WM_COMMAND && LOWORD(w) == IDCANCEL) || message == WM_CLOSE) {
            inputAnswer->done = true;
            return 0;
        }
    }
    return ::DefWindowProcW(window, message, w, l);
}

// Every visible and enabled window of this thread, for the dialog's lifetime.
BOOL CALLBACK CollectEnabled(HWND window, LPARAM list) {
    if (::IsWindowVisible(window) && ::IsWindowEnabled(window))
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

}  // namespace

std::string Win32Windowing::InputDialog(const std::string& title, const std::string& prompt,
                                        const std::string& defaultText) {
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    WNDCLASSEXW input{};
    input.cbSize = sizeof input;
    input.lpfnWndProc = InputProc;
    input.hInstance = instance;
    input.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    input.hbrBackground = ::GetSysColorBrush(COLOR_BTNFACE);
    input.lpszClassName = kInputClass;
    ::RegisterClassExW(&input);

    HWND owner = ::GetForegroundWindow();
    std::vector<HWND> disabled;
    ::EnumThreadWindows(::GetCurrentThreadId(), CollectEnabled,
                        reinterpret_cast<LPARAM>(&disabled));
    for (HWND window : disabled) ::EnableWindow(window, FALSE);

    const int left = ::GetSystemMetrics(SM_CXSCREEN) / 2 - 150;
    const int top = ::GetSystemMetrics(SM_CYSCREEN) / 2 - 65;
    HWND dialog = ::CreateWindowExW(WS_EX_DLGMODALFRAME, kInputClass, ScreenText(title).c_str(),
                                    WS_POPUP | WS_CAPTION, left, top, 300, 130, owner, nullptr,
                                    instance, nullptr);
    InputAnswer answer;
    if (dialog) {
        MakeChild(dialog, L"STATIC", ScreenText(prompt), SS_LEFTNOWORDWRAP, 0, -1, 10, 10, 280, 22);
        answer.field =
            MakeChild(dialog, L"EDIT", ScreenText(defaultText), WS_TABSTOP | ES_AUTOHSCROLL,
                      WS_EX_CLIENTEDGE, 100, 10, 32, 275, 21);
        MakeChild(dialog, L"BUTTON", L"OK", WS_TABSTOP | BS_DEFPUSHBUTTON, 0, IDOK, 110, 67, 80,
                  25);
        // Shown only once whole.
        ::ShowWindow(dialog, SW_SHOWNORMAL);
        ::SetForegroundWindow(dialog);
        ::SetFocus(answer.field);
        const LRESULT end = ::GetWindowTextLengthW(answer.field);
        ::SendMessageW(answer.field, EM_SETSEL, static_cast<WPARAM>(end), end);

        InputAnswer* outer = inputAnswer;
        inputAnswer = &answer;
        MSG message;
        while (!answer.done) {
            const BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
            if (got <= 0) {
                // The quit message belongs to the main loop.
                if (got == 0) ::PostQuitMessage(static_cast<int>(message.wParam));
                break;
            }
            // Enter presses "OK", Escape cancels, Tab moves on.
            if (!::IsDialogMessageW(dialog, &message)) {
                ::TranslateMessage(&message);
                ::DispatchMessageW(&message);
            }
        }
        inputAnswer = outer;
    }
    for (HWND window : disabled) ::EnableWindow(window, TRUE);
    if (dialog) ::DestroyWindow(dialog);
    ::UnregisterClassW(kInputClass, instance);
    if (owner) ::SetForegroundWindow(owner);
    return answer.given ? Utf8ToCp1252(Utf8(answer.text)) : "";
}

int Win32Windowing::WaitEvent() {
    MSG message;
    while (impl_->queue.empty()) {
        if (::GetMessageW(&message, nullptr, 0, 0) <= 0) return kCloseEvent;
        if (impl_->accelerators && impl_->window &&
            ::TranslateAcceleratorW(impl_->window, impl_->accelerators, &message))
            continue;
        // Tab and Shift+Tab between the controls.
        if (impl_->window && ::IsDialogMessageW(impl_->window, &message)) continue;
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    const Impl::Event event = impl_->queue.front();
    impl_->queue.pop_front();
    if (event.code == kControlEvent) impl_->lastControl = event.control;
    if (event.code == kPointerEvent) {
        impl_->lastControl = event.control;
        impl_->lastPoint = event.point;
    }
    return event.code;
}

int Win32Windowing::EventControl() {
    return impl_->lastControl;
}

Point Win32Windowing::EventPoint() {
    return impl_->lastPoint;
}

void Win32Windowing::PreAnswerOpenDialog(const std::string& path) {
    impl_->preAnswer = path;
    impl_->preAnswered = true;
}

void Win32Windowing::SetDropLoadButton(int loadButton) {
    impl_->dropLoadButton = loadButton;
}

HWND Win32Windowing::WindowHandle() const {
    return impl_->window;
}

std::unique_ptr<DesktopWindowing> OpenDesktop() {
    return std::make_unique<Win32Windowing>();
}

}  // namespace platform
