#include "app/InputPowerExport.h"

#include <cctype>
#include <cstdlib>
#include <ctime>
#include <exception>
#include <filesystem>

#include "app/AnalysisProject.h"
#include "app/VerRes.h"
#include "app/ZuText2Excel.h"
#include "calculation/InputEnergyFolder.h"
#include "calculation/InputPowerFolder.h"
#include "platform/archive/Archive.h"
#include "platform/base/Format.h"
#include "platform/elements/StdioFile.h"
#include "platform/excel/ExcelWrapper.h"
#include "platform/win/WaitCursor.h"

namespace {
bool EndsWithNoCase(const std::string& text, const std::string& tail)
{
    if (text.size() < tail.size())
        return false;
    for (size_t i = 0; i < tail.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[text.size() - tail.size() + i])) != tail[i])
            return false;
    return true;
}

std::string LocalTimeText()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[64];
    std::strftime(text, sizeof text, "%m/%d/%Y %H:%M", &local);
    return text;
}
} // namespace

CInputPowerExport::CInputPowerExport(CAnalysisProject* project) : m_project(project) {}

std::vector<std::string> CInputPowerExport::KeyTexts(CAnalysisProject& project)
{
    std::vector<std::string> keys;
    if (project.GetProjectType() == CAnalysisProject::typeOrder) {
        const COrderList& orders = project.GetOrderList();
        for (int i = 0; i < orders.GetSize(); ++i)
            keys.push_back(Format("%g", orders.GetAt(i)));
        return keys;
    }
    const CRPMOptions& rpm = project.GetRPMOptions();
    if (rpm.GetMode() == CRPMOptions::modeList) {
        for (float r : *rpm.GetRpmList())
            keys.push_back(Format("%g", static_cast<double>(r)));
        return keys;
    }
    const double min = rpm.GetRpmMin(), max = rpm.GetRpmMax(), step = rpm.GetRpmStep();
    if (!(min > 0.0 && max > 0.0 && step > 0.0))
        return keys;
    for (int i = 0; min + i * step <= max && i < CRPMOptions::kMaxRpmCount; ++i)
        keys.push_back(Format("%g", min + i * step));
    return keys;
}

std::string CInputPowerExport::DefaultFileName(int projectType, int kind, const std::string& name,
                                               const std::string& key)
{
    static const char* const prefixes[] = {"IP", "IE", "IPV"};
    if (kind < 0 || kind > 2)
        return std::string();
    const char* format = projectType == CAnalysisProject::typeOrder ? "%s_%s-OT%s" : "%s_%s-%sRPM";
    return Format(format, prefixes[kind], name.c_str(), key.c_str());
}

bool CInputPowerExport::HasDataOf(int kind) const
{
    if (!m_project)
        return false;
    if (kind == kindInputPower)
        return m_project->GetInputPowerFolder() != nullptr;
    if (kind == kindInputEnergy || kind == kindInputPowerValue)
        return m_project->GetInputEnergyFolder() != nullptr;
    return false;
}

int CInputPowerExport::Export(const std::string& path, int kind, const std::string& keyText, CFeedback* feedback)
{
    if (CExcelWrapper::IsExcelFile(path)) {
        if (!EndsWithNoCase(path, ".xlsx")) {
            feedback->Warning("Binary .xls workbooks are not supported; choose a file name ending in .xlsx.");
            return resultRefused;
        }
        return ExportExcel(path, kind, keyText, feedback);
    }
    return ExportText(path, kind, keyText, feedback);
}

int CInputPowerExport::ExportText(const std::string& path, int kind, const std::string& keyText, CFeedback* feedback)
{
    // Every choice is checked before the file is opened, so a wrong one leaves it untouched.
    if (path.empty() || keyText.empty() || !HasDataOf(kind))
        return resultFailed;
    char* end = nullptr;
    const double key = std::strtod(keyText.c_str(), &end);
    if (end == keyText.c_str())
        return resultFailed;
    const bool byOrder = m_project->GetProjectType() == CAnalysisProject::typeOrder;

    CStdioFile file;
    if (!file.Open(path, CStdioFile::modeWrite))
        return resultFailed;
    int ok = 0;
    try {
        file.WriteString(Format("#@%s %s [Input Power Data]\n# %s\n#\n", LocalTimeText().c_str(),
                                GetAppVersionText().c_str(), path.c_str()));
        file.WriteString("#Input Power Data\n");
        if (kind == kindInputPower) {
            CInputPowerFolder* folder = m_project->GetInputPowerFolder();
            ok = byOrder ? folder->ExportText(file, key, m_bandListType, m_bandWidth, feedback)
                         : folder->ExportText(file, key, 2, 50.0);
        } else {
            CInputEnergyFolder* folder = m_project->GetInputEnergyFolder();
            const int asLevels = kind == kindInputPowerValue ? 1 : 0;
            if (byOrder)
                ok = folder->ExportText(file, key, m_bandListType, m_bandWidth, asLevels, feedback);
            else
                ok = folder->ExportText(file, key, -1, asLevels ? 0.0 : 50.0, asLevels);
        }
        if (!ok) {
            file.Abort();
            return resultFailed;
        }
        file.Close();
    } catch (const CFileException&) {
        file.Abort();
        return resultFailed;
    }
    return resultDone;
}

int CInputPowerExport::ExportExcel(const std::string& path, int kind, const std::string& keyText, CFeedback* feedback)
{
    CWaitCursor wait;
    std::filesystem::path text(path);
    if (text.filename().empty())
        return resultFailed;
    text.replace_extension(".txt");
    if (text.string() == path || ExportText(text.string(), kind, keyText, feedback) != resultDone)
        return resultFailed;
    try {
        CZuText2Excel converter(feedback);
        // The converter reports its own error when it fails.
        return converter.Export(path, {text.string()}) ? resultDone : resultRefused;
    } catch (const CUserException&) {
        return resultRefused;
    } catch (const std::exception&) {
        return resultFailed;
    }
}
