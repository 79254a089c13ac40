// Registry helpers for tests: raw reads and writes that bypass the code under test, and a scratch
// key deleted before and after each use.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

bool KeyExists(HKEY root, const std::string& path);
void DeleteTree(HKEY root, const std::string& path);
// Writes raw bytes with a type of our choosing.
void PutValue(HKEY root, const std::string& path, const std::string& name, DWORD type, const std::string& bytes);
void PutString(HKEY root, const std::string& path, const std::string& name, const std::string& text);
void PutDword(HKEY root, const std::string& path, const std::string& name, DWORD value);
void DeleteValue(HKEY root, const std::string& path, const std::string& name);

struct RawValue {
    bool exists = false;
    DWORD type = 0;
    std::string bytes;
};
RawValue GetValue(HKEY root, const std::string& path, const std::string& name);
// The names of all values of a key, sorted.
std::vector<std::string> ValueNames(HKEY root, const std::string& path);

// A key of its own under HKLM\SOFTWARE\SkellionTests, absent when the test starts and deleted after.
class ScratchKey {
public:
    explicit ScratchKey(const std::string& name);
    ~ScratchKey();
    const std::string& path() const { return path_; }

private:
    std::string path_;
};
