#pragma once
// The settings file beside the executable: it remembers the chosen language
// between runs, in [Options] LanguageFile.

// Fills CurrentLanguageFile from the settings file, or with the built-in
// language's token when the file cannot be opened or lacks the value.
void LoadSettings();

// Writes CurrentLanguageFile to the settings file, creating it if needed and
// making a read-only one writable first. A file that was there but could not
// be read at start-up is left as it was, unless the user picked a language.
void SaveSettings();

// The user's pick of a language pack file, or of the built-in language's
// token: it becomes CurrentLanguageFile and is written at exit.
void RememberLanguage(const char* fileName);

// True when the file exists and can be opened for reading while others may
// read and write it too: a program that holds it open for writing, sharing
// it for reading, does not make it count as absent.
bool FileCanBeOpened(const char* path);

// Removes the read-only attribute of an existing file; other attributes stay.
void ClearReadOnly(const char* path);
