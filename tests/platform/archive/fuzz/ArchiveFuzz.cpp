// libFuzzer target: any byte string read as an archive of element-like objects must end in a
// clean exception or a result, never a crash, a leak or a huge allocation.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/archive/Archive.h"

namespace {

class CFuzzNode : public CObject
{
    DECLARE_SERIAL(CFuzzNode)
public:
    std::string name;
    std::vector<double> values;
    std::vector<std::string> labels;
    std::vector<std::unique_ptr<CFuzzNode>> children;

    void Serialize(CArchive& ar) override
    {
        if (ar.IsStoring())
            return;
        (void)ar.GetObjectSchema();
        ar >> name;
        uint32_t n = ar.ReadCount(sizeof(double));
        values.resize(n);
        if (n)
            ar.Read(values.data(), n * sizeof(double));
        n = ar.ReadCount(1);
        for (uint32_t i = 0; i < n; ++i) {
            std::string s;
            ar >> s;
            labels.push_back(std::move(s));
        }
        n = ar.ReadCount(2);
        for (uint32_t i = 0; i < n; ++i)
            children.push_back(ar.ReadOwned<CFuzzNode>());
        uint8_t hasShared = 0;
        ar >> hasShared;
        if (hasShared & 1)
            owned = ar.ReadOwned<CObject>();

    }
    std::unique_ptr<CObject> owned;
};
IMPLEMENT_SERIAL(CFuzzNode, CObject, 1 | VERSIONABLE_SCHEMA)

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    try {
        CArchive ar(data, size);
        auto root = ar.ReadOwned<CFuzzNode>();
        std::string line;
        while (ar.ReadLine(line)) {
        }
    } catch (const CArchiveException&) {
    }
    return 0;
}
