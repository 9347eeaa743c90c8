// The plan workbook import under libFuzzer: any workbook ends in an import or one message, a
// refused workbook leaves the project as it was, and an accepted one never gives the project a
// channel count the project reader refuses or a plan without its rows.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include "fuzz/MemoryPlanOwner.h"
#include "common/ProjectLookups.h"
#include "fuzz/FuzzFile.h"
#include "fuzz/FuzzWorkbook.h"
#include "fuzz/QuietPrompts.h"
#include "planning/ExpPlanIO.h"
#include "platform/base/Feedback.h"
#include "planning/ExpPlanOwner.h"
#include "planning/QMXBlixList.h"
#include "planning/QMXSensorMapList.h"
#include "planning/SensorAssignment.h"

namespace {
using CFuzzOwner = CMemoryPlanOwner;

// Counts the messages the import reports, as the window it runs under would show them.
class CCountingFeedback : public CFeedback
{
public:
    int Take()
    {
        const int n = m_count;
        m_count = 0;
        return n;
    }

protected:
    void OnReport(const SReport&) override { ++m_count; }

private:
    int m_count = 0;
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static CQuietPrompts prompts;
    SetPromptService(&prompts);
    const std::string book =
        fuzzworkbook::Build(std::string_view(reinterpret_cast<const char*>(data), size), CExpPlanIO::kUnitSheet);
    const CFuzzFile file(reinterpret_cast<const uint8_t*>(book.data()), book.size(), "planxlsx_fuzz");

    CFuzzOwner owner;
    owner.assignment.AddRow("Door", {"A1"});
    owner.assignment.AddRow("Roof", {});
    owner.groups.Add(std::make_unique<CQMXBlixList>(1));
    owner.plans.SetUnitGroups(owner.groups.Pointers());
    owner.plans.AddPlan(1, "Mine");
    CExpPlanIO io(&owner);
    static CCountingFeedback reports;
    io.SetFeedback(&reports);
    const int result = io.ImportFromExcel(file.Path());
    const int messages = prompts.Take() + reports.Take();
    if (result != 1) {
        // Refused: one message, and the project as it was.
        if (messages != 1 || owner.channels != 16 || owner.plans.GetPlanCount() != 1 ||
            owner.plans.GetPlan(0)->GetName() != "Mine" || owner.groups.GetSize() != 1 ||
            owner.assignment.GetRowCount() != 2)
            std::abort();
        return 0;
    }
    if (owner.channels < 1 || !IsValidSystemChannelCount(owner.channels))
        std::abort();
    for (int p = 0; p < owner.plans.GetPlanCount(); ++p) {
        const CQMXSensorMap* plan = owner.plans.GetPlan(p);
        if (plan->GetName().empty() || plan->GetRowCount() < 0)
            std::abort();
        for (int q = 0; q < p; ++q)
            if (owner.plans.GetPlan(q)->GetName() == plan->GetName())
                std::abort();
    }
    return 0;
}
