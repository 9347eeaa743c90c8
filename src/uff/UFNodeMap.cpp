#include "uff/UFNodeMap.h"

#include "platform/base/Format.h"

IMPLEMENT_SERIAL(CUFNodeMap, CObject, 1 | VERSIONABLE_SCHEMA)

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
