#pragma once
// The stored form the two order maps share after their table part: the orders, the per-order
// functions as objects, the subsystem name and the order factor.
#include "platform/archive/Archive.h"
#include "platform/elements/MElement.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace order_map_archive {

template <class Func>
void Store(CArchive& ar, const std::vector<double>& orders, const std::vector<std::unique_ptr<Func>>& functions,
           const std::string& subsystem, float factor)
{
    ar << static_cast<int32_t>(orders.size());
    for (double order : orders)
        ar << order;
    ar << static_cast<int32_t>(functions.size());
    for (const auto& function : functions)
        ar.WriteObject(function.get());
    ar << subsystem;
    ar << factor;
}

// Reads what Store wrote; readOne reads one function (null for a null object). Orders and
// functions are paired by position: an order whose function reads as null (or that has none) is
// dropped with it, so that every order keeps its own function. The results are only set once all
// was read, each function owned by parent.
template <class Func, class ReadOne>
void Load(CArchive& ar, CMElement* parent, const char* functionsWhat, ReadOne readOne, std::vector<double>& ordersOut,
          std::vector<std::unique_ptr<Func>>& functionsOut, std::string& subsystemOut, float& factorOut)
{
    const int32_t orderCount =
        ar.ReadSignedCount(sizeof(double), "orders in an order map", CArchiveException::badIndex);
    std::vector<double> orders(static_cast<size_t>(orderCount));
    for (double& order : orders)
        ar >> order;
    const int32_t functionCount = ar.ReadSignedCount(2, functionsWhat, CArchiveException::badIndex);
    std::vector<double> keptOrders;
    std::vector<std::unique_ptr<Func>> functions;
    for (int32_t i = 0; i < functionCount; ++i) {
        std::unique_ptr<Func> function = readOne(ar);
        if (!function || i >= orderCount)
            continue;
        function->SetParent(parent);
        keptOrders.push_back(orders[static_cast<size_t>(i)]);
        functions.push_back(std::move(function));
    }
    std::string subsystem;
    ar >> subsystem;
    float factor = 0.0f;
    ar >> factor;
    ordersOut = std::move(keptOrders);
    functionsOut = std::move(functions);
    subsystemOut = std::move(subsystem);
    factorOut = factor;
}

} // namespace order_map_archive
