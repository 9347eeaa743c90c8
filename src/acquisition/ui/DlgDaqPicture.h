#pragma once
// The photos of one item: lists them, shows the selected one fitted to the preview, copies new
// ones in, deletes them and opens them with the desktop's viewer.
#include "acquisition/DaqPictureFolder.h"
#include "platform/ui/ZuDialog.h"

#include <functional>
#include <string>
#include <vector>

class QLabel;
class QListWidget;
class QPushButton;
class QSize;

class CDlgDaqPicture : public CZuDialog
{
    Q_OBJECT

public:
    enum
    {
        IDD = 4014,
        IDC_PREVIEW = 43109,
        IDC_LIST = 3163,
        IDC_ADD = 3005,
        IDC_DELETE = 3013,
        IDC_OPEN = 3015
    };
    static constexpr const char* kFilter = "Picture (*.jpg, *.jpeg, *.bmp)|*.jpg;*.jpeg;*.bmp|All Files (*.*)|*.*||";

    // workFolder: the project's work folder.
    CDlgDaqPicture(const std::string& item, const std::string& workFolder, QWidget* parent = nullptr);
    ~CDlgDaqPicture() override;

    // Lists the item's pictures into the name list and the list box; the count found.
    int ListPictures();
    const std::vector<std::string>& Names() const { return m_names; }
    const CDaqPictureFolder& Folder() const { return m_folder; }

    // Commands.
    void OnAdd();
    void OnDelete();
    void OnOpen();
    void OnSelectionChanged();

    // A picture of width x height fitted into the area, keeping its proportions (whole pixels).
    static QSize FitToArea(int width, int height, int areaWidth, int areaHeight);

    // How a file is opened with the desktop's default viewer; tests replace it (empty restores).
    using Opener = std::function<bool(const std::string& path)>;
    static void SetOpener(Opener opener);

    QListWidget* List() const { return m_list; }
    QLabel* Preview() const { return m_preview; }
    QPushButton* Button(int id) const;

protected:
    bool OnInitDialog() override;

private:
    CDaqPictureFolder m_folder;
    std::vector<std::string> m_names;
    double m_dAspect = 4.0 / 3.0;
    QLabel* m_preview;
    QListWidget* m_list;
    QPushButton* m_add;
    QPushButton* m_delete;
    QPushButton* m_open;
};
