#pragma once
// An acoustic subsystem of the vehicle model: a cavity or another acoustic space (type 5 and above).
#include "platform/modeldb/ModelSubsystem.h"

class CModelCavity : public CModelSubsystem
{
public:
    explicit CModelCavity(const std::string& name = {}, int type = TYPE_CAVITY, double surfaceArea = 0.0,
                          double volume = 0.0);

    double GetSurfaceArea() const override { return m_surfaceArea; }
    double GetVolume() const override { return m_volume; }
    void SetSurfaceArea(double area) { m_surfaceArea = area; } // m²
    void SetVolume(double volume) { m_volume = volume; }       // m³

    std::unique_ptr<CModelSubsystem> Clone() const override;
    uint8_t GetKindTag() const override { return 1; }
    void Serialize(CArchive& ar) override;

private:
    double m_surfaceArea = 0.0;
    double m_volume = 0.0;
};
