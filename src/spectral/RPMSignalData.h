#pragma once
// The element of an experiment project that holds the RPM (tacho) signal of every measured block:
// its children are numbered data sets, each with the pulse channel of one block.
#include <string>

#include "platform/elements/MElement.h"

class CRPMSignalData : public CMElement
{
    DECLARE_SERIAL(CRPMSignalData)

public:
    // The class of the data sets. It belongs to the measured-data library, which builds on this
    // one, so the data sets are made through the class registry by this name.
    static constexpr const char* kDataSetClass = "CExpDataSet";
    static constexpr int kDataSetType = 2;

    CRPMSignalData() = default; // the class factory: empty name, no parent, type -1
    CRPMSignalData(const std::string& name, CMElement* parent, int type);
    ~CRPMSignalData() override;

    // Appends an empty data set and renumbers every data set; null when the data-set class is not
    // linked into the program.
    CMElement* AddDataSet();
    // Child i (from 0) is named with string 7016 and i + 1.
    void RenameDataSets();

    // Stored as a data set: the element part only.
    void Serialize(CArchive& ar) override;
};
