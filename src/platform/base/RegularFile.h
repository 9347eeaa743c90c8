#pragma once
// Opening a user's file for reading. A path may name a FIFO, a device or a folder: opening a FIFO
// waits until some other program writes to it, and a device never ends. Every reader of a user's
// file opens it through here: the file is opened without waiting, checked to be a regular file,
// and only then read.
#include <cstdio>
#include <string>

// A read-only descriptor of the regular file at path (the caller closes it); -1 with why (the
// system's reason, or what the path names instead of a file).
int OpenRegularFileDescriptor(const std::string& path, std::string* why = nullptr);
// The same as a C stream opened "rb"; null with why.
std::FILE* OpenRegularFile(const std::string& path, std::string* why = nullptr);
// Whether path names a regular file (through links); false with why.
bool IsRegularFile(const std::string& path, std::string* why = nullptr);
