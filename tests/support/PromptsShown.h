#pragma once
// What the message boxes of a scripted run said, one a line ("id: text"), for a failure's report.
#include "platform/win/PromptService.h"

#include <string>

inline std::string Shown(const CScriptedPrompts& prompts)
{
    std::string out;
    for (const PromptRecord& r : prompts.Records())
        out += std::to_string(r.stringId) + ": " + r.text + "\n";
    return out;
}
