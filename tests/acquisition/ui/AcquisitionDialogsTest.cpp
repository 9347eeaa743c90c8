// The acquisition configuration dialog with and without units, and the hardware question.
#include <gtest/gtest.h>

#include "acquisition/DAQ.h"
#include "acquisition/MultiQMXInterface.h"
#include "acquisition/ui/DlgConfirmInitHardware.h"
#include "acquisition/ui/DlgDAQConfig.h"
#include "experiments/DAQConfig.h"
#include "platform/base/MsClock.h"
#include "platform/qmx/QmxSimLayout.h"
#include "platform/win/PromptService.h"
#include "platform/win/StringTable.h"
#include "platform/win/ZuRegOptions.h"
#include "GrabWindow.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QTemporaryDir>

namespace {

class AcquisitionDialogs : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(LoadLanguageStrings(9));
        CDAQ::Destroy();
        WriteProfileString(CQmxSimLayout::kSettingsSection, "10.0.0.1", "boards=4+4; serial=1; address=10.0.0.1");
        WriteProfileString("QMX", "IP", "10.0.0.1");
        ASSERT_TRUE(m_pictures.isValid());
    }
    void TearDown() override { CDAQ::Destroy(); }

    void Grab(QWidget& w, const char* name) { GrabWindow(w, m_pictures, name); }

    CManualMsClock m_ms{1000};
    QTemporaryDir m_pictures;
};

const std::vector<double> kBands = {1000.0, 2000.0, 5000.0, 10000.0, 20000.0, 25000.0};

// Chooses the band frequency in the dialog as a user would.
void Choose(CDlgDAQConfig& dialog, double freq)
{
    const int i = dialog.FrequencyCombo()->findData(freq);
    ASSERT_GE(i, 0);
    dialog.FrequencyCombo()->setCurrentIndex(i);
    emit dialog.FrequencyCombo()->activated(i);
}

} // namespace

TEST_F(AcquisitionDialogs, ConfigurationDerivesSamplingFromTheFrequencyAndAppliesIt)
{
    CMultiQMXInterface& units = *CDAQ::GetMultiInterface();
    ASSERT_EQ(units.AddUnit(), 1);
    CDAQConfig config;
    config.SetRpmChannel(15);
    CDlgDAQConfig dialog(&units);
    dialog.LoadFrom(config);
    dialog.SetBandFrequencies(kBands);
    dialog.EnsureInitialized();
    EXPECT_EQ(dialog.FrequencyCombo()->currentText(), "5000");
    ASSERT_EQ(dialog.ChannelCombo()->count(), 16);
    EXPECT_EQ(dialog.ChannelCombo()->itemText(0), "1: 00001-1");
    EXPECT_EQ(dialog.ChannelCombo()->currentText(), "16: 00008-2");

    struct Case
    {
        double freq;
        const char* fs;
        const char* limit;
    };
    for (const Case& c : {Case{5000.0, "12800", "5760"}, Case{20000.0, "51200", "23040"},
                          Case{25000.0, "102400", "46080"}, Case{10000.0, "25600", "11520"}}) {
        Choose(dialog, c.freq);
        EXPECT_EQ(dialog.Edit(3118)->text(), c.fs) << c.freq;
        EXPECT_EQ(dialog.Edit(3084)->text(), c.limit) << c.freq;
    }
    Grab(dialog, "DlgDAQConfig");

    // Levels: 0 and 100.5 refused with 6103, 100 accepted.
    CScriptedPrompts prompts;
    for (const char* level : {"0", "100.5"}) {
        prompts.Answer(IDOK);
        dialog.Edit(3087)->setText(level);
        EXPECT_EQ(dialog.PressOK(), 0) << level;
        EXPECT_EQ(prompts.Last().stringId, 6103u) << level;
    }
    dialog.Edit(3087)->setText("100");
    EXPECT_EQ(dialog.PressOK(), IDOK);
    EXPECT_EQ(prompts.Unexpected(), 0u);
    // The units run at the chosen sampling; the project takes what they accepted.
    EXPECT_FLOAT_EQ(units.GetSampleRate(), 25600.0f);
    dialog.StoreTo(config);
    EXPECT_FLOAT_EQ(config.GetMaxFreq(), 10000.0f);
    EXPECT_FLOAT_EQ(config.GetSamplingFreq(), 25600.0f);
    EXPECT_GT(config.GetBandLimit(), 0.0f);
    EXPECT_FLOAT_EQ(config.GetBandAveFactor(), 1.0f);
    EXPECT_EQ(config.GetRpmChannel(), 15);
}

TEST_F(AcquisitionDialogs, ConfigurationRefusesInOrderAndKeepsEnteredValuesWithoutUnits)
{
    CDAQConfig config;
    config.SetSamplingFreq(16000.0f);
    config.SetBandLimit(7000.0f);
    CDlgDAQConfig dialog; // no unit connected
    dialog.LoadFrom(config);
    dialog.SetBandFrequencies(kBands);
    dialog.EnsureInitialized();
    EXPECT_EQ(dialog.Edit(3118)->text(), "16000");
    EXPECT_EQ(dialog.ChannelCombo()->count(), 0);

    struct Case
    {
        int edit;
        const char* text;
        uint32_t message;
    };
    CScriptedPrompts prompts;
    for (const Case& c : {Case{3118, "0", 6116u}, Case{3118, "12000", 6117u}, Case{3084, "0", 6100u},
                          Case{3114, "0", 6114u}, Case{3091, "-1", 6105u}}) {
        prompts.Answer(IDOK);
        const QString before = dialog.Edit(c.edit)->text();
        dialog.Edit(c.edit)->setText(QString::fromLatin1(c.text));
        EXPECT_EQ(dialog.PressOK(), 0) << c.edit;
        EXPECT_EQ(prompts.Last().stringId, c.message) << c.edit;
        dialog.Edit(c.edit)->setText(before);
    }
    prompts.Answer(IDOK);
    EXPECT_EQ(dialog.PressOK(), 0);
    EXPECT_EQ(prompts.Last().stringId, 6128u); // no RPM channel to choose

    // Configuration only: the ratio and pulses are taken, the frequencies stay as entered.
    CDlgDAQConfig only;
    only.m_bConfigOnly = 1;
    only.LoadFrom(config);
    only.EnsureInitialized();
    EXPECT_FALSE(only.FrequencyCombo()->isEnabled());
    EXPECT_TRUE(only.Edit(3087)->isReadOnly());
    only.Edit(3114)->setText("2");
    EXPECT_EQ(only.PressOK(), IDOK);
    EXPECT_FLOAT_EQ(only.m_fSamplingFreq, 16000.0f);
    only.StoreTo(config);
    EXPECT_FLOAT_EQ(config.GetPulsesPerRev(), 2.0f);
    EXPECT_FLOAT_EQ(config.GetSamplingFreq(), 16000.0f);
    EXPECT_FLOAT_EQ(config.GetBandLimit(), 7000.0f);
}

TEST_F(AcquisitionDialogs, HardwareQuestionAnswersOkOrCancel)
{
    CDlgConfirmInitHardware dialog;
    Grab(dialog, "DlgConfirmInitHardware");
    CScriptedDialogs script;
    script.PressOK().PressCancel();
    EXPECT_EQ(CDlgConfirmInitHardware().DoModal(), IDOK);
    EXPECT_EQ(CDlgConfirmInitHardware().DoModal(), IDCANCEL);
    EXPECT_EQ(script.Records().front().templateId, 4007);
}
