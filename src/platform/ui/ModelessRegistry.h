#pragma once
// Modeless dialogs that show one object each: at most one dialog per object and kind. Each dialog
// kind keeps one registry; asking for the dialog of an object that already has one brings that
// one forward instead of making a second. The registry hears when an object goes
// (NotifyObjectGoing) and closes its dialog, so no dialog outlives what it shows; a dialog that
// the user closes leaves the registry by itself.
#include <QPointer>
#include <QWidget>

#include <functional>
#include <map>

class CModelessRegistryBase
{
public:
    CModelessRegistryBase();
    virtual ~CModelessRegistryBase();
    CModelessRegistryBase(const CModelessRegistryBase&) = delete;
    CModelessRegistryBase& operator=(const CModelessRegistryBase&) = delete;

    QWidget* FindWidget(const void* object) const;
    // Registers the dialog of an object (deleted when closed). A dialog registered before for the
    // object is closed first.
    void Register(const void* object, QWidget* dialog);
    // Closes and forgets the dialog of an object; false when it has none.
    bool Close(const void* object);
    void CloseAll();
    // Calls left once when the dialog of an object leaves the registry: the user closed it, it was
    // destroyed or closed through the registry. False when the object has no dialog.
    bool OnLeave(const void* object, std::function<void()> left);
    // Forgets the dialog of an object without closing it (left is not called); the dialog lives on
    // by itself. Returns it, or null when the object had none.
    QWidget* Release(const void* object);
    int Count() const;

private:
    void Forget(const void* object, QWidget* dialog);

    struct Entry
    {
        QPointer<QWidget> dialog;
        QMetaObject::Connection destroyed;
        QMetaObject::Connection finished;
        std::function<void()> left;
    };
    std::map<const void*, Entry> m_dialogs;
    int m_listener = 0;
};

template <class TDialog>
class CModelessRegistry : public CModelessRegistryBase
{
public:
    TDialog* Find(const void* object) const { return static_cast<TDialog*>(FindWidget(object)); }

    // A new dialog made by create and registered for the object, not yet shown; null when the
    // object has one already.
    TDialog* RegisterNew(const void* object, const std::function<TDialog*()>& create)
    {
        if (Find(object))
            return nullptr;
        TDialog* dialog = create();
        if (dialog)
            Register(object, dialog);
        return dialog;
    }

    // The dialog of the object: the open one, raised and activated, or a new one made by create
    // (which returns null to refuse), registered and shown. created tells which.
    TDialog* ShowFor(const void* object, const std::function<TDialog*()>& create, bool* created = nullptr)
    {
        if (created)
            *created = false;
        if (TDialog* open = Find(object)) {
            open->showNormal();
            open->raise();
            open->activateWindow();
            return open;
        }
        TDialog* dialog = create ? create() : nullptr;
        if (!dialog)
            return nullptr;
        Register(object, dialog);
        if (created)
            *created = true;
        if (!dialog->isVisible())
            dialog->show();
        return dialog;
    }
};
