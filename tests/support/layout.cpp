#include "layout.h"

#include "paths.h"
#include "wait.h"

#include <sstream>

std::string FixtureExe(const std::string& exeName) {
    char path[MAX_PATH];
    GetModuleFileNameA(NULL, path, sizeof(path));
    std::string dir = path;
    return dir.substr(0, dir.rfind('\\')) + "\\" + exeName;
}

void EmptyFolder(const std::string& folder) {
    std::string dir = !folder.empty() && folder.back() == '\\' ? folder.substr(0, folder.size() - 1) : folder;
    WIN32_FIND_DATAA data;
    HANDLE hFind = FindFirstFileA((dir + "\\*").c_str(), &data);
    if (hFind != INVALID_HANDLE_VALUE) {
        do {
            std::string name = data.cFileName;
            if (name == "." || name == "..")
                continue;
            std::string path = dir + "\\" + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveFolder(path);
            else
                DeleteFileA(path.c_str());
        } while (FindNextFileA(hFind, &data));
        FindClose(hFind);
    }
}

void RemoveFolder(const std::string& dir) {
    EmptyFolder(dir);
    RemoveDirectoryA(dir.c_str());
}

void MakeFolders(const std::string& dir) {
    for (size_t at = dir.find('\\', 3); at != std::string::npos; at = dir.find('\\', at + 1))
        CreateDirectoryA(dir.substr(0, at).c_str(), NULL);
    CreateDirectoryA(dir.c_str(), NULL);
}

static std::string Parent(const std::string& path) {
    return path.substr(0, path.rfind('\\'));
}

bool PlaceCopy(const std::string& from, const std::string& path) {
    MakeFolders(Parent(path));
    return CopyFileTo(from, path);
}

void PlaceFile(const std::string& path, const std::string& text) {
    MakeFolders(Parent(path));
    WriteTextFile(path, text);
}

std::string ExpandTmp(const std::string& text, const std::string& tmp) {
    std::string out = text;
    for (size_t at = out.find("{tmp}"); at != std::string::npos; at = out.find("{tmp}", at + tmp.size()))
        out.replace(at, 5, tmp);
    return out;
}

GameRecord::GameRecord(const std::string& name) : path_(MakeScratchDir("game-record-" + name) + "\\starts.txt") {
    SetEnvironmentVariableA("SK_GAME_RECORD", path_.c_str());
}

GameRecord::~GameRecord() {
    SetEnvironmentVariableA("SK_GAME_RECORD", NULL);
}

std::vector<GameStart> GameRecord::Starts() const {
    std::istringstream in(ReadTextFile(path_));
    std::vector<GameStart> starts;
    GameStart start;
    std::string end;
    while (std::getline(in, start.module) && std::getline(in, start.commandLine) &&
           std::getline(in, start.currentDir) && std::getline(in, end) && end == ".")
        starts.push_back(start);
    return starts;
}

std::vector<GameStart> GameRecord::WaitForStarts(size_t count, DWORD timeoutMs) const {
    std::vector<GameStart> starts;
    WaitUntil([&] { return (starts = Starts()).size() >= count; }, timeoutMs);
    return starts;
}

void GameRecord::Clear() const {
    DeleteFileA(path_.c_str());
}
