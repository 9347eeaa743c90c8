#include "uff/UFNodeMap.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/base/AtomicFile.h"
#include "platform/base/Format.h"
#include "platform/win/Clipboard.h"
#include "uff/UFLineReader.h"
#include "uff/UFScan.h"

IMPLEMENT_SERIAL(CUFNodeMap, CObject, 1 | VERSIONABLE_SCHEMA)

namespace {
// Local points beyond this are not a table a person keeps; their gaps would make huge lines.
constexpr int32_t kMaxTableLP = 1 << 20;
} // namespace

int CUFNodeMap::FindNode(CUFNode& node) const
{
    for (const auto& [key, entry] : m_nodes)
        if (entry.m_nLP == node.m_nLP && entry.m_strSSName == node.m_strSSName) {
            node = entry;
            return 1;
        }
    node.m_nNode = 0;
    return 0;
}

void CUFNodeMap::AddNewNode(CUFNode& node)
{
    int32_t k = 1;
    for (const auto& entry : m_nodes) {
        if (entry.first < k)
            continue;
        if (entry.first != k)
            break;
        ++k;
    }
    node.m_nNode = k;
    m_nodes[k] = node;
}

int CUFNodeMap::GetNodesOfSubsystem(const std::string& subsystem, std::vector<CUFNode>& nodes, int sort) const
{
    nodes.clear();
    for (const auto& [key, entry] : m_nodes)
        if (entry.m_strSSName == subsystem)
            nodes.push_back(entry);
    if (sort)
        std::stable_sort(nodes.begin(), nodes.end(),
                         [](const CUFNode& a, const CUFNode& b) { return a.m_nLP < b.m_nLP; });
    return static_cast<int>(nodes.size());
}

void CUFNodeMap::GetSubsystemNames(std::vector<std::string>& names) const
{
    for (const auto& [key, entry] : m_nodes)
        if (std::find(names.begin(), names.end(), entry.m_strSSName) == names.end())
            names.push_back(entry.m_strSSName);
}

std::string CUFNodeMap::WriteText() const
{
    std::vector<std::string> names;
    GetSubsystemNames(names);
    std::string text;
    std::vector<CUFNode> nodes;
    for (const auto& name : names) {
        GetNodesOfSubsystem(name, nodes, 1);
        std::string line = name;
        int32_t next = 0; // the local point of the next field
        bool any = false;
        for (const auto& node : nodes) {
            // A node without a local point has no field; a second node of one point loses to the
            // first.
            if (node.m_nLP < next || node.m_nLP > kMaxTableLP)
                continue;
            // Local points without a node keep their place as empty fields.
            line.append(static_cast<size_t>(node.m_nLP - next), '\t');
            line += Format("\t%d", node.m_nNode);
            next = node.m_nLP + 1;
            any = true;
        }
        if (any)
            text += line + '\n';
    }
    return text;
}

void CUFNodeMap::WriteTextFile(const std::string& path, const std::string& title) const
{
    const std::string text = Format("#@%s\n# %s\n#\n", title.c_str(), path.c_str()) + WriteText();
    std::string error;
    if (!CAtomicFile::WriteFile(path, text, &error))
        throw CFileException(error.empty() ? "Cannot write " + path : error);
}

void CUFNodeMap::ReadLine(std::string_view line)
{
    const size_t tab = line.find('\t');
    if (tab == std::string_view::npos)
        return; // a name alone, or an empty line
    const std::string name(line.substr(0, tab));
    size_t pos = tab + 1;
    for (int32_t lp = 0;; ++lp) {
        const size_t end = std::min(line.find('\t', pos), line.size());
        const int32_t node = uf::Atoi(line.substr(pos, end - pos));
        // An empty field is a local point without a node; so is a field that is no node number.
        if (node > 0)
            m_nodes[node] = CUFNode(node, name, lp);
        if (end >= line.size())
            break;
        pos = end + 1;
    }
}

void CUFNodeMap::ReadBody(CUFLineReader& file)
{
    std::string_view line;
    while (file.ReadLine(line))
        ReadLine(line);
    if (file.LineTooLong())
        throw CFileException("Cannot read the node table " + file.GetFilePath());
}

void CUFNodeMap::ReadText(CUFLineReader& file)
{
    m_nodes.clear();
    ReadBody(file);
}

void CUFNodeMap::ReadText(const std::string& text)
{
    CUFLineReader reader;
    reader.OpenMemory(text);
    ReadText(reader);
}

void CUFNodeMap::ReadTextFile(const std::string& path, std::string& title)
{
    CUFLineReader file;
    if (!file.Open(path))
        throw CFileException(Format("Cannot open %s: %s", path.c_str(), file.GetOpenError().c_str()));
    m_nodes.clear();
    std::string_view first;
    if (!file.ReadLine(first))
        return;
    if (first.substr(0, 2) == "#@") {
        title.assign(first.substr(2));
        std::string_view skipped;
        if (file.ReadLine(skipped))
            file.ReadLine(skipped);
    } else if (first.empty() || first[0] != '#') {
        ReadLine(first); // a table without its header: the first line is a row
    }
    ReadBody(file);
}

bool CUFNodeMap::CopyToClipboard() const
{
    return SetClipboardText(WriteText());
}

bool CUFNodeMap::PasteFromClipboard()
{
    std::string text;
    if (!GetClipboardText(text))
        return false;
    ReadText(text);
    return true;
}

void CUFNodeMap::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << kVersion << static_cast<int32_t>(m_nodes.size());
        for (const auto& [key, node] : m_nodes)
            ar << kVersion << node.m_nNode << node.m_strSSName << node.m_nLP;
        return;
    }
    uint8_t version = 0;
    ar >> version;
    if (version > kVersion)
        CArchive::ThrowBadSchema(Format("node map of version %d", version));
    const int32_t count = ar.ReadSignedCount(10, "nodes in a node map");
    m_nodes.clear();
    for (int32_t i = 0; i < count; ++i) {
        uint8_t nodeVersion = 0;
        CUFNode node;
        ar >> nodeVersion;
        if (nodeVersion > kVersion)
            CArchive::ThrowBadSchema(Format("node of version %d", nodeVersion));
        ar >> node.m_nNode >> node.m_strSSName >> node.m_nLP;
        m_nodes[node.m_nNode] = node;
    }
}
