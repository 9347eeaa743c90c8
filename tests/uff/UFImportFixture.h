#pragma once
// The fixture of the universal-file import tests: a project container with the sample model, a
// universal-file DAQ project whose node map covers three points of two structures and the cabin,
// spectra made here, and the import's questions answered by the test. Internal to each test file
// that includes it.
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

#include <gtest/gtest.h>

#include "UFTestFiles.h"
#include "app/DAQExperiment.h"
#include "app/TALVOExp.h"
#include "app/TALVOProject.h"
#include "common/ProjectLookups.h"
#include "experiments/CalcOptions.h"
#include "planning/SensorAssignment.h"
#include "platform/base/Format.h"
#include "platform/base/RecordingFeedback.h"
#include "platform/win/PromptService.h"
#include "platform/win/StatusBarFeedback.h"
#include "platform/win/StringTable.h"
#include "platform/win/WinTypes.h"
#include "uff/ExtUFDaqProject.h"
#include "uff/UFDaqData.h"
#include "uff/UFImportUI.h"
#include "uff/UFNodeMap.h"

namespace fs = std::filesystem;

namespace {

const std::string kModel = std::string(ORVEX_SOURCE_DIR) + "/samples/sample-model.dmd";
constexpr double kTwoPi = 6.28318530717959;
constexpr int kLines = 16;
constexpr double kDf = 100.0;

// The import's questions answered by the test.
class CScriptedImportUI : public IUFImportUI
{
public:
    CScriptedImportUI() { SetUFImportUI(this); }
    ~CScriptedImportUI() override { SetUFImportUI(nullptr); }

    int selectChoice = 1;
    // Each import dialog takes the next answer; none left cancels.
    std::vector<std::function<bool(CUFImportSettings&)>> dialogs;
    std::function<bool(CUFDataCheckInput&)> dataCheck = [](CUFDataCheckInput&) { return true; };
    int cancelAtPump = -1; // the question for cancel (from 0) that answers yes
    int dialogsShown = 0;

    int SelectDAQSystem() override { return selectChoice; }
    bool RunImportDialog(CUFImportSettings& s) override
    {
        const size_t i = static_cast<size_t>(dialogsShown++);
        return i < dialogs.size() && dialogs[i](s);
    }
    bool RunDataCheck(CUFDataCheckInput& input) override { return dataCheck(input); }
    // A fresh display each time, as the program's dialog is.
    CFeedback* ShowProgress() override
    {
        if (!progress) {
            progress = std::make_unique<CRecordingFeedback>();
            if (cancelAtPump >= 0)
                progress->CancelAtQuestion(cancelAtPump + 1);
        }
        return progress.get();
    }
    void CloseProgress() override
    {
        if (progress) {
            reports.insert(reports.end(), progress->reports.begin(), progress->reports.end());
            closed.push_back(std::move(progress));
        }
    }
    std::unique_ptr<CRecordingFeedback> progress;
    // The displays closed so far, as they were left.
    std::vector<std::unique_ptr<CRecordingFeedback>> closed;
    // What the displays closed so far were told to report.
    std::vector<CFeedback::SReport> reports;
};

// The value of line k of point lp at an RPM, as the files hold it.
double LineValue(int lp, int k, double rpm)
{
    return (lp + 1) * (1.0 + k) * 0.01 * (rpm / 1000.0);
}

struct Fixture
{
    fs::path dir;
    CTALVOProject container;
    CExtUFDaqProject* uf = nullptr;
    std::string a, b, target; // two structures and the cabin
    CScriptedPrompts prompts;
    // The import command's feedback, the status bar: its messages show as boxes.
    CStatusBarFeedback boxes;
    CScriptedImportUI ui;

    explicit Fixture(const std::string& name)
    {
        LoadLanguageStrings(LANG_ENGLISH);
        dir = fs::temp_directory_path() / ("orvex_mkext_" + name + "_" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        EXPECT_NE(container.CreateModelProjectFromFile(0, kModel), nullptr);
        const CZuSubsystemTable& table = *container.GetModelSubsystemTable();
        for (int i = 0; i < table.GetCount(); ++i) {
            std::string n = table[i];
            const int type = container.GetSubsystemType(n, 0);
            if (type < 5 && a.empty())
                a = table[i];
            else if (type < 5 && b.empty())
                b = table[i];
            else if (type >= 5 && target.empty())
                target = table[i];
        }
        container.SetTargetSubsystem(target);
        container.SetDocumentPath((dir / "project.orv").string());
        CSensorAssignment* assignment = container.GetSensorAssignment();
        assignment->SetSubsystems(&table);
        int node = 1;
        uf = static_cast<CExtUFDaqProject*>(container.AddExtDaqProject(std::make_unique<CExtUFDaqProject>()));
        for (const std::string& s : {a, b, target}) {
            const int row = assignment->FindRow(s);
            for (int lp = 0; lp < 3; ++lp) {
                assignment->AddItem(row, Format("%s-S%d", s.c_str(), lp));
                uf->GetNodeMap().SetAt(CUFNode(node++, s, lp));
            }
        }
        COrderList orders;
        orders.Add(2.0);
        uf->GetCalcOptions()->SetOrderList(orders);
    }
    ~Fixture() { fs::remove_all(dir); }

    int NodeOf(const std::string& s, int lp) const { return FindUFNodeNumber(uf->GetNodeMap(), s, lp); }

    // A spectrum of one point at one RPM, made `seconds` after 10:30:00.
    std::string Spectrum(const std::string& s, int lp, double rpm, int seconds, int node = 0) const
    {
        UF58Fields ds;
        ds.id1 = "name dir point";
        ds.id3 = Format("15-Jan-24 10:%02d:%02d", 30 + seconds / 60, seconds % 60);
        ds.funcType = 12;
        ds.respNode = node ? node : NodeOf(s, lp);
        ds.absInc = kDf;
        ds.zValue = rpm;
        for (int k = 0; k < kLines; ++k) {
            ds.numbers.push_back(LineValue(lp, k, rpm));
            ds.numbers.push_back(0.0);
        }
        return Dataset58(ds);
    }

    // A run-up from 1000 to 6000 RPM in steps of 100 of every point of a, b and the target.
    std::string RunUp(int seconds) const
    {
        std::string text;
        for (int rpm = 1000; rpm <= 6000; rpm += 100)
            for (const std::string& s : {a, b, target})
                for (int lp = 0; lp < 3; ++lp)
                    text += Spectrum(s, lp, rpm, seconds);
        return text;
    }

    std::string Write(const std::string& name, const std::string& text) const
    {
        const fs::path p = dir / name;
        WriteFile(p, text);
        return p.string();
    }

    // An import dialog answer: these files, choice 1 (RPM from the data) unless given.
    static std::function<bool(CUFImportSettings&)> Files(std::vector<std::string> files, int choice = 1,
                                                         std::function<void(CUFImportSettings&)> more = {})
    {
        return [files, choice, more](CUFImportSettings& s) {
            *s.files = files;
            s.choice = choice;
            if (more)
                more(s);
            return true;
        };
    }

    std::vector<CDAQExperiment*> DataSets() const
    {
        std::vector<CDAQExperiment*> sets;
        for (int e = 0; e < uf->GetChildCount(); ++e)
            if (auto* exp = ElementCast<CTALVOExp>(uf->GetChild(e)))
                for (int i = 0; i < exp->GetChildCount(); ++i)
                    if (auto* set = ElementCast<CDAQExperiment>(exp->GetChild(i)))
                        sets.push_back(set);
        return sets;
    }
};

} // namespace
