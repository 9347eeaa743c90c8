#pragma once
// The common base of the projects a project document holds (model, DAQ and analysis projects): the
// root element of one tree of the data model, with its owning container, its ID and the
// observer of its tree that keeps the project window in step with the tree. The elements below a project
// find their container, and what it answers, through it.
#include <cstdint>
#include <string>

#include "common/ProjectLookups.h"
#include "models/ModelProjectLink.h"
#include "platform/elements/ElementTreeObserver.h"
#include "platform/elements/MElement.h"
#include "spectral/SpectrumDisplayOptions.h"

class CTALVOProject;
class CSensorProject;

class CBaseProject : public CMElement,
                     public IElementTreeObserver,
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
    // The project observes its own tree and tells the owner's document (its project window) that an
    // element of it came or is about to go.
    IElementTreeObserver* GetTreeObserver() const override { return const_cast<CBaseProject*>(this); }
    void OnElementAdded(CMElement* element) override;
    void OnElementRemoving(CMElement* element) override;
    void OnElementRenamed(CMElement* element) override;

    CSensorProject* GetSensorProject() const;
    // This project's index in its owner's list; -1 when it is not listed.
    int GetProjectIndex() const;

    void Serialize(CArchive& ar) override;

private:
    CTALVOProject* m_owner = nullptr; // not owned
    int32_t m_id = -1;
};
