#include "ui/program_paths.h"

#include "ui/bounded_text.h"
#include "ui/globals.h"

#include <string.h>

namespace {

// The last backslash that is a character of its own, walking from the start
// as the system's code page forms characters: a double-byte character such
// as cp932 "\x95\x5C" ends in the backslash's value without being one.
const char* LastBackslash(const char* path) {
    const char* last = nullptr;
    for (const char* at = path; *at; ++at) {
        if (IsDBCSLeadByte(static_cast<BYTE>(*at)) && at[1]) {
            ++at;
        } else if (*at == '\\') {
            last = at;
        }
    }
    return last;
}

void DeriveExeDirectory(const char* modulePath, char* exeDirectory) {
    const char* lastBackslash = LastBackslash(modulePath);
    if (!lastBackslash) {
        JoinText(exeDirectory, PathCapacity, modulePath, "\\");
        return;
    }
    size_t length = static_cast<size_t>(lastBackslash - modulePath) + 1;
    memcpy(exeDirectory, modulePath, length);
    exeDirectory[length] = '\0';
}

void DeriveSettingsPath(const char* modulePath, char* settingsPath) {
    const char* lastDot = strrchr(modulePath, '.');
    size_t stemLength = lastDot ? static_cast<size_t>(lastDot - modulePath) : strlen(modulePath);
    const char extension[] = ".ini";
    if (stemLength + sizeof extension > PathCapacity) {
        settingsPath[0] = '\0';
        return;
    }
    memcpy(settingsPath, modulePath, stemLength);
    memcpy(settingsPath + stemLength, extension, sizeof extension);
}

// True when `wide` converts to the ANSI code page whole and with no
// character substituted, best-fit look-alikes included: only then does the
// result name the same file.
bool SpellExactly(const WCHAR* wide, char* narrow) {
    BOOL substituted = FALSE;
    int bytes = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, -1, narrow, PathCapacity,
                                    nullptr, &substituted);
    return bytes > 0 && !substituted;
}

// Replaces the module's path with its short form, if the code page spells
// that exactly; otherwise leaves it as it is.
void UseShortModulePath(const WCHAR* longPath, char* modulePath) {
    WCHAR shortPath[PathCapacity];
    DWORD length = GetShortPathNameW(longPath, shortPath, PathCapacity);
    char spelled[PathCapacity];
    if (length > 0 && length < PathCapacity && SpellExactly(shortPath, spelled)) {
        memcpy(modulePath, spelled, strlen(spelled) + 1);
    }
}

} // namespace

bool ReadModulePath(char* modulePath) {
    DWORD length = GetModuleFileNameA(nullptr, modulePath, PathCapacity);
    // A path that filled the whole buffer was cut: use none rather than a wrong one.
    if (length == 0 || length >= PathCapacity) {
        return false;
    }
    // The ANSI path names the file unless the code page lacked a character
    // of it, which then reads as "?"; the wide path tells which. If neither
    // form can be spelled (the volume keeps no short names), the ANSI one
    // stays as the best there is.
    WCHAR wide[PathCapacity];
    char spelled[PathCapacity];
    length = GetModuleFileNameW(nullptr, wide, PathCapacity);
    if (length > 0 && length < PathCapacity && !SpellExactly(wide, spelled)) {
        UseShortModulePath(wide, modulePath);
    }
    return true;
}

void DeriveProgramPaths(const char* modulePath, char* exeDirectory, char* settingsPath) {
    exeDirectory[0] = '\0';
    settingsPath[0] = '\0';
    if (!modulePath || strlen(modulePath) >= PathCapacity) {
        return;
    }
    DeriveExeDirectory(modulePath, exeDirectory);
    DeriveSettingsPath(modulePath, settingsPath);
}
