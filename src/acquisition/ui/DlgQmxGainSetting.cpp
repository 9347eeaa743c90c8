#include "acquisition/ui/DlgQmxGainSetting.h"

#include "acquisition/DAQ.h"
#include "acquisition/MultiQMXInterface.h"
#include "acquisition/ui/EnsureQMXConnection.h"
#include "acquisition/ui/FormProgress.h"
#include "common/ProjectLookups.h"
#include "experiments/DaqProjectAccess.h"
#include "experiments/ExpProject.h"
#include "platform/base/Format.h"
#include "platform/elements/MElement.h"
#include "platform/win/Messages.h"
#include "platform/win/PromptService.h"
#include "platform/win/QueuedMessageTarget.h"
#include "platform/win/StringIds.h"
#include "platform/ui/DialogButtons.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {
constexpr const char* kAdjusting = "<< Adjusting Gain... >>";

QString GainText(float gain)
{
    return QString::fromStdString(Format("%g", static_cast<double>(gain)));
}

IProjectLookups* LookupsOf(CExpProject* project)
{
    return project ? IProjectLookups::FindOwner(dynamic_cast<CMElement*>(project->GetDAQProject())) : nullptr;
}
} // namespace

CDlgQmxGainSetting::CDlgQmxGainSetting(CExpProject* project, QWidget* parent)
    : CZuDialog(parent, 4090), m_project(project)
{
    setObjectName(QStringLiteral("DlgQmxGainSetting"));
    setWindowTitle(QStringLiteral("Gain Setting"));
    m_target = std::make_unique<CQueuedMessageTarget>(
        [this](uint32_t msg, uintptr_t wParam, intptr_t lParam) { return OnMessage(msg, wParam, lParam); });

    m_list = new QTableWidget(0, 4, this);
    m_list->setObjectName(QStringLiteral("List3159"));
    m_list->setHorizontalHeaderLabels(
        {QStringLiteral("Ch"), QStringLiteral("BLIX"), QStringLiteral("Subsystem"), QStringLiteral("Gain")});
    for (int c = 0; c < 4; ++c)
        m_list->horizontalHeaderItem(c)->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_list->setShowGrid(true);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->verticalHeader()->hide();
    m_list->horizontalHeader()->setStretchLastSection(true);
    const int widths[] = {44, 90, 240, 70};
    int total = 0;
    for (int c = 0; c < 4; ++c) {
        m_list->setColumnWidth(c, widths[c]);
        total += widths[c];
    }
    m_list->setMinimumSize(total + 24, 260);

    m_gainCombo = new QComboBox(this);
    m_gainCombo->setObjectName(QStringLiteral("Combo3099"));
    for (float g : CGainTable::kGains)
        m_gainCombo->addItem(GainText(g));
    m_gainCombo->setMinimumWidth(90);
    m_readBackButton = new QPushButton(QStringLiteral("Read Back"), this);
    m_readBackButton->setObjectName(QStringLiteral("Button3012"));
    m_levelEdit = new QLineEdit(this);
    m_levelEdit->setObjectName(QStringLiteral("Edit3115"));
    m_durationEdit = new QLineEdit(this);
    m_durationEdit->setObjectName(QStringLiteral("Edit3107"));
    for (QLineEdit* e : {m_levelEdit, m_durationEdit}) {
        e->setAlignment(Qt::AlignRight);
        e->setMinimumWidth(80);
    }
    m_adjustButton = new QPushButton(QStringLiteral("Adjust"), this);
    m_adjustButton->setObjectName(QStringLiteral("Button3009"));
    for (QPushButton* b : {m_readBackButton, m_adjustButton})
        b->setAutoDefault(false);

    auto* manual = new QGroupBox(QStringLiteral("Gain of the selected channels"), this);
    auto* m = new QFormLayout(manual);
    m->addRow(QStringLiteral("Gain:"), m_gainCombo);
    m->addRow(m_readBackButton);
    auto* automatic = new QGroupBox(QStringLiteral("Automatic adjustment"), this);
    auto* a = new QFormLayout(automatic);
    a->addRow(QStringLiteral("Level [%]:"), m_levelEdit);
    a->addRow(QStringLiteral("Duration [s]:"), m_durationEdit);
    a->addRow(m_adjustButton);
    auto* side = new QVBoxLayout;
    side->addWidget(manual);
    side->addWidget(automatic);
    side->addStretch(1);
    auto* body = new QHBoxLayout;
    body->addWidget(m_list, 1);
    body->addLayout(side);
    auto* buttons = CDialogButtons::OkCancel(this);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body, 1);
    layout->addWidget(buttons);

    connect(m_readBackButton, &QPushButton::clicked, this, &CDlgQmxGainSetting::OnReadBack);
    connect(m_adjustButton, &QPushButton::clicked, this, &CDlgQmxGainSetting::OnAdjust);
    connect(m_gainCombo, &QComboBox::activated, this, &CDlgQmxGainSetting::OnSelectGain);
    connect(m_list, &QTableWidget::itemSelectionChanged, this, &CDlgQmxGainSetting::OnListClick);
}

