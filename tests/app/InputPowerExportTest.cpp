// Input powers of one analysis key written as a data text and as a workbook converted from it,
// the workbook read back by an independent reader.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "ProjectTestEnv.h"
#include "SampleProject.h"
#include "app/AnalysisProject.h"
#include "app/InputPowerExport.h"
#include "app/TALVODoc.h"
#include "app/TALVOProject.h"
#include "calculation/InputPowerFolder.h"
#include "platform/elements/MElementList.h"
#include "platform/gfx/OctaveManager.h"
#include "platform/win/MessageTarget.h"
#include "platform/win/PromptService.h"
#include "spectral/RPMOptions.h"
#include "spectral/ZuRpmFunc.h"

namespace {
namespace fs = std::filesystem;

std::string ReadAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

std::vector<std::string> Tabs(const std::string& line)
{
    std::vector<std::string> fields;
    std::istringstream in(line);
    for (std::string f; std::getline(in, f, '\t');)
        fields.push_back(f);
    return fields;
}

// The first Python that has openpyxl; empty when there is none.
std::string PythonWithOpenpyxl()
{
    for (const char* python : {"python3", "/usr/bin/python3"})
        if (std::system((std::string(python) + " -c 'import openpyxl' >/dev/null 2>&1").c_str()) == 0)
            return python;
    return std::string();
}

struct ExportFixture : ::testing::Test
{
    void SetUp() override
    {
        fs::create_directories(dir);
        std::string error;
        ASSERT_TRUE(sample::Build(doc, fs::path(ORVEX_SOURCE_DIR) / "samples", (dir / "Export.orv").string(), &error))
            << error;
        project = DynamicDowncast<CAnalysisProject>(doc.GetTALVOProject().GetProject(2));
        ASSERT_NE(project, nullptr);
        project->GetRPMOptions().SetRange(1000.0f, 1200.0f, 100.0f);
    }
    void TearDown() override { doc.OnCloseDocument(); }

    void AddPowers()
    {
        const std::vector<double> f = project->GetOctaveManager()->GetFreqArray();
        const std::vector<double> rpms = {1000.0, 1100.0, 1200.0};
        CMElementList list;
        for (auto [name, scale] : {std::pair{"Roof", 1e-3}, std::pair{"Floor", 2.5e-4}}) {
            auto map = CZuRpmFunc::NewRpmFunc(std::string("IP ") + name, 3, nullptr, name, f.data(),
                                              static_cast<int>(f.size()), rpms.data(), 3);
            for (int r = 0; r < 3; ++r)
                for (int b = 0; b < map->GetFreqCount(); ++b)
                    map->DataValue(r, b) = scale * (1 + b) * (1 + r);
            list.Add(map.release());
        }
        project->AddChild(std::make_unique<CInputPowerFolder>(project))->AddItems(list);
    }

    CScriptedPrompts prompts;
    CRecordingMessageTarget window;
    CMainWindowTargetScope scope{&window};
    fs::path dir = AppTestTempDir() / "ipexport";
    CTALVODoc doc;
    CAnalysisProject* project = nullptr;
};
} // namespace

TEST_F(ExportFixture, KeysAndDefaultNamesFollowTheProject)
{
    EXPECT_EQ(CInputPowerExport::KeyTexts(*project), (std::vector<std::string>{"1000", "1100", "1200"}));
    project->GetRPMOptions().SetRpmMin(0.0f);
    EXPECT_TRUE(CInputPowerExport::KeyTexts(*project).empty()) << "a range from 0 offers no RPM";
    CRPMOptions list;
    list.SetMode(CRPMOptions::modeList);
    list.GetRpmList()->assign({1500.0f, 2250.5f});
    project->SetRPMOptions(list);
    EXPECT_EQ(CInputPowerExport::KeyTexts(*project), (std::vector<std::string>{"1500", "2250.5"}));

    struct Case
    {
        int type, kind;
        const char* name;
    };
    const Case cases[] = {{0, 0, "IP_A-1100RPM"}, {0, 1, "IE_A-1100RPM"}, {0, 2, "IPV_A-1100RPM"},
                          {1, 0, "IP_A-OT1100"},  {1, 2, "IPV_A-OT1100"}, {0, -1, ""}};
    for (const Case& c : cases)
        EXPECT_EQ(CInputPowerExport::DefaultFileName(c.type, c.kind, "A", "1100"), c.name);
}

