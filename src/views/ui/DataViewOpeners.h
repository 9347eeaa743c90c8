#pragma once
// The data windows that open over elements of the project tree, one entry per window: the elements
// it takes, its document template and its opener. InstallDataViewOpeners registers each with the
// application as a result window, so CTALVOApp::OpenDataView hands an element to the first window
// that takes it. A window family adds itself with one entry in DataViewEntries.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class CMElement;
class CTALVOProject;
class QMdiArea;
class QWidget;

struct CDataViewEntry
{
    uint32_t templateId;       // the resource id of the document template (IDR_TALDATA, ...)
    const char* documentClass; // the template's document class
    // Whether an element opens in this window; asked in the order of the entries.
    std::function<bool(const CMElement& element)> takes;
    // Opens (or brings forward) the window over an element; null when it does not show that kind.
    std::function<QWidget*(QMdiArea* area, CMElement* element)> open;
    // Whether a window of the entry shows the element already.
    std::function<bool(CMElement* element)> isOpen;
};

// The entries, in the order the windows are asked whether they take an element.
const std::vector<CDataViewEntry>& DataViewEntries();
// Registers the windows with the application; they open into area.
void InstallDataViewOpeners(QMdiArea* area);
// The same with the area asked for at each opening (the main window's, which comes and goes);
// with needsArea, nothing opens while there is none.
void InstallDataViewOpeners(std::function<QMdiArea*()> area, bool needsArea);
// Takes the openers back (the area goes): the windows stay registered and open nothing.
void RemoveDataViewOpeners();

// The project container whose display items and options a window over element uses: that of the
// element's owner project (for measured data, that of the DAQ project they were measured for);
// null when the element belongs to none.
CTALVOProject* FindProjectContainer(CMElement* element);

// The title of a data window over element: its name, the quantity it holds (or the element it
// belongs to when it names no quantity, or when it was made from a data set such as a solved
// result) and its project, so that windows over the elements of two kinds or two projects that
// share a name ("Roof") are told apart: "Roof - Input Power - Run 1",
// "Energy [Roof-F] - Result [Input Power Data] - Model".
std::string DataWindowTitle(const CMElement* element);
// DataWindowTitle, with " (2)", " (3)", ... added when another window in area carries it already.
void SetDataWindowTitle(QWidget* frame, QMdiArea* area, const CMElement* element);
