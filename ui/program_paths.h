#pragma once
// Derives the executable's folder and the settings file's path from the
// executable's full path.

#include <stddef.h>

// modulePath is the executable's full path, or null when it could not be had
// whole. Both outputs have PathCapacity bytes.
//  - exeDirectory: the path up to and including its last backslash (a
//    backslash is appended to a path that has none).
//  - settingsPath: the path with its last "." and all after it replaced by
//    ".ini" (".ini" appended to a path that has no ".").
// An output that would not fit is left empty, meaning "unknown": the program
// then does without packs or settings rather than use a name that was cut.
void DeriveProgramPaths(const char* modulePath, char* exeDirectory, char* settingsPath);
