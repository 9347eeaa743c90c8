#include "calculation/ui/PPageOctave.h"

#include "platform/base/Format.h"
#include "platform/gfx/OctaveManager.h"
#include "platform/ui/ZuPropertySheet.h"
#include "platform/win/PromptService.h"
#include "platform/win/StringIds.h"
#include "calculation/ui/PPageBandAve.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <cmath>

namespace {
constexpr uint8_t kRefinedBandKind = 3;

struct RefinementRow
{
    double centre[4];
    double lower[4];
    double upper[4];
    double fiftyFrom; // -1: the band has no 50 Hz band
    double fiftyTo;
};

// By position in the available set: 0 is the 100 Hz band, 20 the 10 kHz band.
const RefinementRow kTable[CPPageOctave::kRefinablePositions] = {
    {{93.64, 99.21, 105.1, 111.4}, {90.98, 96.39, 102.1, 108.2}, {96.39, 102.1, 108.2, 114.6}, 100, 100},
    {{118, 125, 132.4, 140.3}, {114.6, 121.4, 128.7, 136.3}, {121.4, 128.7, 136.3, 144.4}, -1, -1},
    {{148.7, 157.5, 166.9, 176.8}, {144.4, 153, 162.1, 171.7}, {153, 162.1, 171.7, 182}, 150, 150},
    {{187.3, 198.4, 210.2, 222.7}, {182, 192.8, 204.2, 216.4}, {192.8, 204.2, 216.4, 229.3}, 200, 200},
    {{236, 250, 264.9, 280.6}, {229.3, 242.9, 257.3, 272.6}, {242.9, 257.3, 272.6, 288.8}, 250, 250},
    {{297.3, 315, 333.7, 353.6}, {288.8, 306, 324.2, 343.5}, {306, 324.2, 343.5, 363.9}, 300, 350},
    {{374.6, 396.9, 420.4, 445.4}, {363.9, 385.6, 408.5, 432.8}, {385.6, 408.5, 432.8, 458.5}, 400, 400},
    {{471.9, 500, 529.7, 561.2}, {458.5, 485.8, 514.7, 545.3}, {485.8, 514.7, 545.3, 577.7}, 450, 550},
    {{594.6, 630, 667.4, 707.1}, {577.7, 612, 648.4, 687}, {612, 648.4, 687, 727.8}, 600, 700},
    {{749.2, 793.7, 840.9, 890.9}, {727.8, 771.1, 817, 865.5}, {771.1, 817, 865.5, 917}, 750, 850},
    {{943.9, 1000, 1059, 1122}, {917, 971.5, 1029, 1091}, {971.5, 1029, 1091, 1155}, 900, 1100},
    {{1189, 1260, 1335, 1414}, {1155, 1224, 1297, 1374}, {1224, 1297, 1374, 1456}, 1150, 1400},
    {{1498, 1587, 1682, 1782}, {1456, 1542, 1634, 1731}, {1542, 1634, 1731, 1834}, 1450, 1750},
    {{1888, 2000, 2119, 2245}, {1834, 1943, 2059, 2181}, {1943, 2059, 2181, 2311}, 1800, 2200},
    {{2378, 2520, 2670, 2828}, {2311, 2448, 2594, 2748}, {2448, 2594, 2748, 2911}, 2250, 2800},
    {{2997, 3175, 3364, 3564}, {2911, 3084, 3268, 3462}, {3084, 3268, 3462, 3668}, 2850, 3550},
    {{3775, 4000, 4238, 4490}, {3668, 3886, 4117, 4362}, {3886, 4117, 4362, 4621}, 3600, 4450},
    {{4757, 5040, 5339, 5657}, {4621, 4896, 5187, 5496}, {4896, 5187, 5496, 5823}, 4500, 5650},
    {{5993, 6350, 6727, 7127}, {5823, 6169, 6536, 6924}, {6169, 6536, 6924, 7336}, 5700, 7100},
    {{7551, 8000, 8476, 8980}, {7336, 7772, 8234, 8724}, {7772, 8234, 8724, 9243}, 7150, 8950},
    {{9514, 10080, 10680, 11310}, {9243, 9792, 10370, 10990}, {9792, 10370, 10990, 11650}, 9000, 11250},
};
} // namespace

CPPageOctave::CPPageOctave() : CPPageOctave(kTemplateId) {}

