// Scratch folders and paths for tests: build/test-tmp (or SK_TEST_TMP), build/bin/launcher.exe (or
// LAUNCHER_EXE). The test executables find both from their own location.
#pragma once

#include <string>

std::string EnvOr(const char* name, const std::string& fallback);
// The built launcher.exe.
std::string LauncherExe();
// A new empty folder of its own for one test; the name says which.
std::string MakeScratchDir(const std::string& name);
bool CopyFileTo(const std::string& from, const std::string& to);
void WriteTextFile(const std::string& path, const std::string& text);
std::string ReadTextFile(const std::string& path);
