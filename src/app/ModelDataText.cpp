#include "app/ModelDataText.h"

#include "app/ModelProject.h"
#include "platform/archive/Archive.h"
#include "platform/elements/ZuData.h"
#include "platform/win/PromptService.h"

namespace {
constexpr uint32_t IDS_MODEL_FILE_UNREADABLE = 7052;
}

CZuData* CreateModelDataByName(const std::string&)
{
    return nullptr; // TODO(projects): the model data classes come with the model library
}

CZuData* ReadModelDataText(CModelProject*, const std::string& path, int)
{
    AfxFormatMessageBox(IDS_MODEL_FILE_UNREADABLE, MB_OK, path.c_str());
    return nullptr;
}

CZuData* ReadModelDataArchive(CModelProject*, CArchive&)
{
    return nullptr;
}
