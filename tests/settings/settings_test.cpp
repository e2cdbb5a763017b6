// The settings file: reading the remembered language, writing it back, and
// the file probing around both.

#include "settings/settings.h"
#include "ui/globals.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

class SettingsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        strcpy(SettingsPath, (folder / "Obrello.ini").c_str());
        strcpy(CurrentLanguageFile, "unset");
    }
    std::string ReadBack() { return ReadWholeFile(SettingsPath); }

    TempFolder folder;
};

TEST_F(SettingsTest, LoadsTheStoredValueOrDefault) {
    const std::string longName(300, 'x');
    struct Case {
        std::optional<std::string> content; // none: no file at all
        std::string expected;
    };
    const Case cases[] = {
        {std::nullopt, "Default"},
        {"[Options]\r\nLanguageFile=French.lng\r\n", "French.lng"},
        {"[Other]\r\nLanguageFile=French.lng\r\n", "Default"},
        {"[Options]\r\nLanguageFile=\r\n", ""},
        {"[options]\r\nlanguagefile=Dutch.lng\r\n", "Dutch.lng"},
        // Longer than the buffer: cut to the 259 bytes it holds.
        {"[Options]\r\nLanguageFile=" + longName + "\r\n", longName.substr(0, 259)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.content.value_or("(no file)"));
        DeleteFileA(SettingsPath);
        if (c.content) {
            folder.write("Obrello.ini", *c.content);
        }
        LoadSettings();
        EXPECT_EQ(CurrentLanguageFile, c.expected);
    }
}

TEST_F(SettingsTest, SaveCreatesTheFileAndKeepsEverythingElse) {
    strcpy(CurrentLanguageFile, "Default");
    SaveSettings();
    EXPECT_NE(ReadBack().find("[Options]\r\nLanguageFile=Default\r\n"), std::string::npos);

    folder.write("Obrello.ini",
                 "; note\r\n[Window]\r\nLeft=10\r\n[Options]\r\nLanguageFile=Old.lng\r\n"
                 "Extra=1\r\n");
    strcpy(CurrentLanguageFile, "German.lng");
    SaveSettings();
    std::string saved = ReadBack();
    for (const char* kept :
         {"; note", "[Window]", "Left=10", "Extra=1", "LanguageFile=German.lng"}) {
        EXPECT_NE(saved.find(kept), std::string::npos) << kept;
    }
    EXPECT_EQ(saved.find("Old.lng"), std::string::npos);
}

TEST_F(SettingsTest, ReadOnlyFileIsMadeWritableKeepingOtherAttributes) {
    folder.write("Obrello.ini", "[Options]\r\nLanguageFile=Old.lng\r\n");
    SetFileAttributesA(SettingsPath, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    strcpy(CurrentLanguageFile, "Italian.lng");
    SaveSettings();
    DWORD attributes = GetFileAttributesA(SettingsPath);
    EXPECT_FALSE(attributes & FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_NE(ReadBack().find("LanguageFile=Italian.lng"), std::string::npos);
}

// Held open by another program, the file is read when that program shares
// reading with others, as an editor or a backup tool does; else it is absent
// at start-up, and the exit, once the holder let go, leaves the choice it
// could not read, unless the user picked a language.
TEST_F(SettingsTest, FileHeldByAnotherHandleIsReadWhenSharedAndNeverOverwrittenUnread) {
    folder.write("Obrello.ini", "[Options]\r\nLanguageFile=French.lng\r\n");
    const struct {
        const char* holder;
        DWORD access, sharing;
        const char* expected;
        const char* pick = nullptr; // the user's
    } cases[] = {
        {"writer sharing nothing", GENERIC_READ | GENERIC_WRITE, 0, "Default"},
        {"reader sharing both", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, "French.lng"},
        {"writer sharing both", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
         "French.lng"},
        {"writer sharing nothing, then a pick", GENERIC_READ | GENERIC_WRITE, 0, "Default",
         "Italian.lng"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.holder);
        HANDLE held = CreateFileA(SettingsPath, c.access, c.sharing, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
        LoadSettings();
        EXPECT_STREQ(CurrentLanguageFile, c.expected);
        CloseHandle(held);
        if (c.pick) {
            RememberLanguage(c.pick);
        }
        SaveSettings();
        const std::string kept = std::string("LanguageFile=") + (c.pick ? c.pick : "French.lng");
        EXPECT_NE(ReadBack().find(kept), std::string::npos) << ReadBack();
    }
    EXPECT_TRUE(FileCanBeOpened(SettingsPath));
    EXPECT_FALSE(FileCanBeOpened((folder / "missing.ini").c_str()));
    EXPECT_FALSE(FileCanBeOpened(""));
}

TEST_F(SettingsTest, WithoutAWholeSettingsPathNothingIsReadOrWritten) {
    SettingsPath[0] = '\0';
    LoadSettings();
    EXPECT_STREQ(CurrentLanguageFile, "Default");
    strcpy(CurrentLanguageFile, "German.lng");
    char windows[MAX_PATH];
    GetWindowsDirectoryA(windows, MAX_PATH);
    std::string systemProfile = std::string(windows) + "\\win.ini";
    std::string before = ReadWholeFile(systemProfile);
    SaveSettings();
    EXPECT_EQ(ReadWholeFile(systemProfile), before);
}

} // namespace
