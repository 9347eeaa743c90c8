#include "TestTree.h"

#include <atomic>
#include <cmath>
#include <unistd.h>

#include "platform/elements/ZuClfFunc.h"
#include "platform/elements/ZuData.h"
#include "platform/elements/ZuDlfFunc.h"
#include "platform/elements/ZuFunc.h"
#include "platform/elements/ZuMatFunc.h"
#include "platform/elements/ZuRpmSelFunc.h"
#include "platform/elements/ZuVecFunc.h"
#include "platform/gfx/OctaveManager.h"

namespace elements_test {
std::unique_ptr<CMElement> MakeMixedTree()
{
    auto root = std::make_unique<CMElement>("Project", nullptr, 0);

    auto* data =
        root->AddChild(std::make_unique<CZuData>("Model data", root.get(), 48, OCTAVE_BAND_THIRD, 100.0, 1000.0));
    CZuSubsystemTable table({"Roof-F", "Cabin-", "Door-L-F"});
    data->SetSubsystemTable(&table);
    data->SetMergeOrder(3);
    data->CreateConnectionInfo(&table);
    data->SetConnection(0, 1, 2, 1);
    data->SetConnection(1, 0, 0, 16);
    int bands = data->GetFreqCount();

    auto* eta =
        data->AddChild(std::make_unique<CZuMatFunc>("eta", &table, nullptr, bands, data, ElementType::EtaMatrix));
    for (int b = 0; b < bands; ++b) {
        eta->DataIndex(b) = data->GetFreq(b);
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 3; ++c)
                eta->DataValue(b, r, c) = (r == c ? 1.0 : -0.01) * (b + 1) + 1e-7 * (r * 3 + c);
    }
    auto* density =
        data->AddChild(std::make_unique<CZuVecFunc>("modal density", &table, bands, data, ElementType::ModalDensity));
    for (int b = 0; b < bands; ++b)
        for (int k = 0; k < 3; ++k)
            density->DataValue(b, k) = 0.125 * (b + 1) * (k + 1);
    auto* clf = data->AddChild(std::make_unique<CZuClfFunc>("clf", "Roof-F", "Cabin-", bands, data, ElementType::Clf));
    clf->DataValue(0, 0) = 0.001;
    clf->DataValue(0, 1) = 1.0 / 3.0;

    auto* spl = root->AddChild(std::make_unique<CZuFunc>("SPL \xE6\x97\xA5\xE6\x9C\xAC", 4, root.get(), 54));
    spl->SetUnit("dB");
    for (int i = 0; i < 4; ++i) {
        spl->DataIndex(i) = 250.0 * (i + 1);
        spl->DataValue(i) = 60.0 + i * 0.1;
    }
    spl->DataValue(3) = HUGE_VAL; // the missing-level marker travels too

    auto* folder = root->AddChild(std::make_unique<CMElement>("Folder", root.get(), 70));
    auto* dlf = folder->AddChild(std::make_unique<CZuDlfFunc>("dlf", "Roof-F", 2, folder, ElementType::TotalDlf));
    dlf->DataValue(1, 0) = 0.02;
    folder->AddChild(std::make_unique<CMElement>("Empty", folder, 71));

    auto* sel = root->AddChild(std::make_unique<CZuRpmSelFunc>("By RPM", root.get(), 56));
    for (double rpm : {1000.0, 1500.5}) {
        auto vec = std::make_unique<CZuVecFunc>("v", &table, 2, nullptr, 52);
        vec->DataValue(1, 2) = rpm / 7.0;
        sel->AddRpmData(rpm, std::move(vec));
    }
    return root;
}

std::vector<uint8_t> Store(const CMElement& element, CFeedback* feedback)
{
    std::vector<uint8_t> bytes;
    CArchive ar(&bytes, CArchive::store);
    ar.SetFeedback(feedback);
    ar.WriteObject(&element);
    return bytes;
}

std::unique_ptr<CMElement> Load(const std::vector<uint8_t>& bytes)
{
    CArchive ar(bytes.data(), bytes.size());
    return ar.ReadOwned<CMElement>();
}

TempDir::TempDir()
{
    static std::atomic<int> counter{0};
    m_path = std::filesystem::temp_directory_path() /
             ("orvex-elements-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    std::filesystem::create_directories(m_path);
}

TempDir::~TempDir()
{
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
}
} // namespace elements_test
