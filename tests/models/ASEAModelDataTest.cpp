#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "ModelTestSupport.h"
#include "models/ASEAModelData.h"
#include "models/HSEAAnalyticalDataFiles.h"
#include "models/UnitEnergySolver.h"
#include "platform/archive/Archive.h"
#include "platform/base/MemoryBudget.h"
#include "platform/elements/ZuStdData.h"
#include "platform/modeldb/ModelCavity.h"
#include "platform/modeldb/ModelData.h"
#include "platform/modeldb/ModelShell.h"
#include "platform/win/PromptService.h"
#include "platform/win/StatusBarFeedback.h"

namespace {
// The model window's feedback: each warning of the build shows as the box it always was.
CFeedback* StatusBarBoxes()
{
    static CStatusBarFeedback boxes;
    return &boxes;
}

const std::string kSampleModel = std::string(ORVEX_SOURCE_DIR) + "/samples/sample-model.ntf";
const std::string kSampleCompanion = std::string(ORVEX_SOURCE_DIR) + "/samples/sample-model.dat";
constexpr int kBands = 21;

// The sample model and a companion file (the sample's, or the given text) in a folder of their own.
struct AseaFixture : ::testing::Test
{
    std::string Prepare(const std::string& companion = {})
    {
        const std::string model = folder.File("model.ntf");
        std::filesystem::copy_file(kSampleModel, model);
        WriteTextFile(folder.File("model.dat"), companion.empty() ? ReadTextFile(kSampleCompanion) : companion);
        return model;
    }
    // A companion of one line after the sample's modal densities.
    std::string WithLine(const std::string& line) { return ReadTextFile(kSampleCompanion) + line + "\n"; }
    static std::string Values(int count, double v)
    {
        std::string s;
        for (int i = 0; i < count; ++i)
            s += "\t" + std::to_string(v);
        return s;
    }

    CTempFolder folder;
    CTestModelProject project;
};

} // namespace

TEST_F(AseaFixture, SampleBuildsTheHandComputedMatrix)
{
    auto model = std::make_unique<CASEAModelData>(&project);
    ASSERT_EQ(model->BuildFromModel(Prepare()), 1) << model->GetLastError();
    EXPECT_EQ(model->GetName(), "Analytical SEA Model");
    EXPECT_EQ(model->GetType(), 1);
    ASSERT_EQ(model->GetFreqCount(), kBands);

    CZuMatFunc* E = model->GetEtaMatrix(1);
    CZuVecFunc* n = model->GetModalDensity(1);
    ASSERT_NE(E, nullptr);
    ASSERT_NE(n, nullptr);
    // 12 shells and the 4 cabin-type cavities (the exterior is not of that kind).
    ASSERT_EQ(E->GetRowSubsystemCount(), 16);
    EXPECT_EQ(model->GetSubsystemTable()->GetIndex("Exterior-"), -1);

    const int roof = E->GetRowIndex("Roof-F"), floor = E->GetRowIndex("Floor-F"),
              cabin = E->GetRowIndex("Front Cabin-R-");
    ASSERT_GE(roof, 0);
    ASSERT_GE(floor, 0);
    ASSERT_GE(cabin, 0);
    for (int b = 0; b < kBands; ++b) {
        const double nr = 0.02 * (b + 1), nf = 0.03 * (b + 1), nc = 0.5 * (b + 1);
        const double rc = 0.002, rf = 0.004, fc = 0.001; // the floor's single value spreads to all bands
        std::vector<std::vector<double>> expected(16, std::vector<double>(16, 0.0));
        expected[roof][roof] = 0.01 * nr + nr * rc + nr * rf;
        expected[floor][floor] = 0.02 * nf + nr * rf + nf * fc;
        expected[cabin][cabin] = 0.001 * nc + nr * rc + nf * fc;
        expected[roof][cabin] = expected[cabin][roof] = -nr * rc;
        expected[roof][floor] = expected[floor][roof] = -nr * rf;
        expected[floor][cabin] = expected[cabin][floor] = -nf * fc;
        for (int r = 0; r < 16; ++r)
            for (int c = 0; c < 16; ++c)
                EXPECT_NEAR(E->DataValue(b, r, c), expected[r][c], 1e-12) << b << " " << r << " " << c;
        EXPECT_NEAR(n->DataValue(b, roof), nr, 1e-12);
        EXPECT_NEAR(model->ExtractWaveNumber("Roof-F", static_cast<unsigned>(b)), 0.1 * (b + 1), 1e-12);
        EXPECT_EQ(E->DataIndex(b), model->GetFreq(b));
    }
    // Geometry and title.
    auto* shell = dynamic_cast<CModelShell*>(model->GetModelData(0)->GetSubsystem("Roof"));
    ASSERT_NE(shell, nullptr);
    EXPECT_EQ(shell->GetArea(), 1.9);
    EXPECT_EQ(shell->GetPerimeter(), 5.7);
    EXPECT_EQ(shell->GetMass(), 14.8);
    auto* cavity = dynamic_cast<CModelCavity*>(model->GetModelData(0)->GetSubsystem("Front Cabin-R"));
    ASSERT_NE(cavity, nullptr);
    EXPECT_EQ(cavity->GetVolume(), 0.97);
    EXPECT_EQ(model->GetZuStdDataList()->GetString(CASEAModelData::kTitleKey), "Sample Hatchback analytical data");
    EXPECT_EQ(model->IsSymmetricModel(), 1);
}

