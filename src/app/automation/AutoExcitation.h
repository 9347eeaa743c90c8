#pragma once
// An excitation of the measured-data tree: its subsystem, its data sets and the raw samples of one
// local point over all of them.
#include "platform/automation/AutoObject.h"

#include <string>

class CExcitation;

class CAutoExcitation : public CAutoObject
{
public:
    explicit CAutoExcitation(CExcitation* excitation);
    const CDispatchTable& GetDispatchTable() const override;
    CExcitation& Excitation() const { return *m_excitation; }

    // The raw samples of a local point (from 0) of every data set into a text file. Every data set
    // must have the point (else the index error naming argument 1, and no file); the file is
    // written whole or not at all. False when it cannot be written.
    static bool ExportDAQRawData(const CExcitation& excitation, int point, const std::string& path);

private:
    CExcitation* m_excitation;
};
