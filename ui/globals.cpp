#include "ui/globals.h"

HINSTANCE InstanceHandle;
HWND MainDialog;
char ExeDirectory[PathCapacity];
char SettingsPath[PathCapacity];
char CurrentLanguageFile[PathCapacity];
LanguageEntry* LanguageList;

const char DefaultLanguageToken[] = "Default";
