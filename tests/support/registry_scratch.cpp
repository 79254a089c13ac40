#include "registry_scratch.h"

#include <algorithm>

bool KeyExists(HKEY root, const std::string& path) {
    HKEY hKey;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return false;
    RegCloseKey(hKey);
    return true;
}

void DeleteTree(HKEY root, const std::string& path) {
    HKEY hKey;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_ALL_ACCESS, &hKey) != ERROR_SUCCESS)
        return;
    char name[256];
    std::vector<std::string> children;
    for (DWORD i = 0; RegEnumKeyA(hKey, i, name, sizeof(name)) == ERROR_SUCCESS; ++i)
        children.push_back(name);
    RegCloseKey(hKey);
    for (const std::string& child : children)
        DeleteTree(root, path + "\\" + child);
    RegDeleteKeyA(root, path.c_str());
}

void PutValue(HKEY root, const std::string& path, const std::string& name, DWORD type, const std::string& bytes) {
    HKEY hKey;
    if (RegCreateKeyExA(root, path.c_str(), 0, NULL, 0, KEY_ALL_ACCESS, NULL, &hKey, NULL) != ERROR_SUCCESS)
        return;
    RegSetValueExA(hKey, name.c_str(), 0, type, (const BYTE*)bytes.data(), (DWORD)bytes.size());
    RegCloseKey(hKey);
}

void PutString(HKEY root, const std::string& path, const std::string& name, const std::string& text) {
    PutValue(root, path, name, REG_SZ, std::string(text.c_str(), text.size() + 1));
}

void PutDword(HKEY root, const std::string& path, const std::string& name, DWORD value) {
    PutValue(root, path, name, REG_DWORD, std::string((const char*)&value, sizeof(value)));
}

void DeleteValue(HKEY root, const std::string& path, const std::string& name) {
    HKEY hKey;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_ALL_ACCESS, &hKey) != ERROR_SUCCESS)
        return;
    RegDeleteValueA(hKey, name.c_str());
    RegCloseKey(hKey);
}

RawValue GetValue(HKEY root, const std::string& path, const std::string& name) {
    RawValue value;
    HKEY hKey;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return value;
    DWORD size = 0;
    if (RegQueryValueExA(hKey, name.c_str(), NULL, &value.type, NULL, &size) == ERROR_SUCCESS) {
        value.bytes.resize(size);
        if (RegQueryValueExA(hKey, name.c_str(), NULL, &value.type, (BYTE*)&value.bytes[0], &size) == ERROR_SUCCESS) {
            value.bytes.resize(size);
            value.exists = true;
        }
    }
    RegCloseKey(hKey);
    return value;
}

std::vector<std::string> ValueNames(HKEY root, const std::string& path) {
    std::vector<std::string> names;
    HKEY hKey;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return names;
    char name[256];
    for (DWORD i = 0;; ++i) {
        DWORD size = sizeof(name);
        if (RegEnumValueA(hKey, i, name, &size, NULL, NULL, NULL, NULL) != ERROR_SUCCESS)
            break;
        names.push_back(name);
    }
    RegCloseKey(hKey);
    std::sort(names.begin(), names.end());
    return names;
}

ScratchKey::ScratchKey(const std::string& name) : path_("SOFTWARE\\SkellionTests\\" + name) {
    DeleteTree(HKEY_LOCAL_MACHINE, path_);
}

ScratchKey::~ScratchKey() { DeleteTree(HKEY_LOCAL_MACHINE, path_); }
