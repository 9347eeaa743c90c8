#pragma once
// The program's own module: its file, folder and version texts. The version is the one the build
// compiles in (major.minor.release and a build number); a module other than the program has no
// version information.
#include <ctime>
#include <string>

class CModuleInfo
{
public:
    CModuleInfo(); // the program itself
    // An empty path stands for the program itself.
    void SetModule(const std::string& path);

    std::string GetFilePath() const;           // empty when unknown
    std::string GetFileName() const;           // name and extension; empty without a path
    std::time_t GetFileTime() const;           // modification time; 0 without a path or a readable file
    std::string GetFileVersionText() const;    // "%d.%d.%d build(%d)"; empty without version
    std::string GetProductVersionText() const; // the same for the product version

private:
    std::string m_path; // empty: the program itself
};

// The folder of the program's executable, without a trailing separator.
std::string GetModuleDirectory();
// "%d.%d.%d" of the program's product version.
std::string GetProgramVersionText();

// Reads "<major>.<minor>.<release> build(<build>)". Every output is -1 first and stays so when its
// part is absent or not a number.
void ParseVersionText(const char* text, int* major, int* minor, int* release, int* build);