TEST_F(AseaFixture, LinesThatFailTheFileAndLinesThatAreSkipped)
{
    struct Case
    {
        const char* what;
        std::string line;
        int result;
        const char* message; // part of the message shown, when the file fails
    };
    const Case cases[] = {
        {"fewer values than bands", "<Modal Density>\tFloor-F\t-" + Values(kBands - 1, 0.1), 0,
         "20 values for 21 bands"},
        {"a value that is no number", "<Wave Number>\tFloor-F\t-\tabc" + Values(kBands - 1, 0.1), 0, "not a number"},
        {"a value that is not finite", "<CLF>\tRoof-F\tFloor-F\tnan" + Values(kBands - 1, 0.1), 0, "not a number"},
        {"an infinite value", "<Intrinsic DLF>\tRoof-F\t-" + Values(kBands - 1, 0.1) + "\tinf", 0, "not a number"},
        {"a shell line naming a cavity", "<Shell>\tFront Cabin-R\t-\t1\t-\t2\t3", 0, "no shell"},
        {"a cavity line naming a shell", "<Cavity>\tRoof\t-\t1\t2", 0, "no cavity"},
        {"a main-wave key the model lacks", "<Modal Density>\tBonnet-F\t-" + Values(kBands, 0.1), 0, "Bonnet-F"},
        {"a field longer than 255 characters", "<CLF>\tRoof-F\t" + std::string(300, 'x') + Values(kBands, 0.1), 0,
         "longer than 255"},
        {"a key of another wave", "<CLF>\tRoof-S\tFloor-F" + Values(kBands, 0.5), 1, nullptr},
        {"a line of no kind", "something else\t1\t2", 1, nullptr},
    };
    for (const Case& c : cases) {
        CTempFolder dir;
        const std::string path = dir.File("m.ntf");
        std::filesystem::copy_file(kSampleModel, path);
        WriteTextFile(dir.File("m.dat"), WithLine(c.line));
        CScriptedPrompts prompts;
        CASEAModelData model(&project);
        EXPECT_EQ(model.BuildFromModel(path, StatusBarBoxes()), c.result) << c.what;
        if (c.message) {
            ASSERT_EQ(prompts.Count(), 1u) << c.what;
            EXPECT_NE(prompts.Last().text.find(c.message), std::string::npos) << c.what << ": " << prompts.Last().text;
            EXPECT_NE(model.GetLastError().find("line "), std::string::npos) << c.what;
        } else {
            EXPECT_EQ(prompts.Count(), 0u) << c.what;
        }
    }
}

TEST_F(AseaFixture, ModalDensityZeroStaysAndMissingCompanionFails)
{
    CASEAModelData model(&project);
    ASSERT_EQ(model.BuildFromModel(Prepare(WithLine("<Modal Density>\tFloor-F\t-" + Values(kBands, 0.0)))), 1);
    EXPECT_EQ(model.ExtractModalDensity("Floor-F", 3u), 0.0);

    CTempFolder dir;
    const std::string path = dir.File("alone.ntf");
    std::filesystem::copy_file(kSampleModel, path);
    CScriptedPrompts prompts;
    CASEAModelData lonely(&project);
    EXPECT_EQ(lonely.BuildFromModel(path, StatusBarBoxes()), 0);
    ASSERT_EQ(prompts.Count(), 1u);
    EXPECT_EQ(prompts.Last().stringId, 7010u);
    EXPECT_NE(prompts.Last().text.find("alone.dat"), std::string::npos);

    CScriptedPrompts prompts2;
    CASEAModelData none(&project);
    EXPECT_EQ(none.BuildFromModel(dir.File("missing.ntf"), StatusBarBoxes()), 0);
    EXPECT_EQ(prompts2.Last().stringId, 6073u);
    EXPECT_EQ(none.GetModelData(0), nullptr);

    // Without a window's feedback the core shows nothing.
    CScriptedPrompts quiet;
    CASEAModelData unseen(&project);
    EXPECT_EQ(unseen.BuildFromModel(dir.File("missing.ntf")), 0);
    EXPECT_EQ(quiet.Count(), 0u);
}

