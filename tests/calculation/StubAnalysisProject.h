#pragma once
// An analysis project as the input folders see it, over a model of "Roof" (structure of
// roofMass kg) and "Cabin" (cavity of cabinVolume), with two analysis bands (100 and 200 Hz) and
// the tree notices it was sent ("+name", "-name").
#include <cstdint>
#include <string>
#include <vector>

#include "calculation/AnalysisProjectAccess.h"
#include "platform/elements/ElementTreeObserver.h"
#include "platform/elements/MElement.h"
#include "platform/gfx/OctaveManager.h"
#include "spectral/OrderList.h"
#include "spectral/RPMOptions.h"

class CStubAnalysisProject : public CMElement, public IAnalysisProjectAccess, public IElementTreeObserver
{
public:
    int type = 0;
    COctaveManagerEx bands{OCTAVE_BAND_USER};
    COctaveManager model;
    CRPMOptions rpm;
    COrderList orders;
    std::vector<int32_t> map;
    std::vector<std::string> notices;
    double roofMass = 2.0;
    double cabinVolume = 0.0;

    // The model's third-octave bands from modelStart to modelEnd; the analysis RPMs as a range.
    CStubAnalysisProject(double modelStart, double modelEnd, float rpmFrom, float rpmTo, float rpmStep)
        : CMElement("AP1", nullptr, -1), model(OCTAVE_BAND_THIRD, modelStart, modelEnd), m_modelStart(modelStart),
          m_modelEnd(modelEnd)
    {
        bands.AddFreqInfo(100.0, 90.0, 110.0, 3);
        bands.AddFreqInfo(200.0, 180.0, 220.0, 3);
        rpm.SetRange(rpmFrom, rpmTo, rpmStep);
    }
    int GetProjectType() const override { return type; }
    std::string GetProjectName() const override { return GetName(); }
    COctaveManagerEx* GetOctaveManager() override { return &bands; }
    CRPMOptions& GetRPMOptions() override { return rpm; }
    float GetOTSetting() const override { return 50.0f; }
    double GetDaqConfigValue() const override { return 1.0; }
    int CompleteSubsystemName(std::string& name) const override
    {
        if (name == "Roof") {
            name = "Roof-F";
            return 1;
        }
        if (name == "Cabin") {
            name = "Cabin-";
            return 6;
        }
        return -1;
    }
    bool GetSubsystemParam(const std::string& name, double& mass, double& volume) const override
    {
        mass = name == "Roof" ? roofMass : 0.0;
        volume = name == "Cabin" ? cabinVolume : 0.0;
        return name == "Roof" || name == "Cabin";
    }
    const COctaveManager* GetModelOctaveManager() const override { return &model; }
    COrderList& GetOrderList() override { return orders; }
    CMElement* GetProjectElement() override { return this; }
    int HasOwner() const override { return 1; }
    std::vector<int32_t>& GetFreqIndexArray() override { return map; }
    void GetModelDataParams(int* kind, double* start, double* end) const override
    {
        *kind = OCTAVE_BAND_THIRD;
        *start = m_modelStart;
        *end = m_modelEnd;
    }
    IElementTreeObserver* GetTreeObserver() const override { return const_cast<CStubAnalysisProject*>(this); }
    void OnElementAdded(CMElement* e) override { notices.push_back("+" + e->GetName()); }
    void OnElementRemoving(CMElement* e) override { notices.push_back("-" + e->GetName()); }

private:
    double m_modelStart;
    double m_modelEnd;
};
