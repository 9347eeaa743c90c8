#include "platform/ui/ModelessRegistry.h"

#include "platform/win/ObjectLifetime.h"

#include <QCoreApplication>
#include <QDialog>
#include <QObject>

CModelessRegistryBase::CModelessRegistryBase()
{
    m_listener = AddObjectGoingListener([this](const void* object) { Close(object); });
}

CModelessRegistryBase::~CModelessRegistryBase()
{
    RemoveObjectGoingListener(m_listener);
    // Whoever asked to hear of a dialog leaving may be gone already when the program ends.
    for (auto& [object, entry] : m_dialogs)
        entry.left = nullptr;
    // A registry kept in a static outlives the application object; its widgets are gone then.
    if (QCoreApplication::instance())
        CloseAll();
    else
        m_dialogs.clear();
}

QWidget* CModelessRegistryBase::FindWidget(const void* object) const
{
    auto it = m_dialogs.find(object);
    return it == m_dialogs.end() ? nullptr : it->second.dialog.data();
}

void CModelessRegistryBase::Register(const void* object, QWidget* dialog)
{
    if (!dialog)
        return;
    if (QWidget* old = FindWidget(object); old && old != dialog)
        Close(object);
    dialog->setAttribute(Qt::WA_DeleteOnClose, true);
    Entry& entry = m_dialogs[object];
    entry.dialog = dialog;
    entry.destroyed = QObject::connect(dialog, &QObject::destroyed, [this, object, dialog] { Forget(object, dialog); });
    // A dialog that ends itself leaves at once, before its deferred deletion.
    if (auto* d = qobject_cast<QDialog*>(dialog))
        entry.finished = QObject::connect(d, &QDialog::finished, [this, object, dialog] { Forget(object, dialog); });
}

void CModelessRegistryBase::Forget(const void* object, QWidget* dialog)
{
    auto it = m_dialogs.find(object);
    // Only the entry of this dialog: a newer dialog of the object may have replaced it.
    if (it == m_dialogs.end() || !(it->second.dialog.isNull() || it->second.dialog.data() == dialog))
        return;
    Entry entry = std::move(it->second);
    m_dialogs.erase(it);
    QObject::disconnect(entry.destroyed);
    QObject::disconnect(entry.finished);
    if (entry.left)
        entry.left();
}

bool CModelessRegistryBase::Close(const void* object)
{
    auto it = m_dialogs.find(object);
    if (it == m_dialogs.end())
        return false;
    Entry entry = std::move(it->second);
    m_dialogs.erase(it);
    QObject::disconnect(entry.destroyed);
    QObject::disconnect(entry.finished);
    if (entry.dialog) {
        entry.dialog->hide();
        entry.dialog->setEnabled(false);
        entry.dialog->deleteLater();
    }
    if (entry.left)
        entry.left();
    return true;
}

bool CModelessRegistryBase::OnLeave(const void* object, std::function<void()> left)
{
    auto it = m_dialogs.find(object);
    if (it == m_dialogs.end())
        return false;
    it->second.left = std::move(left);
    return true;
}

QWidget* CModelessRegistryBase::Release(const void* object)
{
    auto it = m_dialogs.find(object);
    if (it == m_dialogs.end())
        return nullptr;
    Entry entry = std::move(it->second);
    m_dialogs.erase(it);
    QObject::disconnect(entry.destroyed);
    QObject::disconnect(entry.finished);
    return entry.dialog.data();
}

void CModelessRegistryBase::CloseAll()
{
    while (!m_dialogs.empty())
        Close(m_dialogs.begin()->first);
}

int CModelessRegistryBase::Count() const
{
    int n = 0;
    for (const auto& [object, entry] : m_dialogs)
        if (!entry.dialog.isNull())
            ++n;
    return n;
}
