#pragma once
// The document of a TAL data window: one spectrum map over engine speed (CZuRpmFunc) with the
// display settings of the data core. The views read the map through its table operations after
// ApplyDisplaySettings has put the settings into it.
#include "platform/ui/ZuTableDataDoc.h"
#include "views/ui/QMXDataCore.h"

class CZuRpmFunc;

class CTALDataDoc : public CZuTableDataDoc, public CQMXDataCore
{
public:
    static constexpr int ID_OPTIONS = 1184;
    static constexpr int ID_PLOT_ALL = 1159;

    explicit CTALDataDoc(CTALVOProject* project);
    ~CTALDataDoc() override;

    CZuRpmFunc* GetFunction() const;

    CMElement* GetDataElement() const override;
    std::string GetDataLabel() const override;
    void ApplyDisplaySettings(int axisFlag) override;
    void CopyAllToArchive(CArchive& ar) override;

    // The options sheet, then every view and the frame's bar re-read the options.
    void OnOptions();
    // Plots every subset or only the current one (HSS_PlotAllData).
    void TogglePlotAll();
};
