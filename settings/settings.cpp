#include "settings/settings.h"

#include "settings/profile.h"
#include "ui/bounded_text.h"
#include "ui/globals.h"

#include <windows.h>

namespace {
const char SettingsSection[] = "Options";
const char LanguageFileKey[] = "LanguageFile";

// The settings file was there at start-up but could not be read (another
// program held it without sharing) and no language has been picked since:
// the exit must not write the built-in language over a choice never read.
bool KeepSettingsFile = false;

bool FileExists(const char* path) {
    return path[0] != '\0' && GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}
} // namespace

void LoadSettings() {
    KeepSettingsFile = false;
    if (!FileCanBeOpened(SettingsPath)) {
        KeepSettingsFile = FileExists(SettingsPath);
        CopyTextCut(CurrentLanguageFile, PathCapacity, DefaultLanguageToken);
        return;
    }
    FlushProfile(SettingsPath);
    ReadProfileValue(SettingsSection, LanguageFileKey, DefaultLanguageToken, CurrentLanguageFile,
                     PathCapacity, SettingsPath);
    FlushProfile(SettingsPath);
}

void SaveSettings() {
    // Without a whole settings path there is no file to write: the platform
    // would look for a name without a folder in the Windows folder.
    if (SettingsPath[0] == '\0' || KeepSettingsFile) {
        return;
    }
    ClearReadOnly(SettingsPath);
    WriteProfileValue(SettingsSection, LanguageFileKey, CurrentLanguageFile, SettingsPath);
    FlushProfile(SettingsPath);
}

void RememberLanguage(const char* fileName) {
    CopyTextCut(CurrentLanguageFile, PathCapacity, fileName);
    KeepSettingsFile = false;
}

bool FileCanBeOpened(const char* path) {
    if (path[0] == '\0') {
        return false;
    }
    // Sharing writing too: a program that holds the file open for writing
    // while it lets others read (an editor, a backup tool) must not make it
    // count as absent, or the remembered language would be lost at exit.
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    CloseHandle(file);
    return true;
}

void ClearReadOnly(const char* path) {
    if (!FileCanBeOpened(path)) {
        return;
    }
    DWORD attributes = GetFileAttributesA(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        SetFileAttributesA(path, attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
    }
}
