#pragma once
// The catalogue of language packs: "Lngs\*.lng" beside the executable, listed
// in the language box after the built-in item 0.

#include <windows.h>

#include "ui/globals.h"

// One pack file found at start-up. Entries form a singly linked list in the
// order the folder search reported them; item k of the language box (k >= 1)
// shows the k-th entry.
struct LanguageEntry {
    LanguageEntry* next;
    char fileName[PathCapacity]; // as the search reported it, extension included
    HGLOBAL allocation;          // the entry's own storage
};

// Lists the packs in LanguageList and the language box; returns the index of
// the item that names CurrentLanguageFile, or 0 when none does.
int BuildLanguageList();

// Appends one display text to the language box.
void AddLanguageItem(const char* text);

// Sets CurrentLanguageFile from the language box's selection; no selection,
// or one with no entry behind it, changes nothing.
void SelectLanguageByIndex();

// Releases every entry and leaves the head null.
void FreeLanguageList(LanguageEntry*& head);

// Path of a file in the pack folder: ExeDirectory + "Lngs\" + fileName.
// False, with an empty result, when the executable's folder is unknown or the
// path would not fit its buffer.
bool BuildPackPath(char* out, const char* fileName);
