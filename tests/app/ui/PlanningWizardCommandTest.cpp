// The main frame's planning-wizard command: only for a universal-file DAQ project, one menu.
#include "app/TALVOApp.h"
#include "app/TALVODoc.h"
#include "app/ui/DockTreeWnd.h"
#include "app/ui/MainFrame.h"
#include "planning/ui/DlgWizDAQPPMenu.h"
#include "platform/win/WinTypes.h"
#include "uff/ExtUFDaqProject.h"

#include <gtest/gtest.h>

TEST(PlanningWizardCommand, OpensTheMenuOnlyForUniversalFileProjects)
{
    ASSERT_TRUE(GetTALVOApp().SetLanguage(LANG_ENGLISH));
    if (GetTALVOApp().GetTemplateCount() == 0)
        GetTALVOApp().RegisterDocTemplates();
    CMainFrame frame;
    EXPECT_FALSE(frame.IsCommandEnabled(ID_PLANNING_WIZARD));
    auto doc = std::make_unique<CTALVODoc>();
    CTALVOProject& container = doc->GetTALVOProject();
    container.AddDaqProject();
    container.AddExtDaqProject(std::make_unique<CExtUFDaqProject>());
    ASSERT_EQ(container.GetProjectCount(), 2);
    doc->AddProjectsToViews();
    frame.AttachDocument(std::move(doc));
    ASSERT_GE(frame.TreeWindow()->GetTreeCount(), 2);

    // An ordinary DAQ project: nothing opens.
    frame.TreeWindow()->SetActiveIndex(0);
    frame.OnCommand(ID_PLANNING_WIZARD);
    EXPECT_EQ(CDlgWizDAQPPMenu::GetInstance(), nullptr);

    frame.TreeWindow()->SetActiveIndex(1);
    ASSERT_TRUE(frame.OnCommand(ID_PLANNING_WIZARD));
    auto* menu = CDlgWizDAQPPMenu::GetInstance();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->GetProject(), container.GetProject(1));
    frame.OnCommand(ID_PLANNING_WIZARD);
    EXPECT_EQ(CDlgWizDAQPPMenu::GetInstance(), menu);
    // The menu works on the document's project, so it goes with the document.
    ASSERT_TRUE(frame.CloseMainDocument());
    EXPECT_EQ(CDlgWizDAQPPMenu::GetInstance(), nullptr);
}
