#pragma once
// A fresh folder under the system's temporary folder for one test, removed
// with everything in it when the test ends. Its file operations use the wide
// calls, so paths past 260 bytes, which some tests make on purpose, work too,
// and so do names that the ANSI code page cannot spell: paths are UTF-8.

#include <string>
#include <vector>

class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder's full path, ending in a backslash.
    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + name; }

    // Creates or replaces a file (binary: the bytes as given, read-only or
    // not) and returns its path.
    std::string write(const std::string& name, const std::string& bytes) const;
    // Creates the folder and any missing folders above it; returns its path,
    // ending in a backslash.
    std::string makeFolder(const std::string& name) const;
    // The full path of every file below the folder, sorted.
    std::vector<std::string> files() const;

  private:
    std::string path_;
};

// The whole content of a file, or the empty text when it cannot be read.
std::string ReadWholeFile(const std::string& path);

// The wide form of a UTF-8 path; a full one gets the "\\?\" prefix, with which the
// wide file calls take it past 260 bytes.
std::wstring LongPath(const std::string& path);
