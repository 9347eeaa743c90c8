#include "acquisition/DAQIO.h"

#include "acquisition/DAQDataSet.h"
#include "common/ModuleInfo.h"
#include "common/ProjectLookups.h"
#include "common/WorkFolder.h"
#include "experiments/CalcOptions.h"
#include "experiments/DaqProjectAccess.h"
#include "experiments/Excitation.h"
#include "experiments/ExpInfo.h"
#include "experiments/ExpProject.h"
#include "experiments/RPMSignalData.h"
#include "platform/archive/Archive.h"
#include "platform/base/Format.h"
#include "platform/elements/MElement.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"
#include "platform/win/WaitCursor.h"

#include <ctime>
#include <filesystem>
#include <map>
#include <set>

#include <sys/stat.h>

namespace {

constexpr const char* kFileNameCharacters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz1234567890-_";

std::string FormatOr(uint32_t id, const char* fallback, const std::string& arg)
{
    std::string pattern;
    if (!LoadString(id, pattern))
        pattern = fallback;
    return Format(pattern.c_str(), arg.c_str());
}

std::string InfoName(CMElement* dataSet, int i)
{
    IDaqExperimentData* data = AsDaqExperimentData(dataSet);
    const CExpInfo* info = data ? data->GetExpInfo() : nullptr;
    return info ? info->GetName(i) : std::string();
}

bool SameDataSet(CMElement* a, CMElement* b)
{
    IDAQDataSet* da = AsDAQDataSet(a);
    IDAQDataSet* db = AsDAQDataSet(b);
    return da && db && InfoName(a, 0) == InfoName(b, 0) && InfoName(a, 1) == InfoName(b, 1) &&
           da->GetDescription() == db->GetDescription();
}
} // namespace

CDAQIO::CDAQIO(CMElement* dataSet)
{
    if (dataSet)
        m_dataSets.Add(dataSet);
}

CDAQIO::CDAQIO(const CMElementList& dataSets)
{
    m_dataSets.Append(dataSets);
}

CDAQIO::~CDAQIO() = default;

std::string CDAQIO::GetDaqFileName(CMElement* dataSet)
{
    IDAQDataSet* set = AsDAQDataSet(dataSet);
    if (!set)
        return std::string();
    const std::string raw = Format("%s_%02d%02d_%s-%s", set->GetDescription().c_str(), set->GetDaqProjectID(),
                                   set->GetSerial(), InfoName(dataSet, 0).c_str(), InfoName(dataSet, 1).c_str());
    std::string name;
    for (char c : raw) {
        if (c != '\0' && std::string_view(kFileNameCharacters).find(c) != std::string_view::npos)
            name += c;
    }
    return name.empty() ? std::string() : Format("%s.daq", name.c_str());
}

std::string CDAQIO::GetDaqFilePath(CMElement* dataSet)
{
    const std::string name = GetDaqFileName(dataSet);
    const std::string folder = GetWorkFolderPath(IProjectLookups::FindOwner(dataSet));
    if (name.empty() || folder.empty())
        return std::string();
    return Format("%s/%s", folder.c_str(), name.c_str());
}

std::vector<std::string> CDAQIO::MakeHeaderStrings()
{
    CModuleInfo module;
    std::string first = FormatOr(IDS_PROGRAM_FILE, "EXENAME:%s", module.GetFileName());
    // Readers find a measurement file by this tag, whatever the language module says.
    if (first.find(kExeNameTag) == std::string::npos)
        first = std::string(kExeNameTag) + module.GetFileName();
    std::string time;
    const std::time_t t = module.GetFileTime();
    std::tm tm{};
    if (localtime_r(&t, &tm)) {
        char text[64];
        if (std::strftime(text, sizeof(text), "%m/%d/%Y(%H:%M:%S)", &tm) > 0)
            time = text;
    }
    return {first, FormatOr(IDS_FILE_TIME, "File Time: %s", time),
            FormatOr(IDS_FILE_VERSION, "File Version: %s", module.GetFileVersionText()),
            FormatOr(IDS_PRODUCT_VERSION, "Product Version: %s", module.GetProductVersionText())};
}

int CDAQIO::SaveAll(CExpProject* base)
{
    m_errors.clear();
    if (!base)
        return 0;
    // Stored projects find their files by name, so two data sets of one save must not share one.
    std::map<std::string, CMElement*> files;
    for (CMElement* set : m_dataSets) {
        const std::string path = GetDaqFilePath(set);
        if (path.empty())
            continue;
        auto [it, added] = files.emplace(path, set);
        if (!added && it->second != set) {
            m_feedback->Warning(FormatString(IDS_TEXT_TWICE, GetDaqFileName(set).c_str()), IDS_TEXT_TWICE);
            return 0;
        }
    }
    int ok = 1;
    std::set<CMElement*> done;
    for (CMElement* set : m_dataSets) {
        if (!done.insert(set).second)
            continue;
        if (!SaveOne(set, base))
            ok = 0;
    }
    return ok;
}

