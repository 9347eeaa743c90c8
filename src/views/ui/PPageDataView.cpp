#include "views/ui/PPageDataView.h"

#include "models/HSEAOptions.h"
#include "platform/win/PromptService.h"
#include "platform/win/StringIds.h"
#include "views/ui/PSheetOptions.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

CPPageDataView::CPPageDataView() : CZuPropertyPage(kTemplateId, "Data View")
{
    setObjectName(QStringLiteral("PPageDataView"));
    m_decimals = new QComboBox(this);
    m_decimals->setObjectName(QStringLiteral("c3061"));
    for (int i = 0; i <= kMaxDecimals; ++i)
        m_decimals->addItem(QString::number(i));
    m_width = new QSpinBox(this);
    m_width->setObjectName(QStringLiteral("c3080"));
    m_width->setRange(kMinCellWidth, kMaxCellWidth);
    m_showDb = new QCheckBox(tr("Show levels in dB"), this);
    m_showDb->setObjectName(QStringLiteral("c3049"));
    auto* plot = new QGroupBox(tr("Graphs"), this);
    auto* plotLayout = new QVBoxLayout(plot);
    m_plotAll = new QButtonGroup(this);
    const char* plotTexts[2] = {"Plot the selected data", "Plot all data"};
    for (int i = 0; i < 2; ++i) {
        auto* r = new QRadioButton(tr(plotTexts[i]), plot);
        r->setObjectName(QStringLiteral("c3206_%1").arg(i));
        m_plotAll->addButton(r, i);
        plotLayout->addWidget(r);
    }
    auto* weighting = new QGroupBox(tr("Weighting filter"), this);
    auto* weightingLayout = new QVBoxLayout(weighting);
    m_weighting = new QButtonGroup(this);
    const char* weightingTexts[2] = {"None", "A-weighting"};
    for (int i = 0; i < 2; ++i) {
        auto* r = new QRadioButton(tr(weightingTexts[i]), weighting);
        r->setObjectName(QStringLiteral("c3190_%1").arg(i));
        m_weighting->addButton(r, i);
        weightingLayout->addWidget(r);
    }
    m_save = new QPushButton(tr("Save as Default"), this);
    m_save->setObjectName(QStringLiteral("c3030"));

    auto* form = new QFormLayout;
    form->addRow(tr("Decimal places:"), m_decimals);
    form->addRow(tr("Table cell width:"), m_width);
    form->addRow(m_showDb);
    auto* groups = new QHBoxLayout;
    groups->addWidget(plot);
    groups->addWidget(weighting);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_save);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(groups);
    layout->addStretch(1);
    layout->addLayout(buttons);

    connect(m_save, &QPushButton::clicked, this, [this] { OnSaveDefault(); });
    // Only the number format re-arms the button; the radios and the check box do not.
    connect(m_decimals, &QComboBox::activated, this, [this] { m_save->setEnabled(true); });
    connect(m_width, &QSpinBox::valueChanged, this, [this] { m_save->setEnabled(true); });
}

bool CPPageDataView::OnInitDialog()
{
    if (m_pSheet && m_pSheet->GetOptions()) {
        const CHSEAOptions& o = *m_pSheet->GetOptions();
        m_nDecimalPlaces = o.HSS_DecimalPlaces;
        m_nCellWidth = o.HSS_TableCellWidth;
        m_nPlotAllData = o.HSS_PlotAllData;
        m_bShowDataInDB = o.HSS_ShowDataInDB;
        m_nWeightingFilter = o.WeightingFilter;
    }
    UpdateData(false);
    return true;
}

bool CPPageDataView::DoDataExchange(bool saveAndValidate)
{
    if (!saveAndValidate) {
        const QSignalBlocker b1(m_width);
        m_decimals->setCurrentIndex(m_nDecimalPlaces);
        m_width->setValue(m_nCellWidth);
        if (QAbstractButton* b = m_plotAll->button(m_nPlotAllData))
            b->setChecked(true);
        m_showDb->setChecked(m_bShowDataInDB != 0);
        if (QAbstractButton* b = m_weighting->button(m_nWeightingFilter))
            b->setChecked(true);
        return true;
    }
    const int width = m_width->value();
    if (width < kMinCellWidth || width > kMaxCellWidth) {
        AfxMessageBox("Please enter an integer between 1 and 50.", MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    m_nDecimalPlaces = m_decimals->currentIndex();
    m_nCellWidth = width;
    m_nPlotAllData = m_plotAll->checkedId();
    m_bShowDataInDB = m_showDb->isChecked() ? 1 : 0;
    m_nWeightingFilter = m_weighting->checkedId();
    return true;
}

void CPPageDataView::StoreOptions(CHSEAOptions& options) const
{
    options.HSS_DecimalPlaces = m_nDecimalPlaces;
    options.HSS_TableCellWidth = m_nCellWidth;
    options.HSS_PlotAllData = m_nPlotAllData;
    options.HSS_ShowDataInDB = m_bShowDataInDB;
    options.WeightingFilter = m_nWeightingFilter;
}

void CPPageDataView::OnSaveDefault()
{
    if (!UpdateData(true) || !m_pSheet || !m_pSheet->GetOptions())
        return;
    CHSEAOptions& options = *m_pSheet->GetOptions();
    StoreOptions(options);
    if (options.SaveDisplayOptions())
        m_save->setEnabled(false);
    else
        AfxMessageBox(IDS_SETTINGS_NOT_SAVED);
}
