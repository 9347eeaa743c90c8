#pragma once
// The start of a project file written by a newer program, up to its version byte: the reader
// refuses it there. Header only, for the test folders of the project model, its automation and its
// windows.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/archive/Archive.h"

inline std::vector<uint8_t> NewerProjectFile()
{
    std::vector<uint8_t> bytes;
    CArchive ar(&bytes, CArchive::store);
    for (const char* line : {"header", "program", "time", "version", "product"})
        ar << std::string(line);
    ar << std::string("PID:0f1e2d3c-4b5a-6978-8796-a5b4c3d2e1f0") << static_cast<uint8_t>(9);
    ar.Close();
    return bytes;
}

// The text the reader reports for it.
inline constexpr const char* kNewerProjectFileText =
    "This project file was written by a newer version of the program and cannot be read.";
