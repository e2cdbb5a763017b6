#include "compose/compose.h"

#include <stdlib.h>
#include <string.h>

namespace {

// The fixed fragments, byte for byte as they appear in the output.
const char NL[] = "\r\n";
const char NOSCRIPT_OPEN[] = "<noscript>";
const char NOSCRIPT_CLOSE[] = "</noscript>";
const char A_OPEN[] = "<a href=\"";
const char A_MID[] = "\">";
const char A_CLOSE[] = "</a>";
const char SCRIPT_OPEN[] = "<script language=JavaScript type=\"text/javascript\">";
const char COMMENT_OPEN[] = "<!--";
const char S1_OPEN[] = "var s1=\"";
const char S2_OPEN[] = "var s2=\"";
const char DESC_OPEN[] = "var sDesc=\"";
const char STMT_END[] = "\";";
const char WRITE_OPEN[] = "document.write(\"<a h\"+\"ref=\\\"\"+s1+s2+\"";
const char WRITE_CLOSE[] = "\\\">\"+sDesc+\"</a>\");";
const char COMMENT_CLOSE[] = "//-->";
const char SCRIPT_CLOSE[] = "</script>";

// "&#N;" for every byte value, made once at compile time: the byte's value
// in decimal, which on windows-1252 names the byte's character (browsers read
// &#128; to &#159; as windows-1252 does). Each entry holds the text in its
// first bytes and its length last.
const size_t kEntrySize = 8;
const size_t kLengthAt = kEntrySize - 1;

struct ReferenceTable {
    char entry[256][kEntrySize];
};

constexpr ReferenceTable MakeReferenceTable() {
    ReferenceTable table = {};
    for (unsigned value = 0; value < 256; ++value) {
        char* text = table.entry[value];
        size_t at = 0;
        text[at++] = '&';
        text[at++] = '#';
        if (value >= 100) {
            text[at++] = static_cast<char>('0' + value / 100);
        }
        if (value >= 10) {
            text[at++] = static_cast<char>('0' + value / 10 % 10);
        }
        text[at++] = static_cast<char>('0' + value % 10);
        text[at++] = ';';
        text[kLengthAt] = static_cast<char>(at);
    }
    return table;
}

constexpr ReferenceTable kReferences = MakeReferenceTable();

// Every ANSI code page agrees with ASCII below this byte.
const unsigned char kFirstNonAscii = 0x80;

// The last Unicode code point; a reader's answer past it is no character.
const unsigned long kLastCodePoint = 0x10FFFF;

// Room for "&#" and ";" around the seven digits of any code point.
const size_t kLongestReference = 16;

// The character at uri[at], of the `length` bytes: sets its code point and
// returns its length. A byte that starts no valid character (or a reader's
// answer that cannot be one) stands for itself, so nothing is dropped and no
// replacement character is invented.
size_t ReadUriCharacter(const char* uri, size_t at, size_t length, ReadCharacterFn read,
                        unsigned long* codePoint) {
    const unsigned char byte = static_cast<unsigned char>(uri[at]);
    *codePoint = byte;
    if (!read || byte < kFirstNonAscii) {
        return 1;
    }
    unsigned long value = 0;
    const size_t size = read(uri + at, length - at, &value);
    if (size == 0 || size > length - at || value > kLastCodePoint) {
        return 1;
    }
    *codePoint = value;
    return size;
}

// "&#N;" for any code point; returns its length.
size_t FormatReference(unsigned long codePoint, char (&text)[kLongestReference]) {
    char digits[kLongestReference];
    size_t count = 0;
    do {
        digits[count++] = static_cast<char>('0' + codePoint % 10);
        codePoint /= 10;
    } while (codePoint != 0);
    size_t at = 0;
    text[at++] = '&';
    text[at++] = '#';
    while (count > 0) {
        text[at++] = digits[--count];
    }
    text[at++] = ';';
    return at;
}

// Moves a split point back to the first byte of the character it falls
// inside, so that no script piece ends in half a character.
size_t CharacterStart(const char* uri, size_t length, size_t split, ReadCharacterFn read) {
    if (!read) {
        return split;
    }
    size_t at = 0;
    while (at < split) {
        unsigned long unused = 0;
        const size_t next = at + ReadUriCharacter(uri, at, length, read, &unused);
        if (next > split) {
            break;
        }
        at = next;
    }
    return at;
}

// One walk over the output serves both to measure it and to write it, so the
// length that sizes the allocation cannot drift from what is written.
// With `next` null the walk only counts.
struct Output {
    char* next;
    size_t length;
};

void Put(Output& output, const char* text, size_t length) {
    if (output.next) {
        memcpy(output.next, text, length);
        output.next += length;
    }
    output.length += length;
}

template <size_t N> void Put(Output& output, const char (&fragment)[N]) {
    Put(output, fragment, N - 1);
}

// One reference per character, for code pages where a character may span
// several bytes or a byte's value is not the character's.
void PutCharacterReferences(Output& output, const char* uri, size_t length, ReadCharacterFn read) {
    for (size_t at = 0; at < length;) {
        unsigned long codePoint = 0;
        at += ReadUriCharacter(uri, at, length, read, &codePoint);
        char text[kLongestReference];
        Put(output, text, FormatReference(codePoint, text));
    }
}

void PutReferences(Output& output, const char* uri, size_t length, ReadCharacterFn read) {
    if (read) {
        PutCharacterReferences(output, uri, length, read);
    } else if (output.next) {
        char* end = EncodeCharacterReferences(uri, length, output.next);
        output.length += end - output.next;
        output.next = end;
    } else {
        output.length += CharacterReferencesLength(uri, length);
    }
}

// One line `var x="text";` of the script, the text inserted raw.
template <size_t N>
void PutStringStatement(Output& output, const char (&open)[N], const char* text, size_t length) {
    Put(output, open);
    Put(output, text, length);
    Put(output, STMT_END);
    Put(output, NL);
}

// `SplitPoints`: the script rebuilds the URI from three plain pieces.
void PutScript(Output& output, const char* uri, size_t n, ReadCharacterFn read,
               const char* description, size_t descriptionLength) {
    const size_t t1 = CharacterStart(uri, n, n / 3, read);
    const size_t t2 = CharacterStart(uri, n, 2 * n / 3, read);
    Put(output, NL);
    Put(output, NOSCRIPT_CLOSE);
    Put(output, NL);
    Put(output, SCRIPT_OPEN);
    Put(output, NL);
    Put(output, COMMENT_OPEN);
    Put(output, NL);
    PutStringStatement(output, S1_OPEN, uri, t1);
    PutStringStatement(output, S2_OPEN, uri + t1, t2 - t1);
    PutStringStatement(output, DESC_OPEN, description, descriptionLength);
    Put(output, WRITE_OPEN);
    Put(output, uri + t2, n - t2);
    Put(output, WRITE_CLOSE);
    Put(output, NL);
    Put(output, COMMENT_CLOSE);
    Put(output, NL);
    Put(output, SCRIPT_CLOSE);
}

// A missing text is composed as an empty one rather than dereferenced.
const char* TextOrEmpty(const char* text) {
    return text ? text : "";
}

void PutCryptedText(Output& output, const CryptRequest& request) {
    const char* uri = TextOrEmpty(request.uri);
    const char* description = TextOrEmpty(request.description);
    const size_t n = strlen(uri);
    if (!request.generateHtml) {
        PutReferences(output, uri, n, request.readCharacter); // the script flag needs the anchor
        return;
    }
    const size_t descriptionLength = strlen(description);
    if (request.useScript) {
        Put(output, NOSCRIPT_OPEN);
        Put(output, NL);
    }
    Put(output, A_OPEN);
    PutReferences(output, uri, n, request.readCharacter);
    Put(output, A_MID);
    Put(output, description, descriptionLength);
    Put(output, A_CLOSE);
    if (request.useScript) {
        PutScript(output, uri, n, request.readCharacter, description, descriptionLength);
    }
}

} // namespace

