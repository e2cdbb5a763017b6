// Checks the packs in the build's Lngs folder, as users unpack them, under the code page of each
// script they are written in: UTF-16 with the mark, every text defined, read back exactly as
// written, each control with its own access key and wide enough for its text.
#include <windows.h>

#include "res/resource.h"
#include "tests/support/interface_texts.h"
#include "tests/support/requested_code_page.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

// Stands in for a missing key: a value that no pack text would hold.
const char kMissing[] = "\x01missing";

struct Pack {
    std::string name, path;
};

// The file names of the packs written for codePage, or of all packs for 0, from the packs' table:
// rows of a code page, a locale and the packs' base names.
std::set<std::string> PackNames(UINT codePage) {
    const char* table = std::getenv("OBRELLO_CODE_PAGES");
    EXPECT_NE(table, nullptr) << "OBRELLO_CODE_PAGES is not set";
    std::ifstream rows(table ? table : "");
    std::set<std::string> names;
    for (std::string row; std::getline(rows, row);) {
        std::istringstream words(row);
        std::string page, locale;
        words >> page >> locale;
        if (isdigit(static_cast<unsigned char>(row[0])) &&
            (!codePage || codePage == std::stoul(page))) {
            for (std::string name; words >> name;) {
                names.insert(name + ".lng");
            }
        }
    }
    return names;
}

// The packs in the folder; with ofThisCodePage, only those written for the code page of this run.
std::vector<Pack> ShippedPacks(bool ofThisCodePage = true) {
    const char* folder = std::getenv("OBRELLO_LNGS");
    EXPECT_NE(folder, nullptr) << "OBRELLO_LNGS is not set";
    std::vector<Pack> packs;
    if (!folder) {
        return packs;
    }
    const std::string base = std::string(folder) + "\\";
    const std::set<std::string> wanted = PackNames(GetACP());
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((base + "*.lng").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return packs;
    }
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
            (!ofThisCodePage || wanted.count(found.cFileName))) {
            packs.push_back({found.cFileName, base + found.cFileName});
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return packs;
}

// The value as the ANSI functions give it, which must be the file's text spelled exactly in the
// code page: no letter best-fitted or lost. The build folder's path is ASCII.
std::string ReadValue(const Pack& pack, const char* section, const char* key) {
    char text[2048], spelled[4096];
    GetPrivateProfileStringA(section, key, kMissing, text, sizeof text, pack.path.c_str());
    auto wide = [](const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); };
    wchar_t value[2048];
    GetPrivateProfileStringW(wide(section).c_str(), wide(key).c_str(), wide(kMissing).c_str(),
                             value, 2048, wide(pack.path).c_str());
    BOOL usedDefault = FALSE;
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, value, -1, spelled, sizeof spelled, nullptr,
                        &usedDefault);
    EXPECT_FALSE(usedDefault) << pack.name << " " << key << ": code page " << GetACP() << " lacks";
    EXPECT_STREQ(text, spelled) << pack.name << " " << key;
    return text;
}

// The characters marked as access keys, upper-cased: each one follows a single '&', while
// "&&" shows a literal ampersand.
std::string AccessKeys(const std::string& text) {
    std::string keys;
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != '&') {
            continue;
        }
        if (text[i + 1] != '&') {
            char key[2] = {text[i + 1], 0};
            CharUpperA(key);
            keys += key[0];
        }
        ++i;
    }
    return keys;
}

TEST(ShippedPacks, NameTheirLanguageAndDefineEveryText) {
    for (const Pack& pack : ShippedPacks()) {
        SCOPED_TRACE(pack.name);
        const std::string language = ReadValue(pack, "Info", "Language");
        EXPECT_NE(language, kMissing);
        EXPECT_FALSE(language.empty());
        for (const InterfaceText& key : kInterfaceTexts) {
            const std::string text = ReadValue(pack, "Data", key.key);
            EXPECT_NE(text, kMissing) << "key " << key.key;
            EXPECT_FALSE(text.empty()) << "key " << key.key;
        }
        // No language translates "HTML": its check box keeps the word, so swapped texts show.
        EXPECT_NE(ReadValue(pack, "Data", "4").find("HTML"), std::string::npos);
        const bool rightToLeft = GetACP() == 1255 || GetACP() == 1256;
        EXPECT_EQ(ReadValue(pack, "Info", "RightToLeft"), rightToLeft ? "1" : kMissing);
    }
}

