#include "TreeText.h"

#include <QTabWidget>

#include <functional>

#include "platform/ui/ProjectTreeModel.h"
#include "app/ui/DockTreeWnd.h"

std::string DescribeTrees(CDockTreeWnd& trees, bool withTypes)
{
    std::string out;
    std::function<void(CProjectTreeModel*, const QModelIndex&)> walk = [&](CProjectTreeModel* m,
                                                                           const QModelIndex& parent) {
        for (int r = 0; r < m->rowCount(parent); ++r) {
            const QModelIndex idx = m->index(r, 0, parent);
            out += m->data(idx).toString().toStdString();
            if (withTypes)
                out += "(" + std::to_string(m->data(idx, CProjectTreeModel::TypeRole).toInt()) + ")";
            if (m->rowCount(idx) > 0) {
                out += "[";
                walk(m, idx);
                out += "]";
            }
            out += " ";
        }
    };
    for (int i = 0; i < trees.GetTreeCount(); ++i) {
        out += "<" + trees.Tabs()->tabText(i).toStdString() + ">";
        walk(trees.GetTree(i)->Model(), QModelIndex());
    }
    return out;
}
