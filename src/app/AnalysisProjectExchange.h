#pragma once
// The analysis-project exchange file (".oap"): one analysis project with all its results, to move
// an analysis between project files.
#include <memory>
#include <string>

#include "platform/base/Feedback.h"

class CAnalysisProject;
class CTALVOProject;

inline constexpr const char* kAnalysisProjectFilter = "ORVEX Analysis Project (*.oap)|*.oap||";

// Writes the project as the file's single object. The file is replaced only when everything was
// written; throws CArchiveException or CFileException on failure (the previous file stays).
void ExportAnalysisProject(CAnalysisProject& project, const std::string& path);
// Reads the single analysis project of a file and hands it to the container (new owner, new ID).
// Throws on a file that cannot be read or holds another class; nothing is added then. What the read
// reports (a project too old to read) goes to the feedback.
CAnalysisProject* ImportAnalysisProject(CTALVOProject& container, const std::string& path,
                                        CFeedback* feedback = SilentFeedback());
