#pragma once
// One HTTP GET on the event loop: a plain request with our user agent, no redirects followed, the
// whole request bounded by a timeout (also a server that trickles bytes forever), and at most a
// fixed number of answer bytes kept. Finished is emitted exactly once: on the answer, on an error or
// on the timeout; Start never emits before it returns, so callers connect in any order.
#include <QObject>

#include <cstddef>
#include <memory>
#include <string>

struct HttpGetResult
{
    bool ok = false;  // status 200 without a transport error
    int status = 0;   // the HTTP status; 0 when no answer came
    std::string body; // the answer's first bytes (only when ok)
};

class CHttpGet : public QObject
{
    Q_OBJECT
public:
    static constexpr size_t kDefaultMaxBytes = 64 * 1024;

    explicit CHttpGet(QObject* parent = nullptr);
    ~CHttpGet() override;

    // Starts the GET; an address that is not an absolute http or https address finishes with ok
    // false (on the event loop).
    void Start(const std::string& address, const std::string& userAgent, int timeoutMs,
               size_t maxBytes = kDefaultMaxBytes);
    bool IsFinished() const { return m_finished; }
    const HttpGetResult& Result() const { return m_result; }

    // True for an absolute http or https address with a host.
    static bool IsWebAddress(const std::string& address);

    // Runs a GET to its end in a local event loop (commands and tests).
    static HttpGetResult Fetch(const std::string& address, const std::string& userAgent, int timeoutMs,
                               size_t maxBytes = kDefaultMaxBytes);

signals:
    void Finished();

private:
    void Finish(bool ok, int status, std::string body);

    struct Transfer;
    std::unique_ptr<Transfer> m_transfer;
    HttpGetResult m_result;
    bool m_finished = false;
};
