#pragma once
// The measurement window's document as the project model sees it: a DAQ project fills it with
// measured data sets to measure into, or with a measured-data tree read from a measurement file.
// The window library implements it; the application opens one through its "DAQSystem" opener.
#include <memory>
#include <string>
#include <vector>

class CDaqProject;
class CExpProject;
class CMElementList;
class CObject;

class IDAQSystemDocument
{
public:
    virtual ~IDAQSystemDocument() = default;
    // A new, empty measured-data tree over these data sets of the project (not owned).
    virtual void SetMeasuredData(CDaqProject* project, const CMElementList& dataSets) = 0;
    // A measured-data tree read from a file, with the objects it lists, which the document keeps.
    virtual void SetReadData(std::unique_ptr<CExpProject> project, std::vector<std::unique_ptr<CObject>> keep) = 0;
    virtual void SetTitle(const std::string& title) = 0;
    // The views take the document's data (first showing), then redraw.
    virtual void SendInitialUpdate() = 0;
    virtual void UpdateAllViews() = 0;
    // Closes the document and its window.
    virtual void CloseDocument() = 0;
};
