#include "calculation/CalcDataSet.h"

#include "calculation/CalcData.h"
#include "experiments/ExpData.h"
#include "experiments/ExpDataSet.h"

IMPLEMENT_DYNAMIC(CCalcDataSet, CMElement)

CCalcDataSet::CCalcDataSet(CExpDataSet* source, CMElement* parent)
    : CMElement(source ? source->GetName() : std::string(), parent, source ? source->GetType() : -1), m_source(source)
{}

CCalcDataSet::~CCalcDataSet() = default;

void CCalcDataSet::CreateChildren()
{
    if (!m_source)
        return;
    for (int i = 0; i < m_source->GetChildCount(); ++i)
        if (auto* data = ElementCast<CExpData>(m_source->GetChild(i)))
            AddChild(std::make_unique<CCalcData>(data, this));
}

CCalcData* CCalcDataSet::GetData(int i) const
{
    return ElementCast<CCalcData>(GetChild(i));
}

template <class Step>
void CCalcDataSet::ForEachTakingPart(Step step)
{
    for (int i = 0; i < GetChildCount(); ++i)
        if (CCalcData* data = GetData(i); data && data->CheckLocalPoint())
            step(*data);
}

void CCalcDataSet::LoadRawData()
{
    ForEachTakingPart([](CCalcData& d) { d.LoadRawData(); });
}

void CCalcDataSet::ComputeFFT()
{
    ForEachTakingPart([](CCalcData& d) {
        if (!d.GetRawData().empty())
            d.ComputeFFT();
    });
}

void CCalcDataSet::Integrate()
{
    ForEachTakingPart([](CCalcData& d) {
        if (d.GetLineCount() > 0)
            d.Integrate();
    });
}

void CCalcDataSet::ComputeBandLevels()
{
    ForEachTakingPart([](CCalcData& d) {
        if (d.GetLineCount() > 0)
            d.ComputeBandLevels();
    });
}

void CCalcDataSet::ComputeOrderLevels()
{
    ForEachTakingPart([](CCalcData& d) {
        if (d.GetLineCount() > 0)
            d.ComputeOrderLevels();
    });
}

void CCalcDataSet::Reset()
{
    for (int i = 0; i < GetChildCount(); ++i)
        if (CCalcData* data = GetData(i))
            data->Reset();
}
