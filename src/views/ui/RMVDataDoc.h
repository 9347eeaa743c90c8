#pragma once
// The document of an RMV data window: one multi-vector function over engine speed
// (CZuRpmMultiVecFunc: per RPM one value per subsystem and band) with the display settings of the
// data core. The subset is a table index (an RPM or a band); the columns are the subsystems.
#include "platform/win/CommandIds.h"
#include "spectral/ZuRpmMultiVecFunc.h"
#include "views/ui/RpmDataDoc.h"

class CRMVDataDoc : public CRpmDataDoc<CZuRpmMultiVecFunc>
{
public:
    static constexpr int ID_OPTIONS = CommandId::ID_OPTIONS;

    explicit CRMVDataDoc(CTALVOProject* project);
    ~CRMVDataDoc() override;
};
