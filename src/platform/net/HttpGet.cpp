#include "platform/net/HttpGet.h"

#include "platform/base/DebugLog.h"
#include "platform/base/RuntimeLibrary.h"
#include "platform/net/HttpTransfer.h"

#include <QEventLoop>
#include <QTimer>
#include <QUrl>

#include <filesystem>
#include <system_error>

#define ORVEX_STRINGIFY_NAME(name) #name
#define ORVEX_NAME_TEXT(name) ORVEX_STRINGIFY_NAME(name)

namespace {
// The module as installed beside the running program; else where this build put it (the tests
// and benchmarks run from folders of their own).
std::string TransferModulePath()
{
    std::error_code ec;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec) {
        const std::filesystem::path installed = program.parent_path() / ORVEX_HTTP_TRANSFER_FROM_PROGRAM;
        if (std::filesystem::is_regular_file(installed, ec))
            return installed.lexically_normal().string();
    }
    return ORVEX_HTTP_TRANSFER_BUILT;
}

struct CTransferModule
{
    StartHttpTransferFunction* start = nullptr;
    bool Resolve(CRuntimeLibrary& library)
    {
        return ResolveFunction(library, start, ORVEX_NAME_TEXT(ORVEX_START_HTTP_TRANSFER));
    }
};

const CTransferModule* TransferModule(std::string& error)
{
    static CRuntimeLibrary module(TransferModulePath());
    return FunctionsOf<CTransferModule>(module, &error);
}
} // namespace

struct CHttpGet::Transfer
{
    std::unique_ptr<CHttpTransfer> transfer;
    QTimer* timer = nullptr; // a child of the request object
};

CHttpGet::CHttpGet(QObject* parent) : QObject(parent), m_transfer(std::make_unique<Transfer>()) {}

// A transfer still running ends without telling this object.
CHttpGet::~CHttpGet() = default;

bool CHttpGet::IsWebAddress(const std::string& address)
{
    const QUrl url(QString::fromStdString(address), QUrl::StrictMode);
    if (!url.isValid() || url.isRelative() || url.host().isEmpty())
        return false;
    const QString scheme = url.scheme().toLower();
    return scheme == QLatin1String("http") || scheme == QLatin1String("https");
}

void CHttpGet::Start(const std::string& address, const std::string& userAgent, int timeoutMs, size_t maxBytes)
{
    if (!IsWebAddress(address)) {
        QTimer::singleShot(0, this, [this] { Finish(false, 0, std::string()); });
        return;
    }
    std::string error;
    const CTransferModule* module = TransferModule(error);
    if (!module) {
        CDebugLog::Write("No HTTP request can be made: " + error + ".");
        QTimer::singleShot(0, this, [this] { Finish(false, 0, std::string()); });
        return;
    }
    m_transfer->transfer.reset(
        module->start(address.c_str(), userAgent.c_str(), timeoutMs, maxBytes,
                      [this](bool ok, int status, std::string body) { Finish(ok, status, std::move(body)); }));

    // The transfer timeout covers a silent transfer; this one bounds the whole request.
    m_transfer->timer = new QTimer(this);
    m_transfer->timer->setSingleShot(true);
    connect(m_transfer->timer, &QTimer::timeout, this, [this] { m_transfer->transfer->Abort(); });
    m_transfer->timer->start(timeoutMs);
}

void CHttpGet::Finish(bool ok, int status, std::string body)
{
    if (m_finished)
        return;
    m_finished = true;
    if (m_transfer->timer)
        m_transfer->timer->stop();
    m_result = HttpGetResult{ok, status, ok ? std::move(body) : std::string()};
    emit Finished();
}

HttpGetResult CHttpGet::Fetch(const std::string& address, const std::string& userAgent, int timeoutMs, size_t maxBytes)
{
    CHttpGet get;
    QEventLoop loop;
    QObject::connect(&get, &CHttpGet::Finished, &loop, &QEventLoop::quit);
    get.Start(address, userAgent, timeoutMs, maxBytes);
    if (!get.IsFinished())
        loop.exec();
    return get.Result();
}
