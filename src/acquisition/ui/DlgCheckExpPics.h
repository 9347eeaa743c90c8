#pragma once
// The subsystems of an experiment that have no photo yet. The engineer adds photos to each; the
// dialog closes by itself once every subsystem has one.
#include "platform/ui/ZuDialog.h"

#include <string>

class CZuSubsystemTable;
class QListWidget;
class QPushButton;

class CDlgCheckExpPics : public CZuDialog
{
    Q_OBJECT

public:
    enum
    {
        IDD = 4084,
        IDC_LIST = 3159,
        IDC_PICTURE = 3005
    };

    // table: the subsystems looked at, not owned; workFolder: the project's work folder.
    CDlgCheckExpPics(const CZuSubsystemTable* table, const std::string& workFolder, QWidget* parent = nullptr);

    // Runs only when a subsystem lacks a photo; IDOK at once otherwise.
    int DoModal() override;

    // Lists the subsystems without a picture; their count.
    int Refill();
    // Command 3005 and a double-click: the picture dialog of the selected subsystem.
    void OnPicture();

    QListWidget* List() const { return m_list; }
    QPushButton* PictureButton() const { return m_picture; }

protected:
    bool OnInitDialog() override;

private:
    void AfterChange();

    const CZuSubsystemTable* m_table;
    std::string m_workFolder;
    QListWidget* m_list;
    QPushButton* m_picture;
};
