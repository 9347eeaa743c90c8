#pragma once
// What the model data of this folder ask of the model project that holds them. The model project
// lives in the project model, which is built on top of this library, so it answers through this
// interface: a model data element finds it by walking up its parents. Data below another project
// of the same document (the results of an analysis project) reach it through that project, which
// offers the document's model project as an IModelProjectHolder.
#include <string>

#include "platform/base/Feedback.h"

class CMElement;
class CModelSubsystem;
class CSEAModelData;

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
    // The project's model data of that serial number; null (with warn set: after message 7100,
    // reported to the feedback) when there is none.
    virtual CSEAModelData* FindSEAModelData(int serial, int warn, CFeedback* feedback = SilentFeedback()) const = 0;
    // The subsystem of the project's 3D model (a CModelShell or a CModelCavity); null when absent.
    virtual CModelSubsystem* GetSubsystem(const std::string& name, int warn, int exact) const = 0;

    // The model project for start: the nearest element at or above start that is a model project,
    // or else the model project of the nearest holder above it; null when there is neither.
    static IModelProjectLink* Find(const CMElement* start);
};

// A project of the document other than the model project: it knows the document's model project.
class IModelProjectHolder
{
public:
    virtual ~IModelProjectHolder() = default;
    // Null while the project belongs to no document or the document has no model project.
    virtual IModelProjectLink* GetModelProjectLink() const = 0;
};