TEST_F(AseaFixture, ABuildUsesTheModelJustReadAndNeverAnOlderOne)
{
    CASEAModelData model(&project);
    ASSERT_EQ(model.BuildFromModel(Prepare()), 1);
    CModelData* first = model.GetModelData(0);
    ASSERT_NE(first, nullptr);

    // A model file that cannot be read fails the build even though a 3D model is already there.
    CScriptedPrompts prompts;
    EXPECT_EQ(model.BuildFromModel(folder.File("missing.ntf"), StatusBarBoxes()), 0);
    EXPECT_EQ(prompts.Last().stringId, 6073u);
    EXPECT_EQ(model.GetModelData(0), first);

    // Another model file replaces the 3D model, and its own companion file is the one read.
    CTempFolder other;
    const std::string path = other.File("other.ntf");
    std::filesystem::copy_file(kSampleModel, path);
    WriteTextFile(other.File("other.dat"), WithLine("<Modal Density>\tFloor-F\t-" + Values(kBands, 7.0)));
    ASSERT_EQ(model.BuildFromModel(path), 1) << model.GetLastError();
    ASSERT_NE(model.GetModelData(0), nullptr);
    EXPECT_EQ(model.GetModelData(0)->GetFileName(), path);
    int models = 0;
    for (int i = 0; i < model.GetChildCount(); ++i)
        models += model.GetChild(i)->GetType() == ElementType::ModelData ? 1 : 0;
    EXPECT_EQ(models, 1);
    EXPECT_EQ(model.ExtractModalDensity("Floor-F", 3u), 7.0);
}

TEST(ASEAModelData, CompanionFileNames)
{
    EXPECT_EQ(CASEAModelData::CompanionFileName("/a/b/car.ntf", 0), "/a/b/car.dat");
    EXPECT_EQ(CASEAModelData::CompanionFileName("/a/b.ntf/car.NTF", 0), "/a/b.ntf/car.dat");
    EXPECT_EQ(CASEAModelData::CompanionFileName("/a/car.xml", 1), "/a/car.dat");
    EXPECT_EQ(CASEAModelData::CompanionFileName("/a.b/car", 0), "/a.b/car.dat");
}

TEST_F(AseaFixture, SymmetryNeedsEveryLeftSubsystemMirrored)
{
    std::string text = ReadTextFile(kSampleModel);
    const std::string line = "CAVITY\tFront Cabin-L\t6\t3.20\t0.95\n";
    const size_t at = text.find(line);
    ASSERT_NE(at, std::string::npos);
    text.erase(at, line.size());
    text += "CAVITY\tBoot-L\t6\t1\t1\n";
    const std::string path = folder.File("lopsided.ntf");
    WriteTextFile(path, text);
    WriteTextFile(folder.File("lopsided.dat"), "#@x\n");
    CASEAModelData model(&project);
    ASSERT_EQ(model.BuildFromModel(path), 1);
    EXPECT_EQ(model.IsSymmetricModel(), 0);
}

TEST_F(AseaFixture, StoredWithItsDataFileSet)
{
    CASEAModelData model(&project);
    ASSERT_EQ(model.BuildFromModel(Prepare()), 1);
    auto files = std::make_unique<CHSEAAnalyticalDataFiles>();
    files->SetEtaMatrixFile("/eta.txt");
    model.SetDataFiles(std::move(files));
    std::vector<uint8_t> buf;
    {
        CArchive ar(&buf, CArchive::store);
        ar.WriteObject(&model);
    }
    CArchive in(buf.data(), buf.size());
    auto back = in.ReadOwned<CASEAModelData>();
    ASSERT_TRUE(back);
    ASSERT_NE(back->GetDataFiles(), nullptr);
    EXPECT_EQ(back->GetDataFiles()->GetEtaMatrixFile(), "/eta.txt");
    ASSERT_NE(back->GetModelData(0), nullptr);
    EXPECT_NEAR(back->ExtractClf("Roof-F", "Front Cabin-R-", 4u), 0.002, 1e-15);
    EXPECT_EQ(back->GetZuStdDataList()->GetString(CASEAModelData::kTitleKey), "Sample Hatchback analytical data");
}

