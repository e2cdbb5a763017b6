#pragma once
// The composer's reader for a code page in tests: the program's own under
// Windows; elsewhere glibc's conversion stands in for the platform's.

#include "compose/compose.h"

#ifdef _WIN32
#include "ui/code_page.h"
inline ReadCharacterFn ReaderFor(unsigned codePage) {
    return codePage ? CharacterReaderFor(codePage) : nullptr;
}
#else
#include <cerrno>
#include <algorithm>
#include <cstring>
#include <iconv.h>
#include <string>

// Converts text of a Windows code page with glibc. Returns 0 when all of it
// converts, else the error: EINVAL when it ends inside a character.
inline int FromCodePage(unsigned codePage, std::string text, const char* to, std::string& out) {
    const std::string from = codePage == 65001 ? "UTF-8" : "CP" + std::to_string(codePage);
    iconv_t convert = iconv_open(to, from.c_str());
    out.assign(text.size() * 4 + 4, '\0');
    char *in = text.data(), *at = out.data();
    size_t inLeft = text.size(), outLeft = out.size();
    const int error = iconv(convert, &in, &inLeft, &at, &outLeft) == size_t(-1) ? errno : 0;
    iconv_close(convert);
    out.resize(out.size() - outLeft);
    return error;
}

inline unsigned gReaderCodePage;

// A character is the shortest run of bytes that converts to one code point.
inline size_t ReadWithIconv(const char* text, size_t available, unsigned long* codePoint) {
    std::string wide;
    int error = EINVAL;
    size_t length = 0;
    while (error == EINVAL && length < 4 && length < available) {
        error = FromCodePage(gReaderCodePage, std::string(text, ++length), "WCHAR_T", wide);
    }
    wchar_t character = 0;
    std::memcpy(&character, wide.data(), std::min(wide.size(), sizeof character));
    *codePoint = static_cast<unsigned long>(character);
    return error == 0 && wide.size() == sizeof character ? length : 0;
}

// As the program does, none for windows-1252 (or no code page).
inline ReadCharacterFn ReaderFor(unsigned codePage) {
    gReaderCodePage = codePage;
    return codePage && codePage != 1252 ? ReadWithIconv : nullptr;
}
#endif
