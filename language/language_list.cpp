#include "language/language_list.h"

#include "res/resource.h"
#include "settings/profile.h"
#include "settings/settings.h"
#include "ui/bounded_text.h"

#include <string.h>

namespace {

LanguageEntry* NewLanguageEntry(const char* fileName) {
    HGLOBAL allocation = GlobalAlloc(GPTR, sizeof(LanguageEntry));
    if (!allocation) {
        return nullptr;
    }
    LanguageEntry* entry = static_cast<LanguageEntry*>(allocation);
    entry->allocation = allocation;
    CopyTextCut(entry->fileName, PathCapacity, fileName);
    return entry;
}

// The file name without its last "." and what follows it.
void BaseNameOf(const char* fileName, char* baseName) {
    CopyTextCut(baseName, PathCapacity, fileName);
    char* lastDot = strrchr(baseName, '.');
    if (lastDot) {
        *lastDot = '\0';
    }
}

// The pack's own name for its language, or its base name when it has none.
void ReadDisplayName(const char* packPath, const char* fileName, char* display) {
    char baseName[PathCapacity];
    BaseNameOf(fileName, baseName);
    FlushProfile(packPath);
    ReadProfileValue("Info", "Language", baseName, display, PathCapacity, packPath);
    // Only a name holding "?", every ANSI code page's default character, may
    // have lost letters to it; an ANSI pack's name stays as the file spells it.
    if (display[0] == '\0' ||
        (strchr(display, '?') && ProfileValueIsUnspellable("Info", "Language", packPath))) {
        CopyTextCut(display, PathCapacity, baseName);
    }
}

bool IsCurrentLanguage(const char* fileName) {
    return strcmp(CurrentLanguageFile, fileName) == 0;
}

} // namespace

bool BuildPackPath(char* out, const char* fileName) {
    if (ExeDirectory[0] == '\0') {
        out[0] = '\0';
        return false;
    }
    return JoinText(out, PathCapacity, ExeDirectory, "Lngs\\", fileName);
}

int BuildLanguageList() {
    int result = IsCurrentLanguage(DefaultLanguageToken) ? 0 : -1;
    char pattern[PathCapacity];
    WIN32_FIND_DATAA found;
    HANDLE search =
        BuildPackPath(pattern, "*.lng") ? FindFirstFileA(pattern, &found) : INVALID_HANDLE_VALUE;
    if (search == INVALID_HANDLE_VALUE) {
        return result < 0 ? 0 : result;
    }
    int counter = 1;
    LanguageEntry** tail = &LanguageList;
    do {
        char packPath[PathCapacity];
        // Folders, packs whose path would not fit and entries that cannot be
        // stored are left out whole, so the box and the list stay in step.
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ||
            !BuildPackPath(packPath, found.cFileName)) {
            continue;
        }
        LanguageEntry* entry = NewLanguageEntry(found.cFileName);
        if (!entry) {
            continue;
        }
        if (IsCurrentLanguage(found.cFileName)) {
            result = counter;
        }
        ++counter;
        *tail = entry;
        tail = &entry->next;
        // Zeroed: where a long name stops before a double-byte character
        // that would not fit, Wine leaves the byte it would have begun in
        // untouched, and that byte must end the name.
        char display[PathCapacity] = {};
        ReadDisplayName(packPath, found.cFileName, display);
        AddLanguageItem(display);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return result < 0 ? 0 : result;
}

void AddLanguageItem(const char* text) {
    SendDlgItemMessageA(MainDialog, IDC_LANGUAGE, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
}

void SelectLanguageByIndex() {
    LRESULT index = SendDlgItemMessageA(MainDialog, IDC_LANGUAGE, CB_GETCURSEL, 0, 0);
    if (index == CB_ERR || index < 0) {
        return;
    }
    if (index == 0) {
        RememberLanguage(DefaultLanguageToken);
        return;
    }
    LanguageEntry* entry = LanguageList;
    for (LRESULT step = 1; entry && step < index; ++step) {
        entry = entry->next;
    }
    if (entry) {
        RememberLanguage(entry->fileName);
    }
}

void FreeLanguageList(LanguageEntry*& head) {
    while (head) {
        LanguageEntry* next = head->next;
        GlobalFree(head->allocation);
        head = next;
    }
}
