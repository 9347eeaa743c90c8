#include "app/ModelDataText.h"

#include <ctime>
#include <vector>

#include "app/ModelProject.h"
#include "app/TALVOProject.h"
#include "app/VerRes.h"
#include "models/ASEAModelData.h"
#include "models/HSEAGeneralData.h"
#include "models/HSEAModelData.h"
#include "platform/archive/Archive.h"
#include "platform/base/Format.h"
#include "platform/elements/StdioFile.h"
#include "platform/elements/ZuData.h"
#include "platform/elements/ZuStdData.h"
#include "platform/elements/ZuStdDataList.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"
#include "platform/win/WaitCursor.h"

namespace {
// Property of the data that keeps the header text of the file it was read from.
constexpr int kHeaderProperty = 39;

// Reads the open file into new data; null when it is not a model data text file or does not read,
// with the line and, where a reader knows it, the reason in why.
std::unique_ptr<CZuData> ReadText(CStdioFile& file, std::string& header, std::string& why)
{
    auto fail = [&]() -> std::unique_ptr<CZuData> {
        if (!file.GetReadError().empty())
            why = Format("line %d: %s", file.GetReadErrorLine(), file.GetReadError().c_str());
        else
            why = Format("reading stopped at line %d", file.GetLineNumber());
        return nullptr;
    };
    std::string line;
    if (!file.ReadString(line))
        return fail();
    std::string kindLine;
    if (line.compare(0, 2, "#@") == 0) {
        header = line.substr(2);
        for (int i = 0; i < 3; ++i)
            if (!file.ReadString(kindLine))
                return fail();
    } else {
        kindLine = line;
    }
    if (kindLine.empty() || kindLine[0] != '#') {
        file.SetReadError("no model data kind line");
        return fail();
    }
    std::unique_ptr<CZuData> data = CreateModelDataByName(kindLine.substr(1));
    if (!data) {
        file.SetReadError(Format("\"%s\" is no kind of model data", kindLine.substr(1).c_str()));
        return fail();
    }
    if (!data->Import(file))
        return fail();
    return data;
}

// Message 7052 names the file, and the reason when one is known; nothing was read, so it is an
// error.
void ReportUnreadable(const std::string& path, const std::string& why, CFeedback* feedback)
{
    std::string text = FormatString(IDS_MODEL_DATA_FILE_UNREADABLE, path.c_str());
    if (!why.empty())
        text += "\n\n" + why;
    feedback->Error(text, IDS_MODEL_DATA_FILE_UNREADABLE);
}
} // namespace

std::unique_ptr<CZuData> CreateModelDataByName(const std::string& name)
{
    const int kind = CModelProject::GetModelDataKind(name);
    std::unique_ptr<CZuData> data;
    int generalKind = 0;
    switch (kind) {
    case ElementType::AseaModel:
        data = std::make_unique<CASEAModelData>();
        break;
    case ElementType::HseaModel:
        data = std::make_unique<CHSEAModelData>();
        break;
    case ElementType::ClfTotalDlfData:
        generalKind = CHSEAGeneralData::KIND_CLF_DLF_MATRIX;
        break;
    case ElementType::ClfData:
        generalKind = CHSEAGeneralData::KIND_CLF;
        break;
    case ElementType::TotalDlfData:
        generalKind = CHSEAGeneralData::KIND_TOTAL_DLF;
        break;
    case ElementType::IntrinsicDlfData:
        generalKind = CHSEAGeneralData::KIND_INTRINSIC_DLF;
        break;
    case ElementType::InputPowerData:
        generalKind = CHSEAGeneralData::KIND_INPUT_POWER;
        break;
    default:
        return nullptr;
    }
    if (generalKind != 0) {
        auto general = std::make_unique<CHSEAGeneralData>(name, nullptr, kind, -1, 0.0, 0.0);
        general->SetKind(generalKind);
        data = std::move(general);
    }
    data->SetName(name);
    data->SetType(kind);
    return data;
}

