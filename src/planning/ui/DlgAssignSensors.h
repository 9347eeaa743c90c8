#pragma once
// Which sensor measures which local point of each subsystem: one row per subsystem, one column per
// local point (60 at most shown). One subsystem at a time is changed through the sensor picker;
// the whole assignment goes to and from the clipboard and a text file ("LocalPoints.txt").
#include "platform/ui/ZuDialog.h"

#include <string>
#include <vector>

class CMSFlexGrid;
class CTALVOProject;
class QRadioButton;

class CDlgAssignSensors : public CZuDialog
{
    Q_OBJECT

public:
    static constexpr int kTemplateId = 4083;
    static constexpr int kLocalPoints = 60;

    explicit CDlgAssignSensors(CTALVOProject* project, QWidget* parent = nullptr);

    // 0 left, 1 right: subsystems of the other side are hidden (those of no side always show).
    void SetSideFilter(int side);
    int GetSideFilter() const { return m_side; }
    void Fill();
    // The subsystems shown, in row order.
    const std::vector<std::string>& ShownSubsystems() const { return m_shown; }

    // Commands: 2001 change the selected row's sensors, 57634 copy, 57637 paste, 57603 save,
    // 57601 load.
    void OnChange();
    void OnCopy();
    void OnPaste();
    void OnSave();
    void OnLoad() { LoadFile(); }
    // Asks for a local-point file and reads it; true when the assignment took it.
    bool LoadFile();

    CMSFlexGrid* Grid() const { return m_grid; }

protected:
    bool OnInitDialog() override;

private:
    std::string FileTag() const;
    bool ReadBody(const std::string& text);

    CTALVOProject* m_project;
    std::vector<std::string> m_subsystems; // the model's and the project's own, sorted
    std::vector<std::string> m_shown;
    int m_side = 0;
    CMSFlexGrid* m_grid;
    QRadioButton* m_left;
    QRadioButton* m_right;
};
