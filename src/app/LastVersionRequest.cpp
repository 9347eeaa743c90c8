#include "app/LastVersionRequest.h"

#include "app/VerRes.h"
#include "platform/base/Format.h"
#include "platform/base/LineReader.h"
#include "platform/win/ZuRegOptions.h"

#include "platform/net/HttpGet.h"

#include <QCoreApplication>
#include <QEventLoop>

#include <cstdlib>
#include <ctime>

std::string BuildLastVerObjectName(const std::string& address, int seconds, const std::string& mode)
{
    return Format("%s?%d&%s", address.c_str(), seconds, mode.c_str());
}

int GetBuildNumberOf(const std::string& versionText)
{
    const size_t b = versionText.find('B');
    const char* rest = versionText.c_str() + (b == std::string::npos ? 0 : b + 1);
    return std::atoi(rest);
}

int CompareBuildVersions(const std::string& runningVersion, const std::string& latestVersion)
{
    if (latestVersion.empty())
        return -1;
    return GetBuildNumberOf(runningVersion) >= GetBuildNumberOf(latestVersion) ? 0 : 1;
}

bool IsWebAddress(const std::string& address)
{
    return CHttpGet::IsWebAddress(address);
}

void ParseLastVerAnswer(const std::string& body, std::string& latest, std::string& page)
{
    CLineReader lines(body);
    std::string_view line;
    latest = lines.Next(line) ? std::string(line) : std::string();
    page = lines.Next(line) ? std::string(line) : std::string();
}

std::string GetRunningBuildVersionText()
{
    CVerRes ver;
    ver.Read();
    return ver.GetBuildVersionText();
}

CLastVersionRequest::CLastVersionRequest(QObject* parent) : QObject(parent) {}

CLastVersionRequest::~CLastVersionRequest() = default;

void CLastVersionRequest::Start(const std::string& address, const std::string& mode, int timeoutMs)
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    // An address that is not http or https finishes on the event loop, like every other failure.
    const std::string object =
        IsWebAddress(address) ? BuildLastVerObjectName(address, local.tm_sec, mode) : std::string();
    m_get = new CHttpGet(this);
    connect(m_get, &CHttpGet::Finished, this, [this] {
        // The answer is two short lines; more is not read.
        const HttpGetResult& result = m_get->Result();
        Finish(result.ok, result.body);
    });
    m_get->Start(object, kLastVerUserAgent, timeoutMs);
}

void CLastVersionRequest::Finish(bool ok, const std::string& body)
{
    if (m_finished)
        return;
    m_finished = true;
    m_answer = LastVersionAnswer{};
    m_answer.ok = ok;
    if (ok)
        ParseLastVerAnswer(body, m_answer.latestVersion, m_answer.pageAddress);
    emit Finished();
    if (m_autoDelete)
        deleteLater();
}

bool FetchLastVersion(const std::string& address, const std::string& mode, std::string& latestVersion,
                      std::string& pageAddress, int timeoutMs)
{
    CLastVersionRequest request;
    request.SetAutoDelete(false);
    QEventLoop loop;
    QObject::connect(&request, &CLastVersionRequest::Finished, &loop, &QEventLoop::quit);
    request.Start(address, mode, timeoutMs);
    if (!request.IsFinished())
        loop.exec();
    const LastVersionAnswer& answer = request.Answer();
    if (!answer.ok)
        return false;
    latestVersion = answer.latestVersion;
    pageAddress = answer.pageAddress;
    return true;
}

int CompareWithLastVersion(const std::string& address, const std::string& mode, std::string& pageAddress,
                           const std::string& runningVersion, int timeoutMs)
{
    std::string latest;
    if (!FetchLastVersion(address, mode, latest, pageAddress, timeoutMs))
        return -1;
    return CompareBuildVersions(runningVersion, latest);
}

CLastVersionRequest* CheckLastVersionAuto(const std::string& address, bool autoCheckOn,
                                          const std::string& runningVersion,
                                          std::function<void(const std::string& page)> onNewer, int timeoutMs)
{
    if (!autoCheckOn || address.empty())
        return nullptr;
    auto* request = new CLastVersionRequest(QCoreApplication::instance());
    QObject::connect(request, &CLastVersionRequest::Finished, request,
                     [request, runningVersion, onNewer = std::move(onNewer)] {
                         const LastVersionAnswer& answer = request->Answer();
                         if (answer.ok && CompareBuildVersions(runningVersion, answer.latestVersion) == 1 && onNewer)
                             onNewer(answer.pageAddress);
                     });
    request->Start(address, kLastVerModeAuto, timeoutMs);
    return request;
}

std::string GetUpdateCheckAddress()
{
    CZuRegOptions reg(kVelmoraKeyPath);
    std::string value;
    if (!reg.Open() || !reg.GetString(kUpdateAddressValue, value))
        return std::string();
    return value;
}

std::string GetProductPageAddress()
{
    CZuRegOptions reg(kVelmoraKeyPath);
    std::string value;
    if (!reg.Open() || !reg.GetString(kProductPageValue, value))
        return std::string();
    return value;
}

std::string GetVersionHistoryAddress(const std::string& pageAddress)
{
    return Format("%s#his", pageAddress.c_str());
}