CZuData* ReadModelDataText(CModelProject* project, const std::string& path, int archive, CFeedback* feedback)
{
    if (!project)
        return nullptr;
    if (archive) {
        try {
            CArchive ar(path, CArchive::load);
            if (CZuData* data = ReadModelDataArchive(project, ar))
                return data;
        } catch (const std::exception&) {
            // reported below
        }
        ReportUnreadable(path, std::string(), feedback);
        return nullptr;
    }

    std::string why;
    std::shared_ptr<const std::string> text = CStdioFile::ReadAll(path, &why);
    if (!text) {
        ReportUnreadable(path, why, feedback);
        return nullptr;
    }
    return ReadModelDataFromText(project, path, std::move(text), feedback);
}

CZuData* ReadModelDataFromText(CModelProject* project, const std::string& path, std::shared_ptr<const std::string> text,
                               CFeedback* feedback)
{
    if (!project)
        return nullptr;
    std::string header, why;
    std::unique_ptr<CZuData> data;
    try {
        CStdioFile file;
        file.OpenShared(std::move(text), path);
        data = ReadText(file, header, why);
    } catch (const std::exception& e) {
        // File errors, and a file that asks for more memory than there is.
        data.reset();
        why = e.what();
    }
    if (!data) {
        ReportUnreadable(path, why, feedback);
        return nullptr;
    }
    data->SetName(
        FormatString(IDS_SERIAL_NAME, data->GetName().c_str(), static_cast<int>(CZuData::GetCreationCount())));
    CZuData* added = project->AddChild(std::move(data));
    if (!added)
        return nullptr;
    project->GiveSubsystemTable(added);
    if (CZuStdDataList* properties = added->GetZuStdDataList())
        properties->Add(std::make_unique<CZuStdStringData>(kHeaderProperty, header));
    return added;
}

CZuData* ReadModelDataArchive(CModelProject* project, CArchive& ar)
{
    if (!project || !ar.IsLoading())
        return nullptr;
    CWaitCursor wait;
    std::unique_ptr<CZuData> data = ar.ReadOwned<CZuData>();
    if (!data)
        return nullptr;
    data->SetName(project->GetUniqueName(data->GetName()));
    CZuData* added = project->AddChild(std::move(data));
    // In place under the project, the data can ask it which subsystems are coupled.
    project->GiveSubsystemTable(added);
    return added;
}

int ExportHSEAModelText(CTALVOProject& container, const std::string& path, CFeedback* feedback)
{
    CModelProject* project = container.GetModelProject();
    CHSEAModelData* model = project ? project->GetHSEAModelData() : nullptr;
    if (!model)
        return 0;
    CStdioFile file;
    std::string error;
    if (!file.Open(path, CStdioFile::modeWrite, &error)) {
        feedback->Warning(error);
        return 0;
    }
    try {
        const std::time_t now = std::time(nullptr);
        std::tm tm{};
        localtime_r(&now, &tm);
        char when[64];
        std::strftime(when, sizeof when, "%m/%d/%Y %H:%M", &tm);
        file.WriteString(Format("#@%s %s [HSEA]\n# %s\n#\n", when, GetAppVersionText().c_str(), path.c_str()));
        file.WriteString("#Hybrid SEA Model\n");
        if (!model->Export(file)) {
            // Nothing half-written replaces the previous file.
            file.Abort();
            feedback->Error("Faild to export the HSEA model.");
            return 0;
        }
        file.WriteString("\n#Source Subsystems\n");
        const CZuSubsystemTable& sources = container.GetSourceSubsystems();
        for (int i = 0; i < sources.GetCount(); ++i)
            file.WriteString(Format("[Src]\t%s\n", sources[i].c_str()));
        file.Close();
    } catch (const std::exception& e) {
        file.Abort();
        feedback->Warning(e.what());
        return 0;
    }
    return 1;
}
