#pragma once
// Drives the real Obrello.exe the way a user or another program could: a
// private copy in a fresh folder, its window found by caption and process,
// and every action a window message or the clipboard.

#include <windows.h>

#include <string>
#include <vector>

#include "res/resource.h"
#include "tests/support/interface_texts.h"
#include "tests/support/temp_folder.h"

struct PackFile {
    std::string name;    // file name inside Lngs, e.g. "Test.lng"
    std::string content; // the whole file, CR LF line ends
};

// A fresh temporary folder with a copy of the program (taken from the Windows
// path in OBRELLO_EXE) named `exeName`, the given packs in Lngs\ beside it
// and, when `settings` is not null, its settings file with that content. With
// an `exePathLength`, the copy sits in folders nested so deep that its full
// path is exactly that many bytes long; otherwise in `home`, a folder of the
// temporary one, or in that itself. Removed with everything in it. Every file
// is made with the wide calls, which go past 260 bytes; names are UTF-8.
class Sandbox {
  public:
    explicit Sandbox(const std::vector<PackFile>& packs = {}, const char* settings = nullptr,
                     size_t exePathLength = 0, const std::string& exeName = "Obrello.exe",
                     const std::string& home = "");
    std::string path(const std::string& name) const { return folder_ / (home_ + name); }
    const std::string& exeName() const { return exeName_; }
    std::string settingsPath() const;
    std::vector<std::string> files() const { return folder_.files(); } // the whole tree

  private:
    TempFolder folder_;
    std::string home_; // the program's folder inside folder_: empty or ending in a backslash
    std::string exeName_;
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
    // The same in UTF-8, passed as Unicode as typed text is: the program
    // reads it in the system's code page.
    std::string unicodeText(int id) const;
    void setUnicodeText(int id, const std::string& utf8) const;
    // Returns once the program has handled the click.
    void click(int id) const { SendMessageA(item(id), BM_CLICK, 0, 0); }
    bool checked(int id) const { return SendMessageA(item(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    bool enabled(int id) const { return IsWindowEnabled(item(id)) != FALSE; }
    std::vector<std::string> languages() const;
    int selectedLanguage() const { return SendMessageA(item(IDC_LANGUAGE), CB_GETCURSEL, 0, 0); }
    void selectLanguage(int index) const; // as the user's choice in the list
    // Focuses the control, posts the key down and up as the keyboard would,
    // with Alt held if asked, and returns once those and whatever they posted
    // in turn were handled.
    void pressKey(int id, WPARAM key, bool alt = false) const;
    // Returns once every message posted to the window so far was handled.
    void settle() const;
    bool running() const { return WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT; }
    DWORD waitForExit(DWORD milliseconds = 10000) const; // STILL_ACTIVE on timeout
    // The process's private memory: its commit charge on Windows, its
    // anonymous memory in use under Wine, which leaves PrivateUsage at 0.
    SIZE_T privateBytes() const;

  private:
    PROCESS_INFORMATION process_{};
    HWND window_ = nullptr;
};

// The translatable texts, in key order: built in, and as the window shows them.
std::vector<std::string> englishTexts();
std::vector<std::string> interfaceTexts(const App& app);

// The value of `key` in `section` of INI text, or "<missing>".
std::string iniValue(const std::string& ini, const std::string& section, const std::string& key);

void clearClipboard();
std::string clipboardText(UINT format = CF_TEXT); // in the code page; empty when none
