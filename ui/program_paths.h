#pragma once
// Derives the executable's folder and the settings file's path from the
// executable's full path.

#include <stddef.h>

// Reads the executable's full path into `modulePath` (PathCapacity bytes) as
// the system's ANSI code page spells it. A path the code page cannot spell
// exactly (a folder named in another script) is read in its short form,
// which names the same file in plain ASCII, where the volume has one.
// Returns false when no whole path could be had.
bool ReadModulePath(char* modulePath);

// modulePath is the executable's full path, or null when it could not be had
// whole. Both outputs have PathCapacity bytes.
//  - exeDirectory: the path up to and including its last backslash (a
//    backslash is appended to a path that has none). In a double-byte code
//    page a byte of a backslash's value may end a character; only a
//    backslash of its own counts.
//  - settingsPath: the path with its last "." and all after it replaced by
//    ".ini" (".ini" appended to a path that has no "."). No code page uses
//    the dot's value inside a character, so this search goes byte by byte.
// An output that would not fit is left empty, meaning "unknown": the program
// then does without packs or settings rather than use a name that was cut.
void DeriveProgramPaths(const char* modulePath, char* exeDirectory, char* settingsPath);
