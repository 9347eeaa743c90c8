#pragma once
// The part of an HTTP GET that needs the network library. It is built as a module of its own
// (platform/net/transfer) and loaded when the first request starts: the network library and the
// libraries it pulls in are then not loaded, relocated and initialised at every start of the
// program, which asks the network for nothing unless an update check is set up.
#include <cstddef>
#include <functional>
#include <string>

class CHttpTransfer
{
public:
    // Called once, on the event loop: with the answer, on a transport error or after Abort. Never
    // called once the transfer is deleted.
    using Done = std::function<void(bool ok, int status, std::string body)>;

    CHttpTransfer() = default;
    CHttpTransfer(const CHttpTransfer&) = delete;
    CHttpTransfer& operator=(const CHttpTransfer&) = delete;
    // Deleting a transfer still running ends it without calling done.
    virtual ~CHttpTransfer() = default;

    // Ends a running transfer; done is called with ok false.
    virtual void Abort() = 0;
};

// The module's one entry point: starts a GET of an absolute http or https address with the given
// user agent, no redirect followed, a silent transfer ended after timeoutMs and at most maxBytes of
// the answer kept. ok is true for status 200 without a transport error.
using StartHttpTransferFunction = CHttpTransfer*(const char* address, const char* userAgent, int timeoutMs,
                                                 std::size_t maxBytes, CHttpTransfer::Done done);
#define ORVEX_START_HTTP_TRANSFER orvex_start_http_transfer