// A model file of some hundred kilobytes can name so many subsystems that their loss-factor matrix
// would not fit in memory: the size is checked before anything is allocated, and the build is
// refused with a message instead of ending the program.
TEST_F(AseaFixture, AModelTooLargeForMemoryIsRefusedBeforeAllocating)
{
    std::string text = "ORVEX-MODEL\t1\nBANDS\t0\t100\t10000\nSET\t1\tBody\n";
    const int shells = 50000; // 50,000² pairs × 21 bands: 420 GB of doubles
    for (int i = 0; i < shells; ++i)
        text += "SHELL\tP" + std::to_string(i) + "\t1\t1\t1\t1\n";
    const std::string model = folder.File("huge.ntf");
    WriteTextFile(model, text);
    WriteTextFile(folder.File("huge.dat"), "#@huge\n");
    CScriptedPrompts prompts;
    auto asea = std::make_unique<CASEAModelData>(&project);
    EXPECT_EQ(asea->BuildFromModel(model, StatusBarBoxes()), 0);
    EXPECT_NE(asea->GetLastError().find("50000 subsystems"), std::string::npos) << asea->GetLastError();
    ASSERT_EQ(prompts.Count(), 1u);
    EXPECT_EQ(prompts.Last().text, asea->GetLastError());
    EXPECT_EQ(asea->GetEtaMatrix(0), nullptr);

    EXPECT_EQ(CMemoryBudget::Product(uint64_t(1) << 40, uint64_t(1) << 40), UINT64_MAX);
    EXPECT_TRUE(CMemoryBudget::Fits(1 << 20));
    EXPECT_FALSE(CMemoryBudget::Fits(CMemoryBudget::AvailableBytes()));
}

// The energy solve holds the matrix and, per band, its scaled copy and factorisation: a model
// whose matrix alone fits the memory but whose solve does not is refused when it is built, not
// ended by the solve. The same model builds and solves where the solve fits.
TEST_F(AseaFixture, AModelIsRefusedWhenItsEnergySolveWouldNotFit)
{
    std::string text = "ORVEX-MODEL\t1\nBANDS\t0\t100\t10000\nSET\t1\tBody\n";
    std::string companion = "#@solve\n";
    const int shells = 100;
    for (int i = 0; i < shells; ++i) {
        const std::string name = "P" + std::to_string(i);
        text += "SHELL\t" + name + "\t1\t1\t1\t1\n";
        companion += "<Modal Density>\t" + name + "-F\t-" + Values(kBands, 0.5) + "\n";
        companion += "<Intrinsic DLF>\t" + name + "-F\t-" + Values(kBands, 0.01) + "\n";
    }
    const std::string model = folder.File("solve.ntf");
    WriteTextFile(model, text);
    WriteTextFile(folder.File("solve.dat"), companion);
    const uint64_t matrix = uint64_t(shells) * shells * kBands * sizeof(double);
    const uint64_t peak = CSEAModelData::SolvePeakBytes(shells, kBands);
    ASSERT_GT(peak, 3 * matrix);

    struct Budget
    {
        explicit Budget(uint64_t quarter) { CMemoryBudget::SetLimit(4 * quarter); }
        ~Budget() { CMemoryBudget::SetLimit(0); }
    };
    {
        // Room for twice the matrix: enough for the matrix itself, not for the solve.
        const Budget budget(2 * matrix);
        CScriptedPrompts prompts;
        auto asea = std::make_unique<CASEAModelData>(&project);
        EXPECT_EQ(asea->BuildFromModel(model, StatusBarBoxes()), 0);
        EXPECT_NE(asea->GetLastError().find("energy solve needs"), std::string::npos) << asea->GetLastError();
        EXPECT_EQ(asea->GetEtaMatrix(0), nullptr);
        EXPECT_EQ(prompts.Count(), 1u);
    }
    const Budget budget(peak);
    auto asea = std::make_unique<CASEAModelData>(&project);
    ASSERT_EQ(asea->BuildFromModel(model), 1) << asea->GetLastError();
    CUnitEnergySolver solver(asea.get());
    EXPECT_NE(solver.SolveUnitPowerEnergies("P0-F", -1, 0), nullptr);
}
