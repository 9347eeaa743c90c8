// The one-plan text import under libFuzzer: any clipboard text sets or clears channels of the plan
// and nothing else, and the plan writes out again.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "planning/ExpPlanIO.h"
#include "planning/ExpPlanOwner.h"
#include "planning/QMXBlixList.h"
#include "planning/QMXSensorMapList.h"
#include "planning/SensorAssignment.h"
#include "platform/elements/StdioFile.h"

namespace {
class CFuzzOwner : public IExpPlanOwner
{
public:
    int GetSystemChannelCount() const override { return 256; }
    int SetMaxChannel(int) override { return 1; }
    CQMXBlixListArray& GetBlixLists() override { return m_groups; }
    CQMXSensorMapList* GetSensorMapList() const override { return nullptr; }
    CSensorAssignment* GetSensorAssignment() const override { return nullptr; }

private:
    CQMXBlixListArray m_groups;
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static CFuzzOwner owner;
    static CExpPlanIO io(&owner);
    io.SetFeedback(nullptr);
    CQMXSensorMap plan;
    CStdioFile in;
    in.OpenMemory(CStdioFile::modeRead, std::string(reinterpret_cast<const char*>(data), size));
    try {
        io.ImportPlanText(in, plan);
    } catch (const std::exception&) {
        return 0; // a line past the reader's bound
    }
    if (plan.GetRowCount() != CQMXBlixList::kRowCount)
        std::abort();
    for (int i = 0; i < plan.GetRowCount(); ++i) {
        tagSENSORMAP row;
        plan.GetRow(i, row);
        if (row.sensor.empty() != row.subsystem.empty())
            std::abort();
    }
    CStdioFile out;
    out.OpenMemory(CStdioFile::modeWrite);
    io.ExportPlanText(out, plan);
    return 0;
}
