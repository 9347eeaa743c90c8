#include "app/ui/DlgCalcProgress.h"

#include <algorithm>

#include <QCoreApplication>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>

#include "platform/base/Format.h"

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
    SetBandCount(1);
    adjustSize();
    resize(std::max(width(), 320), height());
    SetCalcProgressDlg(this);
}

CDlgCalcProgress::~CDlgCalcProgress()
{
    if (GetCalcProgressDlg() == this)
        SetCalcProgressDlg(nullptr);
}

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

int CDlgCalcProgress::CheckCancel()
{
    return PumpMessages() ? 1 : 0;
}

void CDlgCalcProgress::SetBandCount(int n)
{
    SetOuterRange(std::max(n - 1, 0), 0);
}

void CDlgCalcProgress::ShowBand(int position, double frequency)
{
    QCoreApplication::processEvents();
    SetMessage(QString::fromStdString(Format("%g Hz", frequency)));
    SetOuterPos(position);
    QCoreApplication::processEvents();
}
