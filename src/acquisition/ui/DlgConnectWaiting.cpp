#include "acquisition/ui/DlgConnectWaiting.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

namespace {
int g_shown = 0;
}

CDlgConnectWaiting::CDlgConnectWaiting() : CZuDialog(nullptr, 4085)
{
    setObjectName(QStringLiteral("DlgConnectWaiting"));
    setWindowTitle(QStringLiteral("QMX"));
    auto* label = new QLabel(QStringLiteral("Connecting to the acquisition units. Please wait..."), this);
    label->setObjectName(QStringLiteral("WaitText"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 18, 24, 18);
    layout->addWidget(label);
    Centre();
}

int CDlgConnectWaiting::ShownCount()
{
    return g_shown;
}

bool CDlgConnectWaiting::OnInitDialog()
{
    Centre();
    return true;
}

void CDlgConnectWaiting::Centre()
{
    adjustSize();
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void CDlgConnectWaiting::ShowNow()
{
    ++g_shown;
    EnsureInitialized();
    show();
    // Painted before the blocking connection starts.
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}
