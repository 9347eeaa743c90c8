#pragma once
// The project document as automation clients see it: its file, its projects and the model's
// subsystem questions.
#include "platform/automation/AutoObject.h"

class CTALVODoc;

class CAutoTALVODoc : public CAutoObject
{
public:
    explicit CAutoTALVODoc(CTALVODoc* doc);
    const CDispatchTable& GetDispatchTable() const override;
    CTALVODoc& Doc() const { return *m_doc; }

private:
    CTALVODoc* m_doc;
};