CPPageOctave::CPPageOctave(int templateId) : CZuPropertyPage(templateId, "Frequency Bands")
{
    setObjectName(QStringLiteral("PPageOctave"));
    m_current = new QListWidget(this);
    m_current->setObjectName(QStringLiteral("c3163"));
    m_available = new QListWidget(this);
    m_available->setObjectName(QStringLiteral("c3164"));
    m_tickAll = new QPushButton(tr("Tick All"), this);
    m_tickAll->setObjectName(QStringLiteral("c3046"));
    m_tickAll->setCheckable(true);
    m_currentLabel = new QLabel(tr("Bands used:"), this);
    m_currentLabel->setObjectName(QStringLiteral("c2071"));
    m_availableLabel = new QLabel(tr("Bands to refine:"), this);
    m_availableLabel->setObjectName(QStringLiteral("c2072"));
    auto* kinds = new QGroupBox(tr("Refinement"), this);
    auto* kindLayout = new QVBoxLayout(kinds);
    m_kinds = new QButtonGroup(this);
    const char* texts[3] = {"Bands as they are", "1/12-octave bands", "Bands 50 Hz wide"};
    const char* ids[3] = {"c3206", "c3207", "c3208"};
    for (int i = 0; i < 3; ++i) {
        auto* r = new QRadioButton(tr(texts[i]), kinds);
        r->setObjectName(QString::fromLatin1(ids[i]));
        m_kinds->addButton(r, i);
        kindLayout->addWidget(r);
    }
    auto* layout = new QGridLayout(this);
    layout->addWidget(kinds, 0, 0, 1, 2);
    layout->addWidget(m_availableLabel, 1, 0);
    layout->addWidget(m_currentLabel, 1, 1);
    layout->addWidget(m_available, 2, 0);
    layout->addWidget(m_current, 2, 1);
    layout->addWidget(m_tickAll, 3, 0);
    layout->setRowStretch(2, 1);

    connect(m_kinds, &QButtonGroup::idClicked, this, [this](int id) { OnKindChosen(id); });
    connect(m_tickAll, &QPushButton::clicked, this, [this](bool on) { OnTickAll(on); });
    connect(m_available, &QListWidget::itemChanged, this, [this] {
        if (!m_updating)
            UpdatePreview();
    });
}

void CPPageOctave::SetOctaveManagers(const COctaveManager* available, COctaveManagerEx* current)
{
    m_pAvailable = available;
    m_pCurrent = current;
}

