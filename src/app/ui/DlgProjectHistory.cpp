#include "app/ui/DlgProjectHistory.h"

#include "app/ProjectHistory.h"
#include "platform/base/Format.h"

#include <QHeaderView>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <ctime>
#include <vector>

CDlgProjectHistory::CDlgProjectHistory(CProjectHistory* history, QWidget* parent)
    : CZuDialog(parent, 4097), m_history(history)
{
    setObjectName(QStringLiteral("DlgProjectHistory"));
    setWindowTitle(QStringLiteral("Project History"));
    m_tree = new QTreeWidget(this);
    m_tree->setObjectName(QStringLiteral("HistoryTree3264"));
    m_tree->setHeaderLabels({QStringLiteral("File"), QStringLiteral("Version"), QStringLiteral("Created"),
                             QStringLiteral("Modified"), QStringLiteral("Path")});
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_tree);
    resize(760, 320);
}

std::string CDlgProjectHistory::RowLabel(const CProjectHistory& entry)
{
    if (entry.GetType() == kHistoryAppMOX)
        return Format("%s [%s]", entry.GetFileName().c_str(), entry.GetMOXModelName().c_str());
    return entry.GetFileName();
}

std::string CDlgProjectHistory::FormatTime(int64_t seconds)
{
    const std::time_t t = static_cast<std::time_t>(seconds);
    std::tm local{};
    if (!localtime_r(&t, &local))
        return std::string();
    char buffer[64];
    const size_t n = std::strftime(buffer, sizeof buffer, "%Y/%m/%d [%H:%M:%S]", &local);
    return std::string(buffer, n);
}

bool CDlgProjectHistory::OnInitDialog()
{
    m_tree->clear();
    if (m_history) {
        // Iterative, so a deep (or forged) history cannot exhaust the stack.
        std::vector<std::pair<CProjectHistory*, QTreeWidgetItem*>> pending{{m_history, nullptr}};
        while (!pending.empty()) {
            auto [entry, parentItem] = pending.back();
            pending.pop_back();
            const QStringList columns = {QString::fromStdString(RowLabel(*entry)),
                                         QString::fromStdString(entry->GetAppVersion()),
                                         QString::fromStdString(FormatTime(entry->GetCreationTime())),
                                         QString::fromStdString(FormatTime(entry->GetModifiedTime())),
                                         QString::fromStdString(entry->GetPathName())};
            auto* item = parentItem ? new QTreeWidgetItem(parentItem, columns) : new QTreeWidgetItem(m_tree, columns);
            for (int i = entry->GetChildCount() - 1; i >= 0; --i)
                if (auto* child = ElementCast<CProjectHistory>(entry->GetChild(i)))
                    pending.emplace_back(child, item);
        }
        m_tree->expandAll();
        m_tree->header()->resizeSections(QHeaderView::ResizeToContents);
    }
    return CZuDialog::OnInitDialog();
}
