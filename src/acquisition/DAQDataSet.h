#pragma once
// What the measurement file and the recalculation ask of a measured data set. The data sets live
// in the project model above this library and implement this beside IDaqExperimentData (their
// description and options); the measurement file reaches both through the element.
#include <string>

class CMElement;
class CMElementList;
class IDaqExperimentData;

class IDAQDataSet
{
public:
    virtual ~IDAQDataSet() = default;
    virtual const std::string& GetDescription() const = 0;
    virtual int GetDaqProjectID() const = 0;
    virtual int GetSerial() const = 0;
    virtual int GetUseFlag() const = 0;
    virtual void SetUseFlag(int use) = 0;
    // Files copies of the fitting functions of the list into the data set.
    virtual void AddFuncs(const CMElementList& list) = 0;
    // The first result function of that name and data-type code; null when there is none.
    virtual CMElement* FindFuncByNameAndType(const std::string& name, int code) const = 0;
};

// The data set behind an element; null when the element is not one.
IDAQDataSet* AsDAQDataSet(CMElement* element);
IDaqExperimentData* AsDaqExperimentData(CMElement* element);
