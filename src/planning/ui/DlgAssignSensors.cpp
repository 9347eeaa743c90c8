#include "planning/ui/DlgAssignSensors.h"

#include "app/TALVOProject.h"
#include "app/VerRes.h"
#include "planning/SensorAssignment.h"
#include "planning/ui/DlgSelectSensors.h"
#include "planning/ui/PlanDialogServices.h"
#include "platform/base/Format.h"
#include "platform/elements/ZuSubsystemTable.h"
#include "platform/gfx/GfxUtil.h"
#include "platform/ui/MSFlexGrid.h"
#include "platform/win/Clipboard.h"
#include "platform/win/PromptService.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTemporaryFile>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdio>
#include <filesystem>

CDlgAssignSensors::CDlgAssignSensors(CTALVOProject* project, QWidget* parent)
    : CZuDialog(parent, kTemplateId), m_project(project)
{
    setObjectName(QStringLiteral("DlgAssignSensors"));
    setWindowTitle(QStringLiteral("Sensors of Local Points"));
    if (project) {
        if (const CZuSubsystemTable* table = project->GetModelSubsystemTable())
            for (int i = 0; i < table->GetCount(); ++i)
                m_subsystems.push_back(table->At(i));
        const std::string own = project->GetTargetSubsystem();
        if (!own.empty() && std::find(m_subsystems.begin(), m_subsystems.end(), own) == m_subsystems.end())
            m_subsystems.push_back(own);
        std::sort(m_subsystems.begin(), m_subsystems.end());
    }

    m_grid = new CMSFlexGrid(this);
    m_grid->setObjectName(QStringLiteral("Grid3262"));
    m_grid->SetCols(kLocalPoints + 1);
    m_grid->SetRows(1);
    m_grid->SetFixedRows(1);
    m_grid->SetFixedCols(1);
    m_grid->SetColWidth(0, 140);
    for (int c = 1; c <= kLocalPoints; ++c) {
        m_grid->SetTextMatrix(0, c, Format("LP #%d", c));
        m_grid->SetColWidth(c, 70);
    }
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setMinimumSize(640, 320);

    auto* tools = new QHBoxLayout;
    auto tool = [this, tools](int id, const QString& text, QStyle::StandardPixmap icon, uint32_t tipId,
                              void (CDlgAssignSensors::*handler)()) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QStringLiteral("Button%1").arg(id));
        b->setIcon(style()->standardIcon(icon));
        b->setToolTip(QString::fromStdString(LoadString(tipId)));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, handler);
        tools->addWidget(b);
    };
    tool(57634, QStringLiteral("Copy"), QStyle::SP_FileIcon, IDS_TIP_COPY, &CDlgAssignSensors::OnCopy);
    tool(57637, QStringLiteral("Paste"), QStyle::SP_DialogOpenButton, IDS_TIP_PASTE, &CDlgAssignSensors::OnPaste);
    tool(57603, QStringLiteral("Save..."), QStyle::SP_DialogSaveButton, IDS_TIP_SAVE, &CDlgAssignSensors::OnSave);
    tool(57601, QStringLiteral("Load..."), QStyle::SP_DirOpenIcon, IDS_TIP_LOAD, &CDlgAssignSensors::OnLoad);
    tools->addSpacing(12);
    m_left = new QRadioButton(QStringLiteral("Left side"), this);
    m_left->setObjectName(QStringLiteral("Radio3209"));
    m_right = new QRadioButton(QStringLiteral("Right side"), this);
    m_right->setObjectName(QStringLiteral("Radio3210"));
    m_left->setChecked(true);
    connect(m_left, &QRadioButton::clicked, this, [this] { SetSideFilter(0); });
    connect(m_right, &QRadioButton::clicked, this, [this] { SetSideFilter(1); });
    tools->addWidget(m_left);
    tools->addWidget(m_right);
    tools->addStretch(1);
    auto* change = new QPushButton(QStringLiteral("Change..."), this);
    change->setObjectName(QStringLiteral("Button2001"));
    change->setAutoDefault(false);
    connect(change, &QPushButton::clicked, this, &CDlgAssignSensors::OnChange);
    tools->addWidget(change);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(tools);
    layout->addWidget(m_grid, 1);
    layout->addWidget(buttons);
    resize(900, 480);
}

bool CDlgAssignSensors::OnInitDialog()
{
    Fill();
    return CZuDialog::OnInitDialog();
}

void CDlgAssignSensors::SetSideFilter(int side)
{
    m_side = side;
    m_left->setChecked(side == 0);
    m_right->setChecked(side == 1);
    Fill();
}