// Keys 0 and 2 are group boxes and need no access key; every label, check box and button has
// exactly one, and no two controls share one, or the keyboard could not reach them all. Windows
// matches a key by the letter the keyboard types: those of Cyrillic, Greek, Hebrew and Arabic
// type none of ASCII.
TEST(ShippedPacks, GiveEachControlItsOwnAccessKey) {
    const std::set<UINT> ownScript = {1251, 1253, 1255, 1256};
    for (const Pack& pack : ShippedPacks()) {
        SCOPED_TRACE(pack.name);
        std::string used;
        for (const InterfaceText& text : kInterfaceTexts) {
            const std::string key = text.key, keys = AccessKeys(ReadValue(pack, "Data", text.key));
            if (text.control == IDC_LANGUAGE_GROUP || text.control == IDC_URI_GROUP) {
                EXPECT_LE(keys.size(), 1u) << "key " << key;
            } else {
                EXPECT_EQ(keys.size(), 1u) << "key " << key;
            }
            for (char c : keys) {
                EXPECT_EQ(used.find(c), std::string::npos) << "key " << key << " reuses " << c;
                EXPECT_FALSE(ownScript.count(GetACP()) && static_cast<unsigned char>(c) < 0x80)
                    << "key " << key << " is ASCII " << c;
                used += c;
            }
        }
    }
}

// The folder holds exactly the listed packs. Windows reads a profile file as Unicode only behind
// the UTF-16 LE mark: UTF-8, with its mark or without, reads as ANSI text, its first section may be
// lost to the mark, and UTF-16 without it reads as ANSI text too.
TEST(ShippedPacks, AreTheListedPacksInUtf16WithTheMark) {
    ASSERT_EQ(GetACP(), RequestedCodePage()) << "the locale did not select the code page";
    EXPECT_FALSE(PackNames(GetACP()).empty()) << "no pack is written for this code page";
    std::set<std::string> names;
    for (const Pack& pack : ShippedPacks(false)) {
        std::ifstream file(pack.path, std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(file), {}};
        EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE") << pack.name << " is not UTF-16 LE with the mark";
        EXPECT_EQ(bytes.size() % 2, 0u) << pack.name;
        // Persian and Urdu end a word in alef maksura, which windows-1256 has, never in the yeh of
        // Arabic, whose dots their own final yeh lacks.
        const std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / 2);
        EXPECT_FALSE((pack.name == "Persian.lng" || pack.name == "Urdu.lng") &&
                     std::regex_search(text, std::wregex(L"\u064A[^&\u0621-\u064A\u0671-\u06D3]")))
            << pack.name << " ends a word in U+064A";
        names.insert(pack.name);
    }
    EXPECT_EQ(names, PackNames(0));
}

// Both READMEs name each pack's language as its [Info] does, from their count to a blank line.
TEST(ShippedPacks, AreListedInBothReadmes) {
    const char* source = std::getenv("OBRELLO_SOURCE");
    ASSERT_NE(source, nullptr) << "OBRELLO_SOURCE is not set";
    const std::string count = std::to_string(PackNames(0).size()) + " languages";
    for (const char* readme : {"README.md", "docs\\README.txt"}) {
        std::ifstream file(std::string(source) + "\\" + readme, std::ios::binary);
        const std::string text{std::istreambuf_iterator<char>(file), {}};
        const size_t start = text.find(count);
        ASSERT_NE(start, std::string::npos) << readme << " does not say " << count;
        const std::string list = text.substr(start, text.find("\n\n", start) - start);
        for (const Pack& pack : ShippedPacks(false)) {
            wchar_t name[256];
            char utf8[1024];
            GetPrivateProfileStringW(L"Info", L"Language", L"", name, 256,
                                     std::wstring(pack.path.begin(), pack.path.end()).c_str());
            WideCharToMultiByte(CP_UTF8, 0, name, -1, utf8, sizeof utf8, nullptr, nullptr);
            EXPECT_NE(list.find(utf8), std::string::npos) << readme << " does not list " << utf8;
        }
    }
}

