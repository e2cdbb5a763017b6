// libFuzzer target for the composer. The input is read as
//   byte 0      option bits: 1 generateHtml, 2 useScript,
//               4 a missing (null) URI, 8 a missing description,
//               16 the URI read by a code-page reader whose answers come
//               from the bytes themselves (see ReadAnyAnswer)
//   bytes 1..   the URI, up to the first zero byte
//   then        the description, up to the next zero byte or the end
// Each text is cut to 32,765 bytes, the most the dialog's boxes hand over,
// and a zero can never be part of either: the boxes hold zero-terminated text.
//
// Every output is read back the way a browser would see it, without any of
// the composer's code: fixed fragments must match in order, the reference run
// must decode to the URI, raw parts are taken by their stated lengths, and
// the line structure must be exactly that of the shape asked for. Any broken
// invariant traps, so the fuzzer keeps the input as a crash.

#include "compose/compose.h"
#include "tests/support/crypt_reader.h"

#include <stddef.h>
#include <stdint.h>
#include <string.h>

#include <string>

namespace {

const size_t kLongestText = 32765;

// The script shape's lines that never hold request text, by line number
// (counted from 1) when neither the URI nor the description breaks a line.
const struct {
    size_t line;
    const char* text;
} kFixedScriptLines[] = {
    {1, "<noscript>"},
    {3, "</noscript>"},
    {4, "<script language=JavaScript type=\"text/javascript\">"},
    {5, "<!--"},
    {10, "//-->"},
    {11, "</script>"},
};

[[noreturn]] void Broken() {
    __builtin_trap();
}

void Check(bool holds) {
    if (!holds) {
        Broken();
    }
}

struct Request {
    std::string uri;
    std::string description;
    bool generateHtml;
    bool useScript;
    bool nullUri;
    bool nullDescription;
    bool anyReader;
};

// A reader that may answer anything a faulty platform could: a length of
// zero or past the bytes left, and code points past the last one. It depends
// only on the bytes, as the composer's two walks (measure, then write)
// require. The output must still be sized exactly and written within its
// storage.
size_t ReadAnyAnswer(const char* text, size_t available, unsigned long* codePoint) {
    uint32_t hash = 2166136261u;
    for (size_t i = 0; i < available && i < 4; ++i) {
        hash = (hash ^ static_cast<unsigned char>(text[i])) * 16777619u;
    }
    *codePoint = hash >> 11; // up to 0x1FFFFF: about half past the last code point
    return hash % 7;
}

// Takes bytes from `at` up to a zero byte or the end, cut to the longest
// text; leaves `at` just past the zero.
std::string TakeText(const uint8_t* data, size_t size, size_t& at) {
    const size_t start = at;
    while (at < size && data[at] != 0) {
        ++at;
    }
    const size_t length = at - start < kLongestText ? at - start : kLongestText;
    std::string text(reinterpret_cast<const char*>(data + start), length);
    if (at < size) {
        ++at;
    }
    return text;
}

Request DecodeInput(const uint8_t* data, size_t size) {
    Request request = {};
    const uint8_t flags = size > 0 ? data[0] : 0;
    request.generateHtml = flags & 1;
    request.useScript = flags & 2;
    size_t at = 1;
    request.uri = TakeText(data, size, at);
    request.description = TakeText(data, size, at);
    request.nullUri = (flags & 4) && request.uri.empty();
    request.nullDescription = (flags & 8) && request.description.empty();
    request.anyReader = flags & 16;
    return request;
}

size_t CountLineBreaks(const std::string& text) {
    size_t count = 0;
    for (size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2)) {
        ++count;
    }
    return count;
}

std::string LineAt(const std::string& text, size_t line) {
    size_t start = 0;
    for (size_t i = 1; i < line; ++i) {
        start = text.find("\r\n", start) + 2;
    }
    const size_t end = text.find("\r\n", start);
    return text.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

void CheckOutput(const Request& request, const std::string& text) {
    const std::string& uri = request.uri;
    const std::string& description = request.description;
    const bool html = request.generateHtml;
    const bool script = html && request.useScript;
    const size_t n = uri.size();
    const std::string s1 = uri.substr(0, n / 3);
    const std::string s2 = uri.substr(n / 3, 2 * n / 3 - n / 3);
    const std::string s3 = uri.substr(2 * n / 3);

    CryptReader reader(text);
    Check(reader.Reads(uri, description, html, script));

    // Lines: the reference run never breaks one, so only raw text can add
    // line breaks to the one line, or eleven, of each shape. Fixed text
    // around every raw part starts and ends with a quote or a bracket, so
    // no break can form across a boundary.
    size_t expectedBreaks = 0;
    if (html) {
        expectedBreaks += CountLineBreaks(description);
    }
    if (script) {
        expectedBreaks += 10 + CountLineBreaks(description) + CountLineBreaks(s1) +
                          CountLineBreaks(s2) + CountLineBreaks(s3);
    }
    Check(CountLineBreaks(text) == expectedBreaks);
    if (!html) {
        Check(text.find_first_of("\r\n") == std::string::npos);
    }
    const bool rawBreaks = uri.find_first_of("\r\n") != std::string::npos ||
                           (html && description.find_first_of("\r\n") != std::string::npos);
    if (script && !rawBreaks) {
        for (const auto& fixed : kFixedScriptLines) {
            Check(LineAt(text, fixed.line) == fixed.text);
        }
        Check(LineAt(text, 6) == "var s1=\"" + s1 + "\";");
        Check(LineAt(text, 7) == "var s2=\"" + s2 + "\";");
        Check(LineAt(text, 8) == "var sDesc=\"" + description + "\";");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const Request request = DecodeInput(data, size);
    const CryptRequest crypt = {
        request.nullUri ? nullptr : request.uri.c_str(),
        request.nullDescription ? nullptr : request.description.c_str(),
        request.generateHtml,
        request.useScript,
        request.anyReader ? ReadAnyAnswer : nullptr,
    };
    char* composed = ComposeCryptedText(crypt);
    Check(composed != nullptr);
    const size_t length = strlen(composed);
    Check(length == CryptedTextLength(crypt));
    const std::string text(composed, length);
    FreeCryptedText(composed);
    if (!request.anyReader) { // its references are its own to decode
        CheckOutput(request, text);
    }
    return 0;
}
