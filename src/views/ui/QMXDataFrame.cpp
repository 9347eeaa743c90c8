#include "views/ui/QMXDataFrame.h"

#include "app/TALVOProject.h"
#include "models/HSEAOptions.h"
#include "platform/archive/Archive.h"
#include "platform/elements/MElement.h"
#include "platform/gfx/OctaveManager.h"
#include "platform/ui/ZuEnterNotifyEdit.h"
#include "platform/ui/ZuControlBar.h"
#include "platform/ui/ZuTableDataDoc.h"
#include "platform/win/Clipboard.h"
#include "platform/win/Messages.h"
#include "platform/win/PromptService.h"
#include "platform/win/StringIds.h"
#include "views/ui/QMXDataCore.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include <cstdlib>
#include <vector>

CQMXDataFrame::CQMXDataFrame(std::unique_ptr<CZuTableDataDoc> doc, QWidget* parent)
    : CZuTableDataFrame(std::move(doc), parent), m_core(dynamic_cast<CQMXDataCore*>(GetDocument()))
{}

CQMXDataFrame::~CQMXDataFrame() = default;

void CQMXDataFrame::CreateDialogBar()
{
    m_bar = new CZuControlBar(this);
    m_bar->setObjectName(QStringLiteral("DialogBar%1").arg(IDD_BAR));
    CZuControlBar* row = m_bar;

    auto radio = [this](int id, const QString& text, const QString& tip) {
        auto* b = new QRadioButton(text, m_bar);
        b->setToolTip(tip);
        m_controls[id] = b;
        connect(b, &QRadioButton::clicked, this, [this, id] { OnCommand(id); });
        return b;
    };
    auto group = [this](QAbstractButton* a, QAbstractButton* b) {
        auto* g = new QButtonGroup(m_bar);
        g->addButton(a);
        g->addButton(b);
    };

    QRadioButton* freq = radio(IDC_AXIS_FREQ, tr("Freq. across"), tr("Rows are frequencies, one table per RPM"));
    QRadioButton* rpm = radio(IDC_AXIS_RPM, tr("RPM across"), tr("Rows are RPMs, one table per band"));
    group(freq, rpm);
    row->AddWidget(freq);
    row->AddWidget(rpm);
    row->AddSeparator();

    QRadioButton* single = radio(IDC_SINGLE_BANDS, tr("Each band"), tr("Levels of each band"));
    QRadioButton* range = radio(IDC_BAND_RANGE, tr("Band range [dB]"), tr("Overall level of a range of bands"));
    group(single, range);
    row->AddWidget(single);
    row->AddWidget(range);
    for (int id : {IDC_FIRST_BAND, IDC_LAST_BAND}) {
        auto* combo = new QComboBox(m_bar);
        combo->setMinimumContentsLength(7);
        combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        combo->setToolTip(id == IDC_FIRST_BAND ? tr("First band of the range") : tr("Last band of the range"));
        m_controls[id] = combo;
        connect(combo, &QComboBox::activated, this, [this, id] { OnCommand(id); });
        if (id == IDC_LAST_BAND)
            row->AddWidget(new QLabel(tr("to"), m_bar));
        row->AddWidget(combo);
    }
    row->AddSeparator();

    auto* smoothing = new QCheckBox(tr("Smoothing"), m_bar);
    smoothing->setToolTip(tr("Average over neighbouring RPMs"));
    m_controls[IDC_SMOOTHING] = smoothing;
    connect(smoothing, &QCheckBox::clicked, this, [this] { OnCommand(IDC_SMOOTHING); });
    row->AddWidget(smoothing);
    m_lengthEdit = new CZuEnterNotifyEdit(IDC_SMOOTHING_LENGTH, m_bar);
    m_lengthEdit->setMaximumWidth(m_lengthEdit->fontMetrics().horizontalAdvance(QStringLiteral("000000")) + 12);
    m_lengthEdit->setToolTip(tr("Smoothing length in RPM"));
    m_lengthEdit->SetNotify([this](int id, int code) { OnCommand(id, code); });
    m_controls[IDC_SMOOTHING_LENGTH] = m_lengthEdit;
    row->AddWidget(m_lengthEdit);
    row->AddWidget(new QLabel(tr("RPM"), m_bar));
    row->AddSeparator();

    QRadioButton* aw = radio(IDC_A_WEIGHTING, tr("A-weighted"), tr("Show sound levels A-weighted"));
    QRadioButton* flat = radio(IDC_NO_WEIGHTING, tr("Flat"), tr("Show sound levels unweighted"));
    group(aw, flat);
    row->AddWidget(aw);
    row->AddWidget(flat);

    auto* copy = new QPushButton(tr("Copy All"), m_bar);
    copy->setToolTip(tr("Copy the whole table to the clipboard"));
    m_controls[IDC_COPY_ALL] = copy;
    connect(copy, &QPushButton::clicked, this, [this] { OnCommand(IDC_COPY_ALL); });
    row->AddWidget(copy);

    AddDialogBar(m_bar);
    InitDialogBar();
}

