#pragma once
// Settings of the app tests go to a temporary folder; the English strings are loaded.
#include <filesystem>
#include <string>

std::filesystem::path AppTestTempDir();
