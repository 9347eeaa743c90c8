// Warning boxes of CGfxUtil (kept apart: the only part that reaches the prompt service).
#include "platform/base/Format.h"
#include "platform/gfx/GfxUtil.h"
#include "platform/win/PromptService.h"
#include "platform/win/StringTable.h"

namespace
{
// A warning box says so: the exclamation icon unless the caller chose another.
unsigned WarningStyle(unsigned style)
{
    return (style & MB_ICONMASK) ? style : (style | MB_ICONEXCLAMATION);
}

int Show(uint32_t stringId, const std::string& text, const std::string& caption, unsigned style)
{
    PromptRecord request;
    request.kind = PromptKind::MessageBox;
    request.stringId = stringId;
    request.text = text;
    request.caption = caption.empty() ? GetAppTitle() : caption;
    request.style = WarningStyle(style);
    return GetPromptService().Ask(request).result;
}

std::string TextOf(uint32_t id)
{
    std::string text;
    if (!LoadString(id, text))
        text = Format("(%u)", id); // a missing string still says which message it was
    return text;
}
} // namespace

int CGfxUtil::WarningBox(const std::string& text, unsigned style, const std::string& caption)
{
    return Show(0, text, caption, style);
}

int CGfxUtil::WarningBox(unsigned textId, unsigned style, unsigned captionId)
{
    return Show(textId, TextOf(textId), captionId ? TextOf(captionId) : std::string(), style);
}
