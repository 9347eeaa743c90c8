#pragma once
// The element of an experiment project that holds the RPM (tacho) signal of every measured block:
// its children are numbered data sets, each with the pulse channel of one block.
#include <string>

#include "platform/elements/MElement.h"

class CExpDataSet;

class CRPMSignalData : public CMElement
{
    DECLARE_SERIAL(CRPMSignalData)

public:
    CRPMSignalData() = default; // the class factory: empty name, no parent, type -1
    CRPMSignalData(const std::string& name, CMElement* parent, int type);
    ~CRPMSignalData() override;

    // Appends an empty data set and renumbers every data set by its position.
    CExpDataSet* AddDataSet();
    // Child i (from 0) is named with the data-set label of i + 1.
    void RenameDataSets();

    // Stored as a data set: the element part only.
    void Serialize(CArchive& ar) override;
};
