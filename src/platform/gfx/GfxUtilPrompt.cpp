// Warning boxes of CGfxUtil (kept apart: the only part that reaches the prompt service).
#include "platform/gfx/GfxUtil.h"
#include "platform/win/PromptService.h"

namespace {
// A warning box says so: the exclamation icon unless the caller chose another.
unsigned WarningStyle(unsigned style)
{
    return (style & MB_ICONMASK) ? style : (style | MB_ICONEXCLAMATION);
}
} // namespace

int CGfxUtil::WarningBox(const std::string& text, unsigned style, const std::string& caption)
{
    return PromptMessageBox(0, text, caption, WarningStyle(style));
}

int CGfxUtil::WarningBox(unsigned textId, unsigned style, unsigned captionId)
{
    return PromptMessageBox(textId, MessageTextOf(textId), captionId ? MessageTextOf(captionId) : std::string(),
                            WarningStyle(style));
}
