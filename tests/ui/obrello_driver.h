#pragma once
// Drives the real Obrello.exe the way a user or another program could: a
// private copy in a fresh folder, its window found by caption and process,
// and every action a window message or the clipboard.

#include <windows.h>

#include <string>
#include <vector>

#include "res/resource.h"

struct PackFile {
    std::string name;    // file name inside Lngs, e.g. "Test.lng"
    std::string content; // the whole file, CR LF line ends
};

// A fresh temporary folder with a copy of the program (taken from the Windows
// path in OBRELLO_EXE), the given packs in Lngs\ and, when `settings` is not
// null, an Obrello.ini with that content. Removed with everything in it.
class Sandbox {
  public:
    explicit Sandbox(const std::vector<PackFile>& packs = {}, const char* settings = nullptr);
    ~Sandbox();
    Sandbox(const Sandbox&) = delete;
    Sandbox& operator=(const Sandbox&) = delete;
    std::string path(const std::string& name) const { return dir_ + name; }
    std::string settingsPath() const { return path("Obrello.ini"); }

  private:
    std::string dir_; // ends in a backslash
};

// One running program and its main window. The destructor ends a process that
// a failed test left running.
class App {
  public:
    explicit App(const Sandbox& box); // throws when no window shows up in time
    ~App();
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    HWND window() const { return window_; }
    HWND item(int id) const { return GetDlgItem(window_, id); }
    std::string text(int id) const;
    void setText(int id, const std::string& text) const {
        SendMessageA(item(id), WM_SETTEXT, 0, (LPARAM)text.c_str());
    }
    // Returns once the program has handled the click.
    void click(int id) const { SendMessageA(item(id), BM_CLICK, 0, 0); }
    bool checked(int id) const { return SendMessageA(item(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    bool enabled(int id) const { return IsWindowEnabled(item(id)) != FALSE; }
    std::vector<std::string> languages() const;
    int selectedLanguage() const { return SendMessageA(item(IDC_LANGUAGE), CB_GETCURSEL, 0, 0); }
    void selectLanguage(int index) const; // as the user's choice in the list
    // Focuses the control, posts the key down and up as the keyboard would,
    // and returns once those and whatever they posted in turn were handled.
    void pressKey(int id, WPARAM key) const;
    // Returns once every message posted to the window so far was handled.
    void settle() const;
    bool running() const { return WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT; }
    DWORD waitForExit(DWORD milliseconds = 10000) const; // STILL_ACTIVE on timeout

  private:
    PROCESS_INFORMATION process_{};
    HWND window_ = nullptr;
};

// The controls with translatable texts, in key order "0" to "10".
struct TextControl {
    int id;
    const char* english; // the built-in text
};
extern const TextControl kTexts[11];
std::vector<std::string> englishTexts();
std::vector<std::string> interfaceTexts(const App& app);

std::string readFile(const std::string& path);
// The value of `key` in `section` of INI text, or "<missing>".
std::string iniValue(const std::string& ini, const std::string& section, const std::string& key);

void clearClipboard();
std::string clipboardText(); // CF_TEXT, empty when there is none

// The output expected for one Crypt, built here from the documented format
// independently of the product's composer.
std::string expectedCrypt(const std::string& uri, const std::string& description, bool generateHtml,
                          bool useScript);
