#include "ui/program_paths.h"

#include "ui/bounded_text.h"
#include "ui/globals.h"

#include <string.h>

namespace {

void DeriveExeDirectory(const char* modulePath, char* exeDirectory) {
    const char* lastBackslash = strrchr(modulePath, '\\');
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

} // namespace

void DeriveProgramPaths(const char* modulePath, char* exeDirectory, char* settingsPath) {
    exeDirectory[0] = '\0';
    settingsPath[0] = '\0';
    if (!modulePath || strlen(modulePath) >= PathCapacity) {
        return;
    }
    DeriveExeDirectory(modulePath, exeDirectory);
    DeriveSettingsPath(modulePath, settingsPath);
}
