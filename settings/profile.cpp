#include "settings/profile.h"

#include <windows.h>

void ReadProfileValue(const char* section, const char* key, const char* fallback, char* output,
                      size_t size, const char* path) {
    GetPrivateProfileStringA(section, key, fallback, output, static_cast<DWORD>(size), path);
}

bool ProfileValueIsUnspellable(const char* section, const char* key, const char* path) {
    const char* names[] = {section, key, path};
    wchar_t wide[3][MAX_PATH];
    for (int i = 0; i < 3; ++i) {
        if (MultiByteToWideChar(CP_ACP, 0, names[i], -1, wide[i], MAX_PATH) == 0) {
            wide[i][0] = L'\0'; // too long to be a name: an empty one names no file of ours
        }
    }
    wchar_t value[MAX_PATH];
    DWORD length = GetPrivateProfileStringW(wide[0], wide[1], L"", value, MAX_PATH, wide[2]);
    if (length > 0 && IS_HIGH_SURROGATE(value[length - 1])) {
        value[length - 1] = L'\0'; // half a character, cut off by the buffer
    }
    // No ANSI code page takes more than two bytes for a character. A UTF-8 one
    // spells every character and refuses the question: the call then fails.
    char spelled[2 * MAX_PATH];
    BOOL usedDefault = FALSE;
    WideCharToMultiByte(CP_ACP, 0, value, -1, spelled, sizeof spelled, nullptr, &usedDefault);
    return usedDefault != FALSE;
}

void WriteProfileValue(const char* section, const char* key, const char* value, const char* path) {
    WritePrivateProfileStringA(section, key, value, path);
}

void FlushProfile(const char* path) {
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, path);
}
