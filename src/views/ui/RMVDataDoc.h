#pragma once
// The document of an RMV data window: one multi-vector function over engine speed
// (CZuRpmMultiVecFunc: per RPM one value per subsystem and band) with the display settings of the
// data core. The subset is a table index (an RPM or a band); the columns are the subsystems.
#include "platform/ui/ZuTableDataDoc.h"
#include "views/ui/QMXDataCore.h"

class CZuRpmMultiVecFunc;

class CRMVDataDoc : public CZuTableDataDoc, public CQMXDataCore
{
public:
    static constexpr int ID_OPTIONS = 1184;

    explicit CRMVDataDoc(CTALVOProject* project);
    ~CRMVDataDoc() override;

    CZuRpmMultiVecFunc* GetFunction() const;

    CMElement* GetDataElement() const override;
    std::string GetDataLabel() const override;
    void ApplyDisplaySettings(int axisFlag) override;
    void CopyAllToArchive(CArchive& ar) override;

    // The options sheet, then every view and the frame's bar re-read the options.
    void OnOptions();
};