CDlgQmxGainSetting::~CDlgQmxGainSetting()
{
    if (m_manager.IsRunning() && CDAQ::Exists())
        m_manager.OnDAQAbort();
    ReleaseNotifyWindow();
    CFormProgress::DestroyInstance();
}

CMultiQMXInterface* CDlgQmxGainSetting::Units() const
{
    return CDAQ::GetMultiInterface();
}

void CDlgQmxGainSetting::ReleaseNotifyWindow()
{
    if (m_notifying && CDAQ::Exists()) {
        if (CMultiQMXInterface* daq = Units())
            daq->SetNotifyWindow(nullptr, 0, 0, 0);
    }
    m_notifying = false;
}

bool CDlgQmxGainSetting::OnInitDialog()
{
    if (m_project) {
        if (CMultiQMXInterface* daq = Units())
            m_table.Build(*m_project, *daq);
    }
    FillList();
    return CZuDialog::OnInitDialog();
}

void CDlgQmxGainSetting::FillList()
{
    m_list->clearContents();
    m_list->setRowCount(0);
    CMultiQMXInterface* daq = Units();
    if (!daq)
        return;
    const CQmxBlixChInfoList& inventory = daq->GetChannelManager().GetBlixChInfoList();
    for (int r = 0; r < m_table.GetCount(); ++r) {
        const tagGAININFO& row = m_table.Rows()[static_cast<size_t>(r)];
        const int at = inventory.FindByChannelNumber(row.channel);
        if (at < 0)
            continue;
        const CQmxBlixChInfo& ch = inventory[at];
        const std::string subsystem =
            row.pulse
                ? std::string("** Pulse Signal **")
                : Format("%s - LP#%d", m_project ? m_project->GetExcitationName(row.group).c_str() : "", row.item + 1);
        const QString texts[] = {
            QString::fromStdString(Format("%d", row.channel + 1)),
            QString::fromStdString(Format("%s-%1d", ch.GetBlixSerial().c_str(), static_cast<int>(ch.GetUnitChannel()))),
            QString::fromStdString(subsystem), GainText(row.gain)};
        const int line = m_list->rowCount();
        m_list->insertRow(line);
        for (int c = 0; c < 4; ++c) {
            auto* item = new QTableWidgetItem(texts[c]);
            item->setData(Qt::UserRole, r);
            m_list->setItem(line, c, item);
        }
    }
}

bool CDlgQmxGainSetting::DoDataExchange(bool saveAndValidate)
{
    if (!saveAndValidate) {
        m_levelEdit->setText(QString::fromStdString(Format("%g", static_cast<double>(m_fLevel))));
        m_durationEdit->setText(QString::number(m_nDuration));
        return true;
    }
    bool ok = false;
    const float level = m_levelEdit->text().trimmed().toFloat(&ok);
    if (!ok) {
        AfxMessageBox("Please enter a number.", MB_OK | MB_ICONEXCLAMATION);
        m_levelEdit->setFocus();
        return false;
    }
    const int duration = m_durationEdit->text().trimmed().toInt(&ok);
    if (!ok || duration < kMinDuration || duration > kMaxDuration) {
        AfxMessageBox(Format("Please enter an integer between %d and %d.", kMinDuration, kMaxDuration),
                      MB_OK | MB_ICONEXCLAMATION);
        m_durationEdit->setFocus();
        return false;
    }
    m_fLevel = level;
    m_nDuration = duration;
    return true;
}

void CDlgQmxGainSetting::OnReadBack()
{
    if (CMultiQMXInterface* daq = Units())
        m_table.ReadBack(*daq);
    FillList();
}

void CDlgQmxGainSetting::OnSelectGain(int index)
{
    if (index < 0 || index >= 3)
        return;
    const float gain = CGainTable::kGains[index];
    for (const QModelIndex& selected : m_list->selectionModel()->selectedRows()) {
        QTableWidgetItem* item = m_list->item(selected.row(), 0);
        const int r = item ? item->data(Qt::UserRole).toInt() : -1;
        if (r < 0 || r >= m_table.GetCount())
            continue;
        m_table.Rows()[static_cast<size_t>(r)].gain = gain;
        if (QTableWidgetItem* text = m_list->item(selected.row(), 3))
            text->setText(GainText(gain));
    }
}