QWidget* CQMXDataFrame::Control(int id) const
{
    auto it = m_controls.find(id);
    return it == m_controls.end() ? nullptr : it->second;
}

QAbstractButton* CQMXDataFrame::Button(int id) const
{
    return qobject_cast<QAbstractButton*>(Control(id));
}

QComboBox* CQMXDataFrame::Combo(int id) const
{
    return qobject_cast<QComboBox*>(Control(id));
}

bool CQMXDataFrame::IsAWeightingAllowed(int type, bool acousticLabel)
{
    switch (type) {
    case ElementType::Spl:
    case ElementType::SplComparison:
    case ElementType::SplTable:
    case ElementType::SplResultComparison:
        return true;
    case ElementType::Pressure:
    case ElementType::SpectrumMap:
    case ElementType::ChannelLevels:
        return acousticLabel;
    default:
        return false;
    }
}

void CQMXDataFrame::SelectBandCombos()
{
    if (!m_core)
        return;
    const int first = m_core->GetItem(CQMXDataCore::ITEM_FIRST_BAND);
    const int last = m_core->GetItem(CQMXDataCore::ITEM_LAST_BAND);
    if (QComboBox* c = Combo(IDC_FIRST_BAND))
        c->setCurrentIndex(first >= 0 && first < c->count() ? first : -1);
    if (QComboBox* c = Combo(IDC_LAST_BAND))
        c->setCurrentIndex(last >= 0 && last < c->count() ? last : -1);
}

void CQMXDataFrame::InitDialogBar()
{
    if (!m_bar || !m_core)
        return;
    const int axis = m_core->GetItem(CQMXDataCore::ITEM_AXIS);
    const int bandRange = m_core->GetItem(CQMXDataCore::ITEM_BAND_RANGE);
    Button(axis == 1 ? IDC_AXIS_RPM : IDC_AXIS_FREQ)->setChecked(true);
    Button(bandRange == 1 ? IDC_BAND_RANGE : IDC_SINGLE_BANDS)->setChecked(true);
    Button(IDC_SMOOTHING)->setChecked(m_core->GetItem(CQMXDataCore::ITEM_SMOOTHING) != 0);
    m_lengthEdit->setText(QString::number(m_core->GetSmoothingLength()));
    CHSEAOptions* options = m_core->GetHSEAOptions();
    // Levels over a band range are sums of levels: they only exist in dB.
    if (axis == 1 && bandRange == 1 && options)
        options->HSS_ShowDataInDB = 1;
    for (int id : {IDC_FIRST_BAND, IDC_LAST_BAND}) {
        QComboBox* combo = Combo(id);
        combo->clear();
        if (const COctaveManager* bands = m_core->GetBands())
            for (int i = 0; i < bands->GetFreqCount(); ++i)
                combo->addItem(QString::fromStdString(bands->GetFreqAsString(i)));
    }
    SelectBandCombos();
    const bool weighted = options && options->WeightingFilter == 1;
    Button(weighted ? IDC_A_WEIGHTING : IDC_NO_WEIGHTING)->setChecked(true);
    RefreshDialogBar();
}

void CQMXDataFrame::RefreshDialogBar()
{
    if (!m_bar || !m_core)
        return;
    const bool rpmAcross = Button(IDC_AXIS_RPM)->isChecked();
    const bool bandRange = Button(IDC_BAND_RANGE)->isChecked();
    Button(IDC_SINGLE_BANDS)->setEnabled(rpmAcross);
    Button(IDC_BAND_RANGE)->setEnabled(rpmAcross);
    Combo(IDC_FIRST_BAND)->setEnabled(rpmAcross && bandRange);
    Combo(IDC_LAST_BAND)->setEnabled(rpmAcross && bandRange);
    ShowListPane(!(rpmAcross && bandRange));
    m_lengthEdit->setEnabled(Button(IDC_SMOOTHING)->isChecked());

    bool acoustic = false;
    int type = -1;
    if (CMElement* data = m_core->GetDataElement()) {
        type = data->GetType();
        if (CTALVOProject* project = m_core->GetProjectContainer())
            acoustic = project->IsAcoustic(m_core->GetDataLabel()) != 0;
    }
    const bool weighting = IsAWeightingAllowed(type, acoustic);
    Button(IDC_A_WEIGHTING)->setEnabled(weighting);
    Button(IDC_NO_WEIGHTING)->setEnabled(weighting);
}

void CQMXDataFrame::UpdateViews()
{
    if (GetDocument())
        GetDocument()->UpdateAllViews(nullptr, -1);
}

