// Folders and files laid out on real drives for the tests of path resolution and of Play, and the
// records that the game fixture (tests/fixtures/game.c, built as vorrow.exe) leaves of its starts.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// A program built next to the test executables (vorrow.exe, file_holder.exe).
std::string FixtureExe(const std::string& exeName);
// Deletes a folder with everything in it; a folder that is not there is fine.
void RemoveFolder(const std::string& dir);
// Deletes everything in a folder and keeps the folder. For the root of a drive ("R:\"): Wine would
// remove a drive's root folder itself, and with it the drive.
void EmptyFolder(const std::string& dir);
// Creates the folder and every missing folder above it.
void MakeFolders(const std::string& dir);
// Copies a file to path, creating the folders above it.
bool PlaceCopy(const std::string& from, const std::string& path);
// Writes a small file at path, creating the folders above it.
void PlaceFile(const std::string& path, const std::string& text = "x");

// The text with every "{tmp}" replaced by tmp (a test's scratch folder), for tables of paths.
std::string ExpandTmp(const std::string& text, const std::string& tmp);

// How the game fixture was started, as it saw it.
struct GameStart {
    std::string module;
    std::string commandLine;
    std::string currentDir;
};

// While alive, every game fixture started from this process or its children appends its start to a
// fresh file of its own (the variable SK_GAME_RECORD is set for it and inherited).
class GameRecord {
public:
    explicit GameRecord(const std::string& name);
    ~GameRecord();
    GameRecord(const GameRecord&) = delete;
    GameRecord& operator=(const GameRecord&) = delete;

    std::vector<GameStart> Starts() const;
    // Waits until at least count starts have been recorded; answers what was recorded by then.
    std::vector<GameStart> WaitForStarts(size_t count, DWORD timeoutMs = 20000) const;
    void Clear() const;

private:
    std::string path_;
};
