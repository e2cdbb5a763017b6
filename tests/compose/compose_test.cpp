#include "compose/compose.h"
#include "tests/support/code_page_reader.h"
#include "tests/support/crypt_oracle.h"
#include "tests/support/crypt_reader.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <string>

namespace {

// With a code page, the URI is read as that code page's characters.
std::string Compose(const char* uri, const char* description, bool html, bool script,
                    unsigned codePage = 0) {
    const CryptRequest request = {uri, description, html, script, ReaderFor(codePage)};
    char* text = ComposeCryptedText(request);
    EXPECT_NE(text, nullptr);
    if (!text) {
        return {};
    }
    std::string result(text);
    EXPECT_EQ(CryptedTextLength(request), result.size());
    FreeCryptedText(text);
    return result;
}

const char kExampleRefs[] = "&#97;&#98;&#99;&#100;&#101;&#102;&#103;";
const char kExampleAnchor[] = "<a href=\"&#97;&#98;&#99;&#100;&#101;&#102;&#103;\">Contact</a>";

TEST(ComposeCryptedText, ProducesEachShapeExactly) {
    struct Case {
        const char* uri;
        const char* description;
        bool html, script;
        std::string expected;
        unsigned codePage = 0; // 0: byte by byte, as on windows-1252
    } cases[] = {
        {"abcdefg", "Contact", true, true, kWorkedExample},
        {"abcdefg", "Contact", true, false, kExampleAnchor},
        {"abcdefg", "Contact", false, false, kExampleRefs},
        {"abcdefg", "Contact", false, true, kExampleRefs}, // script needs the anchor
        {"", "Contact", false, false, ""},
        {"", "Contact", false, true, ""},
        {"", "Contact", true, false, "<a href=\"\">Contact</a>"},
        {"", "Contact", true, true,
         std::string("<noscript>\r\n<a href=\"\">Contact</a>") + kScriptParts[0] + kScriptParts[1] +
             kScriptParts[2] + "Contact" + kScriptParts[3] + kScriptParts[4]},
        {nullptr, nullptr, true, false, "<a href=\"\"></a>"},
        // Description and pieces are raw: quotes, backslashes and markup stay.
        {"x:y", "a\"b\\c<i>", true, false, "<a href=\"&#120;&#58;&#121;\">a\"b\\c<i></a>"},
        {"x:y", "a\"b\\c<i>", true, true,
         std::string("<noscript>\r\n<a href=\"&#120;&#58;&#121;\">a\"b\\c<i></a>") +
             kScriptParts[0] + "x" + kScriptParts[1] + ":" + kScriptParts[2] + "a\"b\\c<i>" +
             kScriptParts[3] + "y" + kScriptParts[4]},
        // Bytes are read as unsigned code-page values, not characters.
        {"\t\x7f\x80\xe9\xff", "", false, false, "&#9;&#127;&#128;&#233;&#255;"},
        // Elsewhere each character names its code point, whatever its bytes.
        {"\xb3\xf3x", "", false, false, "&#322;&#243;&#120;", 1250},
        {"\xe1", "", false, false, "&#945;", 1253},
        {"\x82\xa0\xb1", "", false, false, "&#12354;&#65393;", 932},
        {"\xd6\xd0", "", false, false, "&#20013;", 936},
        {"\xc7\xd1", "", false, false, "&#54620;", 949},
        {"\xa4\xa4", "", false, false, "&#20013;", 950},
        {"\xf0\x9f\x98\x80\xef\xbf\xbd", "", false, false, "&#128512;&#65533;", 65001},
        {"\xf3\xb4\x89\x80", "", false, false, "&#1000000;", 65001}, // seven digits, the most
        // Bytes that form no character keep their own value: a lead byte
        // with a bad trail byte or none, a cut or overlong sequence, a
        // surrogate half.
        {"a\x82 \x82", "", false, false, "&#97;&#130;&#32;&#130;", 932},
        {"\xe3\x81\x41\xc0\xaf\xed\xa0\x80", "", false, false,
         "&#227;&#129;&#65;&#192;&#175;&#237;&#160;&#128;", 65001},
        {"\xef\xf0", "\xef", true, false, "<a href=\"&#1087;&#1088;\">\xef</a>", 1251},
        // The edges: the first byte past ASCII, the first three-byte lead,
        // the first code point past the surrogates, the last code point.
        {"\x80", "", false, false, "&#1026;", 1251},
        {"\xe0\xa4\x95", "", false, false, "&#2325;", 65001},
        {"\xee\x80\x80", "", false, false, "&#57344;", 65001},
        {"\xf0\x40", "", false, false, "&#57344;", 932},
#ifdef _WIN32 // glibc's CP936 leaves the user-defined area unmapped
        {"\xaa\xa1", "", false, false, "&#57344;", 936},
#endif
        {"\xf4\x8f\xbf\xbf", "", false, false, "&#1114111;", 65001},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected + " in code page " + std::to_string(c.codePage));
        EXPECT_EQ(Compose(c.uri, c.description, c.html, c.script, c.codePage), c.expected);
    }
}

