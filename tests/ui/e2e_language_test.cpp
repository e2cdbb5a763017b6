// Language packs and the settings file as a user meets them: choosing a
// language, restarting, incomplete packs and settings files in odd states.

#include <gtest/gtest.h>
#include <tuple>

#include "tests/support/requested_code_page.h"
#include "tests/ui/obrello_driver.h"

namespace {

const std::vector<std::string> kEnglishTexts = englishTexts();
const std::vector<std::string> kPackTexts = {"T0", "T1", "T2", "T3", "T4", "T5",
                                             "T6", "T7", "T8", "T9", "T10"};

// A pack that translates every text: "T0" to "T10".
PackFile fullPack(const std::string& info = "Language=Testish\r\n",
                  const std::string& name = "Test.lng") {
    std::string content = "[Info]\r\n" + info + "[Data]\r\n";
    for (const InterfaceText& text : kInterfaceTexts) {
        content += text.key + std::string("=T") + text.key + "\r\n";
    }
    return {name, content};
}

std::string savedLanguage(const Sandbox& box) {
    return iniValue(ReadWholeFile(box.settingsPath()), "Options", "LanguageFile");
}

// The extended styles of the window and of the language box's drop-down list (a window of its
// own); each control's id, place in the client area as shown (left, top, right, bottom), styles.
struct Layout {
    LONG_PTR windowExStyle = 0, listExStyle = 0;
    std::vector<int> ids;
    std::vector<std::vector<LONG>> places;
    std::vector<LONG_PTR> styles, exStyles;
    auto compared() const { return std::tie(windowExStyle, listExStyle, places, styles, exStyles); }
    bool operator==(const Layout& o) const { return compared() == o.compared(); }
};
Layout layoutOf(const App& app) {
    WINDOWINFO window{};
    window.cbSize = sizeof window;
    GetWindowInfo(app.window(), &window);
    // The program's own (Wine answers GetComboBoxInfo only within the process).
    const DWORD thread = GetWindowThreadProcessId(app.window(), nullptr);
    HWND list = nullptr;
    do {
        list = FindWindowExA(nullptr, list, "ComboLBox", nullptr);
    } while (list && GetWindowThreadProcessId(list, nullptr) != thread);
    EXPECT_NE(list, nullptr);
    Layout layout;
    layout.windowExStyle = GetWindowLongPtrA(app.window(), GWL_EXSTYLE);
    layout.listExStyle = GetWindowLongPtrA(list, GWL_EXSTYLE);
    for (HWND c = GetWindow(app.window(), GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        layout.ids.push_back(GetDlgCtrlID(c));
        RECT r;
        GetWindowRect(c, &r);
        const LONG x = window.rcClient.left, y = window.rcClient.top;
        layout.places.push_back({r.left - x, r.top - y, r.right - x, r.bottom - y});
        layout.styles.push_back(GetWindowLongPtrA(c, GWL_STYLE));
        layout.exStyles.push_back(GetWindowLongPtrA(c, GWL_EXSTYLE));
    }
    return layout;
}

} // namespace

// Also where the program's name holds a double-byte character whose second
// byte is a backslash's value (cp932 "表" is 95 5C), or its folder's name
// letters the code page lacks: CTest runs this under code pages 1252 and 932.
TEST(E2eLanguage, ChosenPackAppliesAndOutlivesARestart) {
    const UINT codePage = RequestedCodePage();
    ASSERT_EQ(GetACP(), codePage) << "the locale did not select the code page";
    const struct {
        UINT codePage; // 0: any
        const char *home, *exeName;
    } cases[] = {{0, "", "Obrello.exe"},
                 {1252, u8"Алексей", "Obrello.exe"},
                 {1252, u8"Łódź", "Obrello.exe"}, // not "Lódz", its look-alike in 1252
                 {932, "", u8"表.exe"}};
    for (const auto& c : cases) {
        if (c.codePage && c.codePage != codePage) {
            continue;
        }
        SCOPED_TRACE(std::string(c.home) + "\\" + c.exeName);
        Sandbox box({fullPack()}, nullptr, 0, c.exeName, c.home);
        {
            App app(box);
            EXPECT_EQ(app.languages(), (std::vector<std::string>{"English (USA)", "Testish"}));
            EXPECT_EQ(app.selectedLanguage(), 0);
            app.selectLanguage(1);
            EXPECT_EQ(interfaceTexts(app), kPackTexts);
            app.click(IDC_EXIT);
            ASSERT_EQ(app.waitForExit(), 0u);
        }
        EXPECT_EQ(savedLanguage(box), "Test.lng");
        {
            App app(box);
            EXPECT_EQ(app.selectedLanguage(), 1);
            EXPECT_EQ(interfaceTexts(app), kPackTexts);
            app.selectLanguage(0);
            EXPECT_EQ(interfaceTexts(app), kEnglishTexts);
            app.click(IDC_EXIT);
            ASSERT_EQ(app.waitForExit(), 0u);
        }
        EXPECT_EQ(savedLanguage(box), "Default");
    }
}

// A pack that says it reads right to left mirrors the window at once, keeping the boxes' contents
// and reading order; English restores it exactly; a stored choice starts mirrored.
TEST(E2eLanguage, RightToLeftPackMirrorsTheWindow) {
    Sandbox box({fullPack("Language=Rtl\r\nRightToLeft=1\r\n"),
                 fullPack("Language=Ltr\r\nRightToLeft=0\r\n", "Ltr.lng")});
    Layout mirrored;
    {
        App app(box);
        const int rtl = app.languages()[1] == "Rtl" ? 1 : 2;
        const Layout before = layoutOf(app);
        app.setText(IDC_URI, "mailto:a@b.c");
        app.setText(IDC_DESCRIPTION, "Mail");
        app.click(IDC_USE_SCRIPT);
        app.click(IDC_CRYPT);
        const std::vector<std::string> contents = {app.text(IDC_URI), app.text(IDC_DESCRIPTION),
                                                   app.text(IDC_CRYPTED)};
        app.selectLanguage(3 - rtl); // left to right: nothing moves
        EXPECT_TRUE(layoutOf(app) == before);
        app.selectLanguage(rtl);
        mirrored = layoutOf(app);
        RECT client;
        GetClientRect(app.window(), &client);
        const LONG_PTR rtlBits = WS_EX_LAYOUTRTL | WS_EX_RTLREADING;
        EXPECT_TRUE(mirrored.windowExStyle & WS_EX_LAYOUTRTL);
        EXPECT_EQ(before.listExStyle & rtlBits, 0);
        EXPECT_EQ(mirrored.listExStyle & rtlBits, rtlBits);
        for (size_t i = 0; i < before.places.size(); ++i) {
            const std::vector<LONG>& was = before.places[i];
            EXPECT_EQ(mirrored.places[i], (std::vector<LONG>{client.right - was[2], was[1],
                                                             client.right - was[0], was[3]}))
                << "control " << i;
            const int id = mirrored.ids[i];
            const bool edit = id == IDC_URI || id == IDC_DESCRIPTION || id == IDC_CRYPTED;
            EXPECT_EQ(mirrored.exStyles[i] & rtlBits, edit ? 0 : rtlBits) << "control " << id;
        }
        app.selectLanguage(0);
        EXPECT_TRUE(layoutOf(app) == before);
        EXPECT_EQ(contents, (std::vector<std::string>{app.text(IDC_URI), app.text(IDC_DESCRIPTION),
                                                      app.text(IDC_CRYPTED)}));
        EXPECT_TRUE(app.checked(IDC_GENERATE_HTML) && app.checked(IDC_USE_SCRIPT));
        app.selectLanguage(rtl);
        app.click(IDC_EXIT);
        ASSERT_EQ(app.waitForExit(), 0u);
    }
    App app(box);
    EXPECT_TRUE(layoutOf(app) == mirrored);
}

TEST(E2eLanguage, MissingEmptyAndOverlongPackTextsAreHandled) {
    std::string overlong;
    for (int i = 0; i < 3000; ++i) {
        overlong += static_cast<char>('0' + i % 10);
    }
    // No [Info] section: the pack is listed under its file's base name.
    PackFile partial{"Partial.lng", "[Data]\r\n0=Sprache\r\n5=" + overlong + "\r\n8=\r\n"};
    Sandbox box({partial}, "[Options]\r\nLanguageFile=Partial.lng\r\n");
    App app(box);
    EXPECT_EQ(app.languages(), (std::vector<std::string>{"English (USA)", "Partial"}));
    EXPECT_EQ(app.selectedLanguage(), 1);
    std::vector<std::string> expected = kEnglishTexts;
    expected[0] = "Sprache";
    expected[5] = overlong.substr(0, 2047);
    expected[8] = "";
    EXPECT_EQ(interfaceTexts(app), expected);
    app.click(IDC_EXIT);
    EXPECT_EQ(app.waitForExit(), 0u);
}

TEST(E2eLanguage, SettingsFileIsReadAndWrittenBack) {
    const char kOthers[] = "[Before]\r\nA=1\r\n[Options]\r\nOther=2\r\nLanguageFile=Default\r\n"
                           "[After]\r\nB=3\r\n";
    struct Case {
        const char* name;
        const char* settings; // null: no file
        bool readOnly;
        int choose; // item picked by the user, or -1
        int shownAtStart;
        const char* saved;
    } cases[] = {
        {"no settings file", nullptr, false, -1, 0, "Default"},
        {"missing pack kept", "[Options]\r\nLanguageFile=Gone.lng\r\n", false, -1, 0, "Gone.lng"},
        {"read-only, other content", kOthers, true, 1, 0, "Test.lng"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Sandbox box({fullPack()}, c.settings);
        if (c.readOnly) {
            SetFileAttributesA(box.settingsPath().c_str(), FILE_ATTRIBUTE_READONLY);
        }
        App app(box);
        EXPECT_EQ(app.selectedLanguage(), c.shownAtStart);
        // A stored name that matches no pack shows English.
        EXPECT_EQ(interfaceTexts(app), c.shownAtStart ? kPackTexts : kEnglishTexts);
        if (c.choose >= 0) {
            app.selectLanguage(c.choose);
        }
        SendMessageA(app.window(), WM_CLOSE, 0, 0);
        ASSERT_EQ(app.waitForExit(), 0u);
        std::string ini = ReadWholeFile(box.settingsPath());
        EXPECT_EQ(iniValue(ini, "Options", "LanguageFile"), c.saved);
        EXPECT_EQ(GetFileAttributesA(box.settingsPath().c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
        if (c.settings == kOthers) {
            EXPECT_EQ(iniValue(ini, "Before", "A") + iniValue(ini, "Options", "Other") +
                          iniValue(ini, "After", "B"),
                      "123");
        }
    }
}