const CQMXDataFrame::CommandTable& CQMXDataFrame::Commands()
{
    static const CommandTable table = [] {
        using Frame = CQMXDataFrame;
        CommandTable t;
        auto add = [&t](int id, std::function<void(Frame&)> act, CommandTable::Entry::EnableRule enabled = nullptr) {
            CommandTable::Entry e;
            e.id = id;
            e.enabled = std::move(enabled);
            e.run = [act = std::move(act)](Frame& f, const CommandState&) {
                act(f);
                return true;
            };
            t.Add(std::move(e));
        };
        for (const int id : {IDC_AXIS_FREQ, IDC_AXIS_RPM})
            add(id, [id](Frame& f) {
                f.Button(id)->setChecked(true);
                f.m_core->SetItem(CQMXDataCore::ITEM_AXIS, id == IDC_AXIS_RPM ? 1 : 0);
                f.RefreshDialogBar();
            });
        add(IDC_SINGLE_BANDS, [](Frame& f) {
            f.Button(IDC_SINGLE_BANDS)->setChecked(true);
            f.RefreshDialogBar();
            f.m_core->SetItem(CQMXDataCore::ITEM_BAND_RANGE, 0);
        });
        add(IDC_BAND_RANGE, [](Frame& f) {
            f.Button(IDC_BAND_RANGE)->setChecked(true);
            f.RefreshDialogBar();
            f.m_core->SetItem(CQMXDataCore::ITEM_BAND_RANGE, 1);
            if (CHSEAOptions* options = f.m_core->GetHSEAOptions())
                options->HSS_ShowDataInDB = 1;
        });
        for (const int id : {IDC_FIRST_BAND, IDC_LAST_BAND})
            add(id, [](Frame& f) {
                const int first = f.Combo(IDC_FIRST_BAND)->currentIndex();
                const int last = f.Combo(IDC_LAST_BAND)->currentIndex();
                if (first >= 0 && last >= 0) {
                    f.m_core->SetBandRange(first, last);
                    f.SelectBandCombos(); // a reversed choice shows in order
                }
            });
        add(IDC_SMOOTHING, [](Frame& f) {
            f.RefreshDialogBar();
            f.m_core->SetItem(CQMXDataCore::ITEM_SMOOTHING, f.Button(IDC_SMOOTHING)->isChecked() ? 1 : 0);
            f.m_core->SetSmoothingLength(std::atoi(f.m_lengthEdit->text().toStdString().c_str()));
        });
        add(
            IDC_SMOOTHING_LENGTH,
            [](Frame& f) {
                f.RefreshDialogBar();
                f.m_core->SetSmoothingLength(std::atoi(f.m_lengthEdit->text().toStdString().c_str()));
            },
            [](const CommandState& s) {
                return s.code == CZuEnterNotifyEdit::kNotifyEnter || s.code == CZuEnterNotifyEdit::kNotifyKillFocus;
            });
        for (const int id : {IDC_A_WEIGHTING, IDC_NO_WEIGHTING})
            add(id, [id](Frame& f) {
                f.Button(id)->setChecked(true);
                if (CHSEAOptions* options = f.m_core->GetHSEAOptions())
                    options->WeightingFilter = id == IDC_A_WEIGHTING ? 1 : 0;
            });
        add(IDC_COPY_ALL, [](Frame& f) {
            std::vector<uint8_t> buffer;
            {
                CArchive ar(&buffer, CArchive::store);
                f.m_core->CopyAllToArchive(ar);
            }
            if (!SetClipboardText(std::string(buffer.begin(), buffer.end())))
                AfxMessageBox(IDS_CLIPBOARD_CANNOT_OPEN, MB_OK | MB_ICONEXCLAMATION);
        });
        return t;
    }();
    return table;
}

bool CQMXDataFrame::OnCommand(int id, int code)
{
    if (!m_core || !m_bar)
        return false;
    // Every command ends with the views showing the new settings.
    if (!Commands().Run(id, *this, CommandState{code}))
        return false;
    UpdateViews();
    return true;
}

intptr_t CQMXDataFrame::OnMessage(uint32_t msg, uintptr_t wParam, intptr_t lParam)
{
    if (msg != WM_ZU_OPTIONS_CHANGED || !m_bar || !m_core)
        return CZuTableDataFrame::OnMessage(msg, wParam, lParam);
    if (CHSEAOptions* options = m_core->GetHSEAOptions()) {
        Button(options->WeightingFilter == 1 ? IDC_A_WEIGHTING : IDC_NO_WEIGHTING)->setChecked(true);
        // Without dB display there are no band-range levels: the mode goes back to single bands.
        if (options->HSS_ShowDataInDB == 0) {
            Button(IDC_SINGLE_BANDS)->setChecked(true);
            m_core->SetItem(CQMXDataCore::ITEM_BAND_RANGE, 0);
        }
    }
    RefreshDialogBar();
    UpdateViews();
    return 1;
}
