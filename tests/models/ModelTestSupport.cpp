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