TEST(ComposeCryptedText, SplitsTheUriAtOneAndTwoThirds) {
    // With a code page, a split inside a character moves back to its first
    // byte; bytes that form no character are each a boundary.
    const struct {
        unsigned codePage; // 0: byte by byte
        const char *s1, *s2, *s3;
    } cases[] = {
        // clang-format off
        {0, "", "", ""},     {0, "", "", "a"},     {0, "", "a", "b"},      {0, "a", "b", "c"},
        {0, "a", "b", "cd"}, {0, "a", "bc", "de"}, {0, "ab", "cd", "ef"},  {0, "ab", "cd", "efg"},
        {1250, "\xb3", "\xb3", "\xb3"},        {932, "a", "", "\x82\xa0\x62"},
        {932, "x", "\x82\xa0", "\x82\xa2\x82\xa4"}, {65001, "", "", "\xf0\x9f\x98\x80"},
        {65001, "\xe3", "\x81", "\xe3"},
    }; // clang-format on
    for (const auto& c : cases) {
        const char* const p[] = {c.s1, c.s2, c.s3};
        const std::string uri = std::string(p[0]) + p[1] + p[2];
        SCOPED_TRACE(uri);
        const std::string text = Compose(uri.c_str(), "", true, true, c.codePage);
        const std::string script = kScriptParts[0] + std::string(p[0]) + kScriptParts[1] + p[1] +
                                   kScriptParts[2] + kScriptParts[3] + p[2] + kScriptParts[4];
        ASSERT_GE(text.size(), script.size());
        EXPECT_EQ(text.substr(text.size() - script.size()), script);
    }
}

TEST(EncodeCharacterReferences, WritesOnlyTheStatedLength) {
    const char uri[] = "\x01\x09\x0a\x63\x64\xff";
    const char expected[] = "&#1;&#9;&#10;&#99;&#100;&#255;";
    ASSERT_EQ(CharacterReferencesLength(uri, 6), sizeof expected - 1);
    char out[sizeof expected + 1];
    memset(out, '*', sizeof out);
    EXPECT_EQ(EncodeCharacterReferences(uri, 6, out), out + sizeof expected - 1);
    EXPECT_EQ(std::string(out, sizeof out), std::string(expected, sizeof expected - 1) + "**");
}

void CheckShape(const std::string& uri, const std::string& description, bool html, bool script) {
    const std::string text = Compose(uri.c_str(), description.c_str(), html, script);
    CryptReader reader(text);
    ASSERT_TRUE(reader.Reads(uri, description, html, script)) << reader.why();
}

TEST(ComposeCryptedText, HoldsItsShapeForRandomRequests) {
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> byte(1, 255);
    std::uniform_int_distribution<size_t> length(0, 120);
    for (int i = 0; i < 3000; ++i) {
        std::string uri(length(random), ' ');
        std::string description(length(random), ' ');
        for (char& c : uri) {
            c = static_cast<char>(byte(random));
        }
        for (char& c : description) {
            c = static_cast<char>(byte(random));
        }
        SCOPED_TRACE(i);
        CheckShape(uri, description, i & 1, i & 2);
        if (HasFatalFailure()) {
            return;
        }
    }
}

TEST(ComposeCryptedText, ComposesTheLargestRequestWhole) {
    // Longest boxes, every byte value: far beyond the 65,534 characters a
    // fixed output buffer would hold.
    const size_t longest = 32765;
    std::string uri(longest, ' ');
    for (size_t i = 0; i < longest; ++i) {
        uri[i] = static_cast<char>(1 + i % 255);
    }
    const std::string description(longest, 'd');

    // Expected size: the worked example's fixed text, plus per URI byte its
    // reference and one plain copy, plus the description twice.
    const size_t fixed = strlen(kWorkedExample) - strlen(kExampleRefs) - 7 - 2 * 7;
    size_t references = 0;
    for (unsigned char c : uri) {
        references += std::snprintf(nullptr, 0, "&#%u;", c);
    }
    const size_t expected = fixed + references + longest + 2 * longest;

    const CryptRequest request = {uri.c_str(), description.c_str(), true, true};
    EXPECT_EQ(CryptedTextLength(request), expected);
    CheckShape(uri, description, true, true);
}

} // namespace
