#pragma once
// Turns an RPM-by-order table (an order multi-vector function) into a full order-tracking map: for
// each order a spectrum over RPM and band, each RPM row carrying the table's value in the band
// that holds the order frequency. The caller sets the band set and the order factor first.
#include <memory>

class CMElement;
class COctaveManagerEx;
class CZuOTFunc;

class COTConv
{
public:
    COTConv() = default;
    virtual ~COTConv() = default;

    void SetOctaveManager(COctaveManagerEx* bands) { m_bands = bands; }
    COctaveManagerEx* GetOctaveManager() const { return m_bands; }
    void SetOrderFactor(float factor) { m_factor = factor; }
    float GetOrderFactor() const { return m_factor; }

    // The order map of src (owned by the caller); null unless src is an order multi-vector
    // function.
    std::unique_ptr<CZuOTFunc> Convert(CMElement* src) const;

private:
    COctaveManagerEx* m_bands = nullptr; // not owned
    float m_factor = 1.0f;
};
