#pragma once
// A composer's reader for a code page in tests: the program's own under
// Windows; elsewhere glibc's conversion stands in for the platform's, the
// character being the shortest run of bytes that converts to one code point.

#include "compose/compose.h"

#ifdef _WIN32
#include "ui/code_page.h"
inline ReadCharacterFn ReaderFor(unsigned codePage) {
    return codePage ? CharacterReaderFor(codePage) : nullptr;
}
#else
#include <cerrno>
#include <iconv.h>
#include <string>

// glibc's name for a Windows code page.
inline std::string IconvName(unsigned codePage) {
    return codePage == 65001 ? "UTF-8" : "CP" + std::to_string(codePage);
}

inline std::string gReaderCodePage;

inline size_t ReadWithIconv(const char* text, size_t available, unsigned long* codePoint) {
    iconv_t convert = iconv_open("WCHAR_T", gReaderCodePage.c_str());
    size_t found = 0;
    for (size_t length = 1; length <= 4 && length <= available; ++length) {
        char* in = const_cast<char*>(text);
        wchar_t out[2];
        char* to = reinterpret_cast<char*>(out);
        size_t inLeft = length, outLeft = sizeof out;
        iconv(convert, nullptr, nullptr, nullptr, nullptr);
        if (iconv(convert, &in, &inLeft, &to, &outLeft) != static_cast<size_t>(-1)) {
            found = outLeft == sizeof out - sizeof out[0] ? length : 0;
            *codePoint = static_cast<unsigned long>(out[0]);
            break;
        }
        if (errno != EINVAL) { // not merely incomplete: invalid
            break;
        }
    }
    iconv_close(convert);
    return found;
}

// As the program does, none for windows-1252 (or no code page).
inline ReadCharacterFn ReaderFor(unsigned codePage) {
    gReaderCodePage = IconvName(codePage);
    return codePage && codePage != 1252 ? ReadWithIconv : nullptr;
}
#endif
