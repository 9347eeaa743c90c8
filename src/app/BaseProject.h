#pragma once
// The common base of the projects a project document holds (model, DAQ and analysis projects): the
// root element of one tree of the data model, with its owning container, its ID and the
// notifications that keep the project window in step with the tree. The elements below a project
// find their container, and what it answers, through it.
#include <cstdint>
#include <string>

#include "common/ProjectLookups.h"
#include "models/ModelProjectLink.h"
#include "platform/elements/MElement.h"
#include "spectral/ProjectTreeNotify.h"
#include "spectral/SpectrumDisplayOptions.h"

class CTALVOProject;
class CSensorProject;

class CBaseProject : public CMElement,
                     public IProjectTreeNotify,
                     public IModelProjectHolder,
                     public IProjectMember,
                     public ISpectrumDisplayOptions
{
    DECLARE_SERIAL(CBaseProject)

public:
    static constexpr uint8_t kVersion = 1;

    CBaseProject() = default;
    explicit CBaseProject(const std::string& name, CMElement* parent = nullptr, int type = -1);
    ~CBaseProject() override;

    virtual void SetOwner(CTALVOProject* owner) { m_owner = owner; }
    virtual void SetID(int id) { m_id = id; }
    virtual CTALVOProject* GetOwner() const { return m_owner; }
    virtual int GetID() const { return m_id; }
    // Asked of the owner's model project; 0 without an owner.
    int IsStructure(const std::string& name) const override;
    virtual int IsAcoustic(const std::string& name) const;
    // The owner's model project; null without an owner.
    IModelProjectLink* GetModelProjectLink() const override;
    // The owner's display options; linear and unweighted without an owner.
    int ShowDataInDB() const override;
    int IsAWeighting() const override;
    IProjectLookups* GetProjectLookups() const override;
    // Tell the owner's document (its project window) that an element of this project's tree came
    // or went.
    void NotifyChildAdded(CMElement* element) override;
    void NotifyChildRemoved(CMElement* element) override;

    CSensorProject* GetSensorProject() const;
    // This project's index in its owner's list; -1 when it is not listed.
    int GetProjectIndex() const;

    void Serialize(CArchive& ar) override;

private:
    CTALVOProject* m_owner = nullptr; // not owned
    int32_t m_id = -1;
};
