#pragma once
// Copies the input energies and input powers of chosen RPM steps from another analysis project of
// the document into the target analysis project. Only projects computed on the same grid (kind,
// orders, RPM axis and bands) are offered; RPM steps that are not ticked keep the target's values
// and nothing is recalculated.
#include "platform/ui/ZuDialog.h"

#include <string>
#include <vector>

class CAnalysisProject;
class CTALVOProject;
class QComboBox;
class QListWidget;
class QPushButton;

class CDlgMergeAnaProjects : public CZuDialog
{
    Q_OBJECT

public:
    static constexpr int IDD = 4035;

    CDlgMergeAnaProjects(CTALVOProject* container, CAnalysisProject* target, QWidget* parent = nullptr);
    ~CDlgMergeAnaProjects() override;

    // Same project type, orders, RPM options and band sets.
    static bool IsCompatible(CAnalysisProject& a, CAnalysisProject& b);
    // Copies the rows of the input-energy and input-power items of every subsystem both folders
    // hold; returns the subsystems that only one folder of a pair holds (not merged).
    static std::vector<std::string> Merge(CAnalysisProject& source, CAnalysisProject& target,
                                          const std::vector<int>& rows);

    const std::vector<CAnalysisProject*>& GetCandidates() const { return m_candidates; }
    QComboBox* SourceCombo() const { return m_source; }
    QListWidget* RpmList() const { return m_rpms; }
    QPushButton* OkButton() const { return m_ok; }

protected:
    bool OnInitDialog() override;
    void OnOK() override;

private:
    CTALVOProject* m_container; // not owned
    CAnalysisProject* m_target; // not owned
    std::vector<CAnalysisProject*> m_candidates;
    QComboBox* m_source = nullptr;
    QListWidget* m_rpms = nullptr;
    QPushButton* m_ok = nullptr;
};
