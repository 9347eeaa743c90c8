#pragma once
// A deep copy of an element and its subtree through a temporary archive file, for elements that
// are copied across documents the way they are stored.
#include <memory>

class CMElement;

// Writes the element to a temporary file ("tal" prefix, in the temporary folder), reads it back
// as a new element and deletes the file. Null when the element is null or a step fails.
std::unique_ptr<CMElement> CopyElementViaTempFile(const CMElement* element);
