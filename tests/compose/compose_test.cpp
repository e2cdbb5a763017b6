#include "compose/compose.h"
#include "tests/support/crypt_oracle.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <string>

namespace {

std::string Compose(const char* uri, const char* description, bool html, bool script) {
    const CryptRequest request = {uri, description, html, script};
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

// The script lines around the variable parts, in order; shared by the
// examples below and the property test, which reads the output through them.
const char* const kScriptLines[] = {
    "\r\n</noscript>\r\n<script language=JavaScript type=\"text/javascript\">\r\n<!--\r\nvar s1=\"",
    "\";\r\nvar s2=\"",
    "\";\r\nvar sDesc=\"",
    "\";\r\ndocument.write(\"<a h\"+\"ref=\\\"\"+s1+s2+\"",
    "\\\">\"+sDesc+\"</a>\");\r\n//-->\r\n</script>",
};

TEST(ComposeCryptedText, ProducesEachShapeExactly) {
    struct Case {
        const char* uri;
        const char* description;
        bool html, script;
        std::string expected;
    } cases[] = {
        {"abcdefg", "Contact", true, true, kWorkedExample},
        {"abcdefg", "Contact", true, false, kExampleAnchor},
        {"abcdefg", "Contact", false, false, kExampleRefs},
        {"abcdefg", "Contact", false, true, kExampleRefs}, // script needs the anchor
        {"", "Contact", false, false, ""},
        {"", "Contact", false, true, ""},
        {"", "Contact", true, false, "<a href=\"\">Contact</a>"},
        {"", "Contact", true, true,
         std::string("<noscript>\r\n<a href=\"\">Contact</a>") + kScriptLines[0] + kScriptLines[1] +
             kScriptLines[2] + "Contact" + kScriptLines[3] + kScriptLines[4]},
        {nullptr, nullptr, true, false, "<a href=\"\"></a>"},
        // Description and pieces are raw: quotes, backslashes and markup stay.
        {"x:y", "a\"b\\c<i>", true, false, "<a href=\"&#120;&#58;&#121;\">a\"b\\c<i></a>"},
        {"x:y", "a\"b\\c<i>", true, true,
         std::string("<noscript>\r\n<a href=\"&#120;&#58;&#121;\">a\"b\\c<i></a>") +
             kScriptLines[0] + "x" + kScriptLines[1] + ":" + kScriptLines[2] + "a\"b\\c<i>" +
             kScriptLines[3] + "y" + kScriptLines[4]},
        // Bytes are read as unsigned code-page values, not characters.
        {"\t\x7f\x80\xe9\xff", "", false, false, "&#9;&#127;&#128;&#233;&#255;"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        EXPECT_EQ(Compose(c.uri, c.description, c.html, c.script), c.expected);
    }
}

TEST(ComposeCryptedText, SplitsTheUriAtOneAndTwoThirds) {
    const char* const pieces[][3] = {
        {"", "", ""},     {"", "", "a"},     {"", "a", "b"},     {"a", "b", "c"},
        {"a", "b", "cd"}, {"a", "bc", "de"}, {"ab", "cd", "ef"}, {"ab", "cd", "efg"},
    };
    for (const auto& p : pieces) {
        const std::string uri = std::string(p[0]) + p[1] + p[2];
        SCOPED_TRACE(uri);
        const std::string text = Compose(uri.c_str(), "", true, true);
        const std::string script = kScriptLines[0] + std::string(p[0]) + kScriptLines[1] + p[1] +
                                   kScriptLines[2] + kScriptLines[3] + p[2] + kScriptLines[4];
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

// Reads an output the way a browser would see it, without the composer's
// code: literal parts must match, the reference run is decoded by hand, and
// raw parts are taken by their stated lengths.
struct Reader {
    const std::string& text;
    size_t at = 0;

    bool Literal(const std::string& expected) {
        if (text.compare(at, expected.size(), expected) != 0) {
            return false;
        }
        at += expected.size();
        return true;
    }
    std::string Raw(size_t length) {
        std::string part = text.substr(at, length);
        at += part.size();
        return part;
    }
    std::string References() {
        std::string decoded;
        while (text.compare(at, 2, "&#") == 0) {
            at += 2;
            unsigned value = 0;
            size_t digits = 0;
            for (; at < text.size() && isdigit(static_cast<unsigned char>(text[at])); ++at) {
                value = value * 10 + (text[at] - '0');
                ++digits;
            }
            EXPECT_TRUE(digits >= 1 && digits <= 3 && text[at - digits] != '0');
            EXPECT_TRUE(value >= 1 && value <= 255);
            EXPECT_TRUE(Literal(";"));
            decoded += static_cast<char>(value);
        }
        return decoded;
    }
    bool AtEnd() const { return at == text.size(); }
};

void CheckShape(const std::string& uri, const std::string& description, bool html, bool script) {
    const std::string text = Compose(uri.c_str(), description.c_str(), html, script);
    Reader in{text};
    if (html && script) {
        ASSERT_TRUE(in.Literal("<noscript>\r\n"));
    }
    if (html) {
        ASSERT_TRUE(in.Literal("<a href=\""));
    }
    ASSERT_EQ(in.References(), uri);
    if (html) {
        ASSERT_TRUE(in.Literal("\">"));
        ASSERT_EQ(in.Raw(description.size()), description);
        ASSERT_TRUE(in.Literal("</a>"));
    }
    if (html && script) {
        const size_t n = uri.size();
        std::string pieces;
        ASSERT_TRUE(in.Literal(kScriptLines[0]));
        pieces += in.Raw(n / 3);
        ASSERT_TRUE(in.Literal(kScriptLines[1]));
        pieces += in.Raw(2 * n / 3 - n / 3);
        ASSERT_TRUE(in.Literal(kScriptLines[2]));
        ASSERT_EQ(in.Raw(description.size()), description);
        ASSERT_TRUE(in.Literal(kScriptLines[3]));
        pieces += in.Raw(n - 2 * n / 3);
        ASSERT_TRUE(in.Literal(kScriptLines[4]));
        ASSERT_EQ(pieces, uri);
    }
    ASSERT_TRUE(in.AtEnd());
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
