#pragma once
// Project 0 of every project document: the vehicle's model and the model data read for it. It
// answers the subsystem look-ups every other part asks (structural or acoustic, type, display
// name) and finds the model's loss-factor and energy-ratio functions.
#include <cstdint>
#include <string>

#include "app/BaseProject.h"
#include "models/ModelProjectLink.h"
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

// Element type codes of the model data.
inline constexpr int MODEL_TYPE_ASEA = 1;
inline constexpr int MODEL_TYPE_HSEA = 48;
inline constexpr int MODEL_TYPE_CLF_TOTAL_DLF = 50;
inline constexpr int MODEL_TYPE_CLF = 58;
inline constexpr int MODEL_TYPE_TOTAL_DLF = 59;
inline constexpr int MODEL_TYPE_INTRINSIC_DLF = 67;
inline constexpr int MODEL_TYPE_INPUT_POWER = 60;
inline constexpr int MODEL_TYPE_EXP_TARGET_ERS = 107;
inline constexpr int MODEL_TYPE_MODEL_TARGET_ERS = 108;
inline constexpr int MODEL_TYPE_TRANSMISSION_CLFS = 109;

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

    CZuData* GetModelShell(int warn) const;
    CASEAModelData* GetASEAModelData() const;
    // 1 when the model is symmetric (each subsystem of one side has its mirror).
    int IsSymmetricModel() const;
    CHSEAModelData* ApplyModelUpdate(const std::string& target, const CZuSubsystemTable& sources);
    CModelData* GetModelData(int warn) const;
    CModelSubsystem* GetSubsystem(const std::string& name, int warn, int exact) const;
    CModelSubsystemSet* GetSubsystemSet() const;
    int GetSubsystemType(std::string& name, int addSuffix) override;
    int IsStructure(const std::string& name) const override;
    int IsAcoustic(const std::string& name) const override;
    std::string GetSubsystemDisplayName(const std::string& name) const;
    CHSEAModelData* GetHSEAModelData() const;
    CSEAModelData* FindSEAModelData(int serial, int warn) const;
    void GetModelDataParams(int* a, double* b, double* c) const;
    int IsSubsystemConnected(const std::string& a, const std::string& b) override;
    int IsInputSubsystem(const std::string& name) override;
    CZuFuncElement* FindEnergyRatioFunc(const std::string& a, const std::string& b) const;
    CZuFuncElement* FindExpEnergyRatioFunc(const std::string& a, const std::string& b) const;
    CZuFuncElement* FindClf(const std::string& a, const std::string& b) const;

    // Asks for the model kind (model-information dialog) and creates the model element.
    CASEAModelData* ShowModelInformation(CASEAModelData* existing);
    // A new model element of the kind, added as a child; null (nothing added) on failure.
    CASEAModelData* CreateASEAModelData(int kind);
    // A model element built from a model file (the program's own, non-interactive road).
    CASEAModelData* CreateASEAModelDataFromFile(const std::string& modelFile);
    void UpdateSubsystemTables();
    CZuSubsystemTable& GetSubsystemTable() { return m_subsystems; }
    CZuSubsystemTable& GetDisplayNameTable() { return m_displayNames; }
    void ReadTargetEnergyRatios(const std::string& path);
    void ReadTransmissionClfs(const std::string& path);

    void Serialize(CArchive& ar) override;

private:
    CZuFuncElement* FindRatioIn(int type, const std::string& a, const std::string& b) const;

    CZuSubsystemTable m_subsystems;
    CZuSubsystemTable m_displayNames;
};
