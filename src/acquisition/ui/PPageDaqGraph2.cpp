#include "acquisition/ui/PPageDaqGraph2.h"

#include "experiments/ExpOptions.h"
#include "platform/win/PromptService.h"
#include "platform/win/StringIds.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

CPPageDaqGraph2::CPPageDaqGraph2() : CZuPropertyPage(kTemplateId, "Graph Style")
{
    setObjectName(QStringLiteral("PPageDaqGraph2"));
    auto makeGroup = [this](const QString& title, int firstId, const char* first, const char* second,
                            QButtonGroup*& buttons) {
        auto* group = new QGroupBox(title, this);
        auto* l = new QVBoxLayout(group);
        buttons = new QButtonGroup(this);
        int index = 0;
        for (const char* text : {first, second}) {
            auto* r = new QRadioButton(tr(text), group);
            r->setObjectName(QStringLiteral("c%1").arg(firstId + index));
            buttons->addButton(r, index++);
            l->addWidget(r);
        }
        connect(buttons, &QButtonGroup::idClicked, this, [this] { SetModified(true); });
        return group;
    };
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(makeGroup(tr("Graph colours"), IDC_COLOR_FIRST, "Colour", "Black and white", m_color));
    layout->addWidget(makeGroup(tr("Band type"), IDC_BAND_FIRST, "1/1 octave bands", "1/3 octave bands", m_band));
    m_keep = new QPushButton(tr("Keep as Default"), this);
    m_keep->setObjectName(QStringLiteral("c%1").arg(IDC_KEEP_DEFAULT));
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(m_keep);
    layout->addLayout(row);
    layout->addStretch(1);
    connect(m_keep, &QPushButton::clicked, this, &CPPageDaqGraph2::OnKeepDefault);
}

QRadioButton* CPPageDaqGraph2::ColorRadio(int index) const
{
    return qobject_cast<QRadioButton*>(m_color->button(index));
}

QRadioButton* CPPageDaqGraph2::BandRadio(int index) const
{
    return qobject_cast<QRadioButton*>(m_band->button(index));
}

void CPPageDaqGraph2::LoadFromExpOptions(CExpOptions* options)
{
    m_pOptions = options;
    if (!options)
        return;
    m_nGraphColor = options->GetGraphColor();
    m_nGraphBandType = options->GetGraphBandType();
}

CExpOptions* CPPageDaqGraph2::SaveToExpOptions()
{
    if (!m_pOptions)
        return nullptr;
    m_pOptions->SetGraphColor(m_nGraphColor);
    m_pOptions->SetGraphBandType(m_nGraphBandType);
    return m_pOptions;
}

bool CPPageDaqGraph2::DoDataExchange(bool saveAndValidate)
{
    if (saveAndValidate) {
        m_nGraphColor = m_color->checkedId();
        m_nGraphBandType = m_band->checkedId();
        return true;
    }
    if (QAbstractButton* b = m_color->button(m_nGraphColor))
        b->setChecked(true);
    if (QAbstractButton* b = m_band->button(m_nGraphBandType))
        b->setChecked(true);
    return true;
}

void CPPageDaqGraph2::OnKeepDefault()
{
    UpdateData(true);
    CExpOptions* options = SaveToExpOptions();
    if (options && options->Save() == 1) {
        m_keep->setEnabled(false);
        return;
    }
    AfxMessageBox(IDS_SETTINGS_NOT_SAVED, MB_OK | MB_ICONEXCLAMATION);
}
