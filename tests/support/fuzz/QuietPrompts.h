#pragma once
// Fuzz targets answer every message box with its default button and cancel every chooser,
// without printing or keeping the requests, so a long run neither floods the log nor grows.
#include "platform/win/PromptService.h"

class CQuietPrompts : public IPromptService
{
public:
    PromptAnswer Ask(const PromptRecord& request) override
    {
        ++m_count;
        PromptAnswer answer;
        answer.result = request.kind == PromptKind::MessageBox ? DefaultButtonOf(request.style) : IDCANCEL;
        return answer;
    }
    // Requests seen since the last call.
    int Take()
    {
        const int n = m_count;
        m_count = 0;
        return n;
    }

private:
    int m_count = 0;
};
