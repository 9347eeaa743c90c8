#pragma once
// The settings with which measured time data become spectra and band levels: FFT high-pass and
// window, line count, order band width, orders and the local points taking part per subsystem.
#include <cstdint>

#include "experiments/SubsystemLPInfo.h"
#include "platform/archive/Archive.h"
#include "spectral/OrderList.h"

class CCalcOptions : public CObject
{
    DECLARE_SERIAL(CCalcOptions)

public:
    static constexpr uint32_t kSchema = 8;
    // More orders than this in an old file's order count is a forged file.
    static constexpr int32_t kMaxOldOrderCount = 100000;

    // The defaults; the window type follows the user's last choice in the settings.
    CCalcOptions();
    CCalcOptions(const CCalcOptions&) = default;
    CCalcOptions& operator=(const CCalcOptions&) = default;
    bool operator==(const CCalcOptions& o) const;

    float GetHighPassFreq() const { return m_highPass; }
    void SetHighPassFreq(float v) { m_highPass = v; }
    int GetWindowType() const { return m_windowType; }
    void SetWindowType(int v) { m_windowType = v; }
    float GetOrderBandWidth() const { return m_orderBandWidth; }
    void SetOrderBandWidth(float v) { m_orderBandWidth = v; }
    float GetResolution() const { return m_resolution; }
    void SetResolution(float v) { m_resolution = v; }
    float GetLineCount() const { return m_lineCount; }
    void SetLineCount(float v) { m_lineCount = v; }
    COrderList& GetOrderList() { return m_orders; }
    const COrderList& GetOrderList() const { return m_orders; }
    void SetOrderList(const COrderList& orders) { m_orders = orders; }
    CSubsystemLPInfoList& GetSubsystemLPInfoList() { return m_lpInfo; }
    const CSubsystemLPInfoList& GetSubsystemLPInfoList() const { return m_lpInfo; }

    // Makes the window type the default of options created from now on; 1 on success.
    int SaveDataWindowing() const;

    void Serialize(CArchive& ar) override;

private:
    float m_highPass = 20.0f;
    int32_t m_windowType = 0;
    float m_orderBandWidth = 50.0f;
    float m_resolution = 62.5f;
    float m_lineCount = 800.0f;
    CSubsystemLPInfoList m_lpInfo;
    COrderList m_orders;
};
