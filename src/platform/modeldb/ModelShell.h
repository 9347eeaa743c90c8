#pragma once
// A structural subsystem of the vehicle model: panel, frame or other structure (type below 5).
#include "platform/modeldb/ModelSubsystem.h"

class CModelShell : public CModelSubsystem
{
public:
    explicit CModelShell(const std::string& name = {}, int type = TYPE_FLAT_PANEL, double area = 0.0,
                         double perimeter = 0.0, double mass = 0.0);

    double GetMass() const override { return m_mass; }
    double GetArea() const override { return m_area; }
    double GetPerimeter() const override { return m_perimeter; }
    void SetMass(double mass) { m_mass = mass; }                     // kg
    void SetArea(double area) { m_area = area; }                     // m²
    void SetPerimeter(double perimeter) { m_perimeter = perimeter; } // m

    std::unique_ptr<CModelSubsystem> Clone() const override;
    uint8_t GetKindTag() const override { return 0; }
    void Serialize(CArchive& ar) override;

private:
    double m_area = 0.0;
    double m_perimeter = 0.0;
    double m_mass = 0.0;
};
