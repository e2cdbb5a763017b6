#include "tests/ui/obrello_driver.h"

#include <psapi.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <stdexcept>

namespace {

const char kCaption[] = "Obrello v3.1 - by Parwick Software";

std::string narrow(const std::wstring& wide, UINT codePage) {
    std::string text(wide.size() * 4, '\0');
    text.resize(WideCharToMultiByte(codePage, 0, wide.data(), wide.size(), text.data(), text.size(),
                                    nullptr, nullptr));
    return text;
}

// Nested folders whose relative path, backslashes included, is `length`
// bytes long; none longer than the 255 bytes a name may have. Their names
// hold dots, so a path cut short would still yield a plausible settings name
// (...\p.ini) that a test can look for.
std::string paddingFolders(size_t length) {
    std::string folders;
    while (length > 0) {
        size_t name = std::min<size_t>(length - 1, 200);
        if (length - name - 1 == 1) {
            --name; // leave room for a last name of one byte and its backslash
        }
        folders += (name > 2 ? "p." + std::string(name - 2, 'p') : std::string(name, 'p')) + "\\";
        length -= name + 1;
    }
    return folders;
}

struct WindowSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK matchWindow(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char caption[64] = "";
    GetWindowTextA(window, caption, sizeof caption);
    // Visible only once its start-up has run, so every control is in place.
    if (owner == search->processId && std::string(caption) == kCaption && IsWindowVisible(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// The program's name for its settings file: its own with the extension made
// ".ini" (added where it has none).
std::string settingsName(const std::string& exeName) {
    return exeName.substr(0, exeName.rfind('.')) + ".ini";
}

} // namespace

Sandbox::Sandbox(const std::vector<PackFile>& packs, const char* settings, size_t exePathLength,
                 const std::string& exeName, const std::string& home)
    : exeName_(exeName) {
    home_ =
        folder_
            .makeFolder(exePathLength
                            ? paddingFolders(exePathLength - folder_.path().size() - exeName.size())
                            : home)
            .substr(folder_.path().size());
    const char* exe = std::getenv("OBRELLO_EXE");
    if (!exe || !CopyFileW(LongPath(exe).c_str(), LongPath(path(exeName)).c_str(), FALSE)) {
        throw std::runtime_error("cannot copy the program from OBRELLO_EXE");
    }
    if (!packs.empty()) {
        folder_.makeFolder(home_ + "Lngs");
    }
    for (const PackFile& pack : packs) {
        folder_.write(home_ + "Lngs\\" + pack.name, pack.content);
    }
    if (settings) {
        folder_.write(home_ + settingsName(exeName), settings);
    }
}

std::string Sandbox::settingsPath() const {
    return path(settingsName(exeName_));
}

App::App(const Sandbox& box) {
    // Started by its bare name from its own folder as the current one: the
    // only way Wine starts a program whose full path passes 259 bytes.
    std::wstring previous(32768, L'\0');
    previous.resize(GetCurrentDirectoryW(previous.size(), previous.data()));
    if (!SetCurrentDirectoryW(LongPath(box.path("")).c_str())) {
        throw std::runtime_error("cannot enter " + box.path(""));
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    BOOL started = CreateProcessW(LongPath(box.exeName()).c_str(), nullptr, nullptr, nullptr, FALSE,
                                  0, nullptr, nullptr, &startup, &process_);
    SetCurrentDirectoryW(previous.c_str());
    if (!started) {
        throw std::runtime_error("cannot start " + box.path(box.exeName()));
    }
    WindowSearch search{process_.dwProcessId, nullptr};
    for (int waited = 0; waited < 10000 && !search.found && running(); waited += 20) {
        EnumWindows(matchWindow, reinterpret_cast<LPARAM>(&search));
        if (!search.found) {
            Sleep(20);
        }
    }
    window_ = search.found;
    if (!window_) {
        TerminateProcess(process_.hProcess, 1);
        throw std::runtime_error("the program's window did not appear");
    }
}

App::~App() {
    if (running()) {
        TerminateProcess(process_.hProcess, 1);
        WaitForSingleObject(process_.hProcess, 5000);
    }
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
}

std::string App::text(int id) const {
    HWND control = item(id);
    std::string text(SendMessageA(control, WM_GETTEXTLENGTH, 0, 0) + 1, '\0');
    text.resize(SendMessageA(control, WM_GETTEXT, text.size(), (LPARAM)text.data()));
    return text;
}

std::string App::unicodeText(int id) const {
    std::wstring wide(SendMessageW(item(id), WM_GETTEXTLENGTH, 0, 0) + 1, L'\0');
    wide.resize(SendMessageW(item(id), WM_GETTEXT, wide.size(), (LPARAM)wide.data()));
    return narrow(wide, CP_UTF8);
}

void App::setUnicodeText(int id, const std::string& utf8) const {
    std::wstring wide(utf8.size() + 1, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, wide.data(), wide.size());
    SendMessageW(item(id), WM_SETTEXT, 0, (LPARAM)wide.c_str());
}

std::vector<std::string> App::languages() const {
    HWND box = item(IDC_LANGUAGE);
    std::vector<std::string> names;
    // Asked in UTF-16: Wine hands another process the ANSI form of a list
    // item unconverted.
    for (int i = 0, count = SendMessageW(box, CB_GETCOUNT, 0, 0); i < count; ++i) {
        std::wstring wide(SendMessageW(box, CB_GETLBTEXTLEN, i, 0) + 1, L'\0');
        wide.resize(SendMessageW(box, CB_GETLBTEXT, i, (LPARAM)wide.data()));
        names.push_back(narrow(wide, CP_ACP));
    }
    return names;
}

void App::selectLanguage(int index) const {
    HWND box = item(IDC_LANGUAGE);
    SendMessageA(box, CB_SETCURSEL, index, 0);
    SendMessageA(window_, WM_COMMAND, MAKEWPARAM(IDC_LANGUAGE, CBN_SELCHANGE), (LPARAM)box);
}

void App::pressKey(int id, WPARAM key, bool alt) const {
    SendMessageA(window_, WM_NEXTDLGCTL, (WPARAM)item(id), TRUE);
    // With Alt held the keyboard sends system keys, marked by bit 29.
    LPARAM flags = MapVirtualKeyA(key, MAPVK_VK_TO_VSC) << 16 | (alt ? KF_ALTDOWN << 16 : 0) | 1;
    PostMessageA(item(id), alt ? WM_SYSKEYDOWN : WM_KEYDOWN, key, flags);
    PostMessageA(item(id), alt ? WM_SYSKEYUP : WM_KEYUP, key, flags | 0xC0000000);
    settle();
}

void App::settle() const {
    // Posted messages are handled in order, so a posted check-box change that
    // has taken effect proves the earlier ones were handled; a second round
    // covers what those posted in turn. Two flips leave the box as it was.
    HWND box = item(IDC_USE_SCRIPT);
    for (int round = 0; round < 2 && box; ++round) {
        WPARAM want = checked(IDC_USE_SCRIPT) ? BST_UNCHECKED : BST_CHECKED;
        PostMessageA(box, BM_SETCHECK, want, 0);
        for (int waited = 0; IsWindow(box) && SendMessageA(box, BM_GETCHECK, 0, 0) != (LRESULT)want;
             waited += 5) {
            if (waited >= 5000) {
                throw std::runtime_error(
                    "settle: the Use Script Method box did not take the posted check within 5 s");
            }
            Sleep(5);
        }
    }
}

DWORD App::waitForExit(DWORD milliseconds) const {
    DWORD code = STILL_ACTIVE;
    WaitForSingleObject(process_.hProcess, milliseconds);
    GetExitCodeProcess(process_.hProcess, &code);
    return code;
}

SIZE_T App::privateBytes() const {
    PROCESS_MEMORY_COUNTERS counters{};
    if (!GetProcessMemoryInfo(process_.hProcess, &counters, sizeof counters)) {
        throw std::runtime_error("cannot read the program's memory counters");
    }
    return counters.PagefileUsage;
}

std::vector<std::string> englishTexts() {
    std::vector<std::string> texts;
    for (const InterfaceText& text : kInterfaceTexts) {
        texts.push_back(text.english);
    }
    return texts;
}

std::vector<std::string> interfaceTexts(const App& app) {
    std::vector<std::string> texts;
    for (const InterfaceText& text : kInterfaceTexts) {
        texts.push_back(app.text(text.control));
    }
    return texts;
}

std::string iniValue(const std::string& ini, const std::string& section, const std::string& key) {
    std::istringstream lines(ini);
    std::string line, current;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (!line.empty() && line.front() == '[') {
            current = line.substr(1, line.find(']') - 1);
        } else if (current == section && line.rfind(key + "=", 0) == 0) {
            return line.substr(key.size() + 1);
        }
    }
    return "<missing>";
}

void clearClipboard() {
    if (OpenClipboard(nullptr)) {
        EmptyClipboard();
        CloseClipboard();
    }
}

std::string clipboardText(UINT format) {
    std::string text;
    if (!OpenClipboard(nullptr)) {
        throw std::runtime_error("cannot open the clipboard");
    }
    if (HANDLE data = GetClipboardData(format)) {
        if (void* chars = GlobalLock(data)) {
            text = format == CF_UNICODETEXT ? narrow(static_cast<const wchar_t*>(chars), CP_ACP)
                                            : static_cast<const char*>(chars);
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}
