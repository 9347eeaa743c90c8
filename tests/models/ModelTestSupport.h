#pragma once
// Shared pieces of the model tests: a stand-in model project and small hand-made models.
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "support/FakeModelLink.h"
#include "platform/archive/Archive.h"
#include "platform/elements/MElement.h"
#include "platform/elements/ZuMatFunc.h"
#include "platform/elements/ZuVecFunc.h"
#include "platform/gfx/OctaveManager.h"
#include "platform/modeldb/ModelSubsystem.h"

// A model project as the model data see it.
using CTestModelProject = CFakeModelLink;

// A temporary folder removed with the object.
class CTempFolder
{
public:
    CTempFolder();
    ~CTempFolder();
    const std::filesystem::path& Path() const { return m_path; }
    std::string File(const std::string& name) const { return (m_path / name).string(); }

private:
    std::filesystem::path m_path;
};

// Fills a model's eta matrix and modal density from CLFs and intrinsic DLFs:
// E(b, t, s) = -n_s * clf(s -> t), diagonal n_s * (dlf_s + sum of its CLFs).
struct SmallModelLayout
{
    std::vector<std::string> keys;                          // subsystem keys with wave marks
    std::vector<std::vector<double>> density;               // [band][k]
    std::vector<std::vector<double>> dlf;                   // [band][k]
    std::map<std::pair<int, int>, std::vector<double>> clf; // (s, t) -> per band
};

class CZuData;
void FillSmallModel(CZuData& model, const SmallModelLayout& layout);
// Three subsystems over three one-third-octave bands (500, 630, 800 Hz).
SmallModelLayout ThreeSubsystemLayout();

std::string ReadTextFile(const std::string& path);
void WriteTextFile(const std::string& path, const std::string& text);
std::string SettingsFolder();

// The bytes of an object written to an archive as a document stores it.
inline std::vector<uint8_t> Store(const CObject& obj)
{
    std::vector<uint8_t> buf;
    CArchive ar(&buf, CArchive::store);
    ar.WriteObject(&obj);
    return buf;
}
