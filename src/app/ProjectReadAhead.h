#pragma once
// A project file read on a thread of its own while the main window is made. The read is the
// largest single piece of a start with a project, and the window does not need it before it
// shows. The document is no one's until it is taken: no window knows it and it is not the main
// document, so nothing else reaches it while it is read. What the read reports is kept and told
// to the taker's feedback on the taker's thread, in the order it was reported.
#include "platform/base/RecordingFeedback.h"

#include <memory>
#include <string>
#include <thread>

class CTALVODoc;

class CProjectReadAhead
{
public:
    // Begins reading path (made absolute) into a document of its own.
    explicit CProjectReadAhead(const std::string& path);
    // Waits for a read not taken.
    ~CProjectReadAhead();
    CProjectReadAhead(const CProjectReadAhead&) = delete;
    CProjectReadAhead& operator=(const CProjectReadAhead&) = delete;

    // The absolute path being read.
    const std::string& GetPath() const { return m_path; }

    // Waits for the read; true when it read the file whole and reported nothing, so taking the
    // document shows no message.
    bool WaitReadWithoutReports();

    // Waits for the read, tells feedback what it reported and hands the document over: read
    // whole (true) or left empty, with error telling why (false). Once only: later calls return
    // a null document.
    bool Take(std::unique_ptr<CTALVODoc>& doc, std::string& error, CFeedback& feedback);

private:
    void Read();

    std::string m_path;
    std::unique_ptr<CTALVODoc> m_doc;
    CRecordingFeedback m_reports;
    std::string m_error;
    bool m_read = false;
    bool m_taken = false;
    bool m_ended = false; // read by the taker only after the reading thread was joined
    std::thread m_thread;
};
