#pragma once
// Information: the versions of the files that were imported into the project, those recorded by
// the document and those recorded by the projects' elements (two levels deep), with the element's
// name beside each.
#include "platform/ui/ZuDialog.h"

class CTALVODoc;
class QTreeWidget;

class CDlgImportedFileList : public CZuDialog
{
    Q_OBJECT
public:
    static constexpr int kTemplateId = 4031;
    static constexpr int kImportedFileVersionId = 39;

    explicit CDlgImportedFileList(CTALVODoc* doc, QWidget* parent = nullptr);

    QTreeWidget* List() const { return m_list; }

protected:
    bool OnInitDialog() override;

private:
    CTALVODoc* m_pDoc;
    QTreeWidget* m_list;
};
