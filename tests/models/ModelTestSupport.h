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

#include "models/ModelProjectLink.h"
#include "platform/archive/Archive.h"
#include "platform/elements/MElement.h"
#include "platform/elements/ZuMatFunc.h"
#include "platform/elements/ZuVecFunc.h"
#include "platform/gfx/OctaveManager.h"
#include "platform/modeldb/ModelSubsystem.h"

// A model project as the model data see it: subsystem types by name, connected pairs and the
// input subsystems of the document.
class CTestModelProject : public CMElement, public IModelProjectLink
{
public:
    CTestModelProject() : CMElement("Model", nullptr, 0) {}

    int GetSubsystemType(std::string& name, int append) override
    {
        auto it = types.find(name);
        if (it == types.end())
            return -1;
        if (append)
            name += it->second < 5 ? "-F" : "-";
        return it->second;
    }
    int IsSubsystemConnected(const std::string& a, const std::string& b) override
    {
        return connected.count({a, b}) || connected.count({b, a}) ? 1 : 0;
    }
    int IsInputSubsystem(const std::string& name) override { return inputs.count(name) ? 1 : 0; }
    CSEAModelData* FindSEAModelData(int serial, int) const override;
    CModelSubsystem* GetSubsystem(const std::string& name, int, int) const override
    {
        auto it = subsystems.find(name);
        return it == subsystems.end() ? nullptr : it->second.get();
    }

    std::map<std::string, int> types;
    std::set<std::pair<std::string, std::string>> connected;
    std::set<std::string> inputs;
    std::map<std::string, std::unique_ptr<CModelSubsystem>> subsystems; // 3D model subsystems by name
};

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
