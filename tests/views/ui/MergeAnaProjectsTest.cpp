// Merging analysis projects: which projects are offered, and what OK copies.
#include "GrabCheck.h"

#include "app/AnalysisProject.h"
#include "app/TALVOProject.h"
#include "calculation/InputEnergyFolder.h"
#include "calculation/InputPowerFolder.h"
#include "platform/elements/ZuSubsystemTable.h"
#include "platform/gfx/OctaveManager.h"
#include "platform/win/PromptService.h"
#include "platform/win/StringIds.h"
#include "spectral/MultiVectorFunction.h"
#include "spectral/RPMOptions.h"
#include "spectral/ZuRpmFunc.h"
#include "views/ui/DlgMergeAnaProjects.h"

#include <QComboBox>
#include <QListWidget>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {
const double kFreqs[] = {100.0, 200.0};
const double kRpms[] = {1000.0, 2000.0, 3000.0};

// A map of a subsystem whose value at (row, band) is base + 10 * row + band.
std::unique_ptr<CZuRpmFunc> Map(const std::string& subsystem, double base)
{
    auto map = CZuRpmFunc::NewRpmFunc(subsystem, 5, nullptr, subsystem, kFreqs, 2, kRpms, 3);
    for (int r = 0; r < 3; ++r)
        for (int f = 0; f < 2; ++f)
            map->DataValue(r, f) = base + 10 * r + f;
    return map;
}

struct Fixture
{
    CTALVOProject container;
    CAnalysisProject* target = nullptr;
    CAnalysisProject* source = nullptr;
    CAnalysisProject* otherBands = nullptr;
    CAnalysisProject* byOrder = nullptr;
    CAnalysisProject* otherRpms = nullptr;

    Fixture()
    {
        CRPMOptions rpm;
        rpm.SetRange(1000.0f, 3000.0f, 1000.0f);
        const COctaveManagerEx octave(OCTAVE_BAND_FULL, 63.0, 1000.0);
        const COctaveManagerEx third(OCTAVE_BAND_THIRD, 63.0, 1000.0);
        target = container.AddAnalysisProject(&rpm, &octave);
        otherBands = container.AddAnalysisProject(&rpm, &third);
        source = container.AddAnalysisProject(&rpm, &octave);
        byOrder = container.AddAnalysisProject(&rpm, &octave);
        byOrder->SetProjectType(CAnalysisProject::typeOrder);
        CRPMOptions wider;
        wider.SetRange(1000.0f, 4000.0f, 1000.0f);
        otherRpms = container.AddAnalysisProject(&wider, &octave);
        Fill(*target, 0.0, {"Roof", "Floor", "Dash"}, false);
        Fill(*source, 500.0, {"Roof", "Door", "Floor", "Dash"}, true);
    }

    // Input energies and input powers of the subsystems; the source's "Dash" energy is a
    // multi-vector function, so the pair differs in kind.
    static void Fill(CAnalysisProject& project, double base, const std::vector<std::string>& names, bool dashAsVector)
    {
        auto* energies = project.AddChild(std::make_unique<CInputEnergyFolder>(&project));
        auto* powers = project.AddChild(std::make_unique<CInputPowerFolder>(&project));
        for (const std::string& name : names) {
            if (name == "Dash" && dashAsVector) {
                CZuSubsystemTable table;
                table.Add("Dash");
                auto vec = std::make_unique<CMultiVectorFunction>(name, &table, 3, energies, 5);
                vec->SetLabel(name);
                energies->AddChild(std::move(vec));
            } else {
                energies->AddChild(Map(name, base));
            }
            powers->AddChild(Map(name, base + 100.0));
        }
    }

    static double Energy(CAnalysisProject& p, const char* name, int row, int band)
    {
        return static_cast<CZuRpmFunc*>(p.GetInputEnergyFolder()->FindRpmItem(name))->DataValue(row, band);
    }
    static double Power(CAnalysisProject& p, const char* name, int row, int band)
    {
        return static_cast<CZuRpmFunc*>(p.GetInputPowerFolder()->FindRpmItem(name))->DataValue(row, band);
    }
};
} // namespace

