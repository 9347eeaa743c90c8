#pragma once
// The engine orders of an order-tracking analysis. Orders are compared with the tolerance of a
// single-precision epsilon, because they are often typed in or come from float settings.
#include <cstddef>
#include <cstdint>
#include <vector>

class CArchive;

class COrderList
{
public:
    // Two orders are the same order when they differ by less than this.
    static constexpr double kOrderEpsilon = 1.1920928955078125e-7;

    COrderList() = default;
    COrderList(const COrderList& other) = default;
    COrderList& operator=(const COrderList& other);
    virtual ~COrderList() = default;

    int GetSize() const { return static_cast<int>(m_orders.size()); }
    int GetCount() const { return GetSize(); }
    bool IsEmpty() const { return m_orders.empty(); }
    double GetAt(int i) const { return m_orders[static_cast<size_t>(i)]; }
    double& operator[](int i) { return m_orders[static_cast<size_t>(i)]; }
    double operator[](int i) const { return m_orders[static_cast<size_t>(i)]; }
    int Add(double order);
    void RemoveAt(int i, int count = 1);
    void RemoveAll() { m_orders.clear(); }
    const std::vector<double>& Values() const { return m_orders; }

    // Index of the first order within the epsilon of order, -1 when absent.
    int Find(double order) const;
    // Ascending, in place.
    void Sort();

    bool IsEqual(const COrderList& other) const;
    bool operator==(const COrderList& other) const { return IsEqual(other); }
    bool operator!=(const COrderList& other) const { return !IsEqual(other); }

    static bool OrdersEqual(double a, double b);

    // A version byte (always written as 0, ignored on reading), an int32 count, the doubles.
    virtual void Serialize(CArchive& ar);

private:
    std::vector<double> m_orders;
};
