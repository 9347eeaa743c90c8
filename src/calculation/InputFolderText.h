#pragma once
// The parts of the input text sections that the input-energy and input-power folders write alike.
#include <string>

class CMElement;
class COctaveManagerEx;
class CStdioFile;
class IAnalysisProjectAccess;

namespace input_folder_text {

// "[section]" on a line of its own.
void WriteSectionName(CStdioFile& file, const std::string& section);
// The user-defined frequency domain of the bands: first and last centre, then centre, lower and
// upper limit of each band. The number of bands (0 without bands).
int WriteBandDomain(CStdioFile& file, const COctaveManagerEx* bands);
// The subsystems of the folder's items the model knows, then the start of the input block.
void WriteSubsystemBlock(CStdioFile& file, const CMElement& folder, const IAnalysisProjectAccess& project);

} // namespace input_folder_text
