#include "ui/code_page.h"

namespace {

enum : unsigned {
    WindowsLatin1 = 1252,
    // UTF-8 lead bytes from which a character takes two, three or four bytes.
    Utf8TwoByteLead = 0xC0,
    Utf8ThreeByteLead = 0xE0,
    Utf8FourByteLead = 0xF0,
    // UTF-16 surrogates: a high one, then a low one, stand for one code
    // point from FirstSupplementary on.
    HighSurrogate = 0xD800,
    LowSurrogate = 0xDC00,
    SurrogateEnd = 0xE000,
    SurrogateBits = 10,
    FirstSupplementary = 0x10000,
};

// The code page the reader works in; set with the reader itself.
UINT ReaderCodePage = CP_ACP;

// How many bytes the character that `lead` begins takes, as the code page
// forms it. Whether they are valid is the conversion's to say.
size_t SequenceLength(unsigned char lead) {
    if (ReaderCodePage == CP_UTF8) {
        return lead >= Utf8FourByteLead    ? 4
               : lead >= Utf8ThreeByteLead ? 3
               : lead >= Utf8TwoByteLead   ? 2
                                           : 1;
    }
    return IsDBCSLeadByteEx(ReaderCodePage, lead) ? 2 : 1;
}

bool IsHighSurrogate(WCHAR unit) {
    return unit >= HighSurrogate && unit < LowSurrogate;
}

bool IsLowSurrogate(WCHAR unit) {
    return unit >= LowSurrogate && unit < SurrogateEnd;
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
        *codePoint = FirstSupplementary + ((units[0] - HighSurrogate) << SurrogateBits) +
                     (units[1] - LowSurrogate);
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
