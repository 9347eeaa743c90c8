#pragma once
// Asks the maker's web endpoint for the latest version: one HTTP GET whose answer is a small text,
// first line the latest version ("210B13"), second line the download page. The endpoint address
// is a setting; without one no check is made. Requests carry a timeout and run on the event loop,
// so a slow or silent server never holds up the program (the platform's HTTP client).
#include <QObject>

#include <functional>
#include <string>

class CHttpGet;

// Values of the update check under "Software\\Velmora".
inline constexpr const char* kUpdateAddressValue = "LastVerAddress";   // endpoint address (http/https)
inline constexpr const char* kProductPageValue = "ProductPageAddress"; // product page address
inline constexpr const char* kLastVerDefaultPath = "software/orvex2.txt";
inline constexpr int kLastVerTimeoutMs = 5000;
inline constexpr const char* kLastVerUserAgent = "GetZuLastVer";

// Request modes: the start-up check and the menu command.
inline constexpr const char* kLastVerModeAuto = "AUTO";
inline constexpr const char* kLastVerModeMenu = "MENU";

struct LastVersionAnswer
{
    bool ok = false;           // the server answered with status 200
    std::string latestVersion; // first line of the answer
    std::string pageAddress;   // second line
};

// "%s?%d&%s": the endpoint address, the seconds (0 to 59) of the local time and the mode. The
// seconds only make successive requests differ.
std::string BuildLastVerObjectName(const std::string& address, int seconds, const std::string& mode);
// The decimal number after the first "B" of a version text ("210B12" gives 12); a text without
// "B" gives the number at its start, as atoi reads it.
int GetBuildNumberOf(const std::string& versionText);
// 1 when latest names a newer build than running, 0 when running is the same or newer, -1 when
// latest is empty.
int CompareBuildVersions(const std::string& runningVersion, const std::string& latestVersion);
// True for an absolute http or https address with a host: the only pages the program opens.
bool IsWebAddress(const std::string& address);
// Splits an answer into its first two lines (CR LF or LF).
void ParseLastVerAnswer(const std::string& body, std::string& latest, std::string& page);

// The running program's build-version text ("%d%d%dB%d" of its file version).
std::string GetRunningBuildVersionText();

// One request to the endpoint. Finished is emitted exactly once (success, error or timeout); the
// object deletes itself afterwards unless told otherwise.
class CLastVersionRequest : public QObject
{
    Q_OBJECT
public:
    explicit CLastVersionRequest(QObject* parent = nullptr);
    ~CLastVersionRequest() override;

    // Starts the GET. An address that is not http or https finishes at once with ok = false.
    void Start(const std::string& address, const std::string& mode, int timeoutMs = kLastVerTimeoutMs);
    void SetAutoDelete(bool on) { m_autoDelete = on; }
    bool IsFinished() const { return m_finished; }
    const LastVersionAnswer& Answer() const { return m_answer; }

signals:
    void Finished();

private:
    void Finish(bool ok, const std::string& body);

    CHttpGet* m_get = nullptr; // a child
    LastVersionAnswer m_answer;
    bool m_finished = false;
    bool m_autoDelete = true;
};

// Synchronous form for the menu command and tests: runs a local event loop until the answer or the
// timeout. False when there was no 200 answer.
bool FetchLastVersion(const std::string& address, const std::string& mode, std::string& latestVersion,
                      std::string& pageAddress, int timeoutMs = kLastVerTimeoutMs);

// 1 newer build available, 0 up to date, -1 request failed or empty answer.
int CompareWithLastVersion(const std::string& address, const std::string& mode, std::string& pageAddress,
                           const std::string& runningVersion, int timeoutMs = kLastVerTimeoutMs);

// The start-up check: without blocking, asks the endpoint and calls onNewer with the page address
// when a newer build exists. Nothing happens without an address, when the automatic check is
// switched off, or on any failure. Returns the request (null when none was started).
CLastVersionRequest* CheckLastVersionAuto(const std::string& address, bool autoCheckOn,
                                          const std::string& runningVersion,
                                          std::function<void(const std::string& page)> onNewer,
                                          int timeoutMs = kLastVerTimeoutMs);

// The endpoint and product page addresses from the settings (empty when not set).
std::string GetUpdateCheckAddress();
std::string GetProductPageAddress();
// "%s#his" of the product page: the version-history section.
std::string GetVersionHistoryAddress(const std::string& pageAddress);
