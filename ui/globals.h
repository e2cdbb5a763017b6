#pragma once
// The program's global state. It lives for the whole process and is shared by
// the dialog controller, the settings file and the language catalogue; it sits
// apart from the controller so those lower parts do not depend on it.

#include <windows.h>

struct LanguageEntry;

// Every path and name buffer holds 260 bytes, terminator included.
enum { PathCapacity = MAX_PATH };

extern HINSTANCE InstanceHandle;
extern HWND MainDialog;
extern char ExeDirectory[PathCapacity];        // ends in a backslash; empty if unknown
extern char SettingsPath[PathCapacity];        // empty when no whole path could be formed
extern char CurrentLanguageFile[PathCapacity]; // pack file name, or DefaultLanguageToken
extern LanguageEntry* LanguageList;

// Names the built-in U.S. English; compared case-sensitively.
extern const char DefaultLanguageToken[];