INT_PTR CALLBACK PassiveDialogProc(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

// For each text in key order, the pixels of its control that it cannot use: a group box's frame on
// either side of its title, a check box's 13-pixel box and the gap after it, a button's edges.
const int kInsets[] = {16, 0, 16, 0, 17, 17, 0, 0, 8, 8, 8};
static_assert(std::size(kInsets) == std::size(kInterfaceTexts));

// Windows draws the dialog's "MS Sans Serif" in a bitmap font of the code page. Wine has copies in
// its data folder but picks a TrueType font for the name; its copies for 1255, 1256 and 874 are
// blank, and there are none for the double-byte code pages: those keep the TrueType font.
const std::map<UINT, std::string> kBitmapFonts = {{1250, "sserifee.fon"}, {1251, "sserifer.fon"},
                                                  {1252, "sserife.fon"},  {1253, "sserifeg.fon"},
                                                  {1254, "sserifet.fon"}, {1257, "ssee1257.fon"}};

// Measured as the control draws it: in the dialog's font, which the code page's script chooses, and
// without the access key's "&". Prints each pack's widest text as a share of its room.
TEST(ShippedPacks, FitTheirControls) {
    const auto bitmapFont = kBitmapFonts.find(GetACP());
    const bool bitmap = bitmapFont != kBitmapFonts.end();
    // Only Wine names its data folder to its programs, as an NT path; Windows has its own font.
    // Added before the dialog, for Wine keeps the font it once chose for a name.
    if (const char* wineData = std::getenv("WINEDATADIR"); bitmap && wineData) {
        std::string path = std::string(wineData) + "\\fonts\\" + bitmapFont->second;
        path.erase(0, path.rfind("\\??\\", 0) ? 0 : 4);
        ASSERT_GT(AddFontResourceExA(path.c_str(), FR_PRIVATE, nullptr), 0) << path;
    }
    HWND dialog = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_MAIN), nullptr,
                                     PassiveDialogProc, 0);
    ASSERT_NE(dialog, nullptr);
    HDC dc = GetDC(dialog);
    SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(dialog, WM_GETFONT, 0, 0)));
    CHARSETINFO script{};
    TranslateCharsetInfo(reinterpret_cast<DWORD*>(static_cast<UINT_PTR>(GetACP())), &script,
                         TCI_SRCCODEPAGE);
    TEXTMETRICA metrics{};
    char face[LF_FACESIZE] = "";
    GetTextMetricsA(dc, &metrics);
    GetTextFaceA(dc, sizeof face, face);
    ASSERT_EQ(GetTextCharset(dc), script.ciCharset) << face << " lacks the code page's script";
    if (bitmap) { // the file itself, not a TrueType stand-in
        ASSERT_STREQ(face, "MS Sans Serif") << "not " << bitmapFont->second;
        ASSERT_FALSE(metrics.tmPitchAndFamily & TMPF_TRUETYPE) << "not " << bitmapFont->second;
    }
    for (const Pack& pack : ShippedPacks()) {
        const char* widest = "";
        int width = 0, room = 1;
        for (size_t i = 0; i < std::size(kInterfaceTexts); ++i) {
            const char* key = kInterfaceTexts[i].key;
            RECT control{}, text{};
            GetClientRect(GetDlgItem(dialog, kInterfaceTexts[i].control), &control);
            const std::string value = ReadValue(pack, "Data", key);
            DrawTextA(dc, value.c_str(), -1, &text, DT_CALCRECT | DT_SINGLELINE);
            const int keyRoom = control.right - kInsets[i];
            EXPECT_LE(text.right, keyRoom) << pack.name << " key " << key << ": " << value;
            if (text.right * room > width * keyRoom) {
                widest = key, width = text.right, room = keyRoom;
            }
        }
        printf("%s: key %s, %d of %d px (%d%%)\n",
               pack.name.substr(0, pack.name.size() - 4).c_str(), widest, width, room,
               width * 100 / room);
    }
    ReleaseDC(dialog, dc);
    DestroyWindow(dialog);
}

} // namespace
