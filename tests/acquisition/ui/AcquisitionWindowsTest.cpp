// The sampling progress window, the unit connection dialog, the unit status grid and the
// connection check, over simulated systems described in the settings.
#include <gtest/gtest.h>

#include "acquisition/DAQ.h"
#include "acquisition/DAQExeManager.h"
#include "acquisition/MultiQMXInterface.h"
#include "acquisition/ui/DlgBlixStatus.h"
#include "platform/ui/ColorStaticST.h"
#include "acquisition/ui/DlgConnectWaiting.h"
#include "acquisition/ui/DlgQMXConnection.h"
#include "acquisition/ui/EnsureQMXConnection.h"
#include "acquisition/ui/FormProgress.h"
#include "acquisition/ui/FormProgressFeedback.h"
#include "common/ProjectLookups.h"
#include "platform/base/MsClock.h"
#include "platform/qmx/QmxSimLayout.h"
#include "platform/qmx/QmxSimSystem.h"
#include "platform/win/Messages.h"
#include "platform/win/PromptService.h"
#include "platform/win/QueuedMessageTarget.h"
#include "platform/win/ZuRegOptions.h"
#include "GrabWindow.h"

#include <QApplication>
#include <QDir>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <atomic>
#include <thread>

using namespace std::chrono_literals;

namespace {

// Two simulated systems at their own addresses, one that does not answer; the interface holder
// starts empty and is emptied again.
class AcquisitionWindows : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CDAQ::Destroy();
        WriteProfileString(CQmxSimLayout::kSettingsSection, "10.0.0.1", "boards=4+4; serial=1; address=10.0.0.1");
        WriteProfileString(CQmxSimLayout::kSettingsSection, "10.0.0.2", "boards=2+2; serial=101; address=10.0.0.2");
        WriteProfileString(CQmxSimLayout::kSettingsSection, "10.0.0.9", "none");
        WriteProfileString("QMX", "IP", "10.0.0.1");
        ASSERT_TRUE(m_pictures.isValid());
    }
    void TearDown() override { CDAQ::Destroy(); }

    // Grabs a window into the test's folder and checks that its visible controls have a size.
    void Grab(QWidget& w, const char* name) { GrabWindow(w, m_pictures, name); }

    CManualMsClock m_ms{1000};
    QTemporaryDir m_pictures;
};

// Connects the systems at these addresses through the interface holder.
CMultiQMXInterface& Connect(std::initializer_list<const char*> addresses)
{
    CMultiQMXInterface& units = *CDAQ::GetMultiInterface();
    for (const char* a : addresses) {
        WriteProfileString("QMX", "IP", a);
        EXPECT_EQ(units.AddUnit(), 1) << a;
    }
    return units;
}

