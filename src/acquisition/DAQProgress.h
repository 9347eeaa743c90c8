#pragma once
// The progress display of a long run over data sets, as the run sees it: a range, a text per
// item, a step, and a Cancel that the run polls between items. The program's progress dialog
// implements it; tests give a recording one.
#include <string>

class IDAQProgress
{
public:
    virtual ~IDAQProgress() = default;
    virtual void SetRange(int count) = 0;
    virtual void SetMessage(const std::string& text) = 0;
    virtual void Step() = 0;
    // Processes pending events; true when the user cancelled (the request is then cleared).
    virtual bool PumpMessages() = 0;
};
