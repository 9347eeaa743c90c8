#include "calculation/ui/DlgExportInputPowerForOT.h"

#include <QButtonGroup>
#include <QFormLayout>
#include <QGroupBox>
#include <QIntValidator>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/InputPowerExport.h"
#include "platform/base/Format.h"
#include "platform/win/PromptService.h"

CDlgExportInputPowerForOT::CDlgExportInputPowerForOT(CAnalysisProject* project, QWidget* parent)
    : CDlgExportInputPower(project, parent, IDD, true)
{
    auto* box = new QGroupBox(tr("Bands around the order"), this);
    auto* layout = new QVBoxLayout(box);
    m_bandLists = new QButtonGroup(this);
    const QString names[] = {tr("1/3-octave bands"), tr("Bands of the width below")};
    for (int t = 0; t < 2; ++t) {
        auto* radio = new QRadioButton(names[t], box);
        radio->setObjectName(QString("bandList%1").arg(t));
        m_bandLists->addButton(radio, t);
        layout->addWidget(radio);
    }
    auto* form = new QFormLayout;
    m_widthEdit = new QLineEdit(box);
    m_widthEdit->setObjectName("bandWidth");
    m_widthEdit->setMaximumWidth(90);
    form->addRow(tr("Band width [Hz]:"), m_widthEdit);
    layout->addLayout(form);
    ExtraLayout()->addWidget(box);
}

CDlgExportInputPowerForOT::~CDlgExportInputPowerForOT() = default;

QRadioButton* CDlgExportInputPowerForOT::BandListButton(int type) const
{
    return qobject_cast<QRadioButton*>(m_bandLists->button(type));
}

bool CDlgExportInputPowerForOT::DoDataExchange(bool saveAndValidate)
{
    if (!CDlgExportInputPower::DoDataExchange(saveAndValidate))
        return false;
    if (saveAndValidate) {
        bool ok = false;
        const int width = m_widthEdit->text().trimmed().toInt(&ok);
        if (!ok || width < kMinWidth || width > kMaxWidth) {
            AfxMessageBox(Format("Enter an integer between %d and %d.", kMinWidth, kMaxWidth),
                          MB_OK | MB_ICONEXCLAMATION);
            m_widthEdit->setFocus();
            return false;
        }
        m_bandWidth = width;
        m_bandListType = m_bandLists->checkedId();
        return true;
    }
    if (QAbstractButton* radio = m_bandLists->button(m_bandListType))
        radio->setChecked(true);
    m_widthEdit->setText(QString::number(m_bandWidth));
    return true;
}

void CDlgExportInputPowerForOT::ApplyBandList(CInputPowerExport& exporter) const
{
    exporter.SetBandList(m_bandListType, static_cast<double>(m_bandWidth));
}
