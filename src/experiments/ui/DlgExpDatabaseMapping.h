#pragma once
// Ties the common names of the experimental database (the names under which PLOVA keeps its
// measured subsystems) to the model's subsystems. One row per common name; model subsystems that
// no common name takes follow in rows of their own. The engineer moves subsystems between rows by
// cut (Ctrl+X) and switch (Ctrl+V), and can copy the table as text.
//
// The mapping holds one entry per model subsystem, in the order of the model's subsystem table:
// the position of its common name, or a negative value for none.
#include "platform/ui/ZuDialog.h"

#include <cstdint>
#include <string>
#include <vector>

class CZuSubsystemTable;
class QTableWidget;
class QPushButton;

inline constexpr int ID_EDIT_CUT = 57635;
inline constexpr int ID_EDIT_PASTE = 57637;
inline constexpr int IDC_COPY_AS_TEXT = 3064;

class CDlgExpDatabaseMapping : public CZuDialog
{
    Q_OBJECT
public:
    CDlgExpDatabaseMapping(const CZuSubsystemTable& model, std::vector<std::string> commonNames,
                           std::vector<int32_t> mapping, QWidget* parent = nullptr);

    const std::vector<int32_t>& GetMapping() const { return m_mapping; }

    // Ctrl+X on the current cell: a subsystem cell of a data row is remembered and shown empty.
    void OnCut();
    // Ctrl+V on the current row: its subsystem and the cut one change places.
    void OnSwitch();
    // The whole table, headers first, to the clipboard ("%s\t" per cell, "\n" per row); message 6019
    // when the clipboard cannot be written.
    void OnCopyAsText();
    std::string TableText() const;
    bool HasPendingCut() const { return m_cutRow >= 0; }

    QTableWidget* Grid() const { return m_grid; }
    QPushButton* CutButton() const { return m_cutButton; }
    QPushButton* SwitchButton() const { return m_switchButton; }
    QPushButton* CopyButton() const { return m_copyButton; }

protected:
    bool OnInitDialog() override;
    void OnOK() override;

private:
    QString SubsystemAt(int row) const;
    void SetSubsystemAt(int row, const QString& name);

    std::vector<std::string> m_modelNames;
    std::vector<std::string> m_commonNames;
    std::vector<int32_t> m_mapping;
    std::vector<int> m_rowCommon; // per row: the position of its common name, -1 for an appended row
    QTableWidget* m_grid = nullptr;
    QPushButton* m_cutButton = nullptr;
    QPushButton* m_switchButton = nullptr;
    QPushButton* m_copyButton = nullptr;
    int m_cutRow = -1;
    QString m_cutName;
};
