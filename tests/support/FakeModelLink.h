#pragma once
// A model project as the model data and the calculations see it: subsystem types by name (with
// the wave mark on request: "-F" below type 5, "-" from it on), connected pairs (or every pair),
// the input subsystems and 3D model subsystems by name, all set by the test; its children are the
// SEA model data found by serial number.
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>

#include "models/ModelProjectLink.h"
#include "models/SEAModelData.h"
#include "platform/elements/MElement.h"
#include "platform/modeldb/ModelSubsystem.h"

class CFakeModelLink : public CMElement, public IModelProjectLink
{
public:
    CFakeModelLink() : CMElement("Model", nullptr, 0) {}

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
        return everyPairConnected || connected.count({a, b}) || connected.count({b, a}) ? 1 : 0;
    }
    int IsInputSubsystem(const std::string& name) override { return inputs.count(name) ? 1 : 0; }
    CSEAModelData* FindSEAModelData(int serial, int) const override
    {
        for (int i = 0; i < GetChildCount(); ++i)
            if (auto* data = DynamicDowncast<CSEAModelData>(GetChild(i)))
                if (serial >= 0 && data->GetSerialNumber() == static_cast<uint32_t>(serial))
                    return data;
        return nullptr;
    }
    CModelSubsystem* GetSubsystem(const std::string& name, int, int) const override
    {
        auto it = subsystems.find(name);
        return it == subsystems.end() ? nullptr : it->second.get();
    }

    std::map<std::string, int> types;
    std::set<std::pair<std::string, std::string>> connected;
    bool everyPairConnected = false;
    std::set<std::string> inputs;
    std::map<std::string, std::unique_ptr<CModelSubsystem>> subsystems; // 3D model subsystems by name
};

// The model of the calculation tests: two plates and a cabin.
inline void MakePlatesAndCabin(CFakeModelLink& model)
{
    model.types = {{"PlateA", 1}, {"PlateB", 1}, {"Cabin", 6}};
}
