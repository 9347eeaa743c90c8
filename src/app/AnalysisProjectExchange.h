#pragma once
// The analysis-project exchange file (".oap"): one analysis project with all its results, to move
// an analysis between project files.
#include <memory>
#include <string>

class CAnalysisProject;
class CTALVODoc;
class CTALVOProject;

inline constexpr const char* kAnalysisProjectFilter = "ORVEX Analysis Project (*.oap)|*.oap||";

// Writes the project as the file's single object. The file is replaced only when everything was
// written; throws CArchiveException or CFileException on failure (the previous file stays).
void ExportAnalysisProject(CAnalysisProject& project, const std::string& path);
// Reads the single analysis project of a file and hands it to the container (new owner, new ID).
// Throws on a file that cannot be read or holds another class; nothing is added then.
CAnalysisProject* ImportAnalysisProject(CTALVOProject& container, const std::string& path);

// The export command: asks where to write the project selected in the project tree; 0 (nothing
// asked) when the selection is no analysis project, 0 when the user cancels, else 1. File and
// archive errors pass on as exceptions to the command handling, which reports them.
int ExportAnalysisProjectDialog();
// The import command: asks for a file, hands its analysis project to the document's container and
// shows it in the project window; the document becomes modified. Null when the user cancels;
// file and archive errors pass on as exceptions (nothing is added then).
CAnalysisProject* ImportAnalysisProjectDialog(CTALVODoc& doc);
