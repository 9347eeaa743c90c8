#pragma once
// The calculation mirror of one measured data set: one CCalcData per channel. Each step is
// forwarded to the channels that take part (their local point is selected), and only to those
// whose previous step left something to work on.
#include "platform/elements/MElement.h"

class CCalcData;
class CExpDataSet;

class CCalcDataSet : public CMElement
{
    DECLARE_DYNAMIC(CCalcDataSet)

public:
    CCalcDataSet(CExpDataSet* source, CMElement* parent);
    ~CCalcDataSet() override;

    CExpDataSet* GetSource() const { return m_source; }
    // One channel element per channel record of the source.
    void CreateChildren();
    CCalcData* GetData(int i) const;

    void LoadRawData();
    void ComputeFFT();
    void Integrate();
    void ComputeBandLevels();
    void ComputeOrderLevels();
    void Reset();

private:
    template <class Step>
    void ForEachTakingPart(Step step);

    CExpDataSet* m_source;
};
