// The program run from folders whose paths near and pass the 260 bytes its
// path buffers hold: wherever it starts it works, it keeps its settings only
// under their whole name, and it lists only the packs it can name whole.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "tests/support/crypt_oracle.h"
#include "tests/ui/obrello_driver.h"

namespace {

const long kLongestPath = 259; // the most a 260-byte buffer holds with its terminator

// A pack whose name is `length` bytes long, listed under that very name (its
// base name would show that it was not read), with its own Crypt button text.
PackFile packNamed(char fill, long length) {
    std::string name = std::string(length - 4, fill) + ".lng";
    return {name, "[Info]\r\nLanguage=" + name + "\r\n[Data]\r\n8=Kurz\r\n"};
}

} // namespace

// Each case runs the program twice: the first run picks the last pack listed,
// the second must find it preselected and goes back to English. Packs whose
// paths pass 259 bytes, up to names as long as the file system allows, are
// left out; Wine and NTFS yield names sorted, so those come before the
// remembered pack, whose number they must not shift.
TEST(E2eLongPaths, WorksFromDeepFoldersAndNeverUsesACutName) {
    struct Case {
        const char* name;
        long exePath; // bytes in the program's full path
        const char* exeName;
        bool packsListed;
        bool settingsUsed;
    } cases[] = {
        {"program path 210", 210, "Obrello.exe", true, true},
        {"program path 259", 259, "Obrello.exe", true, true},
        {"settings path 259", 257, "Obrello.x", true, true},
        {"settings path 260", 258, "Obrello.x", true, false},
        // The system hands the program only the first 260 bytes of its path.
        {"program path 261", 261, "Obrello.exe", false, false},
        {"program path 270", 270, "Obrello.exe", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // The name length that makes a pack's path exactly 259 bytes.
        long room = kLongestPath - (c.exePath - static_cast<long>(strlen(c.exeName))) -
                    static_cast<long>(strlen("Lngs\\"));
        std::vector<PackFile> packs = {packNamed('A', 5), packNamed('M', 255)};
        for (long extra : {0, 1, 2}) {
            if (room + extra >= 5) {
                packs.push_back(packNamed("YNO"[extra], room + extra));
            }
        }
        std::vector<std::string> listed;
        for (const PackFile& pack : packs) {
            if (c.packsListed && static_cast<long>(pack.name.size()) <= room) {
                listed.push_back(pack.name);
            }
        }
        std::sort(listed.begin(), listed.end());

        Sandbox box(packs, nullptr, c.exePath, c.exeName);
        ASSERT_EQ(box.path(c.exeName).size(), static_cast<size_t>(c.exePath));
        std::vector<std::string> files = box.files();
        if (c.settingsUsed) {
            files.push_back(box.settingsPath());
            std::sort(files.begin(), files.end());
        }
        std::string remembered; // the pack the first run picks
        for (int run = 0; run < 2; ++run) {
            SCOPED_TRACE(run == 0 ? "first run" : "second run");
            App app(box);
            std::vector<std::string> items = app.languages();
            ASSERT_FALSE(items.empty());
            std::vector<std::string> packItems(items.begin() + 1, items.end());
            std::sort(packItems.begin(), packItems.end());
            EXPECT_EQ(packItems, listed);
            size_t shown = app.selectedLanguage();
            EXPECT_EQ(shown < items.size() ? items[shown] : "none",
                      run == 1 && c.settingsUsed ? remembered : "English (USA)");
            if (run == 0 && items.size() > 1) {
                remembered = items.back();
                app.selectLanguage(static_cast<int>(items.size()) - 1);
            }
            EXPECT_EQ(app.text(IDC_CRYPT), app.selectedLanguage() ? "Kurz" : "C&rypt");
            if (run == 1) {
                app.selectLanguage(0);
            }
            app.setText(IDC_URI, "abcdefg");
            app.setText(IDC_DESCRIPTION, "Contact");
            app.click(IDC_USE_SCRIPT);
            app.click(IDC_CRYPT);
            EXPECT_EQ(app.text(IDC_CRYPTED), ExpectedCrypt("abcdefg", "Contact", true, true));
            app.click(IDC_EXIT);
            ASSERT_EQ(app.waitForExit(), 0u);

            // Nothing new anywhere in the tree but the settings under their
            // whole name: no file named from a cut path.
            EXPECT_EQ(box.files(), files);
            if (c.settingsUsed) {
                EXPECT_EQ(iniValue(ReadWholeFile(box.settingsPath()), "Options", "LanguageFile"),
                          run == 0 ? remembered : "Default");
            }
        }
    }
}
