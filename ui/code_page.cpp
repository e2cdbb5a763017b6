#include "ui/code_page.h"

namespace {

enum { WindowsLatin1 = 1252 };

// The code page the reader works in; set with the reader itself.
UINT ReaderCodePage = CP_ACP;

// How many bytes the character that `lead` begins takes, as the code page
// forms it. Whether they are valid is the conversion's to say.
size_t SequenceLength(unsigned char lead) {
    if (ReaderCodePage == CP_UTF8) {
        return lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    }
    return IsDBCSLeadByteEx(ReaderCodePage, lead) ? 2 : 1;
}

bool IsHighSurrogate(WCHAR unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool IsLowSurrogate(WCHAR unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// The platform's own conversion decides; it refuses invalid sequences rather
// than inventing a replacement character.
size_t ReadCodePageCharacter(const char* text, size_t available, unsigned long* codePoint) {
    const size_t length = SequenceLength(static_cast<unsigned char>(*text));
    if (length > available) {
        return 0;
    }
    WCHAR units[2];
    const int count = MultiByteToWideChar(ReaderCodePage, MB_ERR_INVALID_CHARS, text,
                                          static_cast<int>(length), units, 2);
    if (count == 1 && !IsHighSurrogate(units[0]) && !IsLowSurrogate(units[0])) {
        *codePoint = units[0];
        return length;
    }
    // A character beyond the Basic Multilingual Plane: one code point, never
    // two references for its surrogate halves.
    if (count == 2 && IsHighSurrogate(units[0]) && IsLowSurrogate(units[1])) {
        *codePoint = 0x10000 + ((units[0] - 0xD800UL) << 10) + (units[1] - 0xDC00UL);
        return length;
    }
    return 0;
}

} // namespace

ReadCharacterFn CharacterReaderFor(UINT codePage) {
    if (codePage == WindowsLatin1) {
        return nullptr;
    }
    ReaderCodePage = codePage;
    return ReadCodePageCharacter;
}
