#include "views/TableNumbers.h"

#include "common/Quantity.h"
#include "platform/elements/ZuFunc.h"
#include "platform/elements/ZuVecFunc.h"
#include "spectral/MultiVectorFunction.h"
#include "spectral/SpectrumDisplayOptions.h"

#include <cmath>
#include <limits>

bool CTableNumbers::IsChartable(const CZuTableData* table)
{
    // A function is one such column (an SPL over the bands at one RPM).
    return dynamic_cast<const CZuVecFunc*>(table) != nullptr || dynamic_cast<const CZuFunc*>(table) != nullptr;
}

std::string CTableNumbers::SubsystemLabel(const CZuTableData* table)
{
    if (const auto* multi = dynamic_cast<const CMultiVectorFunction*>(table))
        return multi->GetLabel();
    return std::string();
}

double CTableNumbers::ShownValue(const CZuVecFunc& function, int i, int k)
{
    if (i < 0 || i >= function.GetDataCount() || k < 0 || k >= function.GetSubsystemCount())
        return std::numeric_limits<double>::quiet_NaN();
    const double value = function.DataValue(i, k);
    if (const auto* multi = dynamic_cast<const CMultiVectorFunction*>(&function)) {
        const int structure = SpectrumIsStructure(multi, multi->GetLabel());
        double shown = 0.0;
        return QuantityDisplayValue(&shown, multi, value, SpectrumShowInDB(multi), structure, 0.0)
                   ? shown
                   : std::numeric_limits<double>::quiet_NaN();
    }
    return std::isfinite(value) ? value : std::numeric_limits<double>::quiet_NaN();
}

double CTableNumbers::StoredValue(const CZuVecFunc& function, double shown)
{
    if (const auto* multi = dynamic_cast<const CMultiVectorFunction*>(&function)) {
        const int structure = SpectrumIsStructure(multi, multi->GetLabel());
        return DecibelToQuantityValue(multi, shown, SpectrumShowInDB(multi), structure);
    }
    return shown;
}

bool CTableNumbers::CellNumber(const CZuTableData* table, int row, int col, double& value)
{
    if (const auto* one = dynamic_cast<const CZuFunc*>(table)) {
        // One column of values as stored; a value that could not be computed is not a number.
        if (row < 1 || row > one->GetDataCount() || col < 0 || col > 1)
            return false;
        const double v = col == 0 ? one->DataIndex(row - 1) : one->DataValue(row - 1);
        if (!std::isfinite(v))
            return false;
        value = v;
        return true;
    }
    const auto* f = dynamic_cast<const CZuVecFunc*>(table);
    if (!f || row < 1 || row > f->GetDataCount() || col < 0 || col > f->GetSubsystemCount())
        return false;
    value = col == 0 ? f->DataIndex(row - 1) : ShownValue(*f, row - 1, col - 1);
    return true;
}
