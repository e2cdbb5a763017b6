#include "tests/ui/obrello_driver.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>

namespace {

const char kCaption[] = "Obrello v3.1 - by Parwick Software";

void writeFile(const std::string& path, const std::string& content) {
    std::ofstream(path, std::ios::binary) << content;
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

} // namespace

Sandbox::Sandbox(const std::vector<PackFile>& packs, const char* settings) {
    static int serial = 0;
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    dir_ = std::string(temp) + "obrello-e2e-" + std::to_string(GetCurrentProcessId()) + "-" +
           std::to_string(++serial) + "-" + std::to_string(GetTickCount()) + "\\";
    CreateDirectoryA(dir_.c_str(), nullptr);
    const char* exe = std::getenv("OBRELLO_EXE");
    if (!exe || !CopyFileA(exe, path("Obrello.exe").c_str(), FALSE)) {
        throw std::runtime_error("cannot copy the program from OBRELLO_EXE");
    }
    if (!packs.empty()) {
        CreateDirectoryA(path("Lngs").c_str(), nullptr);
    }
    for (const PackFile& pack : packs) {
        writeFile(path("Lngs\\" + pack.name), pack.content);
    }
    if (settings) {
        writeFile(settingsPath(), settings);
    }
}

Sandbox::~Sandbox() {
    std::error_code error;
    // Read-only files (a test may make the settings so) would stop the removal.
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dir_, error)) {
        SetFileAttributesA(entry.path().string().c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    std::filesystem::remove_all(dir_, error);
}

App::App(const Sandbox& box) {
    std::string exe = box.path("Obrello.exe");
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessA(exe.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process_)) {
        throw std::runtime_error("cannot start " + exe);
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

std::vector<std::string> App::languages() const {
    HWND box = item(IDC_LANGUAGE);
    std::vector<std::string> names;
    // Asked in UTF-16: Wine hands another process the ANSI form of a list
    // item unconverted.
    for (int i = 0, count = SendMessageW(box, CB_GETCOUNT, 0, 0); i < count; ++i) {
        std::wstring wide(SendMessageW(box, CB_GETLBTEXTLEN, i, 0) + 1, L'\0');
        wide.resize(SendMessageW(box, CB_GETLBTEXT, i, (LPARAM)wide.data()));
        std::string name(wide.size() * 2, '\0');
        name.resize(WideCharToMultiByte(CP_ACP, 0, wide.data(), wide.size(), name.data(),
                                        name.size(), nullptr, nullptr));
        names.push_back(name);
    }
    return names;
}

void App::selectLanguage(int index) const {
    HWND box = item(IDC_LANGUAGE);
    SendMessageA(box, CB_SETCURSEL, index, 0);
    SendMessageA(window_, WM_COMMAND, MAKEWPARAM(IDC_LANGUAGE, CBN_SELCHANGE), (LPARAM)box);
}

void App::pressKey(int id, WPARAM key) const {
    SendMessageA(window_, WM_NEXTDLGCTL, (WPARAM)item(id), TRUE);
    LPARAM scan = MapVirtualKeyA(key, MAPVK_VK_TO_VSC) << 16;
    PostMessageA(item(id), WM_KEYDOWN, key, scan | 1);
    PostMessageA(item(id), WM_KEYUP, key, scan | 0xC0000001);
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
        for (int waited = 0; waited < 5000 && IsWindow(box); waited += 5) {
            if (SendMessageA(box, BM_GETCHECK, 0, 0) == (LRESULT)want) {
                break;
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

const TextControl kTexts[11] = {
    {IDC_LANGUAGE_GROUP, "Interface Language"},
    {IDC_LANGUAGE_LABEL, "&Language:"},
    {IDC_URI_GROUP, "URI"},
    {IDC_URI_LABEL, "&URI:"},
    {IDC_GENERATE_HTML, "&Generate HTML Code"},
    {IDC_USE_SCRIPT, "Use &Script Method"},
    {IDC_DESCRIPTION_LABEL, "&Description:"},
    {IDC_CRYPTED_LABEL, "Cryp&ted:"},
    {IDC_CRYPT, "C&rypt"},
    {IDC_COPY, "&Copy to Clipboard"},
    {IDC_EXIT, "E&xit"},
};

std::vector<std::string> englishTexts() {
    std::vector<std::string> texts;
    for (const TextControl& control : kTexts) {
        texts.push_back(control.english);
    }
    return texts;
}

std::vector<std::string> interfaceTexts(const App& app) {
    std::vector<std::string> texts;
    for (const TextControl& control : kTexts) {
        texts.push_back(app.text(control.id));
    }
    return texts;
}

std::string readFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
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

std::string clipboardText() {
    std::string text;
    if (!OpenClipboard(nullptr)) {
        throw std::runtime_error("cannot open the clipboard");
    }
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        if (const char* chars = static_cast<const char*>(GlobalLock(data))) {
            text = chars;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

std::string expectedCrypt(const std::string& uri, const std::string& description, bool generateHtml,
                          bool useScript) {
    std::string references;
    for (unsigned char byte : uri) {
        references += "&#" + std::to_string(byte) + ";";
    }
    if (!generateHtml) {
        return references;
    }
    std::string anchor = "<a href=\"" + references + "\">" + description + "</a>";
    if (!useScript) {
        return anchor;
    }
    size_t third = uri.size() / 3, twoThirds = 2 * uri.size() / 3;
    const std::string nl = "\r\n";
    return "<noscript>" + nl + anchor + nl + "</noscript>" + nl +
           "<script language=JavaScript type=\"text/javascript\">" + nl + "<!--" + nl +
           "var s1=\"" + uri.substr(0, third) + "\";" + nl + "var s2=\"" +
           uri.substr(third, twoThirds - third) + "\";" + nl + "var sDesc=\"" + description +
           "\";" + nl + "document.write(\"<a h\"+\"ref=\\\"\"+s1+s2+\"" + uri.substr(twoThirds) +
           "\\\">\"+sDesc+\"</a>\");" + nl + "//-->" + nl + "</script>";
}