void CDlgAssignSensors::Fill()
{
    const CSensorAssignment* assignment = m_project ? m_project->GetSensorAssignment() : nullptr;
    m_shown.clear();
    for (const std::string& name : m_subsystems) {
        const int side = CGfxUtil::GetLeftRight(name);
        // Centre subsystems and those of no side show on either side.
        if (side != CGfxUtil::SIDE_LEFT && side != CGfxUtil::SIDE_RIGHT)
            m_shown.push_back(name);
        else if (side == m_side)
            m_shown.push_back(name);
    }
    m_grid->SetRows(static_cast<int>(m_shown.size()) + 1);
    for (size_t i = 0; i < m_shown.size(); ++i) {
        const int r = static_cast<int>(i) + 1;
        m_grid->SetTextMatrix(r, 0, m_shown[i]);
        const int row = assignment ? assignment->FindRow(m_shown[i]) : -1;
        const int n = row >= 0 ? assignment->GetItemCount(row) : 0;
        for (int c = 1; c <= kLocalPoints; ++c)
            m_grid->SetTextMatrix(r, c, c <= n ? assignment->GetItem(row, c - 1) : std::string());
    }
}

void CDlgAssignSensors::OnChange()
{
    const int r = m_grid->GetRow();
    if (r < 1 || r > static_cast<int>(m_shown.size()))
        return;
    CDlgSelectSensors picker(m_project, this);
    picker.SetSubsystem(m_shown[static_cast<size_t>(r - 1)]);
    if (picker.DoModal() != IDOK)
        return;
    Fill();
    MarkProjectModified(*m_project);
}

void CDlgAssignSensors::OnCopy()
{
    const CSensorAssignment* assignment = m_project ? m_project->GetSensorAssignment() : nullptr;
    std::string text;
    for (int i = 0; assignment && i < assignment->GetRowCount(); ++i) {
        text += assignment->GetSubsystemName(i);
        for (int k = 0; k < assignment->GetItemCount(i); ++k)
            text += "\t" + assignment->GetItem(i, k);
        text += "\n";
    }
    if (text.empty()) {
        AfxMessageBox(IDS_READ_FAILED, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    if (!SetClipboardText(text)) {
        AfxMessageBox(IDS_CLIPBOARD_CANNOT_OPEN, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    AfxMessageBox(IDS_FINISHED, MB_OK | MB_ICONINFORMATION);
}

bool CDlgAssignSensors::ReadBody(const std::string& text)
{
    CSensorAssignment* assignment = m_project ? m_project->GetSensorAssignment() : nullptr;
    if (!assignment)
        return false;
    // The assignment reads files; the clipboard's lines are a file's body.
    QTemporaryFile file;
    if (!file.open())
        return false;
    const std::string body = "#\n" + text;
    file.write(body.data(), static_cast<qint64>(body.size()));
    file.close();
    return assignment->ImportText(file.fileName().toStdString(), std::string()) != 0;
}

void CDlgAssignSensors::OnPaste()
{
    std::string text;
    if (!GetClipboardText(text) || text.empty() || !ReadBody(text)) {
        AfxMessageBox(IDS_CLIPBOARD_NO_TEXT, MB_OK | MB_ICONEXCLAMATION);
        Fill();
        return;
    }
    MarkProjectModified(*m_project);
    AfxMessageBox(IDS_FINISHED, MB_OK | MB_ICONINFORMATION);
    Fill();
}

std::string CDlgAssignSensors::FileTag() const
{
    return GetAppVersionText();
}

void CDlgAssignSensors::OnSave()
{
    FileChooserOptions options;
    options.filter = LoadString(IDS_MODEL_DATA_FILTER);
    options.defaultExt = "txt";
    options.initialName = "LocalPoints.txt";
    options.initialFolder =
        m_project ? std::filesystem::path(m_project->GetDocumentPath()).parent_path().string() : std::string();
    std::string path;
    if (!PromptSaveFile(options, path))
        return;
    const CSensorAssignment* assignment = m_project ? m_project->GetSensorAssignment() : nullptr;
    if (assignment && assignment->ExportText(path, FileTag()))
        AfxMessageBox(IDS_FINISHED, MB_OK | MB_ICONINFORMATION);
    else
        AfxMessageBox(IDS_OPERATION_FAILED, MB_OK | MB_ICONEXCLAMATION);
}

bool CDlgAssignSensors::LoadFile()
{
    FileChooserOptions options;
    options.filter = LoadString(IDS_MODEL_DATA_FILTER);
    options.defaultExt = "txt";
    options.initialName = "LocalPoints.txt";
    options.initialFolder =
        m_project ? std::filesystem::path(m_project->GetDocumentPath()).parent_path().string() : std::string();
    std::string path;
    if (!PromptOpenFile(options, path))
        return false;
    CSensorAssignment* assignment = m_project ? m_project->GetSensorAssignment() : nullptr;
    // Only an exchange file of ours: its first line is the identification line.
    bool ours = false;
    if (FILE* f = std::fopen(path.c_str(), "rb")) {
        char head[2] = {0, 0};
        ours = std::fread(head, 1, 2, f) == 2 && head[0] == '#' && head[1] == '@';
        std::fclose(f);
    }
    const bool loaded = assignment && ours && assignment->ImportText(path, FileTag());
    if (loaded) {
        MarkProjectModified(*m_project);
        AfxMessageBox(IDS_FINISHED, MB_OK | MB_ICONINFORMATION);
    } else {
        AfxMessageBox(IDS_OPERATION_FAILED, MB_OK | MB_ICONEXCLAMATION);
    }
    Fill();
    return loaded;
}
