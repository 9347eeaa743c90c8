#pragma once
// A project for the planning windows: the sample model, a system of the given channel count, one
// unit group numbered 0 with a unit at every position ("00001", "00002", ...), accelerometers S1..S70
// and microphones M1..M4.
#include "app/TALVOProject.h"

#include <filesystem>
#include <string>
#include <vector>

class CPlanFixture
{
public:
    explicit CPlanFixture(int channels = 96);
    ~CPlanFixture();

    // Gives a subsystem sensors in the assignment.
    void Assign(const std::string& subsystem, const std::vector<std::string>& sensors);
    // Model subsystems that are structures (k-th) and cavities.
    std::string Structure(int k) const;
    std::string Cavity(int k) const;

    CTALVOProject project;
    std::filesystem::path dir;
};
