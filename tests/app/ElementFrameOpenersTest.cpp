// Opening an element's window through its template: a new window for an element without one, and
// the one already open brought forward (nothing new) when asked to open or activate; the tree's
// opener hands an element to the result window that takes it.
#include "app/TALVOApp.h"
#include "platform/elements/MElement.h"
#include "platform/win/WinTypes.h"

#include <gtest/gtest.h>

#include <set>

namespace {
// A window family that keeps one window per element, as the real ones do.
struct FakeFamily
{
    std::set<CMElement*> windows;
    int opened = 0;
    int broughtForward = 0;
};
} // namespace

TEST(ElementFrameOpeners, OpenAndOpenOrActivateKeepOneWindowPerElement)
{
    CTALVOApp& app = GetTALVOApp();
    ASSERT_TRUE(app.SetLanguage(LANG_ENGLISH));
    app.RegisterDocTemplates();
    // A result window registered without its window family yet.
    app.AddResultWindow({IDR_RMVDATA, "CRMVDataDoc", [](const CMElement& e) { return e.GetType() == 103; }, {}, {}});
    CZuMultiDocTemplate* rmv = app.FindTemplate("RMVView");
    ASSERT_NE(rmv, nullptr);
    CMElement a("a", nullptr, 103), b("b", nullptr, 103);

    // Without an installed window family nothing opens.
    EXPECT_FALSE(app.OpenElementFrame("RMVView", &a));
    EXPECT_FALSE(app.OpenOrActivateElementFrame("RMVView", &a));
    EXPECT_FALSE(app.OpenDataView(&a));

    FakeFamily family;
    app.AddResultWindow({IDR_RMVDATA, "CRMVDataDoc", [](const CMElement& e) { return e.GetType() == 103; },
                         [&family](CMElement* e) {
                             if (!family.windows.insert(e).second)
                                 ++family.broughtForward;
                             else
                                 ++family.opened;
                             return true;
                         },
                         [&family](CMElement* e) { return family.windows.count(e) > 0; }});
    ASSERT_EQ(app.FindTemplate("RMVView"), rmv) << "the window keeps its template";

    EXPECT_FALSE(app.OpenElementFrame("NoSuchView", &a));
    EXPECT_FALSE(app.OpenElementFrame("RMVView", nullptr));
    EXPECT_TRUE(app.OpenOrActivateElementFrame("RMVView", &a));
    EXPECT_EQ(family.opened, 1);
    // Asked again for the same element: its window comes forward and the answer is "nothing new".
    EXPECT_FALSE(app.OpenOrActivateElementFrame("RMVView", &a));
    EXPECT_EQ(family.opened, 1);
    EXPECT_EQ(family.broughtForward, 1);
    // Another element gets its own window.
    EXPECT_TRUE(app.OpenElementFrame("RMVView", &b));
    EXPECT_EQ(family.opened, 2);

    // The tree's opener hands the element to the window that takes it; the templates made again keep it.
    app.RegisterDocTemplates();
    CMElement c("c", nullptr, 103), other("other", nullptr, 104);
    EXPECT_TRUE(app.OpenDataView(&c));
    EXPECT_EQ(family.opened, 3);
    EXPECT_FALSE(app.OpenDataView(&other));

    app.AddResultWindow({IDR_RMVDATA, "CRMVDataDoc", {}, {}, {}});
}