size_t CharacterReferencesLength(const char* uri, size_t length) {
    size_t total = 0;
    for (size_t i = 0; i < length; ++i) {
        total += kReferences.entry[static_cast<unsigned char>(uri[i])][kLengthAt];
    }
    return total;
}

char* EncodeCharacterReferences(const char* uri, size_t length, char* out) {
    if (length == 0) {
        return out;
    }
    // Every reference is at least four bytes, so a whole eight-byte entry
    // written at one reference's start ends within the next one, which then
    // overwrites the surplus. Only the last reference must be copied exactly.
    for (size_t i = 0; i + 1 < length; ++i) {
        const char* entry = kReferences.entry[static_cast<unsigned char>(uri[i])];
        memcpy(out, entry, kEntrySize);
        out += entry[kLengthAt];
    }
    const char* last = kReferences.entry[static_cast<unsigned char>(uri[length - 1])];
    memcpy(out, last, last[kLengthAt]);
    return out + last[kLengthAt];
}

size_t CryptedTextLength(const CryptRequest& request) {
    Output output = {nullptr, 0};
    PutCryptedText(output, request);
    return output.length;
}

char* ComposeCryptedText(const CryptRequest& request) {
    // Sized to fit exactly: one byte of the URI can become a seven-byte
    // reference ("&#1103;", a Cyrillic letter on code page 1251), and the
    // script method adds the URI's plain pieces and the description again,
    // so no fixed capacity would hold every request.
    const size_t length = CryptedTextLength(request);
    char* text = static_cast<char*>(malloc(length + 1));
    if (!text) {
        return nullptr;
    }
    Output output = {text, 0};
    PutCryptedText(output, request);
    text[output.length] = '\0';
    return text;
}

void FreeCryptedText(char* text) {
    free(text);
}