int CDAQIO::SaveOne(CMElement* dataSet, CExpProject* base)
{
    const std::string path = GetDaqFilePath(dataSet);
    if (path.empty() || !base)
        return 0;
    struct stat st
    {};
    if (::stat(path.c_str(), &st) == 0 && (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
        AddError(errReadOnly, dataSet);
        return 0;
    }
    CWaitCursor wait;
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
    // The file replaces the previous one only once everything is written.
    std::unique_ptr<CArchive> ar;
    try {
        ar = std::make_unique<CArchive>(path, CArchive::store);
    } catch (const CFileException& e) {
        AddError(errOpen, dataSet, e.what());
        return 0;
    }
    try {
        for (const std::string& text : MakeHeaderStrings())
            *ar << text;
        *ar << static_cast<const CObject*>(dataSet);
        // The experiment project is the long part: when no work of the caller's is under way, each
        // of its elements steps the feedback once.
        struct SOwnRange
        {
            CFeedback* feedback;
            ~SOwnRange()
            {
                if (feedback)
                    feedback->End();
            }
        } range{m_feedback->IsActive() ? nullptr : m_feedback};
        if (range.feedback)
            range.feedback->Begin(std::string(), base->GetAllChildCount() + 1);
        bool stored = false;
        {
            CArchive::CFeedbackScope steps(*ar, range.feedback);
            stored = base->StoreCloneWithExperiment(*ar, dataSet);
        }
        if (!stored) {
            ar->Abort();
            return 0;
        }
        ar->Close();
    } catch (const std::exception& e) {
        // A full disk or the file-size limit: the user is told what the system said.
        ar->Abort();
        AddError(errWrite, dataSet, e.what());
        return 0;
    }
    return 1;
}

std::unique_ptr<CExpProject> CDAQIO::ReadBody(CMElement* dataSet, const std::string& path, bool* notMeasurementFile)
{
    CArchive ar(path, CArchive::load);
    std::string text;
    ar >> text;
    if (text.find(kExeNameTag) == std::string::npos) {
        *notMeasurementFile = true;
        return nullptr;
    }
    for (int i = 0; i < 3; ++i)
        ar >> text;
    std::unique_ptr<CMElement> read = ar.ReadOwned<CMElement>();
    if (!read || !AsDAQDataSet(read.get()) || !AsDaqExperimentData(read.get()))
        return nullptr;
    std::unique_ptr<CExpProject> project;
    try {
        project = ar.ReadOwned<CExpProject>();
        if (!project)
            return nullptr;
        // Nothing follows the experiment project: bytes after it are a file run into another, or
        // damage.
        ar.ExpectEnd("measurement file");
    } catch (const CArchiveException& e) {
        // Earlier saves of a data set that carries its measured-data tree wrote a project record
        // that names that tree's channels a second time. The measured data of such a file are the
        // tree the data set brought; anything else refused stays refused.
        CMElement* tree = read->FindOneChild(RUNTIME_CLASS(CExpProject));
        if (e.m_cause != CArchiveException::badIndex || !tree)
            throw;
        project.reset(static_cast<CExpProject*>(read->ReleaseChild(tree).release()));
    }
    CMElementList experiments = project->GetExperimentList();
    experiments.Add(read.get());
    project->SetExperiments(experiments);
    m_read.push_back(std::move(read));
    CMElement* experiment = dataSet ? dataSet->GetParent() : nullptr;
    project->SetDAQProject(experiment ? dynamic_cast<IDaqProjectAccess*>(experiment->GetParent()) : nullptr);
    return project;
}

std::unique_ptr<CExpProject> CDAQIO::LoadOne(CMElement* dataSet)
{
    const std::string path = GetDaqFilePath(dataSet);
    if (path.empty())
        return nullptr;
    return LoadPath(dataSet, path);
}

std::unique_ptr<CExpProject> CDAQIO::LoadFile(const std::string& path)
{
    m_errors.clear();
    if (path.empty())
        return nullptr;
    return LoadPath(nullptr, path);
}

std::vector<std::unique_ptr<CObject>> CDAQIO::ReleaseRead()
{
    return std::move(m_read);
}

std::unique_ptr<CExpProject> CDAQIO::LoadPath(CMElement* dataSet, const std::string& path)
{
    struct stat st
    {};
    if (::stat(path.c_str(), &st) != 0) {
        AddError(errNotFound, dataSet);
        return nullptr;
    }
    std::FILE* probe = S_ISREG(st.st_mode) ? std::fopen(path.c_str(), "rb") : nullptr;
    if (!probe) {
        AddError(errOpen, dataSet);
        return nullptr;
    }
    std::fclose(probe);
    if (st.st_size == 0) {
        AddError(errEmpty, dataSet);
        return nullptr;
    }
    CWaitCursor wait;
    bool notMeasurementFile = false;
    std::unique_ptr<CExpProject> project;
    // What the reader found wrong, for the user and for whoever looks at the file.
    std::string reason;
    try {
        project = ReadBody(dataSet, path, &notMeasurementFile);
    } catch (const CFileException& e) {
        AddError(errOpen, dataSet, e.what());
        return nullptr;
    } catch (const CArchiveException& e) {
        // Cut short or forged: nothing of it is used.
        project.reset();
        reason = e.what();
    } catch (const std::bad_alloc&) {
        project.reset();
    }
    if (notMeasurementFile)
        m_feedback->Warning(FormatString(IDS_DAQ_NOT_MEASUREMENT_FILE, path.c_str()), IDS_DAQ_NOT_MEASUREMENT_FILE);
    if (!project)
        AddError(errInvalid, dataSet, reason);
    return project;
}

std::unique_ptr<CExpProject> CDAQIO::MergeProjects()
{
    m_errors.clear();
    std::vector<std::unique_ptr<CExpProject>> projects;
    for (CMElement* set : m_dataSets) {
        if (auto project = LoadOne(set))
            projects.push_back(std::move(project));
    }
    if (projects.empty())
        return nullptr;
    std::unique_ptr<CExpProject> result;
    if (projects.size() == 1) {
        result = std::move(projects.front());
    } else {
        CExpProject& first = *projects.front();
        result = std::make_unique<CExpProject>(first.GetName(), nullptr, first.GetType());
        result->SetDAQProject(first.GetDAQProject());
        result->SetMode(first.GetMode());
        auto moveIn = [&](CExpProject& from, CMElement* part) {
            if (part)
                result->AddChild(from.ReleaseChild(part));
        };
        moveIn(first, first.GetRPMSignalData());
        moveIn(first, first.GetCurrentExcitation());
        CMElementList experiments;
        for (auto& project : projects) {
            moveIn(*project, project->GetExcitationForExperiment(0));
            experiments.Append(project->GetExperimentList());
        }
        result->SetExperiments(experiments);
        projects.clear();
    }
    // Every listed data set must be among those read.
    const CMElementList& read = result->GetExperimentList();
    for (CMElement* set : m_dataSets) {
        bool found = false;
        for (CMElement* r : read)
            found = found || SameDataSet(set, r);
        if (!found) {
            AddError(errMissing, set);
            result->SetExperiments(CMElementList());
            m_read.clear();
            return nullptr;
        }
    }
    if (m_mode == 1) {
        for (CMElement* set : m_dataSets) {
            IDAQDataSet* listed = AsDAQDataSet(set);
            IDaqExperimentData* listedData = AsDaqExperimentData(set);
            for (CMElement* r : read) {
                IDaqExperimentData* readData = AsDaqExperimentData(r);
                if (!listed || !listedData || !readData ||
                    AsDAQDataSet(r)->GetDescription() != listed->GetDescription())
                    continue;
                if (listedData->GetExpInfo() && readData->GetExpInfo())
                    listedData->GetExpInfo()->Copy(*readData->GetExpInfo());
                if (listedData->GetCalcOptions() && readData->GetCalcOptions())
                    *listedData->GetCalcOptions() = *readData->GetCalcOptions();
                break;
            }
        }
    }
    result->SetExperiments(m_dataSets);
    m_read.clear();
    return result;
}

tagERRORINFO CDAQIO::GetFirstError() const
{
    return m_errors.empty() ? tagERRORINFO{} : m_errors.front();
}

namespace {
std::string WithReason(std::string text, const tagERRORINFO& error)
{
    if (!error.reason.empty())
        text += "\n" + error.reason;
    return text;
}
} // namespace

uint32_t CDAQIO::MessageIdOf(int code)
{
    switch (code) {
    case errNotFound:
        return IDS_NO_FILE;
    case errOpen:
        return IDS_FILE_CANNOT_OPEN;
    case errEmpty:
        return IDS_FILE_EMPTY;
    case errInvalid:
        return IDS_FILE_NOT_VALID;
    case errReadOnly:
        return IDS_FILE_READ_ONLY;
    case errMissing:
        return IDS_DATA_SET_MISSING;
    case errWrite:
        return IDS_FILE_NOT_WRITTEN;
    default:
        return IDS_DAQ_FILE_ERROR;
    }
}

std::string CDAQIO::FormatFileError(const tagERRORINFO& error, const std::string& path)
{
    const uint32_t id = MessageIdOf(error.code);
    if (id == IDS_DAQ_FILE_ERROR || path.empty())
        return LoadString(IDS_DAQ_FILE_ERROR);
    return WithReason(FormatString(id, std::filesystem::path(path).filename().string().c_str()), error);
}

std::string CDAQIO::FormatError(const tagERRORINFO& error)
{
    const uint32_t id = MessageIdOf(error.code);
    if (id == IDS_DAQ_FILE_ERROR || !error.element)
        return LoadString(IDS_DAQ_FILE_ERROR);
    return WithReason(FormatString(id, GetDaqFileName(error.element).c_str()), error);
}