TEST_F(AcquisitionWindows, ProgressWindowFollowsTheUnitsAndTheRun)
{
    CMultiQMXInterface& units = Connect({"10.0.0.1", "10.0.0.2"});
    CRecordingMessageTarget owner;
    CFormProgress* form = CFormProgress::CreateInstance(nullptr, &owner, &units);
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(CFormProgress::CreateInstance(nullptr, &owner, &units), nullptr) << "at most one";
    EXPECT_EQ(CFormProgress::GetInstance(), form);
    form->Create();
    EXPECT_EQ(form->StatusText(), "<< Wait ... >>");
    EXPECT_EQ(form->TimeText(), "Sampling Time: 0.0 sec");
    EXPECT_FALSE(form->StopButton()->isEnabled());

    // Not settled: Start is disabled and the window keeps looking.
    EXPECT_TRUE(QTest::qWaitFor([&] { return !form->StartButton()->isEnabled(); }, 2000));
    EXPECT_TRUE(form->IsTimerActive(2));
    EXPECT_EQ(form->StatusText(), "<< Wait ... >>");
    m_ms.Advance(30000);
    ASSERT_TRUE(QTest::qWaitFor([&] { return form->StatusText() == "<< Start >>"; }, 2000));
    EXPECT_TRUE(form->StartButton()->isEnabled());
    EXPECT_FALSE(form->IsTimerActive(2));

    QTest::mouseClick(form->StartButton(), Qt::LeftButton);
    EXPECT_EQ(owner.MessageNumbers(), (std::vector<uint32_t>{WM_ZU_SAMPLING_START}));
    EXPECT_EQ(form->StatusText(), "<< Sampling ... >>");
    EXPECT_TRUE(form->StopButton()->isEnabled());
    m_ms.Advance(12340);
    ASSERT_TRUE(QTest::qWaitFor([&] { return form->TimeText() == "Sampling Time: 12.3 sec"; }, 2000));
    Grab(*form, "FormProgress");

    // The run's transfer reaches the window through the run's feedback, as the run manager tells it.
    CFormProgressFeedback run;
    run.Begin(CDAQExeManager::kSamplingText, 800);
    run.SetPos(400);
    EXPECT_EQ(form->StatusText(), "<< Sampling ... >>");
    EXPECT_TRUE(form->IsTimerActive(1));
    run.SetText(CDAQExeManager::kTransferText);
    EXPECT_EQ(form->StatusText(), "<< Data transfer ... >>");
    EXPECT_FALSE(form->IsTimerActive(1));
    run.SetText(CDAQExeManager::kTransferDoneText);
    EXPECT_EQ(form->StatusText(), "<< Data Transfer ... done >>");
    run.End();

    // Closing only stops the clocks; 0xA307 ends the window.
    form->close();
    EXPECT_TRUE(form->isVisible());
    QPointer<CFormProgress> alive(form);
    form->Target()->SendMessage(WM_ZU_SAMPLING_DESTROY);
    EXPECT_EQ(CFormProgress::GetInstance(), nullptr);
    EXPECT_TRUE(QTest::qWaitFor([&] { return alive.isNull(); }, 2000));

    // Stop, then cancel: the owner hears both and the window goes.
    owner.Clear();
    CFormProgress* second = CFormProgress::CreateInstance(nullptr, &owner, &units);
    ASSERT_NE(second, nullptr);
    second->Create();
    second->OnStart();
    QTest::mouseClick(second->StopButton(), Qt::LeftButton);
    EXPECT_EQ(second->StatusText(), "<< Wait ... >>");
    EXPECT_FALSE(second->StartButton()->isEnabled());
    QPointer<CFormProgress> secondAlive(second);
    second->PressCancel();
    EXPECT_TRUE(QTest::qWaitFor([&] { return secondAlive.isNull(); }, 2000));
    EXPECT_EQ(owner.MessageNumbers(),
              (std::vector<uint32_t>{WM_ZU_SAMPLING_START, WM_ZU_SAMPLING_STOP, WM_ZU_SAMPLING_CLOSED}));
    EXPECT_EQ(CFormProgress::GetInstance(), nullptr);
    EXPECT_FALSE(CFormProgress::DestroyInstance());
}

