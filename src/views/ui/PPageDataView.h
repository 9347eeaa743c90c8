#pragma once
// How data tables and graphs show numbers: decimal places, table cell width, whether every data
// set is plotted, levels in dB, and the weighting filter. Button 3030 stores the values at once
// and saves them as the machine's defaults.
#include "platform/ui/ZuPropertyPage.h"

class CHSEAOptions;
class CPSheetOptions;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QPushButton;
class QSpinBox;

class CPPageDataView : public CZuPropertyPage
{
    Q_OBJECT
public:
    static constexpr int kTemplateId = 4047;
    static constexpr int kMaxDecimals = 9;
    static constexpr int kMinCellWidth = 1;
    static constexpr int kMaxCellWidth = 50;

    CPPageDataView();

    CPSheetOptions* m_pSheet = nullptr;
    int m_nDecimalPlaces = -1;
    int m_nCellWidth = 0;
    int m_nPlotAllData = -1;
    int m_bShowDataInDB = 0;
    int m_nWeightingFilter = -1;

    // Writes the five fields into the options.
    void StoreOptions(CHSEAOptions& options) const;
    // Button 3030: take the controls, store them into the options and write the settings.
    void OnSaveDefault();

    QComboBox* DecimalsCombo() const { return m_decimals; }
    QSpinBox* CellWidthEdit() const { return m_width; }
    QButtonGroup* PlotAllGroup() const { return m_plotAll; }
    QCheckBox* ShowInDbCheck() const { return m_showDb; }
    QButtonGroup* WeightingGroup() const { return m_weighting; }
    QPushButton* SaveDefaultButton() const { return m_save; }

protected:
    bool OnInitDialog() override;
    bool DoDataExchange(bool saveAndValidate) override;

private:
    QComboBox* m_decimals;
    QSpinBox* m_width;
    QButtonGroup* m_plotAll;
    QCheckBox* m_showDb;
    QButtonGroup* m_weighting;
    QPushButton* m_save;
};
