#pragma once
// The measured data of one excitation subsystem of an experiment project: its data sets.
#include <string>

#include "platform/elements/MElement.h"

class CExpDataSet;

class CExcitation : public CMElement
{
    DECLARE_SERIAL(CExcitation)

public:
    CExcitation() = default;
    CExcitation(const std::string& name, CMElement* parent, int type);
    ~CExcitation() override;

    const std::string& GetSubsystemName() const { return m_subsystem; }
    void SetSubsystemName(const std::string& name) { m_subsystem = name; }

    // Appends an empty data set and renumbers every data set by its position.
    CExpDataSet* AddDataSet();
    // Data set i; null outside.
    CExpDataSet* GetDataSet(int i) const;
    // The project's excitation index of the subsystem; -1 outside a project.
    int GetIndex() const;

    void Serialize(CArchive& ar) override;

private:
    std::string m_subsystem;
};
