#include "views/ui/DlgImportedFileList.h"

#include "app/BaseProject.h"
#include "app/TALVODoc.h"
#include "app/TALVOProject.h"
#include "platform/elements/MElement.h"
#include "platform/elements/MElementList.h"
#include "platform/elements/ZuStdData.h"
#include "platform/elements/ZuStdDataAccessor.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <functional>

namespace {
void AddEntries(QTreeWidget* list, const CZuStdDataList* data, const QString& name)
{
    if (!data)
        return;
    for (int i = 0; i < data->GetCount(); ++i) {
        const CZuStdData* d = data->GetAt(i);
        if (d && d->GetID() == CDlgImportedFileList::kImportedFileVersionId)
            new QTreeWidgetItem(list, QStringList{name, QString::fromStdString(d->GetText())});
    }
}
} // namespace

CDlgImportedFileList::CDlgImportedFileList(CTALVODoc* doc, QWidget* parent)
    : CZuDialog(parent, kTemplateId), m_pDoc(doc)
{
    setObjectName(QStringLiteral("DlgImportedFileList"));
    setWindowTitle(tr("Imported Files"));
    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("ImportedFileList"));
    m_list->setRootIsDecorated(false);
    m_list->setHeaderLabels({tr("Data"), tr("Imported File Version")});
    m_list->header()->resizeSection(0, 100);
    m_list->header()->resizeSection(1, 500);
    m_list->setMinimumSize(620, 240);
    m_list->setAlternatingRowColors(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    layout->addWidget(buttons);
}

bool CDlgImportedFileList::OnInitDialog()
{
    m_list->clear();
    if (!m_pDoc)
        return true;
    AddEntries(m_list, &m_pDoc->GetFileProperties(), QString());
    CTALVOProject& container = m_pDoc->GetTALVOProject();
    std::function<void(const CMElement*, int)> walk = [&](const CMElement* e, int depth) {
        for (int i = 0; i < e->GetChildCount(); ++i) {
            CMElement* child = e->GetChild(i);
            if (auto* accessor = dynamic_cast<IZuStdDataAccessor*>(child))
                AddEntries(m_list, accessor->GetZuStdDataList(), QString::fromStdString(child->GetName()));
            if (depth < 2)
                walk(child, depth + 1);
        }
    };
    for (int p = 0; p < container.GetProjectCount(); ++p)
        if (CBaseProject* project = container.GetProject(p))
            walk(project, 1);
    return true;
}
