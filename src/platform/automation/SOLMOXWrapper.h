#pragma once
// The modelling application SOLMOX ("SOLMOX.Application"), which hands a vehicle model over as
// files: it opens its own project file and writes the model's analytical data, a chosen HSEA model
// and the experimental data set into files whose paths we give. Every file it writes for us lives
// under a unique name in the temporary folder and is removed with the wrapper (or earlier, on
// request). A SOLMOX process is ended with the wrapper only when this wrapper started it, and it
// is asked to go before it is made to.
#include "platform/automation/ZuCOMWrapper.h"

#include <QtDBus/QDBusConnection>

#include <cstdint>
#include <string>
#include <vector>

inline constexpr const char* kSolmoxProgId = "SOLMOX.Application";

class CSOLMOXWrapper : public CZuCOMWrapper
{
public:
    explicit CSOLMOXWrapper(const QDBusConnection& connection = QDBusConnection::sessionBus());
    ~CSOLMOXWrapper() override;

    bool Create() override;
    void SetVisible(bool) override {}
    bool IsVisible() override { return false; }
    // "OpenProjectFile": the opened file becomes the wrapper's project, its "Project" the model
    // project the exports read. True when both are there.
    bool OpenDatabaseFile(const std::string& path) override;

    // Starts SOLMOX, opens the project file and takes the project's history; false (nothing held
    // open) when any step fails or the path is empty.
    bool Connect(const std::string& projectFile);
    bool IsConnected() const { return !m_modelProject.IsNull(); }
    // The project's "ProjectHistory" object (null when there is none).
    const CDispatch& GetProjectHistory() const { return m_history; }
    // The names of the project's HSEA models, in their order.
    std::vector<std::string> GetHSEAModelNames();

    // The analytical model (the first analytical item): its model file (".xml" or ".ntf" by the
    // project's model file type) and the companion ".dat" of the same name.
    bool ExportAnalyticalModel();
    // HSEA model `index` as a model data text file.
    bool ExportHSEAModel(int index);
    // The first experimental data set as a text file.
    bool ExportDataSet();
    const std::string& GetAnalyticalModelFile() const { return m_analyticalFile; }
    const std::string& GetHSEAModelFile() const { return m_hseaFile; }
    const std::string& GetDataSetFile() const { return m_dataSetFile; }

    // Removes every file written for this wrapper so far and forgets their paths.
    void RemoveTemporaryFiles();
    // Closes the opened file and, when this wrapper started SOLMOX, ends its process: asked first,
    // forced only when it does not go within a few seconds.
    void Quit() override;
    // The process id of the SOLMOX this wrapper started (0 when it attached to a running one).
    int64_t GetStartedProcessId() const { return m_startedPid; }

private:
    // A new unique name in the temporary folder (the reserved empty file is removed later too).
    std::string NewTemporaryStem();
    CDispatch FirstItem(const char* collection);
    bool Export(const std::string& path, const CDispatch& item);
    // Exports item to a new temporary ".txt" file and names it in file; false (file untouched)
    // for a null item or when the export fails.
    bool ExportToText(const CDispatch& item, std::string& file);

    QDBusConnection m_connection;
    CDispatch m_modelProject;
    CDispatch m_history;
    int64_t m_startedPid = 0;
    std::string m_analyticalFile;
    std::string m_hseaFile;
    std::string m_dataSetFile;
    std::vector<std::string> m_temporaryFiles;
};
