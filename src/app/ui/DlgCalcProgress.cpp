#include "app/ui/DlgCalcProgress.h"

#include <algorithm>
#include <climits>

#include <QCoreApplication>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>

#include "platform/win/StatusBarFeedback.h"

namespace {
QPointer<CDlgCalcProgress>& Instance()
{
    static QPointer<CDlgCalcProgress> instance;
    return instance;
}
} // namespace

CDlgCalcProgress::CDlgCalcProgress(QWidget* parent) : CDlgProgress(parent)
{
    setObjectName(QStringLiteral("DlgCalcProgress"));
    FrequencyLabel()->setObjectName(QStringLiteral("Freq2072"));
    // Room for the longest band text, so that the dialog keeps its size while it counts.
    FrequencyLabel()->setMinimumWidth(FrequencyLabel()->fontMetrics().horizontalAdvance(QStringLiteral("000000 Hz")));
    BandBar()->setObjectName(QStringLiteral("Bands"));
    SubBar()->hide();
    SetOuterRange(0, 0);
    adjustSize();
    resize(std::max(width(), 320), height());
}

CDlgCalcProgress::~CDlgCalcProgress() = default;

CDlgCalcProgress* CDlgCalcProgress::ShowInstance(QWidget* parent)
{
    if (!Instance())
        Instance() = new CDlgCalcProgress(parent);
    Instance()->showNormal();
    Instance()->raise();
    return Instance();
}

CDlgCalcProgress* CDlgCalcProgress::GetInstance()
{
    return Instance();
}

void CDlgCalcProgress::DestroyInstance()
{
    if (Instance())
        delete Instance().data();
    Instance() = nullptr;
}

void CDlgCalcProgress::OnBegin(int level)
{
    if (level == 0)
        SetOuterRange(static_cast<int>(std::clamp<int64_t>(Ranges()[0].total - 1, 0, INT_MAX)), 0);
    if (!Ranges()[static_cast<size_t>(level)].text.empty())
        OnText(level);
}

void CDlgCalcProgress::OnText(int level)
{
    SetMessage(QString::fromStdString(Ranges()[static_cast<size_t>(level)].text));
}

void CDlgCalcProgress::OnProgress(int level)
{
    // The bar ends at the last band; the solve done keeps it there.
    if (level == 0)
        SetOuterPos(
            static_cast<int>(std::clamp<int64_t>(Ranges()[0].done, 0, std::max<int64_t>(Ranges()[0].total - 1, 0))));
    QCoreApplication::processEvents();
}

void CDlgCalcProgress::OnReport(const SReport& report)
{
    CStatusBarFeedback::ShowReportBox(report);
}

void CDlgCalcProgress::Poll()
{
    if (PumpMessages())
        Cancel();
}
