#pragma once
// The model commands that can take the model from a SOLMOX project: a new model for the document,
// a new analytical model or new model data for the existing model project. Each asks first where
// the model comes from; the other way is the container's own (a vehicle model or model data file).
// Every command returns nonzero on success and 0 when the user cancels or the model cannot be made.
#include <string>

#include <memory>

class CDlgImportHSEAModel;
class CModelProject;
class CTALVODoc;
class CTALVOProject;
class CZuData;
class QWidget;

class CModelImporter
{
public:
    explicit CModelImporter(CTALVODoc& document, QWidget* parent = nullptr);
    virtual ~CModelImporter();
    CModelImporter(const CModelImporter&) = delete;
    CModelImporter& operator=(const CModelImporter&) = delete;

    int NewModel();
    int ImportASEAModel();
    int ImportModelData();

    // What the last command made: the model project (NewModel) or the model data.
    CModelProject* GetModelProject() const { return m_modelProject; }
    CZuData* GetModelData() const { return m_modelData; }

private:
    // The SOLMOX project file; empty when the user cancels.
    std::string AskProjectFile() const;
    // Asks for the SOLMOX project file and has SOLMOX export its models, through the import dialog
    // (withDialog) or without it; the dialog (which holds SOLMOX and the files it wrote) on
    // success, null when cancelled or failed.
    std::unique_ptr<CDlgImportHSEAModel> ExportFromSolmox(bool withDialog) const;
    int NewModelFromSolmox();
    int ASEAModelFromSolmox(CModelProject* project);
    int ModelDataFromSolmox(CModelProject* project);

    CTALVODoc& m_document;
    CTALVOProject& m_container;
    QWidget* m_parent;
    CModelProject* m_modelProject = nullptr;
    CZuData* m_modelData = nullptr;
    std::string m_analyticalFile;
    std::string m_hseaFile;
};
