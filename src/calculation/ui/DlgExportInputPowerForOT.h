#pragma once
// The input-power export of an analysis project by order: one order's data, with the band list
// around the order (its type and its band width in Hz, 1 to 999).
#include "calculation/ui/DlgExportInputPower.h"

class CDlgExportInputPowerForOT : public CDlgExportInputPower
{
    Q_OBJECT

public:
    enum
    {
        IDD = 4107,
        IDC_BAND_LIST = 3272,
        IDC_BAND_WIDTH = 3138
    };
    static constexpr int kMinWidth = 1;
    static constexpr int kMaxWidth = 999;

    CDlgExportInputPowerForOT(CAnalysisProject* project, QWidget* parent = nullptr);
    ~CDlgExportInputPowerForOT() override;

    int m_bandListType = 0;
    int m_bandWidth = 50;

    QRadioButton* BandListButton(int type) const;
    QLineEdit* WidthEdit() const { return m_widthEdit; }

protected:
    bool DoDataExchange(bool saveAndValidate) override;
    void ApplyBandList(CInputPowerExport& exporter) const override;

private:
    QButtonGroup* m_bandLists;
    QLineEdit* m_widthEdit;
};
