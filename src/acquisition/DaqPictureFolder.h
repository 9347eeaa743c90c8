#pragma once
// The photos of one item (as a rule a subsystem of an experiment) kept as plain files in the
// project's picture folder, named "<item>~<n><ext>" with n counting from 1. Only names of exactly
// that form are listed, copied to or deleted: the item name must be a plain file-name part, so
// nothing outside the picture folder is ever touched.
#include <string>
#include <vector>

class CDaqPictureFolder
{
public:
    // Numbers tried for a new picture before copying gives up.
    static constexpr int kMaxNumber = 100000;

    // workFolder: the project's work folder; the picture folder is it followed by IDS_FOLDER_NAME.
    CDaqPictureFolder(const std::string& workFolder, const std::string& item);

    // False for an empty name, "." or "..", and names holding "/", "\\", "*", "?", ".." or
    // control characters.
    static bool IsValidItemName(const std::string& item);
    // True when the file name is "<item>~<digits><ext>", ext empty or starting with ".".
    static bool IsPictureOf(const std::string& item, const std::string& fileName);

    bool IsValid() const { return m_valid; }
    const std::string& GetItem() const { return m_item; }
    const std::string& GetFolder() const { return m_folder; }
    // The full path of one of the item's picture files; empty when the name is not one of them.
    std::string PathOf(const std::string& fileName) const;

    // Creates the folder when missing and lists the item's pictures in the order the file system
    // gives them; the count found (0 for an invalid item).
    int List(std::vector<std::string>& names) const;
    // Copies a file in under the first free number, never over an existing file; the new name, or
    // empty when the item is invalid or the copy failed.
    std::string AddCopy(const std::string& source) const;
    // Deletes one of the item's pictures; false when the name is not one of them or it failed.
    bool Remove(const std::string& fileName) const;

private:
    std::string m_item;
    std::string m_folder;
    bool m_valid = false;
};
