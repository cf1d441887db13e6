// A fresh folder under the temporary directory, removed with everything in it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::wstring& path() const { return path_; }
    std::wstring file(std::wstring_view name) const;
    // Names of the files in the folder (not below it) that match a pattern such as "*.tmp".
    std::vector<std::wstring> filesNamed(std::wstring_view pattern) const;

private:
    std::wstring path_;
};

// Helpers for tests that inspect files byte for byte.
std::string readBytes(const std::wstring& path);
void writeBytes(const std::wstring& path, const std::string& bytes);
bool fileExists(const std::wstring& path);
