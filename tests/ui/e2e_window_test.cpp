// The program's window driven from outside: start-up state, Crypt in every
// shape, the HTML switch, keys, the clipboard and the ways to close it.

#include <gtest/gtest.h>

#include <cstdio>
#include <thread>

#include "tests/support/crypt_oracle.h"
#include "tests/support/crypt_reader.h"
#include "tests/support/requested_code_page.h"
#include "tests/ui/obrello_driver.h"

namespace {

const int kHtmlDependents[] = {IDC_USE_SCRIPT, IDC_DESCRIPTION_LABEL, IDC_DESCRIPTION};

void setCheck(const App& app, int id, bool on) {
    if (app.checked(id) != on) {
        app.click(id);
    }
}

double millisecondsSince(const LARGE_INTEGER& start) {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * (now.QuadPart - start.QuadPart) / frequency.QuadPart;
}

// Another program, to Obrello: puts an empty text on the clipboard, holds it, answers messages.
std::thread holdClipboard(UINT milliseconds) {
    std::thread holder([milliseconds] {
        OpenClipboard(
            CreateWindowA("STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr));
        EmptyClipboard();
        SetClipboardData(CF_TEXT, GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 1));
        SetTimer(nullptr, 0, milliseconds, nullptr);
        for (MSG message;
             GetMessageA(&message, nullptr, 0, 0) > 0 && message.message != WM_TIMER;) {
            DispatchMessageA(&message);
        }
        CloseClipboard();
    });
    while (!IsClipboardFormatAvailable(CF_TEXT)) {
        Sleep(5); // returns once it holds the clipboard, cleared before, with its text on
    }
    return holder;
}

} // namespace

TEST(E2eWindow, StartsInEnglishWithHtmlOn) {
    Sandbox box;
    App app(box);
    EXPECT_TRUE(app.checked(IDC_GENERATE_HTML));
    EXPECT_FALSE(app.checked(IDC_USE_SCRIPT));
    for (int id : kHtmlDependents) {
        EXPECT_TRUE(app.enabled(id)) << id;
    }
    EXPECT_EQ(app.languages(), std::vector<std::string>{"English (USA)"});
    EXPECT_EQ(app.selectedLanguage(), 0);
    EXPECT_EQ(interfaceTexts(app), englishTexts());
    EXPECT_EQ(app.text(IDC_URI) + app.text(IDC_DESCRIPTION) + app.text(IDC_CRYPTED), "");
}

TEST(E2eWindow, CryptShowsEachShapeAndCopyTakesItWhole) {
    std::string everyByte; // all that a single-line box can hold
    for (int byte = 1; byte < 256; ++byte) {
        if (byte != '\r' && byte != '\n') {
            everyByte += static_cast<char>(byte);
        }
    }
    struct Case {
        std::string uri, description;
        bool html, script;
        std::string expected;
        UINT heldFor = 0; // ms that another program holds the clipboard as Copy is pressed
    } cases[] = {
        {"abcdefg", "Contact", true, true, kWorkedExample},
        {"abcdefg", "Contact", true, false,
         "<a href=\"&#97;&#98;&#99;&#100;&#101;&#102;&#103;\">Contact</a>"},
        {"abcdefg", "Contact", false, false, "&#97;&#98;&#99;&#100;&#101;&#102;&#103;"},
        {"abcdefg", "Contact", false, true, "&#97;&#98;&#99;&#100;&#101;&#102;&#103;"},
        {"", "Contact", false, false, ""}, // replaces the earlier output too
        {"", "", true, true, ExpectedCrypt("", "", true, true)},
        {"x", "say \"hi\" \\o/", true, true, ExpectedCrypt("x", "say \"hi\" \\o/", true, true)},
        {"ab", "", true, true, ExpectedCrypt("ab", "", true, true)},
        {everyByte, "caf\xE9", true, true, ExpectedCrypt(everyByte, "caf\xE9", true, true)},
        {"ab", "Contact", true, true, ExpectedCrypt("ab", "Contact", true, true), 300},
        {"ab", "Contact", false, false, "&#97;&#98;", 3000},
    };
    Sandbox box;
    App app(box);
    for (const Case& c : cases) {
        SCOPED_TRACE("uri \"" + c.uri.substr(0, 16) + "\" html " + std::to_string(c.html) +
                     " script " + std::to_string(c.script));
        app.setText(IDC_URI, c.uri);
        app.setText(IDC_DESCRIPTION, c.description);
        setCheck(app, IDC_GENERATE_HTML, true); // the script box answers only then
        setCheck(app, IDC_USE_SCRIPT, c.script);
        setCheck(app, IDC_GENERATE_HTML, c.html);
        app.click(IDC_CRYPT);
        std::string shown = app.text(IDC_CRYPTED);
        EXPECT_EQ(shown, c.expected);
        clearClipboard();
        std::thread holder = c.heldFor ? holdClipboard(c.heldFor) : std::thread([] {});
        const DWORD start = GetTickCount();
        app.click(IDC_COPY);
        EXPECT_LT(GetTickCount() - start, 1500u) << "the window stopped answering";
        EXPECT_EQ(app.text(IDC_CRYPTED), shown) << "Copy changed the Crypted box";
        holder.join();
        // Held past about a second, Copy gives up and leaves the clipboard as it was.
        for (UINT format : {CF_TEXT, CF_UNICODETEXT}) {
            EXPECT_EQ(clipboardText(format), c.heldFor < 1000 ? shown : "") << format;
        }
    }
}

// Hundreds of clicks leave the private memory where the first left it; one
// lost 64 KB input block per click would add about 20 MB.
TEST(E2eWindow, RepeatedCryptKeepsPrivateMemoryFlat) {
    Sandbox box;
    App app(box);
    // Wine takes some 40 ms to show each output; a hidden box takes it at once.
    ShowWindow(app.item(IDC_CRYPTED), SW_HIDE);
    app.setText(IDC_URI, "mailto:me@example.org");
    app.click(IDC_CRYPT);
    const SIZE_T first = app.privateBytes();
    for (int click = 0; click < 300; ++click) {
        app.click(IDC_CRYPT);
    }
    EXPECT_LT(app.privateBytes(), first + 2 * 1024 * 1024); // a margin of 2 MB
}

// The same long text in both boxes: each reads at most 32,765 bytes.
TEST(E2eWindow, LongInputsArriveWholeAndLongerOnesAreCut) {
    std::string uri;
    for (int i = 0; i < 40000; ++i) {
        uri += static_cast<char>(' ' + 1 + (i * 7) % 94); // printable, quote and backslash too
    }
    const std::string longest = uri.substr(0, 32765);
    const std::string expected = ExpectedCrypt(longest, longest, true, true);
    // One fresh window each: Wine's edit control is slow to replace a long line.
    for (size_t length : {32765, 40000}) {
        SCOPED_TRACE(length);
        Sandbox box;
        App app(box);
        // Wine also takes many seconds to draw such a line; a minimised
        // window draws nothing and holds the same contents.
        SendMessageA(app.window(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
        app.setText(IDC_URI, uri.substr(0, length));
        app.setText(IDC_DESCRIPTION, uri.substr(0, length));
        app.click(IDC_USE_SCRIPT);
        LARGE_INTEGER start;
        QueryPerformanceCounter(&start);
        app.click(IDC_CRYPT);
        double crypt = millisecondsSince(start);
        std::string shown = app.text(IDC_CRYPTED);
        std::printf(
            "Crypt of a %zu-byte URI and description with both options: %.0f ms until the click "
            "returned, %.0f ms until the %zu-byte output was read back\n",
            length, crypt, millisecondsSince(start), shown.size());
        EXPECT_EQ(shown.size(), expected.size());
        EXPECT_NE(shown.find("\">" + longest + "</a>"), std::string::npos)
            << "the description did not arrive as its first 32,765 bytes";
        EXPECT_TRUE(shown == expected); // not printed: too long to read
    }
}

// CTest runs this once per code page, with the locale that makes it Wine's
// ANSI code page and OBRELLO_ACP naming it. Text goes in and comes out as
// Unicode, as typed and as pasted.
TEST(E2eWindow, ReferencesNameTheCharactersOfTheSystemCodePage) {
    const UINT codePage = RequestedCodePage();
    ASSERT_EQ(GetACP(), codePage) << "the locale did not select the code page";
    const struct {
        UINT codePage;
        const char *uri, *references, *s1, *s2, *s3;
    } cases[] = {
        // Bytes as before; a character the code page lacks arrives as "?".
        {1252, u8"café € я", "&#99;&#97;&#102;&#233;&#32;&#128;&#32;&#63;", "ca", u8"fé ", u8"€ ?"},
        {1250, u8"łódź", "&#322;&#243;&#100;&#378;", u8"ł", u8"ó", u8"dź"},
        {1251, u8"пример.рф", "&#1087;&#1088;&#1080;&#1084;&#1077;&#1088;&#46;&#1088;&#1092;",
         u8"при", u8"мер", u8".рф"},
        {932, u8"xあいう", "&#120;&#12354;&#12356;&#12358;", "x", u8"あ", u8"いう"}, // both move
    };
    Sandbox box;
    App app(box);
    app.click(IDC_USE_SCRIPT);
    app.setText(IDC_DESCRIPTION, "Mail");
    int checked = 0;
    for (const auto& c : cases) {
        if (c.codePage == codePage) {
            app.setUnicodeText(IDC_URI, c.uri);
            app.click(IDC_CRYPT);
            EXPECT_EQ(app.unicodeText(IDC_CRYPTED),
                      std::string("<noscript>\r\n<a href=\"") + c.references + "\">Mail</a>" +
                          kScriptParts[0] + c.s1 + kScriptParts[1] + c.s2 + kScriptParts[2] +
                          "Mail" + kScriptParts[3] + c.s3 + kScriptParts[4]);
            ++checked;
        }
    }
    EXPECT_EQ(checked, 1);
}

TEST(E2eWindow, HtmlSwitchDisablesDependentsAndKeepsTheirState) {
    Sandbox box;
    App app(box);
    app.setText(IDC_URI, "mailto:me@example.org");
    app.setText(IDC_DESCRIPTION, "Mail me");
    app.click(IDC_USE_SCRIPT);
    for (bool html : {false, true, false, true}) {
        app.click(IDC_GENERATE_HTML);
        ASSERT_EQ(app.checked(IDC_GENERATE_HTML), html);
        for (int id : kHtmlDependents) {
            EXPECT_EQ(app.enabled(id), html) << id;
        }
        EXPECT_TRUE(app.checked(IDC_USE_SCRIPT));
        EXPECT_EQ(app.text(IDC_DESCRIPTION), "Mail me");
        EXPECT_EQ(app.text(IDC_DESCRIPTION_LABEL), "&Description:");
        EXPECT_EQ(app.text(IDC_USE_SCRIPT), "Use &Script Method");
        app.click(IDC_CRYPT); // a disabled but checked script box is ignored
        EXPECT_EQ(app.text(IDC_CRYPTED),
                  ExpectedCrypt("mailto:me@example.org", "Mail me", html, html));
    }
}

TEST(E2eWindow, EnterAndEscapeLeaveTheWindowOpen) {
    // The same in a window mirrored by a stored right-to-left choice.
    for (const char* settings : {"", "[Options]\r\nLanguageFile=Rtl.lng\r\n"}) {
        Sandbox box({{"Rtl.lng", "[Info]\r\nRightToLeft=1\r\n"}}, settings);
        App app(box);
        ASSERT_EQ((GetWindowLongPtrA(app.window(), GWL_EXSTYLE) & WS_EX_LAYOUTRTL) != 0,
                  *settings != 0);
        app.setText(IDC_URI, "abc");
        app.click(IDC_CRYPT);
        const int focused[] = {IDC_LANGUAGE,    IDC_URI,   IDC_GENERATE_HTML, IDC_USE_SCRIPT,
                               IDC_DESCRIPTION, IDC_CRYPT, IDC_COPY};
        for (int id : focused) {
            for (WPARAM key : {VK_RETURN, VK_ESCAPE}) {
                app.pressKey(id, key);
                ASSERT_TRUE(app.running() && IsWindowVisible(app.window()))
                    << "key " << key << " on control " << id;
            }
        }
        EXPECT_TRUE(app.checked(IDC_GENERATE_HTML));
        EXPECT_EQ(app.text(IDC_URI), "abc");
        app.pressKey(IDC_CRYPTED, VK_RETURN); // the output box takes Enter as a line break
        SendMessageW(app.item(IDC_CRYPTED), WM_CHAR, 0x44F, 1); // typed, outside the code page
        SendMessageW(app.item(IDC_CRYPTED), WM_CHAR, 0x4E2D, 1);
        EXPECT_EQ(app.unicodeText(IDC_CRYPTED), u8"\r\nя中");
        const std::string output = app.text(IDC_CRYPTED);
        EXPECT_NE(output.find("\r\n"), std::string::npos);
        // The platform's multi-line edit control answers Esc by closing its dialog.
        app.pressKey(IDC_CRYPTED, VK_ESCAPE);
        ASSERT_TRUE(app.running() && IsWindowVisible(app.window())) << settings;
        EXPECT_EQ(app.text(IDC_CRYPTED), output);
        EXPECT_EQ(SendMessageA(app.item(IDC_CRYPTED), EM_GETSEL, 0, 0), // as focusing selected it
                  MAKELRESULT(0, output.size()));
        app.pressKey(IDC_CRYPTED, VK_F4, true); // while Alt+F4 there closes the window
        EXPECT_EQ(app.waitForExit(), 0u);
    }
}

TEST(E2eWindow, ExitAndCloseEndTheProcessWithZero) {
    struct Way {
        const char* name;
        UINT message;
        WPARAM wParam;
        int control; // the sending control, or 0
    } ways[] = {
        {"Exit button", WM_COMMAND, MAKEWPARAM(IDC_EXIT, BN_CLICKED), IDC_EXIT},
        {"WM_CLOSE", WM_CLOSE, 0, 0},
        {"SC_CLOSE", WM_SYSCOMMAND, SC_CLOSE, 0},
    };
    for (const Way& way : ways) {
        SCOPED_TRACE(way.name);
        Sandbox box;
        App app(box);
        LPARAM sender = way.control ? (LPARAM)app.item(way.control) : 0;
        SendMessageA(app.window(), way.message, way.wParam, sender);
        EXPECT_EQ(app.waitForExit(), 0u);
        EXPECT_FALSE(IsWindow(app.window()));
        EXPECT_EQ(iniValue(ReadWholeFile(box.settingsPath()), "Options", "LanguageFile"),
                  "Default"); // saved as on every exit
    }
}
