// The language catalogue, driven in this process on the real dialog template:
// which packs are listed, in what order and under what name, which item is
// preselected, and what a selection stores. The window icons are checked here
// too: Wine answers WM_GETICON from another process with nothing.

#include "language/interface_texts.h"
#include "language/language_list.h"
#include "res/resource.h"
#include "tests/support/requested_code_page.h"
#include "tests/support/temp_folder.h"
#include "ui/main_dialog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

// A pack stored as Unicode: UTF-16 LE behind its byte-order mark.
std::string Utf16Pack(const std::wstring& text) {
    return "\xFF\xFE" + std::string(reinterpret_cast<const char*>(text.data()), text.size() * 2);
}

// A name windows-1252 cannot spell.
const std::string kRussianPack =
    Utf16Pack(L"[Info]\r\nLanguage=\u0420\u0443\u0441\u0441\u043a\u0438\u0439\r\n");

INT_PTR CALLBACK PassiveDialogProc(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

class LanguageListTest : public ::testing::Test {
  protected:
    void SetUp() override {
        MainDialog = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_MAIN),
                                        nullptr, PassiveDialogProc, 0);
        ASSERT_NE(MainDialog, nullptr);
        strcpy(ExeDirectory, folder.path().c_str());
        lngs = folder.makeFolder("Lngs");
        strcpy(CurrentLanguageFile, "Default");
        AddLanguageItem("English (USA)");
    }
    void TearDown() override {
        FreeLanguageList(LanguageList);
        DestroyWindow(MainDialog);
    }

    void WritePack(const std::string& name, const std::string& content) {
        folder.write("Lngs\\" + name, content);
    }
    std::vector<std::string> Items() const {
        std::vector<std::string> items;
        LRESULT count = SendDlgItemMessageA(MainDialog, IDC_LANGUAGE, CB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            char text[MAX_PATH] = "";
            SendDlgItemMessageA(MainDialog, IDC_LANGUAGE, CB_GETLBTEXT, i,
                                reinterpret_cast<LPARAM>(text));
            items.push_back(text);
        }
        return items;
    }
    // File names in the order the platform's folder search yields them.
    std::vector<std::string> SearchOrder() const {
        std::vector<std::string> names;
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((lngs + "*.lng").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
                    names.push_back(found.cFileName);
                }
            } while (FindNextFileA(search, &found));
            FindClose(search);
        }
        return names;
    }
    // An item's number: the built-in one is 0, the packs follow in search order.
    int IndexOf(const std::string& name) const {
        const std::vector<std::string> order = SearchOrder();
        return static_cast<int>(std::find(order.begin(), order.end(), name) - order.begin()) + 1;
    }
    void Select(int index) {
        SendDlgItemMessageA(MainDialog, IDC_LANGUAGE, CB_SETCURSEL, index, 0);
        SelectLanguageByIndex();
    }

    TempFolder folder;
    std::string lngs;
};

