#pragma once
// The analytical SEA model of a model project: its eta matrix, modal densities and wave numbers
// are computed outside the program and read from a tab-separated companion file (".dat") beside
// the vehicle model file, together with the geometric properties of the 3D model's subsystems.
//
// Rows of the matrix and the vectors are keyed "<shell>-F" for shells and "<cavity>-" for cavities.
#include <cstdint>
#include <memory>
#include <string>

#include "models/SEAModelData.h"
#include "platform/base/Feedback.h"

class CHSEAAnalyticalDataFiles;
class CModelData;

class CASEAModelData : public CSEAModelData
{
    DECLARE_SERIAL(CASEAModelData)
public:
    static constexpr const char* kElementName = "Analytical SEA Model";
    // Key of the data title in the property list.
    static constexpr int kTitleKey = 39;

    CASEAModelData();
    explicit CASEAModelData(CMElement* parent);
    ~CASEAModelData() override;

    // Reads the 3D model from the model file, takes its bands and reads the companion file. Why a
    // file is refused is reported as a warning through the caller's feedback, as are the messages below.
    int BuildFromModel(const std::string& modelFile, CFeedback* feedback = SilentFeedback());
    // Reads the 3D model and adds it as a child; null (message 6073) when it cannot be read.
    CModelData* LoadModelData(const std::string& modelFile, CFeedback* feedback = SilentFeedback());
    // The 3D model child; with warn, message 6017 when there is none.
    CModelData* GetModelData(int warn, CFeedback* feedback = SilentFeedback()) const;
    // Reads the companion file of the 3D model's file into fresh model quantities. 1, or 0 with
    // the reason (file, line and what is wrong) in GetLastError; it shows no message itself.
    int ReadCompanionFile(CModelData* model);
    // New zeroed eta matrix, modal density and wave number over the 3D model's shells and cavities.
    int PrepareFromModel(CModelData* model);
    // 1 when the model has subsystems of one side and every one of them has its mirror.
    int IsSymmetricModel() const;

    // The companion file that belongs to a model file: its extension (".xml" for file kind 1,
    // ".ntf" otherwise) replaced by ".dat".
    static std::string CompanionFileName(const std::string& modelFile, int fileKind);
    // Why the last model or companion file was refused (file, line and reason); empty after success.
    const std::string& GetLastError() const { return m_lastError; }

    CHSEAAnalyticalDataFiles* GetDataFiles() const { return m_dataFiles.get(); }
    void SetDataFiles(std::unique_ptr<CHSEAAnalyticalDataFiles> files);

    void Serialize(CArchive& ar) override;

private:
    std::unique_ptr<CHSEAAnalyticalDataFiles> m_dataFiles;
    std::string m_lastError;
    uint32_t m_lastErrorId = 0; // the message's string id, 0 for a text of the reader's own
};
