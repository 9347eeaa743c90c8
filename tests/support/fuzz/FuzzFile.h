#pragma once
// The input of a fuzz run as a file for readers that take a path: written to a file of this
// process in memory-backed storage where there is some, removed again when the run is over.
#include <cstdint>
#include <cstdio>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

class CFuzzFile
{
public:
    // ext, such as ".xlsx", for readers that choose the format by the file's name.
    CFuzzFile(const uint8_t* data, size_t size, const char* name, const char* ext = "")
    {
        struct stat st;
        const std::string dir = ::stat("/dev/shm", &st) == 0 && S_ISDIR(st.st_mode) ? "/dev/shm" : "/tmp";
        m_path = dir + "/orvex_" + name + "_" + std::to_string(::getpid()) + ext;
        if (std::FILE* f = std::fopen(m_path.c_str(), "wb")) {
            std::fwrite(data, 1, size, f);
            std::fclose(f);
        }
    }
    ~CFuzzFile() { std::remove(m_path.c_str()); }
    CFuzzFile(const CFuzzFile&) = delete;
    CFuzzFile& operator=(const CFuzzFile&) = delete;
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};
