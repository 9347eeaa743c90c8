#include "ModelTestSupport.h"

#include <fstream>
#include <random>
#include <sstream>

#include "models/SEAModelData.h"
#include "platform/elements/ZuData.h"

CTempFolder::CTempFolder()
{
    std::random_device rd;
    m_path = std::filesystem::temp_directory_path() / ("orvex-models-" + std::to_string(rd()) + std::to_string(rd()));
    std::filesystem::create_directories(m_path);
}

CTempFolder::~CTempFolder()
{
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
}

void FillSmallModel(CZuData& model, const SmallModelLayout& layout)
{
    const int bands = static_cast<int>(layout.density.size());
    CZuSubsystemTable table(layout.keys);
    model.SetSubsystemTable(&table);
    const CZuSubsystemTable* own = model.GetSubsystemTable();
    auto eta = std::make_unique<CZuMatFunc>("Eta", own, own, bands, &model, ElementType::EtaMatrix);
    auto n = std::make_unique<CZuVecFunc>("Modal Density", own, bands, &model, ElementType::ModalDensity);
    auto k = std::make_unique<CZuVecFunc>("Wave Number", own, bands, &model, ElementType::WaveNumber);
    const int count = static_cast<int>(layout.keys.size());
    for (int b = 0; b < bands; ++b) {
        eta->DataIndex(b) = n->DataIndex(b) = k->DataIndex(b) = model.GetFreq(b);
        for (int s = 0; s < count; ++s) {
            n->DataValue(b, s) = layout.density[b][s];
            k->DataValue(b, s) = 0.5 * (s + 1) * (b + 1);
            eta->DataValue(b, s, s) += layout.dlf[b][s] * layout.density[b][s];
        }
        for (const auto& [pair, values] : layout.clf) {
            const auto [s, t] = pair;
            const double p = layout.density[b][s] * values[b];
            eta->DataValue(b, t, s) -= p;
            eta->DataValue(b, s, s) += p;
        }
    }
    model.AddChild(std::move(eta));
    model.AddChild(std::move(n));
    model.AddChild(std::move(k));
}

SmallModelLayout ThreeSubsystemLayout()
{
    SmallModelLayout layout;
    layout.keys = {"Panel-R-F", "Panel-L-F", "Cabin-C-"};
    layout.density = {{0.1, 0.1, 2.0}, {0.2, 0.2, 3.0}, {0.3, 0.3, 4.0}};
    layout.dlf = {{0.01, 0.01, 0.001}, {0.02, 0.02, 0.002}, {0.03, 0.03, 0.003}};
    layout.clf[{0, 2}] = {0.004, 0.005, 0.006};
    layout.clf[{2, 0}] = {0.0002, 0.00025, 0.0003};
    layout.clf[{1, 2}] = {0.004, 0.005, 0.006};
    layout.clf[{2, 1}] = {0.0002, 0.00025, 0.0003};
    layout.clf[{0, 1}] = {0.001, 0.001, 0.001};
    layout.clf[{1, 0}] = {0.001, 0.001, 0.001};
    return layout;
}

std::string ReadTextFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteTextFile(const std::string& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary);
    out << text;
}

#include <gtest/gtest.h>

#include "platform/win/StringTable.h"
#include "platform/win/ZuRegOptions.h"

namespace {

// Every test runs with a string table of the texts the model data use and with its settings in a
// folder of its own.
class ModelTestEnvironment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        m_folder = std::make_unique<CTempFolder>();
        const char* table = "0xE000\tORVEX\n"
                            "6000\tParameters\n"
                            "6017\tThe model has no 3D model data.\n"
                            "6073\tThe model file could not be read.\n"
                            "6187\tSoftware\\\\%s\\\\ORVEX Test\\\\Options\n"
                            "6214\tNo Title\n"
                            "7010\tThe data file %s could not be opened.\n"
                            "7025\tER(%s, %s)\n"
                            "7026\tGlobal CLF(%s, %s)\n"
                            "7027\tGlobal CLF(%s, %s) (not coupled)\n"
                            "7028\t%s #%d\n"
                            "7029\tInput Energy(%s)\n"
                            "7030\tInput Power(%s)\n"
                            "7031\tPressure(%s)\n"
                            "7032\tVelocity(%s)\n"
                            "7084\tThe coupling loss factor at %g Hz between %s and %s is 0.\n"
                            "7095\t%s exists already. Overwrite?\n"
                            "11608\tCLF(%s, %s)\n"
                            "11609\tIntrinsic DLF(%s)\n"
                            "11610\tTotal DLF(%s)\n"
                            "11611\tThe subsystem %s is not in the loss-factor matrix.\n"
                            "11802\tWave Number\n"
                            "11803\tEta Matrix\n"
                            "11804\tModal Density\n"
                            "12302\tThe settings could not be opened.\n";
        WriteTextFile(m_folder->File(GetStringTableFileName(9)), table);
        SetStringTableFolder(m_folder->Path().string());
        std::string error;
        ASSERT_TRUE(LoadLanguageStrings(9, &error)) << error;
        std::filesystem::create_directories(m_folder->Path() / "settings");
        CZuRegOptions::SetSettingsFolder((m_folder->Path() / "settings").string());
        CZuRegOptions::SetRegistryKey("Velmora");
    }
    void TearDown() override
    {
        UnloadLanguageStrings();
        SetStringTableFolder("");
        m_folder.reset();
    }

private:
    std::unique_ptr<CTempFolder> m_folder;
};

[[maybe_unused]] ::testing::Environment* const g_environment =
    ::testing::AddGlobalTestEnvironment(new ModelTestEnvironment);

} // namespace

std::string SettingsFolder()
{
    return CZuRegOptions::GetSettingsFolder();
}
