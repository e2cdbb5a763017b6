#pragma once
// How the system's ANSI code page forms characters, for the composer, which
// makes no platform calls itself.

#include <windows.h>

#include "compose/compose.h"

// The composer's reader for `codePage`, or null for windows-1252, where
// every byte's value already names its character.
ReadCharacterFn CharacterReaderFor(UINT codePage);
