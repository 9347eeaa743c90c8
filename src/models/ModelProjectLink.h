#pragma once
// What the model data of this folder ask of the model project that holds them. The model project
// lives in the project model, which is built on top of this library, so it answers through this
// interface: a model data element finds it by walking up its parents.
#include <string>

class CMElement;

class IModelProjectLink
{
public:
    virtual ~IModelProjectLink() = default;

    // Type of the named subsystem of the project's 3D model (below 5 a structure, 5 or more an
    // acoustic cavity), -1 when the model or the subsystem is absent. With append set and a known
    // subsystem, "-F" (structure) or "-" (cavity) is appended to name.
    virtual int GetSubsystemType(std::string& name, int append) = 0;
    // Non-zero when the model reports the two subsystems as connected.
    virtual int IsSubsystemConnected(const std::string& a, const std::string& b) = 0;
    // Non-zero when the name is in the document's input-subsystem table.
    virtual int IsInputSubsystem(const std::string& name) = 0;

    // The nearest element at or above start that is a model project, or null.
    static IModelProjectLink* Find(const CMElement* start);
};
