#include "paths.h"

#include "layout.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

std::string EnvOr(const char* name, const std::string& fallback) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? value : fallback;
}

// Test executables are built next to launcher.exe, in the build tree's bin folder.
static std::string BinDir() {
    char path[MAX_PATH];
    GetModuleFileNameA(NULL, path, sizeof(path));
    std::string dir = path;
    return dir.substr(0, dir.rfind('\\'));
}

std::string BinFile(const std::string& name) { return BinDir() + "\\" + name; }

std::string LauncherExe() { return EnvOr("LAUNCHER_EXE", BinDir() + "\\launcher.exe"); }

std::string MakeScratchDir(const std::string& name) {
    std::string bin = BinDir();
    std::string root = EnvOr("SK_TEST_TMP", bin.substr(0, bin.rfind('\\')) + "\\test-tmp");
    CreateDirectoryA(root.c_str(), NULL);
    std::string dir = root + "\\" + name;
    RemoveFolder(dir);
    CreateDirectoryA(dir.c_str(), NULL);
    return dir;
}

bool CopyFileTo(const std::string& from, const std::string& to) { return CopyFileA(from.c_str(), to.c_str(), FALSE); }

void WriteTextFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
}

std::string ReadTextFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}

std::string CopyLauncherTo(const std::string& dir, const std::string& exeName) {
    std::string exe = dir + "\\" + exeName;
    if (!CopyFileTo(LauncherExe(), exe))
        return "";
    // The launcher cannot start without the DLLs it binds at load time.
    std::string bin = BinDir();
    for (const char* dll : {"dsetup.dll"}) {
        std::string from = bin + "\\" + dll;
        if (GetFileAttributesA(from.c_str()) != INVALID_FILE_ATTRIBUTES && !CopyFileTo(from, dir + "\\" + dll))
            return "";
    }
    return exe;
}
