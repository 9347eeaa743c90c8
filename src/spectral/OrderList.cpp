#include "spectral/OrderList.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "platform/archive/Archive.h"
#include "platform/base/Format.h"

COrderList& COrderList::operator=(const COrderList& other)
{
    if (this != &other) {
        m_orders.clear();
        m_orders = other.m_orders;
    }
    return *this;
}

int COrderList::Add(double order)
{
    m_orders.push_back(order);
    return static_cast<int>(m_orders.size()) - 1;
}

void COrderList::RemoveAt(int i, int count)
{
    if (i < 0 || count <= 0 || static_cast<size_t>(i) >= m_orders.size())
        return;
    const size_t last = std::min(m_orders.size(), static_cast<size_t>(i) + static_cast<size_t>(count));
    m_orders.erase(m_orders.begin() + i, m_orders.begin() + static_cast<std::ptrdiff_t>(last));
}

bool COrderList::OrdersEqual(double a, double b)
{
    return std::fabs(a - b) < kOrderEpsilon;
}

int COrderList::Find(double order) const
{
    for (size_t i = 0; i < m_orders.size(); ++i)
        if (OrdersEqual(m_orders[i], order))
            return static_cast<int>(i);
    return -1;
}

void COrderList::Sort()
{
    const size_t n = m_orders.size();
    for (size_t i = 0; i + 1 < n; ++i)
        for (size_t j = i + 1; j < n; ++j)
            if (m_orders[i] > m_orders[j])
                std::swap(m_orders[i], m_orders[j]);
}

bool COrderList::IsEqual(const COrderList& other) const
{
    if (m_orders.size() != other.m_orders.size())
        return false;
    for (size_t i = 0; i < m_orders.size(); ++i)
        if (!OrdersEqual(m_orders[i], other.m_orders[i]))
            return false;
    return true;
}

void COrderList::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << static_cast<uint8_t>(0);
        ar << static_cast<int32_t>(m_orders.size());
        for (double v : m_orders)
            ar << v;
    } else {
        uint8_t version = 0;
        ar >> version;
        const int32_t n = ar.ReadSignedCount(sizeof(double), "orders in an order list", CArchiveException::badIndex);
        std::vector<double> orders(static_cast<size_t>(n));
        for (auto& v : orders)
            ar >> v;
        m_orders = std::move(orders);
    }
}