bool CPPageOctave::OnInitDialog()
{
    if (!m_pAvailable || !m_pCurrent)
        return true;
    m_nKind = m_pCurrent->GetDomainType() != 0 ? kNone : kAsTheyAre;
    m_updating = true;
    m_available->clear();
    for (int i = 0; i < m_pAvailable->GetFreqCount(); ++i) {
        auto* item = new QListWidgetItem(QString::fromStdString(m_pAvailable->GetFreqAsString(i)), m_available);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    m_current->clear();
    for (int i = 0; i < m_pCurrent->GetFreqCount(); ++i)
        m_current->addItem(QString::fromStdString(m_pCurrent->GetFreqAsString(i)));
    m_updating = false;
    if (QAbstractButton* b = m_kinds->button(m_nKind))
        b->setChecked(true);
    UpdateControls();
    return true;
}

void CPPageOctave::UpdateControls()
{
    const bool refining = (m_nKind == kTwelfthOctave || m_nKind == kFiftyHz) && !m_bReadOnly;
    m_available->setEnabled(refining);
    m_tickAll->setEnabled(refining);
    for (QAbstractButton* b : m_kinds->buttons())
        b->setEnabled(!m_bReadOnly);
    m_currentLabel->setVisible(!m_bReadOnly);
    m_availableLabel->setVisible(!m_bReadOnly);
    m_available->setVisible(!m_bReadOnly);
    m_tickAll->setVisible(!m_bReadOnly);
}

double CPPageOctave::SheetResolution() const
{
    const CZuPropertySheet* sheet = GetSheet();
    if (!sheet)
        return 0.0;
    for (int i = 0; i < sheet->GetPageCount(); ++i)
        if (auto* bandAve = dynamic_cast<CPPageBandAve*>(sheet->GetPage(i)))
            return bandAve->GetResolution();
    return 0.0;
}

bool CPPageOctave::IsRefinable(int position, int kind, double df)
{
    if (kind != kTwelfthOctave && kind != kFiftyHz)
        return true;
    // The table knows positions 0-20 only; any further band stays as it is.
    if (position < 0 || position >= kRefinablePositions)
        return false;
    if (!(df > 0.0))
        return true;
    if (kind == kTwelfthOctave) {
        const RefinementRow& row = kTable[position];
        for (int k = 0; k < 4; ++k)
            if (std::trunc((row.upper[k] - row.lower[k]) / df) < 3.0)
                return false;
        return true;
    }
    return std::trunc(50.0 / df) >= 3.0;
}

std::vector<CPPageOctave::FinerBand> CPPageOctave::FinerBands(int position, int kind) const
{
    std::vector<FinerBand> bands;
    if (!m_pAvailable || position < 0 || position >= kRefinablePositions || position >= m_pAvailable->GetFreqCount())
        return bands;
    const RefinementRow& row = kTable[position];
    const bool last = position == m_pAvailable->GetFreqCount() - 1;
    const double lastUpper = m_pAvailable->GetUpperFreq(position);
    if (kind == kTwelfthOctave) {
        for (int k = 0; k < 4; ++k)
            if (!last || row.centre[k] <= lastUpper)
                bands.push_back({row.centre[k], row.lower[k], row.upper[k]});
    } else if (kind == kFiftyHz) {
        double to = row.fiftyTo;
        if (last && std::trunc(lastUpper) < to)
            to = std::trunc(lastUpper);
        if (row.fiftyFrom < 1.0 || row.fiftyFrom > to)
            return bands;
        for (double c = row.fiftyFrom; c <= to; c += 50.0)
            bands.push_back({c, c - 25.0, c + 25.0});
    }
    return bands;
}

bool CPPageOctave::IsTicked(int position) const
{
    QListWidgetItem* item = m_available->item(position);
    return item && item->checkState() == Qt::Checked;
}

void CPPageOctave::SetTick(int position, bool ticked)
{
    if (QListWidgetItem* item = m_available->item(position))
        item->setCheckState(ticked ? Qt::Checked : Qt::Unchecked); // redraws through itemChanged
}

void CPPageOctave::UpdatePreview()
{
    if (!m_pAvailable)
        return;
    m_updating = true;
    m_current->clear();
    const double df = SheetResolution();
    bool removed = false;
    for (int i = 0; i < m_available->count(); ++i) {
        QListWidgetItem* item = m_available->item(i);
        if (item->checkState() != Qt::Checked) {
            m_current->addItem(item->text());
            continue;
        }
        if (!IsRefinable(i, m_nKind, df)) {
            m_current->addItem(item->text());
            item->setCheckState(Qt::Unchecked);
            removed = true;
            continue;
        }
        for (const FinerBand& b : FinerBands(i, m_nKind))
            m_current->addItem(QString::fromStdString(m_nKind == kTwelfthOctave ? Format("%g", b.centre)
                                                                                : Format("%d", int(b.centre))));
    }
    m_updating = false;
    if (removed)
        AfxMessageBox(IDS_BANDS_NOT_REFINABLE);
}

void CPPageOctave::OnKindChosen(int kind)
{
    m_nKind = kind;
    if (QAbstractButton* b = m_kinds->button(kind))
        b->setChecked(true);
    if (kind == kAsTheyAre) {
        m_tickAll->setChecked(false);
        m_updating = true;
        for (int i = 0; i < m_available->count(); ++i)
            m_available->item(i)->setCheckState(Qt::Unchecked);
        m_updating = false;
    }
    UpdateControls();
    UpdatePreview();
    SetModified(true);
}

void CPPageOctave::OnTickAll(bool ticked)
{
    m_tickAll->setChecked(ticked);
    m_updating = true;
    for (int i = 0; i < m_available->count(); ++i)
        m_available->item(i)->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
    m_updating = false;
    UpdatePreview();
}

void CPPageOctave::ApplyBands()
{
    COctaveManagerEx bands(3);
    bands.RemoveAll();
    for (int i = 0; i < m_pAvailable->GetFreqCount(); ++i) {
        if (IsTicked(i)) {
            for (const FinerBand& b : FinerBands(i, m_nKind))
                bands.AddFreqInfo(b.centre, b.lower, b.upper, kRefinedBandKind);
            continue;
        }
        bands.AddFreqInfo(m_pAvailable->GetFreq(i), m_pAvailable->GetLowerFreq(i), m_pAvailable->GetUpperFreq(i), 0);
    }
    *m_pCurrent = bands;
}

void CPPageOctave::OnOK()
{
    if (m_bReadOnly || !m_pAvailable || !m_pCurrent || !IsInitialized())
        return;
    if (m_nKind == kAsTheyAre)
        *m_pCurrent = *m_pAvailable;
    else if (m_nKind == kTwelfthOctave || m_nKind == kFiftyHz)
        ApplyBands();
    // No kind chosen: the current bands (perhaps refined before) stay as they are.
}