TEST_F(ExportFixture, ChoicesAreCheckedBeforeTheFileIsTouched)
{
    const fs::path target = dir / "kept.txt";
    std::ofstream(target) << "earlier export\n";
    CInputPowerExport exporter(project);
    // No folder yet, no kind, a kind whose folder is missing, no key: nothing is written.
    EXPECT_EQ(exporter.ExportText(target.string(), 0, "1100"), CInputPowerExport::resultFailed);
    AddPowers();
    EXPECT_EQ(exporter.ExportText(target.string(), -1, "1100"), CInputPowerExport::resultFailed);
    EXPECT_EQ(exporter.ExportText(target.string(), 1, "1100"), CInputPowerExport::resultFailed);
    EXPECT_EQ(exporter.ExportText(target.string(), 0, ""), CInputPowerExport::resultFailed);
    EXPECT_EQ(ReadAll(target), "earlier export\n");

    // A binary workbook is refused with a message naming .xlsx; nothing is made.
    const fs::path xls = dir / "old.xls";
    EXPECT_EQ(exporter.Export(xls.string(), 0, "1100", StatusBarBoxes()), CInputPowerExport::resultRefused);
    ASSERT_EQ(prompts.Count(), 1u);
    EXPECT_NE(prompts.Last().text.find(".xlsx"), std::string::npos);
    EXPECT_FALSE(fs::exists(xls));
    EXPECT_FALSE(fs::exists(dir / "old.txt"));

    ASSERT_EQ(exporter.Export(target.string(), 0, "1100", StatusBarBoxes()), CInputPowerExport::resultDone);
    const std::vector<std::string> lines = Lines(ReadAll(target));
    ASSERT_GT(lines.size(), 8u);
    EXPECT_EQ(lines[0].rfind("#@", 0), 0u);
    EXPECT_NE(lines[0].find(" [Input Power Data]"), std::string::npos);
    EXPECT_EQ(lines[1], "# " + target.string());
    EXPECT_EQ(lines[2], "#");
    EXPECT_EQ(lines[3], "#Input Power Data");
    EXPECT_EQ(lines[4], "[IP_" + project->GetName() + "-1100RPM]");
}

TEST_F(ExportFixture, TheWorkbookHoldsWhatTheTextHolds)
{
    AddPowers();
    CInputPowerExport exporter(project);
    const fs::path book = dir / "IP.xlsx";
    ASSERT_EQ(exporter.Export(book.string(), 0, "1200", StatusBarBoxes()), CInputPowerExport::resultDone)
        << (prompts.Count() ? prompts.Last().text : std::string());
    const fs::path text = dir / "IP.txt";
    ASSERT_TRUE(fs::exists(text)) << "the text stays beside the workbook";
    const std::vector<std::string> lines = Lines(ReadAll(text));

    // The values of the text, by subsystem.
    std::map<std::string, std::vector<std::string>> values;
    for (size_t i = 0; i + 1 < lines.size(); ++i) {
        const std::vector<std::string> head = Tabs(lines[i]);
        if (head.size() == 2 && head[1] == "3" && head[0].front() == '[') {
            const std::vector<std::string> row = Tabs(lines[i + 1]);
            values[row[0]] = std::vector<std::string>(row.begin() + 1, row.end());
        }
    }
    ASSERT_EQ(values.size(), 2u);

    const std::string python = PythonWithOpenpyxl();
    if (python.empty())
        GTEST_SKIP() << "python3 with openpyxl is not installed";
    const fs::path script = dir / "read.py";
    const fs::path out = dir / "read.txt";
    std::ofstream(script) << "import openpyxl, sys\n"
                             "wb = openpyxl.load_workbook(sys.argv[1])\n"
                             "out = open(sys.argv[2], 'w', encoding='utf-8')\n"
                             "out.write('sheets\\t' + '\\t'.join(wb.sheetnames) + '\\n')\n"
                             "ws = wb.worksheets[0]\n"
                             "for row in ws.iter_rows():\n"
                             "  out.write('\\t'.join('' if c.value is None else repr(c.value) for c in row) + '\\n')\n";
    ASSERT_EQ(std::system((python + " " + script.string() + " " + book.string() + " " + out.string()).c_str()), 0);
    const std::vector<std::string> rows = Lines(ReadAll(out));
    ASSERT_GT(rows.size(), 10u) << ReadAll(out);
    EXPECT_EQ(rows[0], "sheets\tSheet1");
    auto cell = [&](size_t row, size_t col) {
        const std::vector<std::string> f = Tabs(rows[row]);
        return col - 1 < f.size() ? f[col - 1] : std::string();
    };
    // Header cells: the text's first four lines and the section name.
    for (size_t i = 0; i < 4; ++i)
        EXPECT_EQ(cell(i + 1, 1), "'" + lines[i] + "'");
    EXPECT_EQ(cell(5, 1), "'IP_" + project->GetName() + "-1200RPM'");
    // The input-power group: a label row, then one row per band with a column per subsystem.
    size_t group = 0;
    for (size_t r = 1; r < rows.size() && !group; ++r)
        if (cell(r, 1) == "'#IP'")
            group = r;
    ASSERT_GT(group, 0u);
    int checked = 0;
    for (size_t c = 2; !cell(group, c).empty(); ++c) {
        std::string name = cell(group, c);
        name = name.substr(1, name.size() - 2);
        ASSERT_TRUE(values.count(name)) << name;
        const std::vector<std::string>& expected = values[name];
        for (size_t b = 0; b < expected.size(); ++b) {
            EXPECT_DOUBLE_EQ(std::stod(cell(group + 1 + b, c)), std::stod(expected[b])) << name << " band " << b;
            ++checked;
        }
    }
    EXPECT_EQ(checked, 2 * static_cast<int>(project->GetOctaveManager()->GetFreqCount()));
}
