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
#include <vector>

#include "models/HSEAModelData.h"
#include "models/ModelProjectLink.h"
#include "models/SEAModelData.h"
#include "platform/elements/MElement.h"
#include "platform/elements/ZuMatFunc.h"
#include "platform/elements/ZuSubsystemTable.h"
#include "platform/elements/ZuVecFunc.h"
#include "platform/gfx/OctaveManager.h"
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
    CSEAModelData* FindSEAModelData(int serial, int, CFeedback*) const override
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

// The model data of the plates and the cabin: three subsystems over the third octaves 500, 630
// and 800 Hz; plate A and the cabin are strongly coupled, plate B weakly. Added to project.
inline CHSEAModelData* AddPlatesAndCabinModel(CFakeModelLink& project)
{
    CSEAModelData source("SEA", nullptr, 5, OCTAVE_BAND_THIRD, 500.0, 800.0);
    CZuSubsystemTable keys(std::vector<std::string>{"PlateA-F", "PlateB-F", "Cabin-"});
    source.SetSubsystemTable(&keys);
    const CZuSubsystemTable* own = source.GetSubsystemTable();
    auto eta = std::make_unique<CZuMatFunc>("Eta", own, own, 3, &source, ElementType::EtaMatrix);
    auto n = std::make_unique<CZuVecFunc>("Modal Density", own, 3, &source, ElementType::ModalDensity);
    const double density[3] = {0.4, 0.5, 5.0}, dlf[3] = {0.01, 0.012, 0.002};
    for (int b = 0; b < 3; ++b) {
        eta->DataIndex(b) = n->DataIndex(b) = source.GetFreq(b);
        for (int s = 0; s < 3; ++s) {
            n->DataValue(b, s) = density[s] * (1 + b);
            eta->DataValue(b, s, s) = dlf[s] * n->DataValue(b, s);
        }
        auto couple = [&](int s, int t, double clf) { // reciprocal pair
            const double nEta = n->DataValue(b, s) * clf;
            eta->DataValue(b, t, s) -= nEta;
            eta->DataValue(b, s, t) -= nEta;
            eta->DataValue(b, s, s) += nEta;
            eta->DataValue(b, t, t) += nEta;
        };
        couple(0, 2, 0.004 + 0.001 * b);
        couple(1, 2, 0.003);
        couple(0, 1, 0.001);
    }
    source.AddChild(std::move(eta));
    source.AddChild(std::move(n));
    return project.AddChild(std::make_unique<CHSEAModelData>(&source, nullptr, 1, 1, 0, 0));
}