void CDlgQmxGainSetting::OnListClick()
{
    const QModelIndexList rows = m_list->selectionModel()->selectedRows();
    if (rows.isEmpty())
        return;
    int first = rows.front().row();
    for (const QModelIndex& i : rows)
        first = std::min(first, i.row());
    QTableWidgetItem* item = m_list->item(first, 0);
    const int r = item ? item->data(Qt::UserRole).toInt() : -1;
    if (r < 0 || r >= m_table.GetCount())
        return;
    const int at = m_gainCombo->findText(GainText(m_table.Rows()[static_cast<size_t>(r)].gain));
    if (at >= 0)
        m_gainCombo->setCurrentIndex(at);
}

void CDlgQmxGainSetting::OnAdjust()
{
    if (!UpdateData(true))
        return;
    m_table.SetAdjustAll();
    IProjectLookups* lookups = LookupsOf(m_project);
    if (!EnsureQMXConnection(lookups, 0, 0, this))
        return;
    if (m_project)
        m_project->ResizeChannelRanges();
    if (!EnsureQMXConnection(lookups, 0, 0, this))
        return;
    CMultiQMXInterface* daq = Units();
    if (!daq)
        return;
    m_manager.SetSupport(this);
    m_manager.SetFeedback(&m_runFeedback);
    daq->SetDuration(static_cast<float>(m_nDuration));
    daq->SetNotifyWindow(m_target.get(), WM_ZU_DAQ_STARTED, WM_ZU_DAQ_STOPPED, WM_ZU_DAQ_COMPLETE);
    m_notifying = true;
    if (!m_manager.Start()) {
        ReleaseNotifyWindow();
        AfxMessageBox(IDS_RUN_NOT_STARTED, MB_OK | MB_ICONEXCLAMATION);
    }
}

int CDlgQmxGainSetting::CanStart()
{
    if (CMultiQMXInterface* daq = Units())
        m_table.PrepareTrial(*daq);
    return 1;
}

int CDlgQmxGainSetting::OnDataReady()
{
    CFormProgress* form = CFormProgress::GetInstance();
    if (!form)
        return 1;
    form->SetStatusText(kAdjusting);
    form->repaint();
    CMultiQMXInterface* daq = Units();
    if (daq) {
        const int count = daq->GetFirstUnitValue();
        UpdateData(true);
        m_table.ChooseFromTrial(*daq, count, m_fLevel);
        FillList();
    }
    CFormProgress::DestroyInstance();
    return 1;
}

intptr_t CDlgQmxGainSetting::OnMessage(uint32_t msg, uintptr_t wParam, intptr_t lParam)
{
    switch (msg) {
    case WM_ZU_DAQ_STARTED:
        if (CFormProgress* form = CFormProgress::GetInstance()) {
            form->showNormal();
        } else if (CFormProgress* created = CFormProgress::CreateInstance(this, m_target.get(), Units())) {
            created->Create();
            if (QPushButton* hidden = created->StopButton())
                hidden->hide();
        }
        return 0;
    case WM_ZU_DAQ_STOPPED:
        return 0;
    case WM_ZU_DAQ_STOP:
        return m_manager.Stop();
    case WM_ZU_DAQ_COMPLETE: {
        const intptr_t r = m_manager.OnDAQComplete();
        ReleaseNotifyWindow();
        return r;
    }
    case WM_ZU_DAQ_RECORD_START:
    case WM_ZU_SAMPLING_START:
        return m_manager.OnRecordStart();
    case WM_ZU_DAQ_RECORD_END:
        return m_manager.OnRecordEnd();
    case WM_ZU_SAMPLING_STOP:
        return m_manager.OnTriggerReset();
    case WM_ZU_SAMPLING_CLOSED:
        return m_manager.OnDAQAbort();
    case WM_ZU_DAQ_TRANSFER_BEGIN:
    case WM_ZU_DAQ_TRANSFER_DONE: {
        intptr_t r = 0;
        m_manager.RouteMessage(msg, wParam, lParam, &r);
        return r;
    }
    case WM_ZU_SAMPLING_ENDED:
    case WM_ZU_SAMPLING_DESTROY:
        if (CFormProgress* form = CFormProgress::GetInstance())
            return form->Target()->SendMessage(msg, wParam, lParam);
        return 0;
    default:
        return 0;
    }
}

void CDlgQmxGainSetting::OnOK()
{
    if (!UpdateData(true))
        return;
    CMultiQMXInterface* daq = Units();
    if (m_project && daq)
        m_table.Apply(*m_project, *daq);
    EndDialog(IDOK);
}
