#pragma once
// The table between universal-file node numbers and (subsystem, local point) pairs.
#include <cstdint>
#include <map>
#include <string>

#include "platform/archive/Archive.h"

struct CUFNode
{
    CUFNode() = default;
    CUFNode(int node, std::string subsystem, int lp) : m_nNode(node), m_strSSName(std::move(subsystem)), m_nLP(lp) {}

    int32_t m_nNode = 0;
    std::string m_strSSName;
    int32_t m_nLP = -1;

    bool operator==(const CUFNode&) const = default;
};

class CUFNodeMap : public CObject
{
    DECLARE_SERIAL(CUFNodeMap)

public:
    static constexpr uint8_t kVersion = 1;

    int GetCount() const { return static_cast<int>(m_nodes.size()); }
    void SetAt(const CUFNode& node) { m_nodes[node.m_nNode] = node; }
    const std::map<int32_t, CUFNode>& Nodes() const { return m_nodes; }
    void RemoveAll() { m_nodes.clear(); }

    void Serialize(CArchive& ar) override;

private:
    std::map<int32_t, CUFNode> m_nodes; // keyed by node number
};
