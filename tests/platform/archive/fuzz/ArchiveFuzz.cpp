// libFuzzer target: any byte string read as an archive of element-like objects must end in a
// clean exception or a result, never a crash, a leak, a use of a freed object or a huge
// allocation.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/archive/Archive.h"
#include "platform/archive/Collections.h"

namespace {

class CFuzzNode : public CObject
{
    DECLARE_SERIAL(CFuzzNode)
public:
    std::string name;
    std::vector<double> values;
    std::vector<std::string> labels;
    std::vector<std::unique_ptr<CFuzzNode>> children;
    std::unique_ptr<CObject> owned;
    std::vector<std::unique_ptr<CFuzzNode>> kept; // new objects that came through plain ReadObject
    bool reading = false;
    bool claimed = false;

    void Serialize(CArchive& ar) override
    {
        if (ar.IsStoring())
            return;
        reading = true;
        (void)ar.GetObjectSchema();
        ar >> name;
        SerializeValues(ar, values);
        SerializeStrings(ar, labels);
        SerializeObjects(ar, children);
        uint8_t flags = 0;
        ar >> flags;
        if (flags & 1)
            owned = ar.ReadOwned<CObject>();
        if (flags & 2) {
            // A plain read may give an object read before (owned elsewhere, or an ancestor still
            // being read): it is only looked at. A new object is taken over.
            CObject* obj = ar.ReadObject(RUNTIME_CLASS(CFuzzNode));
            if (auto* node = static_cast<CFuzzNode*>(obj)) {
                volatile size_t touch = node->name.size() + node->children.size();
                (void)touch;
                if (!node->claimed && !node->reading) {
                    node->claimed = true;
                    kept.emplace_back(node);
                }
            }
        }
        if (flags & 4) {
            // A reader that survives a broken child and reads on.
            try {
                auto child = ar.ReadOwned<CFuzzNode>();
                if (child)
                    child->claimed = true;
                children.push_back(std::move(child));
            } catch (const CArchiveException&) {
            }
        }
        for (auto& c : children)
            if (c)
                c->claimed = true;
        reading = false;
    }
};
IMPLEMENT_SERIAL(CFuzzNode, CObject, 1 | VERSIONABLE_SCHEMA)

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    try {
        CArchive ar(data, size);
        // Both decoders of 8-bit strings see the inputs.
        ar.SetCodePage(size & 1 ? LegacyCodePage::CP932 : LegacyCodePage::Windows1252);
        auto root = ar.ReadOwned<CFuzzNode>();
        std::string line;
        while (ar.ReadLine(line)) {
        }
    } catch (const CArchiveException&) {
    }
    return 0;
}
