#pragma once
// A fresh folder under the system's temporary folder for one test, removed
// with everything in it when the test ends.

#include <string>

class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder's full path, ending in a backslash.
    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + name; }

    // Creates or replaces a file (binary: the bytes as given) and returns its path.
    std::string write(const std::string& name, const std::string& bytes) const;
    std::string makeFolder(const std::string& name) const;

  private:
    std::string path_;
};

// The whole content of a file, or the empty text when it cannot be read.
std::string ReadWholeFile(const std::string& path);
