// Writes one web page per case and output form, each holding composed text as
// the user would paste it, plus manifest.json with what a browser must show
// for it. Pages are raw windows-1252 bytes, like the program's ANSI output.
//
// Usage: make_pages <output directory>

#include "compose/compose.h"

#include <cstdio>
#include <string>

namespace {

struct PageCase {
    const char* name;
    const char* uri;
    const char* description;
};

// URIs hold no '"' or '\\': the script form puts them into string literals
// unescaped. High bytes avoid the five that windows-1252 leaves undefined.
const PageCase kCases[] = {
    {"mailto", "mailto:someone@example.com", "Contact"},
    {"query", "https://example.com/a/b?x=1&y=2#frag", "Example"},
    {"high",
     "https://example.com/caf\xE9/\xFC"
     "ber?p=\x80\x8A\x9F\xFF",
     "Caf\xE9 \x80 5"},
    {"markup", "mailto:me@example.com?subject=Hi", "Write <b>me</b> &amp; co"},
};

struct PageForm {
    const char* name;
    bool useScript;
};

const PageForm kForms[] = {{"anchor", false}, {"script", true}};

// windows-1252 bytes 0x80..0x9F as Unicode; 0 marks the undefined ones.
const unsigned kHighControls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

unsigned CodePoint(unsigned char byte) {
    if (byte >= 0x80 && byte < 0xA0) {
        return kHighControls[byte - 0x80];
    }
    return byte;
}

// A JSON string literal of the text decoded as windows-1252; everything
// outside printable ASCII is escaped, so the manifest itself is plain ASCII.
std::string JsonString(const char* text) {
    std::string out = "\"";
    for (const char* p = text; *p; ++p) {
        const unsigned value = CodePoint(static_cast<unsigned char>(*p));
        if (value == '"' || value == '\\') {
            out += '\\';
            out += static_cast<char>(value);
        } else if (value >= 0x20 && value < 0x7F) {
            out += static_cast<char>(value);
        } else {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04X", value);
            out += escape;
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

bool WritePage(const std::string& path, const char* title, const CryptRequest& request) {
    char* composed = ComposeCryptedText(request);
    if (!composed) {
        std::fprintf(stderr, "composer returned no text for %s\n", title);
        return false;
    }
    std::string page = "<!DOCTYPE html>\r\n<html><head><meta charset=\"windows-1252\"><title>";
    page += title;
    page += "</title></head><body>\r\n";
    page += composed;
    page += "\r\n</body></html>\r\n";
    FreeCryptedText(composed);
    return WriteFile(path, page);
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
    for (const PageCase& pageCase : kCases) {
        for (const PageForm& form : kForms) {
            const std::string file = std::string(pageCase.name) + "-" + form.name + ".html";
            const CryptRequest request = {pageCase.uri, pageCase.description, true, form.useScript};
            if (!WritePage(dir + "/" + file, file.c_str(), request)) {
                return 1;
            }
            manifest += first ? "  " : ",\n  ";
            manifest += "{\"file\": \"" + file + "\", \"form\": \"" + form.name +
                        "\", \"uri\": " + JsonString(pageCase.uri) +
                        ", \"description\": " + JsonString(pageCase.description) + "}";
            first = false;
        }
    }
    manifest += "\n]}\n";
    return WriteFile(dir + "/manifest.json", manifest) ? 0 : 1;
}
