// Scratch folders and paths for tests: build/test-tmp (or SK_TEST_TMP), build/bin/launcher.exe (or
// LAUNCHER_EXE). The test executables find both from their own location.
#pragma once

#include <string>

std::string EnvOr(const char* name, const std::string& fallback);
// A file of the build's bin folder, where the test executables, launcher.exe and the fixtures are.
std::string BinFile(const std::string& name);
// The built launcher.exe.
std::string LauncherExe();
// Copies launcher.exe under the given file name into dir, with the DLLs it binds at load time
// (dsetup.dll) beside it. Answers the copy's full path, or "" on failure.
std::string CopyLauncherTo(const std::string& dir, const std::string& exeName = "launcher.exe");
// A new empty folder of its own for one test; the name says which.
std::string MakeScratchDir(const std::string& name);
bool CopyFileTo(const std::string& from, const std::string& to);
void WriteTextFile(const std::string& path, const std::string& text);
std::string ReadTextFile(const std::string& path);
