#include "app/automation/AutoExpData.h"

#include "app/automation/ObjectModel.h"
#include "experiments/ExpData.h"
#include "platform/archive/Archive.h"
#include "platform/elements/StdioFile.h"

CAutoExpData::CAutoExpData(CExpData* data) : CAutoObject(data), m_data(data) {}

const CDispatchTable& CAutoExpData::GetDispatchTable() const
{
    static const CDispatchTable table(nullptr,
                                      {
                                          // The second argument is taken and not used: the dump has one form.
                                          {"ExportDAQRawData",
                                           DispKind::Method,
                                           AutoType::Bool,
                                           {{AutoType::String, "path"}, {AutoType::Bool, "flag"}},
                                           AUTO_MEMBER(CAutoExpData,
                                                       {
                                                           CStdioFile file;
                                                           const std::string path = args.String(0);
                                                           if (path.empty() || !file.Open(path, CStdioFile::modeWrite))
                                                               return CAutoValue::Bool(false);
                                                           try {
                                                               self.m_data->WriteDump(file, std::string());
                                                               file.Close();
                                                               return CAutoValue::Bool(true);
                                                           } catch (const CFileException&) {
                                                               file.Abort();
                                                               return CAutoValue::Bool(false);
                                                           }
                                                       })},
                                      });
    return table;
}
