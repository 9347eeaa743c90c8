#include "app/automation/AutoDAQExperiment.h"

#include "app/DAQExperiment.h"
#include "app/automation/ObjectModel.h"

CAutoDAQExperiment::CAutoDAQExperiment(CDAQExperiment* set) : CAutoObject(set), m_set(set) {}

const CDispatchTable& CAutoDAQExperiment::GetDispatchTable() const
{
    static const CDispatchTable table(
        nullptr, {
                     // The samples of a data set travel in the project file itself: there is no
                     // measurement file of its own.
                     {"DAQFilePath", DispKind::Property, AutoType::String, {},
                      AUTO_MEMBER(CAutoDAQExperiment, return CAutoValue::String(std::string());)},
                 });
    return table;
}
