#pragma once
// One subsystem of the vehicle model: a shell (structure) or a cavity (acoustic space), with its
// type code and the display state that the 3D model documents give it (colour and mark).
//
// Type codes: below 5 structural (1 flat panel, 2 curved panel, 3 frame or beam, 4 other
// structure), 5 and above acoustic (5 acoustic space, 6 cavity).
#include <array>
#include <memory>
#include <string>

class CArchive;

class CModelSubsystem
{
public:
    enum : int
    {
        TYPE_FLAT_PANEL = 1,
        TYPE_CURVED_PANEL = 2,
        TYPE_FRAME = 3,
        TYPE_OTHER_STRUCTURE = 4,
        TYPE_ACOUSTIC_SPACE = 5,
        TYPE_CAVITY = 6,
        TYPE_FIRST_ACOUSTIC = 5,
    };
    using Color = std::array<float, 3>; // red, green, blue, each 0..1

    virtual ~CModelSubsystem() = default;

    const std::string& GetName() const { return m_name; }
    void SetName(const std::string& name) { m_name = name; }
    int GetType() const { return m_type; }
    void SetType(int type) { m_type = type; }
    bool IsStructure() const { return m_type < TYPE_FIRST_ACOUSTIC; }
    bool IsAcoustic() const { return m_type >= TYPE_FIRST_ACOUSTIC; }

    // Geometry; 0.0 where the kind has no such value.
    virtual double GetMass() const { return 0.0; }
    virtual double GetArea() const { return 0.0; } // shell area
    virtual double GetPerimeter() const { return 0.0; }
    virtual double GetSurfaceArea() const { return 0.0; } // cavity surface area
    virtual double GetVolume() const { return 0.0; }
    // The value of the same role for both kinds: the volume of an acoustic subsystem (type 5 and
    // above), the mass of a structure.
    double GetMassOrVolume() const { return IsAcoustic() ? GetVolume() : GetMass(); }

    // ---- display state of the 3D model views (not stored) ----
    Color GetColor() const { return m_color; }
    void SetColor(float r, float g, float b) { m_color = {r, g, b}; }
    // The colour a subsystem has before anything is highlighted: grey structures, pale blue cavities.
    Color GetDefaultColor() const;
    void SetDefaultColor() { m_color = GetDefaultColor(); }
    bool IsMarked() const { return m_marked; }
    void SetMark(bool marked = true) { m_marked = marked; }

    virtual std::unique_ptr<CModelSubsystem> Clone() const = 0;
    // Kind tag (0 shell, 1 cavity), name, type, then the kind's values; the tag is written and read
    // by the owning set (Create).
    virtual uint8_t GetKindTag() const = 0;
    virtual void Serialize(CArchive& ar);
    // A new subsystem of the kind a tag names; null for an unknown tag.
    static std::unique_ptr<CModelSubsystem> Create(uint8_t tag);
    // Why a value cannot be a measure (area, perimeter, mass, surface area, volume): it must be a
    // finite value of 0 or more. Empty when it can. Every reader of measures asks this.
    static std::string CheckMeasure(double value, const char* what);

protected:
    CModelSubsystem(const std::string& name, int type);
    CModelSubsystem(const CModelSubsystem&) = default;
    // Reads a double that must be a finite value of 0 or more (an archive error otherwise).
    static double ReadMeasure(CArchive& ar, const char* what);

private:
    std::string m_name;
    int m_type = 0;
    Color m_color{0.75f, 0.75f, 0.75f};
    bool m_marked = false;
};

// The subsystem the 3D views colour and mark.
using C3DModelSubsystem = CModelSubsystem;