TEST_F(LanguageListTest, ListsPacksInSearchOrderUnderTheirDisplayNames) {
    // file, content, shown name
    const std::tuple<const char*, std::string, const char*> packs[] = {
        {"Zulu.lng", "[Info]\r\nLanguage=isiZulu\r\n", "isiZulu"},
        {"Alpha.lng", "[Data]\r\n0=x\r\n", "Alpha"},         // no [Info]: base name
        {"Empty.lng", "[Info]\r\nLanguage=\r\n", "Empty"},   // empty name: base name
        {"Twin.lng", "[Info]\r\nLanguage=Same\r\n", "Same"}, // two packs, one name
        {"Twin2.lng", "[Info]\r\nLanguage=Same\r\n", "Same"},
        {"multi.dot.lng", "garbage without sections", "multi.dot"}, // unreadable: base name
        // Unicode packs on windows-1252: spelled, best-fitted, not spelled.
        {"Unicode.lng", Utf16Pack(L"[Info]\r\nLanguage=Fran\u00e7ais\r\n"), "Fran\347ais"},
        {"Fitted.lng", Utf16Pack(L"[Info]\r\nLanguage=\u010ce\u0161tina\r\n"), "Ce\x9Atina"},
        {"Russian.lng", kRussianPack, "Russian"},
        // Byte for byte, undefined 0x81 too.
        {"Ansi.lng", "[Info]\r\nLanguage=Que?\x81\xE7\r\n", "Que?\x81\xE7"},
    };
    for (const auto& [file, content, shown] : packs) {
        WritePack(file, content);
    }
    folder.makeFolder("Lngs\\Folder.lng"); // named like a pack, but a folder
    folder.write("Lngs\\notes.txt", "not a pack");

    EXPECT_EQ(BuildLanguageList(), 0);

    std::vector<std::string> expectedItems = {"English (USA)"};
    std::vector<std::string> order = SearchOrder();
    ASSERT_EQ(order.size(), std::size(packs));
    for (const std::string& name : order) {
        for (const auto& [file, content, shown] : packs) {
            if (file == name) {
                expectedItems.push_back(shown);
            }
        }
    }
    EXPECT_EQ(Items(), expectedItems);

    std::vector<std::string> listed;
    for (LanguageEntry* entry = LanguageList; entry; entry = entry->next) {
        listed.push_back(entry->fileName);
    }
    EXPECT_EQ(listed, order);
}

// The Unicode re-read of a name must reach the pack through a path the code page spells with
// letters beyond ASCII, as a user's folder may be named.
TEST_F(LanguageListTest, ListsUnspellableNamesByBaseNameInAnAccentedFolder) {
    ASSERT_EQ(GetACP(), 1252u);
    folder.makeFolder(u8"J\u00f6ran\\Lngs");
    folder.write(u8"J\u00f6ran\\Lngs\\Russian.lng", kRussianPack);
    strcpy(ExeDirectory, (folder.path() + "J\xF6ran\\").c_str());
    BuildLanguageList();
    EXPECT_EQ(Items(), (std::vector<std::string>{"English (USA)", "Russian"}));
}

TEST_F(LanguageListTest, PreselectsTheStoredPackByExactName) {
    for (const char* name : {"German.lng", "French.lng", "Dutch.lng"}) {
        WritePack(name, "[Info]\r\nLanguage=x\r\n");
    }
    folder.makeFolder("Lngs\\Aaa.lng");
    // The stored name and the item preselected; -1: the stored pack's, in search order.
    const std::pair<const char*, int> cases[] = {
        {"Default", 0},    {"French.lng", -1}, {"Dutch.lng", -1},
        {"FRENCH.LNG", 0}, {"Missing.lng", 0}, {"default", 0},
    };
    for (const auto& [stored, item] : cases) {
        SCOPED_TRACE(stored);
        TearDown();
        SetUp();
        strcpy(CurrentLanguageFile, stored);
        EXPECT_EQ(BuildLanguageList(), item < 0 ? IndexOf(stored) : item);
        EXPECT_STREQ(CurrentLanguageFile, stored); // kept, found or not
    }
}

TEST_F(LanguageListTest, SelectionStoresTheEntrysFileName) {
    for (const char* name : {"One.lng", "Two.lng", "Three.lng"}) {
        WritePack(name, "");
    }
    BuildLanguageList();
    std::vector<std::string> order = SearchOrder();
    for (int index = 3; index >= 1; --index) {
        Select(index);
        EXPECT_EQ(CurrentLanguageFile, order[index - 1]);
    }
    Select(0);
    EXPECT_STREQ(CurrentLanguageFile, "Default");

    // No selection, or an item with no entry behind it, changes nothing.
    Select(2);
    Select(-1);
    EXPECT_EQ(CurrentLanguageFile, order[1]);
    AddLanguageItem("stray");
    Select(4);
    EXPECT_EQ(CurrentLanguageFile, order[1]);

    FreeLanguageList(LanguageList);
    EXPECT_EQ(LanguageList, nullptr);
}

