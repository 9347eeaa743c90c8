#pragma once
// Shared helpers of the element tests: a tree of mixed element kinds, byte images of trees and a
// temporary folder.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/archive/Archive.h"
#include "platform/elements/MElement.h"

namespace elements_test {
// Root folder holding: a model data element (band set, table, connections, eta matrix, modal
// density, CLF function), a plain function with a unit, a nested folder with a DLF function, and
// an RPM selection with two vector-function entries.
std::unique_ptr<CMElement> MakeMixedTree();

// The archive image of an element stored as an object record, through an archive with the given
// feedback.
std::vector<uint8_t> Store(const CMElement& element, CFeedback* feedback = nullptr);
// Reads an element back from an image.
std::unique_ptr<CMElement> Load(const std::vector<uint8_t>& bytes);

class TempDir
{
public:
    TempDir();
    ~TempDir();
    std::string File(const std::string& name) const { return (m_path / name).string(); }

private:
    std::filesystem::path m_path;
};
} // namespace elements_test
