#include "app/automation/AutoExcitation.h"

#include "app/automation/ObjectModel.h"
#include "experiments/Excitation.h"
#include "experiments/ExpData.h"
#include "experiments/ExpDataSet.h"
#include "platform/archive/Archive.h"
#include "platform/base/Format.h"
#include "platform/elements/StdioFile.h"

#include <vector>

CAutoExcitation::CAutoExcitation(CExcitation* excitation) : CAutoObject(excitation), m_excitation(excitation) {}

bool CAutoExcitation::ExportDAQRawData(const CExcitation& excitation, int point, const std::string& path)
{
    // Every data set is checked before anything is written.
    std::vector<const CExpData*> records;
    for (int i = 0; i < excitation.GetChildCount(); ++i) {
        auto* set = ElementCast<CExpDataSet>(excitation.GetChild(i));
        if (!set)
            continue;
        const CExpData* record = set->FindByLocalPoint(point);
        if (!record)
            ThrowIndexOutOfRange(1);
        records.push_back(record);
    }
    CStdioFile file;
    if (path.empty() || !file.Open(path, CStdioFile::modeWrite))
        return false;
    try {
        file.WriteString(Format("[%s - LP#%1d]\n", excitation.GetSubsystemName().c_str(), point + 1));
        int n = 0;
        for (size_t k = 0; k < records.size(); ++k) {
            if (k == 0)
                file.WriteString(
                    Format("Sampling Freq.\t%e\n", static_cast<double>(records[k]->GetSamplingFrequency())));
            for (float v : records[k]->GetSamples())
                file.WriteString(Format("%d\t%e\n", n++, static_cast<double>(v)));
        }
        file.Close();
        return true;
    } catch (const CFileException&) {
        file.Abort();
        return false;
    }
}

const CDispatchTable& CAutoExcitation::GetDispatchTable() const
{
    using W = CAutoExcitation;
    static const CDispatchTable table(
        nullptr, {
                     {"SubsystemIndex",
                      DispKind::Property,
                      AutoType::Long,
                      {},
                      AUTO_MEMBER(W, return CAutoValue::Long(self.Excitation().GetIndex());)},
                     {"SubsystemName",
                      DispKind::Property,
                      AutoType::String,
                      {},
                      AUTO_MEMBER(W, return CAutoValue::String(self.Excitation().GetSubsystemName());)},
                     {"ExpDataSetCount",
                      DispKind::Property,
                      AutoType::Long,
                      {},
                      AUTO_MEMBER(W, return CAutoValue::Long(self.Excitation().GetChildCount());)},
                     {"ExpDataSet",
                      DispKind::Property,
                      AutoType::Object,
                      {{AutoType::Long, "index"}},
                      AUTO_MEMBER(W,
                                  {
                                      const int32_t i = args.Long(0);
                                      if (i < 0 || i >= self.Excitation().GetChildCount())
                                          ThrowIndexOutOfRange(1);
                                      return CAutoValue::Object(ExposeElement(self.Excitation().GetChild(i)));
                                  })},
                     {"ExportDAQRawData",
                      DispKind::Method,
                      AutoType::Bool,
                      {{AutoType::Long, "point"}, {AutoType::String, "path"}},
                      AUTO_MEMBER(W, return CAutoValue::Bool(
                                         ExportDAQRawData(self.Excitation(), args.Long(0), args.String(1)));)},
                 });
    return table;
}
