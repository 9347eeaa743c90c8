#pragma once
// Edits the target subsystem of a project and the source subsystems that feed it. Sources are
// added through a modeless subsystem picker that stays open, so several can be added in a row;
// the picker always offers the model's subsystems that are neither listed nor the target. Only
// one is open at a time.
#include "calculation/ui/DlgSelectSubsystem.h"
#include "platform/elements/ZuSubsystemTable.h"
#include "platform/ui/ZuDialog.h"
#include "platform/win/MessageTarget.h"
#include "platform/ui/SingleInstance.h"

#include <QPointer>

#include <string>

class CTALVOProject;
class QComboBox;
class QListWidget;
class QPushButton;

class CDlgSrcTrgDefinition : public CZuDialog, public IMessageTarget, public CSingleInstance<CDlgSrcTrgDefinition>
{
    Q_OBJECT
public:
    static constexpr int kTemplateId = 4080;

    // definition: the project whose target and sources are edited (not owned).
    static CDlgSrcTrgDefinition* CreateInstance(CTALVOProject* definition, QWidget* parent = nullptr);
    static void DestroyInstance();

    // The picker reports here (4069).
    intptr_t SendMessage(uint32_t msg, uintptr_t wParam = 0, intptr_t lParam = 0) override;
    void PostMessage(uint32_t msg, uintptr_t wParam = 0, intptr_t lParam = 0) override;

    // The user's actions.
    void OnAdd();
    void OnDelete();
    void OnTargetChosen();
    void OnSourceSelectionChanged();

    // What the picker should offer now.
    CZuSubsystemTable Candidates() const;

    std::string m_strTarget;
    CZuSubsystemTable m_sources;

    CDlgSelectSubsystem* Picker() const { return m_picker; }
    QListWidget* SourceList() const { return m_list; }
    QComboBox* TargetCombo() const { return m_target; }

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

private:
    CDlgSrcTrgDefinition(CTALVOProject* definition, QWidget* parent);
    ~CDlgSrcTrgDefinition() override;
    CZuSubsystemTable ModelSubsystems() const;
    void FillSources();
    void FillTargets();
    void UpdatePicker();
    void ClosePicker();

    CTALVOProject* m_pDefinition;
    QPointer<CDlgSelectSubsystem> m_picker;
    QListWidget* m_list;
    QComboBox* m_target;
    QPushButton* m_add;
    QPushButton* m_delete;
};
