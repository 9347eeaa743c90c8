#pragma once
// The document of a TAL data window: one spectrum map over engine speed (CZuRpmFunc) with the
// display settings of the data core. The views read the map through its table operations after
// ApplyDisplaySettings has put the settings into it.
#include "platform/win/CommandIds.h"
#include "spectral/ZuRpmFunc.h"
#include "views/ui/RpmDataDoc.h"

class CTALDataDoc : public CRpmDataDoc<CZuRpmFunc>
{
public:
    static constexpr int ID_OPTIONS = CommandId::ID_OPTIONS;
    static constexpr int ID_PLOT_ALL = CommandId::ID_PLOT_ALL;

    explicit CTALDataDoc(CTALVOProject* project);
    ~CTALDataDoc() override;

    // Plots every subset or only the current one (HSS_PlotAllData).
    void TogglePlotAll();
};
