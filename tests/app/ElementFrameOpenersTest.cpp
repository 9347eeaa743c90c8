// Opening an element's window through its template: a new window for an element without one, and
// the one already open brought forward (nothing new) when asked to open or activate.
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
    if (app.GetTemplateCount() == 0)
        app.RegisterDocTemplates();
    CZuMultiDocTemplate* rmv = app.FindTemplate("RMVView");
    ASSERT_NE(rmv, nullptr);
    CMElement a("a", nullptr, 103), b("b", nullptr, 103);

    // Without an installed window family nothing opens.
    EXPECT_FALSE(app.OpenElementFrame("RMVView", &a));
    EXPECT_FALSE(app.OpenOrActivateElementFrame("RMVView", &a));

    FakeFamily family;
    rmv->SetOpener([&family](CMElement* e) {
        if (!family.windows.insert(e).second)
            ++family.broughtForward;
        else
            ++family.opened;
        return true;
    });
    rmv->SetWindowFinder([&family](CMElement* e) { return family.windows.count(e) > 0; });

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

    rmv->SetOpener({});
    rmv->SetWindowFinder({});
}
