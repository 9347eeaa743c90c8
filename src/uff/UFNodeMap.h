#pragma once
// The table between universal-file node numbers and (subsystem, local point) pairs. Each node
// number stands for one pair; the import fills it, the node table "UFNodeTable.txt" and the
// clipboard carry it as text: one line per subsystem, its name and then its node numbers by local
// point (the first number is local point 0, an empty field a local point without a node).
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/archive/Archive.h"

class CUFLineReader;

struct CUFNode
{
    CUFNode() = default;
    CUFNode(int node, std::string subsystem, int lp) : m_nNode(node), m_strSSName(std::move(subsystem)), m_nLP(lp) {}
    CUFNode(std::string subsystem, int lp) : m_strSSName(std::move(subsystem)), m_nLP(lp) {}

    int32_t m_nNode = 0; // 0: no node assigned
    std::string m_strSSName;
    int32_t m_nLP = -1; // 0-based; -1 unset

    bool operator==(const CUFNode&) const = default;
};

class CUFNodeMap : public CObject
{
    DECLARE_SERIAL(CUFNodeMap)

public:
    static constexpr uint8_t kVersion = 1;
    static constexpr const char* kTableFileName = "UFNodeTable.txt";

    int GetCount() const { return static_cast<int>(m_nodes.size()); }
    void SetAt(const CUFNode& node) { m_nodes[node.m_nNode] = node; }
    const std::map<int32_t, CUFNode>& Nodes() const { return m_nodes; }
    void RemoveAll() { m_nodes.clear(); }

    // Looks up the node of node's subsystem (byte-wise) and local point: found, node receives the
    // entry and 1 is returned; otherwise node's number becomes 0 and 0 is returned.
    int FindNode(CUFNode& node) const;
    // Stores node under the lowest free number from 1 and gives it that number.
    void AddNewNode(CUFNode& node);
    // The nodes of a subsystem (sorted by local point when sort is set); returns their number.
    int GetNodesOfSubsystem(const std::string& subsystem, std::vector<CUFNode>& nodes, int sort) const;
    // Appends each subsystem name of the map that names does not hold yet, in node order.
    void GetSubsystemNames(std::vector<std::string>& names) const;

    // The node table: "#@" title, "# " path, "#", then the body. File errors throw CFileException.
    void WriteTextFile(const std::string& path, const std::string& title) const;
    void ReadTextFile(const std::string& path, std::string& title);
    // The body alone (also the clipboard form).
    std::string WriteText() const;
    // Replaces the map by the lines of a body.
    void ReadText(CUFLineReader& file);
    void ReadText(const std::string& text);
    bool CopyToClipboard() const;
    // False when the clipboard holds no text (the map is then unchanged).
    bool PasteFromClipboard();

    void Serialize(CArchive& ar) override;

private:
    // One body line: subsystem name, then node numbers by local point.
    void ReadLine(std::string_view line);
    void ReadBody(CUFLineReader& file);

    std::map<int32_t, CUFNode> m_nodes; // keyed by node number
};
