#include "app/automation/AutoAnalysisProject.h"

#include "app/AnalysisProject.h"
#include "app/DaqProject.h"
#include "app/VerRes.h"
#include "app/automation/ObjectModel.h"
#include "calculation/InputEnergyFolder.h"
#include "calculation/InputPowerFolder.h"
#include "platform/archive/Archive.h"
#include "platform/base/Format.h"
#include "platform/elements/StdioFile.h"

#include <cmath>
#include <ctime>

namespace {
CInputEnergyFolder* InputEnergyFolder(CAnalysisProject& project)
{
    return project.GetInputEnergyFolder();
}
} // namespace

CAutoAnalysisProject::CAutoAnalysisProject(CAnalysisProject* project) : CAutoBaseProject(project), m_analysis(project)
{}

bool CAutoAnalysisProject::WriteInputPowerData(const std::string& path, const std::function<int(CStdioFile&)>& export_)
{
    CStdioFile file;
    if (path.empty() || !file.Open(path, CStdioFile::modeWrite))
        return false;
    try {
        char stamp[32] = {};
        const std::time_t now = std::time(nullptr);
        std::tm local{};
        localtime_r(&now, &local);
        std::strftime(stamp, sizeof stamp, "%m/%d/%Y %H:%M", &local);
        file.WriteString(Format("#@%s %s [Input Power Data]\n", stamp, GetAppVersionText().c_str()));
        file.WriteString(Format("# %s\n", path.c_str()));
        file.WriteString("#\n");
        file.WriteString("#Input Power Data\n");
        if (!export_(file)) {
            file.Abort();
            return false;
        }
        file.Close();
        return true;
    } catch (const CFileException&) {
        file.Abort();
        return false;
    }
}

const CDispatchTable& CAutoAnalysisProject::GetDispatchTable() const
{
    using W = CAutoAnalysisProject;
    static const CDispatchTable table(
        &BaseTable(),
        {
            {"RPMOption",
             DispKind::Property,
             AutoType::Object,
             {},
             AUTO_MEMBER(
                 W, return CAutoValue::Object(ExposeRpmOptions(&self.Analysis().GetRPMOptions(), &self.Analysis()));)},
            {"ExportInputEnergy",
             DispKind::Method,
             AutoType::Bool,
             {{AutoType::String, "path"}, {AutoType::Real, "rpm"}},
             AUTO_MEMBER(W,
                         {
                             CInputEnergyFolder* folder = InputEnergyFolder(self.Analysis());
                             if (!folder)
                                 return CAutoValue::Bool(false);
                             const double rpm = args.Real(1);
                             return CAutoValue::Bool(WriteInputPowerData(args.String(0), [&](CStdioFile& f) {
                                 return folder->ExportText(f, rpm, -1, 50.0, 0);
                             }));
                         })},
            {"ExportInputPower",
             DispKind::Method,
             AutoType::Bool,
             {{AutoType::String, "path"}, {AutoType::Real, "rpm"}},
             AUTO_MEMBER(W,
                         {
                             CInputPowerFolder* powers = self.Analysis().GetInputPowerFolder();
                             if (!powers)
                                 return CAutoValue::Bool(false);
                             const double rpm = args.Real(1);
                             return CAutoValue::Bool(WriteInputPowerData(
                                 args.String(0), [&](CStdioFile& f) { return powers->ExportText(f, rpm, 2, 50.0); }));
                         })},
            {"DAQProject",
             DispKind::Property,
             AutoType::Object,
             {},
             AUTO_MEMBER(W,
                         {
                             CDaqProject* daq =
                                 self.Analysis().GetDaqProjectID() < 0 ? nullptr : self.Analysis().GetDaqProject();
                             return CAutoValue::Object(ExposeElement(daq));
                         })},
            {"OrderCount",
             DispKind::Property,
             AutoType::Long,
             {},
             AUTO_MEMBER(W, return CAutoValue::Long(self.Analysis().GetOrderList().GetCount());)},
            {"Order",
             DispKind::Property,
             AutoType::Real,
             {{AutoType::Long, "index"}},
             AUTO_MEMBER(W,
                         {
                             const int32_t i = args.Long(0);
                             if (i < 0 || i >= self.Analysis().GetOrderList().GetCount())
                                 ThrowIndexOutOfRange(1);
                             return CAutoValue::Real(self.Analysis().GetOrderList().GetAt(i));
                         })},
            {"ProjectType",
             DispKind::Property,
             AutoType::Long,
             {},
             AUTO_MEMBER(W, return CAutoValue::Long(self.Analysis().GetProjectType());)},
            {"ExportOTInputEnergy",
             DispKind::Method,
             AutoType::Bool,
             {{AutoType::String, "path"}, {AutoType::Real, "a"}, {AutoType::Long, "b"}, {AutoType::Real, "c"}},
             AUTO_MEMBER(W,
                         {
                             CInputEnergyFolder* folder = InputEnergyFolder(self.Analysis());
                             if (!folder)
                                 return CAutoValue::Bool(false);
                             const double a = args.Real(1);
                             const double b = args.Long(2);
                             const int c = static_cast<int>(std::trunc(args.Real(3)));
                             return CAutoValue::Bool(WriteInputPowerData(
                                 args.String(0), [&](CStdioFile& f) { return folder->ExportText(f, a, 0, b, c); }));
                         })},
        });
    return table;
}
