#include "platform/ui/ModelessRegistry.h"
#include "platform/ui/SingleInstance.h"
#include "platform/ui/ZuDialog.h"
#include "platform/win/ObjectLifetime.h"

#include <QApplication>
#include <QPointer>

#include <functional>

#include <gtest/gtest.h>

namespace {

// Runs the deferred deletions that closing a dialog leaves for the event loop.
void FlushDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

class CResultDialog : public CZuDialog
{
public:
    explicit CResultDialog(const void* shown) : shown(shown) {}
    const void* shown;
};

// A kind of dialog and a kind derived from it, each one per object or one in the program.
class CPlanDialog : public CZuDialog, public CSingleInstance<CPlanDialog>
{};
class CCablePlanDialog : public CPlanDialog, public CSingleInstance<CCablePlanDialog>
{
public:
    using CSingleInstance<CCablePlanDialog>::GetInstance;
    using CSingleInstance<CCablePlanDialog>::DestroyInstance;
    using CSingleInstance<CCablePlanDialog>::Instances;
    using CSingleInstance<CCablePlanDialog>::ProgramKey;
};

TEST(ModelessRegistry, OneDialogPerObjectClosedWhenTheObjectGoes)
{
    CModelessRegistry<CResultDialog> registry;
    int first = 0, second = 0;
    int created = 0;
    auto make = [&](const void* o) {
        return [&created, o] {
            ++created;
            return new CResultDialog(o);
        };
    };
    bool isNew = false;
    CResultDialog* d1 = registry.ShowFor(&first, make(&first), &isNew);
    ASSERT_NE(d1, nullptr);
    EXPECT_TRUE(isNew);
    EXPECT_TRUE(d1->isVisible());
    EXPECT_EQ(registry.ShowFor(&first, make(&first), &isNew), d1); // the open one comes forward
    EXPECT_FALSE(isNew);
    CResultDialog* d2 = registry.ShowFor(&second, make(&second));
    EXPECT_NE(d2, d1);
    EXPECT_EQ(created, 2);
    EXPECT_EQ(registry.Count(), 2);

    QPointer<CResultDialog> watch1 = d1;
    NotifyObjectGoing(&first); // the object is destroyed
    EXPECT_EQ(registry.Find(&first), nullptr);
    EXPECT_FALSE(d1->isVisible());
    FlushDeletes();
    EXPECT_TRUE(watch1.isNull());
    EXPECT_EQ(registry.Find(&second), d2);
    EXPECT_EQ(registry.Count(), 1);

    // Another object's going touches nothing here.
    int unrelated = 0;
    NotifyObjectGoing(&unrelated);
    EXPECT_EQ(registry.Count(), 1);
}

TEST(ModelessRegistry, UserClosedDialogLeavesTheRegistry)
{
    CModelessRegistry<CResultDialog> registry;
    int object = 0;
    CResultDialog* d = registry.ShowFor(&object, [&] { return new CResultDialog(&object); });
    ASSERT_NE(d, nullptr);
    d->close(); // the close box: deleted on close
    FlushDeletes();
    EXPECT_EQ(registry.Find(&object), nullptr);
    EXPECT_EQ(registry.Count(), 0);
    // A refused creation registers nothing.
    EXPECT_EQ(registry.ShowFor(&object, [] { return static_cast<CResultDialog*>(nullptr); }), nullptr);
    EXPECT_EQ(registry.Count(), 0);
    // The next request makes a new one.
    EXPECT_NE(registry.ShowFor(&object, [&] { return new CResultDialog(&object); }), nullptr);
}

TEST(ModelessRegistry, ModelessDialogEndsItselfAndRegistryGoingClosesTheRest)
{
    int object = 0;
    QPointer<CResultDialog> watch;
    {
        CModelessRegistry<CResultDialog> registry;
        CResultDialog* d = registry.ShowFor(&object, [&] {
            auto* dlg = new CResultDialog(&object);
            dlg->Create();
            return dlg;
        });
        ASSERT_NE(d, nullptr);
        EXPECT_TRUE(d->IsModeless());
        EXPECT_TRUE(d->IsInitialized());
        d->PressOK(); // a modeless dialog goes away when it ends
        EXPECT_EQ(registry.Find(&object), nullptr);
        FlushDeletes();
        EXPECT_EQ(registry.Count(), 0);

        watch = registry.ShowFor(&object, [&] { return new CResultDialog(&object); });
        ASSERT_FALSE(watch.isNull());
    }
    FlushDeletes();
    EXPECT_TRUE(watch.isNull());
}

TEST(ModelessRegistry, LeaveNoticeComesOnceHoweverTheDialogGoes)
{
    struct Case
    {
        const char* name;
        std::function<void(CModelessRegistry<CResultDialog>&, const void*, CResultDialog*)> end;
    };
    const Case cases[] = {
        {"closed by the user", [](auto&, const void*, CResultDialog* d) { d->close(); }},
        {"ended itself", [](auto&, const void*, CResultDialog* d) { d->PressOK(); }},
        {"closed through the registry", [](auto& r, const void* o, CResultDialog*) { r.Close(o); }},
        {"its object went", [](auto&, const void* o, CResultDialog*) { NotifyObjectGoing(o); }},
        {"replaced by a newer one",
         [](auto& r, const void* o, CResultDialog*) { r.Register(o, new CResultDialog(o)); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CModelessRegistry<CResultDialog> registry;
        int object = 0;
        CResultDialog* d = registry.ShowFor(&object, [&] {
            auto* dlg = new CResultDialog(&object);
            dlg->Create();
            return dlg;
        });
        ASSERT_NE(d, nullptr);
        int left = 0;
        EXPECT_TRUE(registry.OnLeave(&object, [&] { ++left; }));
        c.end(registry, &object, d);
        FlushDeletes();
        EXPECT_EQ(left, 1);
        registry.CloseAll();
        FlushDeletes();
        EXPECT_EQ(left, 1);
    }
    CModelessRegistry<CResultDialog> registry;
    int none = 0;
    EXPECT_FALSE(registry.OnLeave(&none, [] {}));
}

TEST(ModelessRegistry, ReleasedDialogLivesOnUnregistered)
{
    CModelessRegistry<CResultDialog> registry;
    int object = 0;
    CResultDialog* d = registry.ShowFor(&object, [&] { return new CResultDialog(&object); });
    int left = 0;
    registry.OnLeave(&object, [&] { ++left; });
    QPointer<CResultDialog> watch = d;
    EXPECT_EQ(registry.Release(&object), d);
    EXPECT_EQ(registry.Release(&object), nullptr);
    EXPECT_EQ(registry.Find(&object), nullptr);
    NotifyObjectGoing(&object); // no longer the registry's to close
    FlushDeletes();
    ASSERT_FALSE(watch.isNull());
    EXPECT_TRUE(d->isVisible());
    EXPECT_EQ(left, 0);
    // A new dialog for the object is made beside it.
    CResultDialog* next = registry.ShowFor(&object, [&] { return new CResultDialog(&object); });
    EXPECT_NE(next, d);
    delete d;
    EXPECT_EQ(registry.Find(&object), next);
}

} // namespace

TEST(SingleInstance, EachKindKeepsItsOwnDialogsPerObjectAndOneForTheProgram)
{
    int project = 0;
    CPlanDialog* plan = CPlanDialog::Instances().ShowFor(CPlanDialog::ProgramKey(), [] { return new CPlanDialog; });
    CCablePlanDialog* cable =
        CCablePlanDialog::Instances().ShowFor(CCablePlanDialog::ProgramKey(), [] { return new CCablePlanDialog; });
    CPlanDialog* ofProject = CPlanDialog::Instances().RegisterNew(&project, [] { return new CPlanDialog; });
    ASSERT_TRUE(plan && cable && ofProject);
    EXPECT_EQ(CPlanDialog::GetInstance(), plan);
    EXPECT_EQ(CCablePlanDialog::GetInstance(), cable) << "a derived kind is not its base's one";
    EXPECT_EQ(CPlanDialog::GetInstance(&project), ofProject);

    EXPECT_TRUE(CCablePlanDialog::DestroyInstance());
    EXPECT_FALSE(CCablePlanDialog::DestroyInstance());
    EXPECT_EQ(CCablePlanDialog::GetInstance(), nullptr);
    EXPECT_EQ(CPlanDialog::GetInstance(), plan);
    NotifyObjectGoing(&project);
    EXPECT_EQ(CPlanDialog::GetInstance(&project), nullptr);
    EXPECT_TRUE(CPlanDialog::DestroyInstance());
    FlushDeletes();
}
