#include "calculation/InputFolderText.h"

#include "calculation/AnalysisProjectAccess.h"
#include "platform/base/Format.h"
#include "platform/elements/MElement.h"
#include "platform/elements/StdioFile.h"
#include "platform/gfx/OctaveManager.h"

namespace input_folder_text {

void WriteSectionName(CStdioFile& file, const std::string& section)
{
    file.WriteString("[");
    file.WriteString(section);
    file.WriteString("]\n");
}

int WriteBandDomain(CStdioFile& file, const COctaveManagerEx* bands)
{
    const int bandCount = bands ? bands->GetFreqCount() : 0;
    file.WriteString("USER_DEFINED_FREQUENCY_DOMAIN\n");
    if (bandCount > 0) {
        file.WriteString(Format("%g\n", bands->GetFreq(0)));
        file.WriteString(Format("%g\n", bands->GetFreq(bandCount - 1)));
        for (int b = 0; b < bandCount; ++b)
            file.WriteString(Format("%g\t%g\t%g\n", bands->GetFreq(b), bands->GetLowerFreq(b), bands->GetUpperFreq(b)));
    }
    return bandCount;
}

void WriteSubsystemBlock(CStdioFile& file, const CMElement& folder, const IAnalysisProjectAccess& project)
{
    for (int i = 0; i < folder.GetChildCount(); ++i) {
        std::string name = folder.GetChild(i)->GetName();
        if (project.CompleteSubsystemName(name) >= 0)
            file.WriteString(Format("%s\n", name.c_str()));
    }
    file.WriteString("\n\n");
    file.WriteString("[Input powers]\n");
}

} // namespace input_folder_text
