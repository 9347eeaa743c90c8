#pragma once
// The data-acquisition environment: the project's maximum channel number, which may only grow.
#include "common/ProjectLookups.h"
#include "platform/ui/ZuPropertyPage.h"

class CTALVOProject;
class QSpinBox;

class CPPageDaqEnv : public CZuPropertyPage
{
    Q_OBJECT
public:
    static constexpr int kTemplateId = 4044;
    // A project of more channels could not be opened again.
    static constexpr int kMaxChannels = kMaxSystemChannelCount;

    // The number starts as the project's current maximum channel number.
    explicit CPPageDaqEnv(CTALVOProject* project = nullptr);

    int m_nMaxChannel = 0;

    // Gives the project (and so each of its DAQ projects) the page's number.
    void StoreOptions();
    bool OnApply() override;

    QSpinBox* MaxChannelEdit() const { return m_edit; }

protected:
    bool DoDataExchange(bool saveAndValidate) override;

private:
    CTALVOProject* m_project;
    QSpinBox* m_edit;
};
