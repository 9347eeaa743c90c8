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

#include "SmallModel.h"
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
