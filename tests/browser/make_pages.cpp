// Writes one web page per case and output form, each holding composed text as
// the user would paste it, plus manifest.json with what a browser must show
// for it. windows-1252 pages hold the program's ANSI output as raw bytes;
// pages from other code pages are saved as UTF-8, as an editor saves pasted
// text.
//
// Usage: make_pages <output directory>

#include "compose/compose.h"
#include "tests/support/code_page_reader.h"

#include <cstdio>
#include <string>

namespace {

struct PageCase {
    const char* name;
    unsigned codePage; // the system code page the text was typed in
    const char* uri;
    const char* description;
    bool strictPolicy = false; // a Content-Security-Policy without inline scripts
};

// URIs hold no '"' or '\\': the script form puts them into string literals
// unescaped. High bytes avoid the five that windows-1252 leaves undefined.
const PageCase kCases[] = {
    {"mailto", 1252, "mailto:someone@example.com", "Contact"},
    {"query", 1252, "https://example.com/a/b?x=1&y=2#frag", "Example"},
    {"high", 1252,
     "https://example.com/caf\xE9/\xFC"
     "ber?p=\x80\x8A\x9F\xFF",
     "Caf\xE9 \x80 5"},
    {"markup", 1252, "mailto:me@example.com?subject=Hi", "Write <b>me</b> &amp; co &lt;3 &quot;"},
    {"csp", 1252, "mailto:someone@example.com", "Contact", true},
    {"script-end", 1252, "mailto:someone@example.com", "Ends </script> early"},
    {"cp1250", 1250, "mailto:pawe\xB3@wp.pl", "Pawe\xB3"},
    {"cp1251", 1251, "mailto:info@\xEF\xF0\xE8\xEC\xE5\xF0.\xF0\xF4", "\xCF\xE8\xF8\xE8\xF2\xE5"},
    {"cp932", 932, "mailto:\x82\xA0\x82\xA2\x82\xA4@\x97\xE1.jp", "\x83\x81\x81\x5B\x83\x8B"},
    {"cp65001", 65001, "https://example.com/\xF0\x9F\x98\x80", "Smile \xF0\x9F\x98\x80"},
};

// A JSON string literal of UTF-8 text.
std::string JsonString(const std::string& utf8) {
    std::string out = "\"";
    for (char c : utf8) {
        if (c == '"' || c == '\\' || static_cast<unsigned char>(c) < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04X", c);
            out += escape;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

bool WriteFile(const std::string& path, const std::string& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        std::perror(path.c_str());
        return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

bool WritePage(const std::string& path, const std::string& title, const PageCase& page,
               const CryptRequest& request) {
    char* composed = ComposeCryptedText(request);
    if (!composed) {
        std::fprintf(stderr, "composer returned no text for %s\n", title.c_str());
        return false;
    }
    std::string body = composed, utf8;
    FreeCryptedText(composed);
    const bool ansi = page.codePage == 1252;
    // As an editor converts pasted text; half a character would not convert.
    if (!ansi && FromCodePage(page.codePage, body, "UTF-8", utf8) != 0) {
        std::fprintf(stderr, "%s does not convert to UTF-8\n", title.c_str());
        return false;
    }
    std::string html = std::string("<!DOCTYPE html>\r\n<html><head><meta charset=\"") +
                       (ansi ? "windows-1252" : "utf-8") + "\">";
    if (page.strictPolicy) {
        html += "<meta http-equiv=\"Content-Security-Policy\" content=\"script-src 'self'\">";
    }
    html += "<title>" + title + "</title></head><body>\r\n" + (ansi ? body : utf8) +
            "\r\n</body></html>\r\n";
    return WriteFile(path, html);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output directory>\n", argv[0]);
        return 2;
    }
    const std::string dir = argv[1];
    std::string manifest = "{\"pages\": [\n";
    bool first = true;
    for (const PageCase& page : kCases) {
        std::string uri, description;
        if (FromCodePage(page.codePage, page.uri, "UTF-8", uri) != 0 ||
            FromCodePage(page.codePage, page.description, "UTF-8", description) != 0) {
            std::fprintf(stderr, "case %s is not text in its code page\n", page.name);
            return 1;
        }
        for (const bool useScript : {false, true}) {
            const char* form = useScript ? "script" : "anchor";
            const std::string file = std::string(page.name) + "-" + form + ".html";
            const CryptRequest request = {page.uri, page.description, true, useScript,
                                          ReaderFor(page.codePage)};
            if (!WritePage(dir + "/" + file, file, page, request)) {
                return 1;
            }
            manifest += first ? "  " : ",\n  ";
            manifest += "{\"file\": \"" + file + "\", \"form\": \"" + form + "\", \"charset\": \"" +
                        (page.codePage == 1252 ? "cp1252" : "utf-8") +
                        "\", \"strict_policy\": " + (page.strictPolicy ? "true" : "false") +
                        ", \"uri\": " + JsonString(uri) +
                        ", \"description\": " + JsonString(description) + "}";
            first = false;
        }
    }
    manifest += "\n]}\n";
    return WriteFile(dir + "/manifest.json", manifest) ? 0 : 1;
}
