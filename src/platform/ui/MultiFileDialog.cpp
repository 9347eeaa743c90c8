#include "platform/ui/MultiFileDialog.h"

CMultiFileDialog::CMultiFileDialog(const FileChooserOptions& options) : m_options(options)
{
    m_options.allowMultiple = true;
}

int CMultiFileDialog::DoModal()
{
    m_paths.clear();
    m_options.allowMultiple = true;
    std::vector<std::string> chosen;
    if (!PromptOpenFiles(m_options, chosen))
        return IDCANCEL;
    m_paths.reserve(chosen.size());
    for (const std::string& p : chosen)
        m_paths.push_back(FixRootSeparator(p));
    return IDOK;
}

std::string CMultiFileDialog::FixRootSeparator(const std::string& path)
{
    auto isSep = [](char c) { return c == '/' || c == '\\'; };
    // A drive root: "C:" followed by two separators.
    if (path.size() >= 5 && path[1] == ':' && isSep(path[2]) && isSep(path[3]))
        return path.substr(0, 3) + path.substr(4);
    // The file system's root: two separators and a name (not a network path "//host/share").
    if (path.size() >= 3 && path[0] == '/' && path[1] == '/' && path.find('/', 2) == std::string::npos)
        return path.substr(1);
    return path;
}
