#include "tests/support/temp_folder.h"

#include <windows.h>

#include <algorithm>
#include <stdexcept>

namespace {

std::string Narrow(const std::wstring& wide) {
    std::string text(wide.size() * 3, '\0');
    text.resize(WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                    text.data(), static_cast<int>(text.size()), nullptr, nullptr));
    return text;
}

// Every entry below `folder` (ending in a backslash), each folder before what
// it holds and ending in a backslash itself.
void ListTree(const std::wstring& folder, std::vector<std::wstring>& entries) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return;
    }
    do {
        const std::wstring name = found.cFileName;
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
            entries.push_back(folder + name);
        } else if (name != L"." && name != L"..") {
            entries.push_back(folder + name + L"\\");
            ListTree(folder + name + L"\\", entries);
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

} // namespace

std::wstring LongPath(const std::string& path) {
    std::wstring wide(path.size(), L'\0');
    wide.resize(MultiByteToWideChar(CP_UTF8, 0, path.data(), static_cast<int>(path.size()),
                                    wide.data(), static_cast<int>(wide.size())));
    bool full = wide.size() >= 3 && wide[1] == L':' && wide[2] == L'\\';
    return full ? L"\\\\?\\" + wide : wide;
}

TempFolder::TempFolder() {
    wchar_t base[MAX_PATH + 1];
    std::string temp = Narrow(std::wstring(base, GetTempPathW(MAX_PATH + 1, base)));
    static unsigned counter;
    for (;;) {
        path_ = temp + "obrello-" + std::to_string(GetCurrentProcessId()) + "-" +
                std::to_string(++counter) + "\\";
        if (CreateDirectoryW(LongPath(path_).c_str(), nullptr)) {
            return;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS) {
            throw std::runtime_error("cannot create " + path_);
        }
    }
}

TempFolder::~TempFolder() {
    std::vector<std::wstring> entries;
    std::wstring root = LongPath(path_);
    ListTree(root, entries);
    // Backwards, so each folder is empty by the time it is removed; read-only
    // files (a test may make the settings so) would stop the removal.
    for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) {
        SetFileAttributesW(entry->c_str(), FILE_ATTRIBUTE_NORMAL);
        if (entry->back() == L'\\') {
            RemoveDirectoryW(entry->c_str());
        } else {
            DeleteFileW(entry->c_str());
        }
    }
    RemoveDirectoryW(root.c_str());
}

std::string TempFolder::write(const std::string& name, const std::string& bytes) const {
    std::string path = path_ + name;
    std::wstring wide = LongPath(path);
    SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_NORMAL);
    HANDLE file = CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        throw std::runtime_error("cannot write " + path);
    }
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return path;
}

std::string TempFolder::makeFolder(const std::string& name) const {
    std::string path = path_ + name;
    if (!path.empty() && path.back() != '\\') {
        path += '\\';
    }
    for (size_t slash = path.find('\\', path_.size()); slash != std::string::npos;
         slash = path.find('\\', slash + 1)) {
        CreateDirectoryW(LongPath(path.substr(0, slash)).c_str(), nullptr);
    }
    return path;
}

std::vector<std::string> TempFolder::files() const {
    std::vector<std::wstring> entries;
    std::wstring root = LongPath(path_);
    ListTree(root, entries);
    std::vector<std::string> paths;
    for (const std::wstring& entry : entries) {
        if (entry.back() != L'\\') {
            paths.push_back(path_ + Narrow(entry.substr(root.size())));
        }
    }
    std::sort(paths.begin(), paths.end());
    return paths;
}

std::string ReadWholeFile(const std::string& path) {
    HANDLE file =
        CreateFileW(LongPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return {};
    }
    std::string bytes(GetFileSize(file, nullptr), '\0');
    DWORD read = 0;
    ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(file);
    bytes.resize(read);
    return bytes;
}