TEST_F(LanguageListTest, NoPackFolderLeavesTheBuiltInItemAlone) {
    RemoveDirectoryA(lngs.c_str());
    strcpy(CurrentLanguageFile, "German.lng");
    EXPECT_EQ(BuildLanguageList(), 0);
    EXPECT_EQ(Items(), std::vector<std::string>{"English (USA)"});
    EXPECT_EQ(LanguageList, nullptr);
}

// A pack whose full path would not fit in 260 bytes is left out whole, so
// the items after it keep their numbers; an unknown program folder lists
// nothing and falls back to English.
TEST_F(LanguageListTest, PacksBeyondThePathLimitAreSkipped) {
    // Names whose full paths are 259 bytes (the most that fits) and 260.
    auto nameForPathLength = [&](char fill, size_t pathLength) {
        return std::string(pathLength - strlen(ExeDirectory) - strlen("Lngs\\.lng"), fill) + ".lng";
    };
    const std::string fits = nameForPathLength('F', 259), tooLong = nameForPathLength('T', 260);
    WritePack(fits, ""); // written with the wide calls, which go past 260 bytes
    WritePack(tooLong, "");
    WritePack("Short.lng", "[Info]\r\nLanguage=Short\r\n[Data]\r\n8=Kurz\r\n");
    ASSERT_EQ(SearchOrder().size(), 3u);

    strcpy(CurrentLanguageFile, "Short.lng");
    int selected = BuildLanguageList();
    std::vector<std::string> expected = {"English (USA)"};
    for (const std::string& name : SearchOrder()) {
        if (name != tooLong) {
            expected.push_back(name == fits ? fits.substr(0, fits.size() - 4) : "Short");
        }
    }
    EXPECT_EQ(Items(), expected);
    ASSERT_GT(selected, 0);
    EXPECT_EQ(expected[selected], "Short");
    ApplyInterfaceTexts();
    char text[64];
    GetDlgItemTextA(MainDialog, IDC_CRYPT, text, sizeof text);
    EXPECT_STREQ(text, "Kurz");

    ExeDirectory[0] = '\0';
    ApplyInterfaceTexts();
    GetDlgItemTextA(MainDialog, IDC_CRYPT, text, sizeof text);
    EXPECT_STREQ(text, "C&rypt");
}

// A long name ends before a double-byte character that would not fit, never in it or past it; on
// windows-1252 it cannot be spelled at all and shows the base name.
TEST_F(LanguageListTest, LongNamesEndAtAWholeCharacter) {
    ASSERT_EQ(GetACP(), RequestedCodePage()) << "the locale did not select the code page";
    WritePack("Long.lng", Utf16Pack(L"[Info]\r\nLanguage=" + std::wstring(200, L'\u65e5')));
    BuildLanguageList();
    std::string cut; // the 129 characters that fit in 259 bytes
    for (int i = 0; i < 129; ++i) {
        cut += "\x93\xFA";
    }
    EXPECT_EQ(Items().back(), GetACP() == 932 ? cut : "Long");
}

// The small icon for the caption, the big one for the task switcher, both set at start.
TEST_F(LanguageListTest, BothWindowIconsAreSet) {
    InstanceHandle = GetModuleHandleA(nullptr);
    DestroyWindow(MainDialog);
    MainDialog =
        CreateDialogParamA(InstanceHandle, MAKEINTRESOURCEA(IDD_MAIN), nullptr, MainDialogProc, 0);
    for (WPARAM kind : {ICON_SMALL, ICON_BIG}) {
        EXPECT_NE(SendMessageA(MainDialog, WM_GETICON, kind, 0), 0) << "icon kind " << kind;
    }
    SettingsPath[0] = '\0'; // closing it writes no settings beside the test
}

} // namespace