TEST_F(AcquisitionWindows, AUserInterfaceThreadWaitingForTheRunServesTheWorkersSends)
{
    CMultiQMXInterface& units = Connect({"10.0.0.1", "10.0.0.2"});
    m_ms.Advance(30000);
    std::vector<CQmxSimSystem*> sims;
    for (int i = 0; i < 2; ++i) {
        sims.push_back(dynamic_cast<CQmxSimSystem*>(units.GetUnit(i)->GetSystemInterface()));
        ASSERT_NE(sims.back(), nullptr);
        sims.back()->SetClock({}); // complete at once: the worker goes straight on to its sends
    }
    ASSERT_TRUE(units.SetDuration(0.0625f));
    QThread* ui = QThread::currentThread();
    std::vector<uint32_t> sent;
    std::atomic<bool> onUi{true};
    CQueuedMessageTarget window([&](uint32_t msg, uintptr_t, intptr_t) -> intptr_t {
        if (msg == WM_ZU_DAQ_TRANSFER_BEGIN || msg == WM_ZU_DAQ_TRANSFER_DONE) {
            sent.push_back(msg);
            onUi = onUi && QThread::currentThread() == ui;
        }
        return 0;
    });
    units.SetNotifyWindow(&window, WM_ZU_DAQ_STARTED, WM_ZU_DAQ_STOPPED, WM_ZU_DAQ_COMPLETE);
    ASSERT_TRUE(units.Start());
    // Once both systems have reported complete, the worker sends without looking for a stop.
    const auto end = std::chrono::steady_clock::now() + 5s;
    while ((sims[0]->CallCount(QmxCall::GetProgress) == 0 || sims[1]->CallCount(QmxCall::GetProgress) == 0) &&
           std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(1ms);
    // No event loop runs here: only the wait itself can answer the worker's sends.
    units.StopAllUnits();
    units.SetNotifyWindow(nullptr, 0, 0, 0);
    EXPECT_EQ(sent, (std::vector<uint32_t>{WM_ZU_DAQ_TRANSFER_BEGIN, WM_ZU_DAQ_TRANSFER_DONE}));
    EXPECT_TRUE(onUi);
    EXPECT_EQ(units.GetState(), 1);
    QApplication::processEvents();
}

TEST_F(AcquisitionWindows, ConnectionDialogConnectsSwapsAndDisconnectsUnits)
{
    CMultiQMXInterface& units = *CDAQ::GetMultiInterface();
    CScriptedPrompts prompts;
    CScriptedDialogs dialogs;
    const int waitingBefore = CDlgConnectWaiting::ShownCount();
    dialogs.Then([&](CZuDialog& d) {
        auto& dlg = static_cast<CDlgQMXConnection&>(d);
        EXPECT_EQ(dlg.AddressEdit()->text(), "10.0.0.1") << "prefilled from the profile";
        // Cancelling the question touches nothing.
        prompts.Answer(IDCANCEL);
        dlg.Button(2001)->click();
        EXPECT_EQ(units.GetUnitCount(), 0);
        EXPECT_EQ(CDlgConnectWaiting::ShownCount(), waitingBefore);

        prompts.Answer(IDOK).Answer(IDOK);
        dlg.Button(2001)->click();
        dlg.AddressEdit()->setText("10.0.0.2");
        dlg.Button(2001)->click();
        EXPECT_EQ(CDlgConnectWaiting::ShownCount(), waitingBefore + 2);
        EXPECT_EQ(units.GetUnitCount(), 2);
        EXPECT_EQ(units.GetMaxChannels(), 24);
        QTableWidget* list = dlg.UnitList();
        EXPECT_EQ(list->rowCount(), 2);
        EXPECT_EQ(list->item(0, 0)->text(), "1");
        EXPECT_EQ(list->item(0, 1)->text(), "10.0.0.1");
        EXPECT_EQ(list->item(1, 1)->text(), "10.0.0.2");

        // The end rows do not move further; the second moves up.
        list->selectRow(0);
        dlg.Button(3020)->click();
        EXPECT_EQ(list->item(0, 1)->text(), "10.0.0.1");
        list->selectRow(1);
        dlg.Button(3019)->click();
        EXPECT_EQ(list->item(1, 1)->text(), "10.0.0.2");
        dlg.Button(3020)->click();
        EXPECT_EQ(list->item(0, 1)->text(), "10.0.0.2");
        EXPECT_EQ(units.GetUnit(0)->GetAddress(), "10.0.0.2");
        EXPECT_EQ(dlg.SelectedRow(), 0);
        Grab(dlg, "DlgQMXConnection");

        // A system that does not answer is not added.
        dlg.AddressEdit()->setText("10.0.0.9");
        prompts.Answer(IDOK).Answer(IDOK);
        dlg.Button(2001)->click();
        EXPECT_EQ(prompts.Last().stringId, 6071u);
        EXPECT_EQ(list->rowCount(), 2);

        list->selectRow(0);
        dlg.Button(2002)->click();
        EXPECT_EQ(units.GetUnitCount(), 1);
        EXPECT_EQ(list->rowCount(), 1);
        EXPECT_EQ(list->item(0, 1)->text(), "10.0.0.1");
        return IDCANCEL;
    });
    CDlgQMXConnection dialog(&units);
    dialog.DoModal();
    EXPECT_EQ(dialogs.Unexpected(), 0u);
    EXPECT_EQ(prompts.Unexpected(), 0u);
}

TEST_F(AcquisitionWindows, StatusGridShowsChainsAndFlaggedUnits)
{
    CMultiQMXInterface& units = Connect({"10.0.0.1", "10.0.0.2"});
    CDlgBlixStatus::CModal modal(&units);
    CDlgBlixStatus& dlg = modal.Dialog();
    dlg.EnsureInitialized();
    // 10.0.0.1: chains A and B of 4 units each; 10.0.0.2: chains A and B of 2 units each.
    QTableWidget* grid = dlg.Grid();
    ASSERT_EQ(grid->rowCount(), 4);
    ASSERT_EQ(grid->columnCount(), 9);
    EXPECT_EQ(grid->horizontalHeaderItem(0)->text(), "Slot - Chain");
    EXPECT_EQ(grid->horizontalHeaderItem(1)->text(), "BLIX 1");
    EXPECT_EQ(grid->horizontalHeaderItem(8)->text(), "BLIX 4");
    EXPECT_EQ(grid->item(0, 0)->text(), "Slot 1 - Chain A");
    EXPECT_EQ(grid->item(1, 0)->text(), "Slot 1 - Chain B");
    EXPECT_EQ(grid->item(2, 0)->text(), "Slot 2 - Chain A") << "boards numbered on across systems";
    EXPECT_EQ(grid->item(0, 1)->text(), "00001\n#1");
    EXPECT_EQ(grid->item(0, 2)->text(), "00001\n#2");
    EXPECT_EQ(grid->item(0, 3)->text(), "00002\n#1") << "two units of one chain on one row";
    EXPECT_EQ(grid->item(2, 5), nullptr) << "a chain of 4 channels leaves cells empty";
    EXPECT_EQ(grid->item(0, 1)->background().color(), QColor(0, 255, 0));
    EXPECT_EQ(dlg.IsUnitFlagged(), 0);

    // A unit reports its status bit; the refresh re-reads the hardware.
    int board = 0;
    int device = 0;
    auto* sim = dynamic_cast<CQmxSimSystem*>(units.GetUnit(0)->GetSystemInterface());
    ASSERT_NE(sim, nullptr);
    for (int ch : {2, 3}) { // both channels of unit 00002
        ASSERT_TRUE(sim->ChannelAddress(ch, board, device));
        ASSERT_TRUE(sim->SetDeviceStatus(board, device, 0x10000000));
    }
    dlg.OnRefresh();
    EXPECT_EQ(grid->item(0, 3)->background().color(), QColor(255, 255, 0));
    EXPECT_EQ(grid->item(0, 1)->background().color(), QColor(0, 255, 0));
    EXPECT_EQ(dlg.IsUnitFlagged(), 1);
    // The legend names the two colours in coloured texts of their own.
    auto* normal = dlg.findChild<CColorStaticST*>(QStringLiteral("Legend3174"));
    auto* flagged = dlg.findChild<CColorStaticST*>(QStringLiteral("Legend3145"));
    ASSERT_TRUE(normal && flagged);
    EXPECT_EQ(normal->GetBkColor(), RGB(0, 255, 0));
    EXPECT_EQ(flagged->GetBkColor(), RGB(255, 255, 0));
    Grab(dlg, "DlgBlixStatus");

    // A chain of more than 8 channels widens the grid rather than losing channels.
    CQmxBlixChMgr& merged = units.GetChannelManager();
    const CQmxBlixChInfo extra = merged.GetBlixChInfoList()[0];
    merged.GetBlixChInfoList().Add(extra);
    dlg.Show(false);
    EXPECT_EQ(grid->columnCount(), 10);
    EXPECT_EQ(grid->horizontalHeaderItem(9)->text(), "BLIX 5");
    EXPECT_EQ(grid->item(0, 9)->text(), "00001\n#1");
}

TEST_F(AcquisitionWindows, TheModelessStatusWindowExistsOnce)
{
    Connect({"10.0.0.2"});
    CDlgBlixStatus* first = ShowBlixStatusDialog();
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(first->Grid()->rowCount(), 2);
    EXPECT_EQ(ShowBlixStatusDialog(), first);
    QPointer<CDlgBlixStatus> alive(first);
    first->PressCancel();
    EXPECT_EQ(CDlgBlixStatus::GetInstance(), nullptr);
    EXPECT_TRUE(QTest::qWaitFor([&] { return alive.isNull(); }, 2000));
}

TEST_F(AcquisitionWindows, ConnectionCheckConnectsWhenNoUnitIsThere)
{
    // The project the check works for: it only records the channel count.
    struct Project : IProjectLookups
    {
        int GetSystemChannelCount() const override { return channels; }
        void SetSystemChannelCount(int count) override { channels = count; }
        const CModelSubsystem* FindModelSubsystem(const std::string&) const override { return nullptr; }
        std::string GetSubsystemDisplayName(const std::string& name) const override { return name; }
        float GetSensorSensitivity(const std::string&) const override { return 0.0f; }
        int AddToSensorAssignment(const std::string&, const std::string&) override { return -1; }
        std::string GetDocumentPath() const override { return {}; }
        int channels = -1;
    } project;
    CScriptedPrompts prompts;
    CScriptedDialogs dialogs;
    // No unit: the connection dialog; closed without connecting gives 0.
    dialogs.PressCancel();
    EXPECT_EQ(EnsureQMXConnection(&project, 0, 1), 0);
    dialogs.Then([&](CZuDialog& d) {
        prompts.Answer(IDOK);
        static_cast<CDlgQMXConnection&>(d).Button(2001)->click();
        return IDCANCEL;
    });
    EXPECT_EQ(EnsureQMXConnection(&project, 0, 1), 1);
    EXPECT_EQ(project.channels, 16);
    // Units there: asked before initialising; a refused initialisation gives 6232.
    dialogs.PressCancel();
    EXPECT_EQ(EnsureQMXConnection(&project, 0, 1), 1);
    EXPECT_EQ(dialogs.Records().back().templateId, 4007);
    auto* sim = dynamic_cast<CQmxSimSystem*>(CDAQ::GetMultiInterface()->GetUnit(0)->GetSystemInterface());
    ASSERT_NE(sim, nullptr);
    sim->FailCall(QmxCall::Reinitialize, 1);
    prompts.Answer(IDOK);
    EXPECT_EQ(EnsureQMXConnection(&project, 1, 0), 0);
    EXPECT_EQ(prompts.Last().stringId, 6232u);
    EXPECT_EQ(dialogs.Unexpected(), 0u);
}

} // namespace
