#include "app/ui/DockShortcutWnd.h"

#include "app/ui/AppIcons.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"

#include <QMenu>
#include <QSignalBlocker>
#include <QToolBox>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
QString Caption(unsigned id)
{
    std::string text;
    if (!LoadString(id, text))
        return QString::number(id); // never an empty button
    return QString::fromStdString(text);
}

QIcon ImageOf(int image)
{
    // The image strip of the buttons, in the order of the table's image indexes.
    static const char* const images[] = {
        "project-new",   "project-open", "model-view", "model-data",
        "model-variant", "model-update", "daq-new",    "analysis-new",
    };
    const int n = static_cast<int>(sizeof images / sizeof images[0]);
    return AppIcon(images[(image % n + n) % n]);
}
} // namespace

const std::vector<CDockShortcutWnd::Item>& CDockShortcutWnd::Table()
{
    static const std::vector<Item> table = {
        {IDS_SHORTCUT_PROJECT_GROUP, IDS_SHORTCUT_NEW_PROJECT, 0, 0},
        {IDS_SHORTCUT_PROJECT_GROUP, IDS_SHORTCUT_OPEN_PROJECT, 1, 1},
        {IDS_SHORTCUT_MODEL_GROUP, IDS_SHORTCUT_MODEL_VIEW, 2, 2},
        {IDS_SHORTCUT_MODEL_GROUP, IDS_SHORTCUT_READ_MODEL_DATA, 3, 3},
        {IDS_SHORTCUT_MODEL_GROUP, IDS_SHORTCUT_MODEL_VARIANT, 4, 4},
        {IDS_SHORTCUT_MODEL_GROUP, IDS_SHORTCUT_MODEL_UPDATE, 5, 5},
        {IDS_SHORTCUT_ANALYSIS_GROUP, IDS_SHORTCUT_NEW_DAQ_PROJECT, 6, 6},
        {IDS_SHORTCUT_ANALYSIS_GROUP, IDS_SHORTCUT_NEW_ANALYSIS_PROJECT, 7, 7},
    };
    return table;
}

CDockShortcutWnd::CDockShortcutWnd(QWidget* parent) : QDockWidget(QStringLiteral("ShortcutBar"), parent)
{
    setObjectName(QStringLiteral("ShortcutBar"));
    m_toolBox = new QToolBox(this);
    m_toolBox->setObjectName(QStringLiteral("ShortcutToolBox"));
    setWidget(m_toolBox);
    // A group's buttons are made when the group is first opened (or a button of it is asked for):
    // only the open group is seen at start.
    connect(m_toolBox, &QToolBox::currentChanged, this, [this](int group) { MakeGroupButtons(group); });
    Rebuild();
}

void CDockShortcutWnd::Rebuild()
{
    while (m_toolBox->count() > 0) {
        QWidget* page = m_toolBox->widget(0);
        m_toolBox->removeItem(0);
        delete page;
    }
    m_groups.clear();
    m_buttons.assign(Table().size(), nullptr);
    m_groupOfItem.assign(Table().size(), 0);
    const QSignalBlocker quiet(m_toolBox);
    for (size_t i = 0; i < Table().size(); ++i) {
        const Item& item = Table()[i];
        if (m_groups.empty() || item.groupCaptionId != Table()[m_groups.back().first].groupCaptionId) {
            auto* page = new QWidget(m_toolBox);
            auto* layout = new QVBoxLayout(page);
            layout->setContentsMargins(4, 4, 4, 4);
            m_toolBox->addItem(page, Caption(item.groupCaptionId));
            m_groups.push_back({i, i});
        }
        m_groups.back().last = i;
        m_groupOfItem[i] = static_cast<int>(m_groups.size()) - 1;
    }
    MakeGroupButtons(m_toolBox->currentIndex());
}

void CDockShortcutWnd::MakeGroupButtons(int group)
{
    if (group < 0 || group >= static_cast<int>(m_groups.size()))
        return;
    const Group& g = m_groups[static_cast<size_t>(group)];
    if (m_buttons[g.first])
        return;
    auto* layout = static_cast<QVBoxLayout*>(m_toolBox->widget(group)->layout());
    for (size_t i = g.first; i <= g.last; ++i) {
        const Item& item = Table()[i];
        auto* button = new QToolButton(layout->parentWidget());
        button->setObjectName(QStringLiteral("Shortcut%1").arg(item.itemId));
        button->setText(Caption(item.captionId));
        button->setIcon(ImageOf(item.image));
        button->setIconSize(QSize(32, 32));
        button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        button->setAutoRaise(true);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        const int id = item.itemId;
        connect(button, &QToolButton::clicked, this, [this, id, button] { OnItemClicked(id, button); });
        layout->addWidget(button);
        m_buttons[i] = button;
    }
    layout->addStretch(1);
    emit ButtonsMade();
}

QToolButton* CDockShortcutWnd::Button(int itemId)
{
    if (itemId < 0 || itemId >= static_cast<int>(m_buttons.size()))
        return nullptr;
    if (!m_buttons[static_cast<size_t>(itemId)])
        MakeGroupButtons(m_groupOfItem[static_cast<size_t>(itemId)]);
    return m_buttons[static_cast<size_t>(itemId)];
}

QToolButton* CDockShortcutWnd::MadeButton(int itemId) const
{
    return (itemId >= 0 && itemId < static_cast<int>(m_buttons.size())) ? m_buttons[static_cast<size_t>(itemId)]
                                                                        : nullptr;
}

QMenu* CDockShortcutWnd::MenuFor(int itemId)
{
    return m_menuProvider ? m_menuProvider(itemId, this) : nullptr;
}

void CDockShortcutWnd::OnItemClicked(int itemId, QToolButton* button)
{
    QMenu* menu = MenuFor(itemId);
    if (!menu)
        return;
    if (menu->isEmpty()) {
        delete menu;
        return;
    }
    window()->activateWindow();
    const QRect r = button->rect();
    menu->exec(button->mapToGlobal(QPoint(r.center().x() + 16, r.top())));
    delete menu;
}
