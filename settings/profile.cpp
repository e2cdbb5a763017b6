#include "settings/profile.h"

#include <windows.h>

void ReadProfileValue(const char* section, const char* key, const char* fallback, char* output,
                      size_t size, const char* path) {
    GetPrivateProfileStringA(section, key, fallback, output, static_cast<DWORD>(size), path);
}

void WriteProfileValue(const char* section, const char* key, const char* value, const char* path) {
    WritePrivateProfileStringA(section, key, value, path);
}

void FlushProfile(const char* path) {
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, path);
}
