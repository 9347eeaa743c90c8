#pragma once
// The order report of the input powers: for one order of an input-power map by order (per RPM row
// a vector function of every subsystem's level in dB per band), each subsystem's level at every
// RPM row in the band that holds the order frequency, with a sum row (type 1), or the powers
// summed over the structures ("ST") and over the cavities ("AC") with a sum row (type 2).
#include <string>

#include "calculation/OTDataList.h"
#include "platform/archive/Object.h"
#include "platform/base/Feedback.h"

class CZuOTMultiVecFunc;

class COTInPcCreator : public CObject
{
public:
    enum : int
    {
        TYPE_SUBSYSTEMS = 1,
        TYPE_STRUCTURE_ACOUSTIC = 2,
    };

    // source: the input-power map by order (not owned); name: the map's label when empty.
    explicit COTInPcCreator(CZuOTMultiVecFunc* source, const std::string& name = std::string());
    ~COTInPcCreator() override;

    // Rebuilds the rows of one type for the order at orderIndex. 1 when rows were built; 0 (no
    // rows) for another type, without a name or the analysis project, or without subsystems.
    int Build(int type, int orderIndex);
    // "##### LINE [dB] #####" and the block of every order that builds with the type. 0 with the
    // message "Faile to open file." when the file cannot be written (an existing file then stays
    // as it was). The progress, when given, steps once per order.
    int WriteReport(int type, const char* path, CFeedback* progress = SilentFeedback());

    const COTDataList& GetDataList() const { return m_list; }
    const std::string& GetName() const { return m_name; }

private:
    std::string m_name;
    CZuOTMultiVecFunc* m_source = nullptr;
    COTDataList m_list;
};
