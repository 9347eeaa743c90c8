#pragma once
// The open-file chooser for several files at once. The chosen paths are kept in a list, with no
// limit on how many or how long they are. A path that comes back with a doubled separator
// straight after its root (a file picked in the root folder: "//data.txt", "C:\\\\data.txt")
// loses one of the two.
#include "platform/win/PromptService.h"

#include <string>
#include <vector>

class CMultiFileDialog
{
public:
    explicit CMultiFileDialog(const FileChooserOptions& options = {});

    FileChooserOptions& Options() { return m_options; }
    // IDOK with the list filled, or IDCANCEL with the list empty.
    int DoModal();
    const std::vector<std::string>& GetPaths() const { return m_paths; }

    static std::string FixRootSeparator(const std::string& path);

private:
    FileChooserOptions m_options;
    std::vector<std::string> m_paths;
};