TEST(DlgMergeAnaProjects, OffersOnlyProjectsOnTheSameGrid)
{
    Fixture f;
    CDlgMergeAnaProjects dialog(&f.container, f.target);
    dialog.EnsureInitialized();
    ASSERT_EQ(dialog.GetCandidates().size(), 1u);
    EXPECT_EQ(dialog.GetCandidates()[0], f.source);
    EXPECT_EQ(dialog.SourceCombo()->count(), 1);
    EXPECT_EQ(dialog.SourceCombo()->currentIndex(), -1);
    EXPECT_FALSE(dialog.OkButton()->isEnabled());
    ASSERT_EQ(dialog.RpmList()->count(), 3);
    EXPECT_EQ(dialog.RpmList()->item(1)->text(), "2000");
    EXPECT_EQ(dialog.RpmList()->item(1)->checkState(), Qt::Unchecked);
    // The projects that differ only in bands, in kind or in RPMs are not compatible either way.
    EXPECT_FALSE(CDlgMergeAnaProjects::IsCompatible(*f.otherBands, *f.target));
    EXPECT_FALSE(CDlgMergeAnaProjects::IsCompatible(*f.target, *f.byOrder));
    EXPECT_FALSE(CDlgMergeAnaProjects::IsCompatible(*f.otherRpms, *f.target));

    // Choosing the candidate enables OK.
    emit dialog.SourceCombo()->activated(0);
    EXPECT_TRUE(dialog.OkButton()->isEnabled());
    GrabAndCheck(dialog, "DlgMergeAnaProjects", QSize(320, 360));

    // A project without candidates keeps OK disabled.
    CDlgMergeAnaProjects lonely(&f.container, f.byOrder);
    lonely.EnsureInitialized();
    EXPECT_EQ(lonely.SourceCombo()->count(), 0);
    EXPECT_FALSE(lonely.OkButton()->isEnabled());
}

TEST(DlgMergeAnaProjects, CopiesTheTickedRowsAndNamesWhatItSkipped)
{
    Fixture f;
    {
        // No tick: OK closes and changes nothing.
        CScriptedPrompts prompts;
        CDlgMergeAnaProjects dialog(&f.container, f.target);
        dialog.EnsureInitialized();
        dialog.SourceCombo()->setCurrentIndex(0);
        EXPECT_EQ(dialog.PressOK(), IDOK);
        EXPECT_EQ(prompts.Count(), 0u);
        EXPECT_EQ(Fixture::Energy(*f.target, "Roof", 1, 0), 10.0);
        EXPECT_EQ(Fixture::Power(*f.target, "Floor", 1, 1), 111.0);
    }
    CScriptedPrompts prompts;
    prompts.Answer(IDOK);
    CDlgMergeAnaProjects dialog(&f.container, f.target);
    dialog.EnsureInitialized();
    dialog.SourceCombo()->setCurrentIndex(0);
    dialog.RpmList()->item(1)->setCheckState(Qt::Checked);
    EXPECT_EQ(dialog.PressOK(), IDOK);
    // Row 1 (2000 RPM) of every pair of the same kind came over; rows 0 and 2 stayed.
    for (const char* name : {"Roof", "Floor"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(Fixture::Energy(*f.target, name, 1, 0), 510.0);
        EXPECT_EQ(Fixture::Energy(*f.target, name, 1, 1), 511.0);
        EXPECT_EQ(Fixture::Energy(*f.target, name, 0, 1), 1.0);
        EXPECT_EQ(Fixture::Energy(*f.target, name, 2, 0), 20.0);
        EXPECT_EQ(Fixture::Power(*f.target, name, 1, 1), 611.0);
        EXPECT_EQ(Fixture::Power(*f.target, name, 2, 1), 121.0);
    }
    // "Dash": a map in the target, a vector function in the source: the energies are left alone,
    // the powers (maps on both sides) merged.
    EXPECT_EQ(Fixture::Energy(*f.target, "Dash", 1, 0), 10.0);
    EXPECT_EQ(Fixture::Power(*f.target, "Dash", 1, 0), 610.0);
    // "Door" is only in the source: the walk went on past it and the user is told.
    ASSERT_EQ(prompts.Count(), 1u);
    EXPECT_EQ(prompts.Last().stringId, IDS_MERGE_SKIPPED);
    EXPECT_NE(prompts.Last().text.find("Door"), std::string::npos);
    EXPECT_EQ(CDlgMergeAnaProjects::Merge(*f.source, *f.target, {0}), std::vector<std::string>{"Door"});
}
