#pragma once
// The one way long work tells its progress and its messages: the core takes a feedback object and
// never calls the user interface; the windows implement it (the status bar, the progress dialog),
// the automation caller and the tests give their own. Work begins with a text and a total of
// steps, steps on, and may hand a part of its range to a part of the work (a sub-range), which
// begins its own range inside it. Cancel is asked by the worker between items and set by the
// window or the caller; once set it stays set. Messages that the work used to show as boxes are
// reported with their severity, and the implementation decides how to show them.
#include <cstdint>
#include <string>
#include <vector>

class CFeedback
{
public:
    enum class ESeverity
    {
        Information,
        Warning,
        Error,
    };

    // A reported message; the string id is the string-table message it was made from (0: none), so
    // a window can show the same box as the work showed before.
    struct SReport
    {
        ESeverity severity = ESeverity::Information;
        std::string text;
        uint32_t stringId = 0;
    };

    // One open range: the whole work (level 0) or a part of it.
    struct SRange
    {
        std::string text;
        int64_t total = 0; // 0: the number of steps is not known
        int64_t done = 0;
        int64_t partSteps = 0; // steps of this range handed to the open part (0: none open)
    };

    CFeedback() = default;
    virtual ~CFeedback() = default;
    CFeedback(const CFeedback&) = delete;
    CFeedback& operator=(const CFeedback&) = delete;

    // Begins the current range: the whole work when no part is open, else the open part. A second
    // Begin on the same level restarts it (an empty text then keeps the text it had).
    void Begin(const std::string& text, int64_t total);
    void SetText(const std::string& text);
    // Moves the current range on by count steps, or to done steps; clamped to its total.
    void Step(int64_t count = 1);
    void SetPos(int64_t done);
    // Ends the whole work (every part still open with it).
    void End();

    // Hands the next steps of the current range to a part of the work; the part's own Begin and
    // steps then fill just those. EndPart closes the part and moves the range past its steps.
    void BeginPart(int64_t steps);
    void EndPart();

    // Lets the implementation handle what is pending (a window its events), then returns whether
    // the work is to stop.
    bool IsCancelled();
    void Cancel() { m_cancelled = true; }

    void Report(ESeverity severity, const std::string& text, uint32_t stringId = 0);
    void Information(const std::string& text, uint32_t stringId = 0) { Report(ESeverity::Information, text, stringId); }
    void Warning(const std::string& text, uint32_t stringId = 0) { Report(ESeverity::Warning, text, stringId); }
    void Error(const std::string& text, uint32_t stringId = 0) { Report(ESeverity::Error, text, stringId); }

    // What displays read: the open ranges (outermost first) and the part of the whole work done,
    // 0 to 1 (0 while the total is not known).
    bool IsActive() const { return !m_ranges.empty(); }
    const std::vector<SRange>& Ranges() const { return m_ranges; }
    double Fraction() const;
    // The text of the innermost range that has one.
    std::string CurrentText() const;

protected:
    // Hooks of the implementations, called after the state changed. level is the range's index in
    // Ranges().
    virtual void OnBegin(int /*level*/) {}
    virtual void OnText(int /*level*/) {}
    virtual void OnProgress(int /*level*/) {}
    virtual void OnEnd() {}
    virtual void OnReport(const SReport& /*report*/) {}
    // Called by IsCancelled before it answers; a window processes its events here (its Cancel
    // button then calls Cancel).
    virtual void Poll() {}

private:
    double FractionFrom(size_t level) const;

    std::vector<SRange> m_ranges;
    // A part handed out whose Begin has not come yet.
    bool m_partPending = false;
    bool m_cancelled = false;
};

// Feedback that shows nothing and is never cancelled by a window: what work runs with when its
// caller gives none.
class CSilentFeedback : public CFeedback
{};

// The silent feedback of the calling thread: the default of core work that takes a feedback, so
// that the work always has one. Nobody reads its ranges or its reports.
CFeedback* SilentFeedback();
