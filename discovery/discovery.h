// Finding files and starting programs.
#pragma once

#include <windows.h>

// 1 when the file can be opened for reading (the C runtime's fopen "r"), else 0. The only test of
// presence in the program: a directory, or a file locked against reading, counts as absent.
int FileExists(const char* pszPath);

// Starts a program as a process of its own and does not wait for it. Each argument may be NULL.
// Answers 1 and stores the process handle in *phProcess on success (the caller owns it); answers 0
// and leaves *phProcess alone on failure.
int LaunchProcess(const char* pszApplicationName, const char* pszCommandLine, const char* pszCurrentDirectory,
                  HANDLE* phProcess);
