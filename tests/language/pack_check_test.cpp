// Checks the language packs shipped in res/lngs: each names its language, defines all eleven
// interface texts, gives every control its own access key and is stored as single-byte ANSI
// text, which is how the program reads it.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

// Stands in for a missing key: a value that no pack text would hold.
const char kMissing[] = "\x01missing";
const int kTextCount = 11;

struct Pack {
    std::string name, path;
};

std::vector<Pack> ShippedPacks() {
    const char* folder = std::getenv("OBRELLO_LNGS");
    EXPECT_NE(folder, nullptr) << "OBRELLO_LNGS is not set";
    std::vector<Pack> packs;
    if (!folder) {
        return packs;
    }
    const std::string base = std::string(folder) + "\\";
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((base + "*.lng").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return packs;
    }
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
            packs.push_back({found.cFileName, base + found.cFileName});
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return packs;
}

std::string ReadValue(const Pack& pack, const char* section, const char* key) {
    char text[2048];
    GetPrivateProfileStringA(section, key, kMissing, text, sizeof text, pack.path.c_str());
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

TEST(ShippedPacks, FolderHoldsEveryShippedLanguage) {
    EXPECT_GE(ShippedPacks().size(), 6u);
}

TEST(ShippedPacks, NameTheirLanguageAndDefineEveryText) {
    for (const Pack& pack : ShippedPacks()) {
        SCOPED_TRACE(pack.name);
        const std::string language = ReadValue(pack, "Info", "Language");
        EXPECT_NE(language, kMissing);
        EXPECT_FALSE(language.empty());
        for (int key = 0; key < kTextCount; ++key) {
            const std::string text = ReadValue(pack, "Data", std::to_string(key).c_str());
            EXPECT_NE(text, kMissing) << "key " << key;
            EXPECT_FALSE(text.empty()) << "key " << key;
        }
        // No language translates "HTML": its check box keeps the word, so swapped texts show.
        EXPECT_NE(ReadValue(pack, "Data", "4").find("HTML"), std::string::npos);
    }
}

// Keys 0 and 2 are group boxes and need no access key; every label, check box and button has
// exactly one, and no two controls share one, or the keyboard could not reach them all.
TEST(ShippedPacks, GiveEachControlItsOwnAccessKey) {
    for (const Pack& pack : ShippedPacks()) {
        SCOPED_TRACE(pack.name);
        std::string used;
        for (int key = 0; key < kTextCount; ++key) {
            const std::string keys =
                AccessKeys(ReadValue(pack, "Data", std::to_string(key).c_str()));
            if (key == 0 || key == 2) {
                EXPECT_LE(keys.size(), 1u) << "key " << key;
            } else {
                EXPECT_EQ(keys.size(), 1u) << "key " << key;
            }
            for (char c : keys) {
                EXPECT_EQ(used.find(c), std::string::npos) << "key " << key << " reuses " << c;
                used += c;
            }
        }
    }
}

bool IsContinuation(const std::string& bytes, size_t i) {
    return i < bytes.size() && (static_cast<unsigned char>(bytes[i]) & 0xC0) == 0x80;
}

// Offset of the first byte that is not plain Windows-1252 text: the start of a complete UTF-8
// multibyte sequence, or one of the five bytes the code page leaves undefined; npos when there is
// none. Only complete sequences count, as a 1252 letter may well precede a no-break space.
size_t FirstNonAnsiByte(const std::string& bytes) {
    for (size_t i = 0; i < bytes.size(); ++i) {
        const unsigned char c = bytes[i];
        const size_t tail = c >= 0xC2 && c <= 0xDF   ? 1
                            : c >= 0xE0 && c <= 0xEF ? 2
                            : c >= 0xF0 && c <= 0xF4 ? 3
                                                     : 0;
        bool sequence = tail > 0;
        for (size_t k = 1; k <= tail; ++k) {
            sequence = sequence && IsContinuation(bytes, i + k);
        }
        if (sequence || c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D) {
            return i;
        }
    }
    return std::string::npos;
}

// The program reads packs in the ANSI code page; a file saved as UTF-8 would show each accented
// letter as a pair of stray characters.
TEST(ShippedPacks, AreStoredAsWindows1252Text) {
    for (const Pack& pack : ShippedPacks()) {
        SCOPED_TRACE(pack.name);
        std::ifstream file(pack.path, std::ios::binary);
        ASSERT_TRUE(file);
        const std::string bytes{std::istreambuf_iterator<char>(file), {}};
        EXPECT_EQ(FirstNonAnsiByte(bytes), std::string::npos);
    }
}

} // namespace
