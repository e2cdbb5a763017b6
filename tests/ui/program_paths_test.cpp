// The program folder and settings path derived from the executable's path,
// up to and past the 260-byte limit.

#include "ui/program_paths.h"
#include "ui/globals.h"
#include "tests/support/requested_code_page.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct PathCase {
    const char* module; // null: the system gave no path
    std::string folder;
    std::string settings;
    UINT codePage = 0; // 0: any; else only where the system's code page is this one
};

// A path of exactly `length` bytes: "C:\" + padding + tail.
std::string PathOfLength(size_t length, const std::string& tail) {
    return "C:\\" + std::string(length - 3 - tail.size(), 'p') + tail;
}

// CTest runs this again under double-byte code pages, named in OBRELLO_ACP.
TEST(ProgramPaths, FolderAndSettingsFileFollowTheExecutable) {
    ASSERT_EQ(GetACP(), RequestedCodePage()) << "the locale did not select the code page";
    const std::string at259 = PathOfLength(259, "\\Obrello.exe");
    const std::string noDot257 = PathOfLength(257, "\\Obrello");
    const std::string shortExt258 = PathOfLength(258, "\\Obrello.x");
    const std::string noDot255 = PathOfLength(255, "\\Obrello");
    const std::string at260 = PathOfLength(260, "\\Obrello.exe");
    const PathCase cases[] = {
        {"C:\\Tools\\Prog.exe", "C:\\Tools\\", "C:\\Tools\\Prog.ini"},
        {"C:\\Tools\\Prog", "C:\\Tools\\", "C:\\Tools\\Prog.ini"},
        {"C:\\My.Tools\\Prog", "C:\\My.Tools\\", "C:\\My.ini"},
        {"C:\\Tools\\Prog.v2.exe", "C:\\Tools\\", "C:\\Tools\\Prog.v2.ini"},
        {"Prog.exe", "Prog.exe\\", "Prog.ini"},
        // A double-byte character may end in a backslash's value: cp932 "表"
        // is 95 5C, "ソ" 83 5C; cp950 "許" is B3 5C, "功" A5 5C.
        {"C:\\Tools\\\x95\x5C.exe", "C:\\Tools\\", "C:\\Tools\\\x95\x5C.ini", 932},
        {"C:\\\x83\x5C\\\x95\x5C", "C:\\\x83\x5C\\", "C:\\\x83\x5C\\\x95\x5C.ini", 932},
        {"C:\\\xB3\x5C\\\xA5\x5C.exe", "C:\\\xB3\x5C\\", "C:\\\xB3\x5C\\\xA5\x5C.ini", 950},
        {"\xA5\x5C.exe", "\xA5\x5C.exe\\", "\xA5\x5C.ini", 950},
        {at259.c_str(), at259.substr(0, 259 - 11), at259.substr(0, 255) + ".ini"},
        {noDot255.c_str(), noDot255.substr(0, 255 - 7), noDot255 + ".ini"},
        // Settings paths of 261 and 260 characters would not fit: none at all.
        {noDot257.c_str(), noDot257.substr(0, 257 - 7), ""},
        {shortExt258.c_str(), shortExt258.substr(0, 258 - 9), ""},
        // A module path that did not fit: nothing is known.
        {at260.c_str(), "", ""},
        {nullptr, "", ""},
    };
    for (const PathCase& c : cases) {
        if (c.codePage && c.codePage != GetACP()) {
            continue;
        }
        const std::string module = c.module ? c.module : "(none)";
        SCOPED_TRACE(module.size() > 40 ? std::to_string(module.size()) + " bytes" : module);
        char folder[PathCapacity] = "x"; // what was there must not stay
        char settings[PathCapacity] = "x";
        DeriveProgramPaths(c.module, folder, settings);
        EXPECT_EQ(folder, c.folder);
        EXPECT_EQ(settings, c.settings);
    }
}

} // namespace
