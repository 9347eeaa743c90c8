#pragma once
// Project 0 of every project document: the vehicle's model and the model data read for it. It
// answers the subsystem look-ups every other part asks (structural or acoustic, type, display
// name) and finds the model's loss-factor and energy-ratio functions.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "app/BaseProject.h"
#include "models/ModelProjectLink.h"
#include "platform/base/Feedback.h"
#include "platform/elements/ZuSubsystemTable.h"

class CASEAModelData;
class CHSEAGeneralData;
class CHSEAModelData;
class CModelData;
class CModelSubsystem;
class CModelSubsystemSet;
class CSEAModelData;
class CZuData;
class CZuFuncElement;

class CModelProject : public CBaseProject, public IModelProjectLink
{
    DECLARE_SERIAL(CModelProject)

public:
    static constexpr uint8_t kVersion = 5;

    CModelProject();
    explicit CModelProject(const std::string& name);
    ~CModelProject() override;

    // The model data kind of a name ("Analytical SEA Model", ...), 0 for an unknown name, and back.
    static int GetModelDataKind(const std::string& name);
    static std::string GetModelDataKindName(int kind);

    // The look-ups with warn set report a missing model as a warning through the feedback.
    CZuData* GetModelShell(int warn, CFeedback* feedback = SilentFeedback()) const;
    CASEAModelData* GetASEAModelData() const;
    // 1 when the model is symmetric (each subsystem of one side has its mirror).
    int IsSymmetricModel() const;
    // The Hybrid SEA model's update for the target and source subsystems; its result, 0 without a
    // Hybrid SEA model.
    int ApplyModelUpdate(const std::string& target, const CZuSubsystemTable& sources,
                         CFeedback* feedback = SilentFeedback());
    CModelData* GetModelData(int warn, CFeedback* feedback = SilentFeedback()) const;
    CModelSubsystem* GetSubsystem(const std::string& name, int warn, int exact) const override;
    CModelSubsystemSet* GetSubsystemSet() const;
    int GetSubsystemType(std::string& name, int addSuffix) override;
    int IsStructure(const std::string& name) const override;
    int IsAcoustic(const std::string& name) const override;
    std::string GetSubsystemDisplayName(const std::string& name) const;
    CHSEAModelData* GetHSEAModelData() const;
    CSEAModelData* FindSEAModelData(int serial, int warn, CFeedback* feedback = SilentFeedback()) const override;
    void GetModelDataParams(int* a, double* b, double* c) const;
    int IsSubsystemConnected(const std::string& a, const std::string& b) override;
    int IsInputSubsystem(const std::string& name) override;
    CZuFuncElement* FindEnergyRatioFunc(const std::string& a, const std::string& b) const;
    CZuFuncElement* FindExpEnergyRatioFunc(const std::string& a, const std::string& b) const;
    CZuFuncElement* FindClf(const std::string& a, const std::string& b) const;

    // The vehicle model file of a model kind that belongs to a file: the file's name with the
    // extension of the kind (".xml" for kind 1, ".ntf" for kind 0); empty for another kind.
    static std::string ModelFileOfKind(int kind, const std::string& besideFile);
    // The kind of a vehicle model file: 1 for a name ending in ".xml", else 0.
    static int ModelKindOfFile(const std::string& modelFile);
    // The vehicle model file the next model element is built from.
    void SetModelFile(const std::string& path) { m_modelFile = path; }
    const std::string& GetModelFile() const { return m_modelFile; }

    // Asks for the vehicle model file (starting from the existing model's file) and creates the
    // model element of its kind; null when cancelled or when the model cannot be made (the reason
    // reported to the feedback).
    CASEAModelData* ShowModelInformation(CASEAModelData* existing, CFeedback* feedback = SilentFeedback());
    // How the model file is asked for: the window asks with its model-information dialog (given
    // the existing model, null for a new one, and the path to start from; true with the path on
    // OK). Without one there is no model file to read.
    using ModelFileAsker = std::function<bool(CASEAModelData* existing, const std::string& start, std::string& path)>;
    static void SetModelFileAsker(ModelFileAsker asker);
    // A new model element of the kind built from the model file set for this project, added as a
    // child; null (nothing added) when the kind is unknown or the model cannot be read.
    CASEAModelData* CreateASEAModelData(int kind, CFeedback* feedback = SilentFeedback());
    // The model element replaced by new model data (a model import): the old one is announced as
    // removed and deleted, the new one added and announced. Returns the new data or null.
    CZuData* ReplaceModel(std::unique_ptr<CZuData> data, CFeedback* feedback = SilentFeedback());
    // The Hybrid SEA model replaced in the same way; returns the new model or null.
    CHSEAModelData* ReplaceHSEAModel(std::unique_ptr<CHSEAModelData> model);
    // Gives a data element this project's subsystem table (its connection table) and lets it
    // derive its connection flags.
    void GiveSubsystemTable(CZuData* data, CFeedback* feedback = SilentFeedback());
    void UpdateSubsystemTables(CFeedback* feedback = SilentFeedback());
    CZuSubsystemTable& GetSubsystemTable() { return m_subsystems; }
    CZuSubsystemTable& GetDisplayNameTable() { return m_displayNames; }
    void ReadTargetEnergyRatios(const std::string& path);
    void ReadTransmissionClfs(const std::string& path);
    // The same over the file's text read already (null: a file that could not be read).
    void ReadTargetEnergyRatios(std::shared_ptr<const std::string> text, const std::string& path,
                                CFeedback* feedback = SilentFeedback());
    void ReadTransmissionClfs(std::shared_ptr<const std::string> text, const std::string& path,
                              CFeedback* feedback = SilentFeedback());

    void Serialize(CArchive& ar) override;

private:
    CZuFuncElement* FindRatioIn(int type, const std::string& a, const std::string& b) const;
    std::unique_ptr<CHSEAGeneralData> NewGeneralData(const std::string& name, int type, int kind) const;

    CZuSubsystemTable m_subsystems;
    CZuSubsystemTable m_displayNames;
    std::string m_modelFile; // not stored: the model element keeps its own file name
};
