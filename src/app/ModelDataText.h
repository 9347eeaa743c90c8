#pragma once
// The model data text files (".dmd", and the HSEA model text export read back) that fill the
// model project, the binary model data archives, and the HSEA model text export.
#include <memory>
#include <string>

#include "platform/base/Feedback.h"

class CArchive;
class CModelProject;
class CTALVOProject;
class CZuData;

// Reads a model data text file (archive 0) or a binary archive holding one data object (archive
// set) into the project; the new data element, or null (an error 7052 that names the file is
// reported to the feedback).
CZuData* ReadModelDataText(CModelProject* project, const std::string& path, int archive,
                           CFeedback* feedback = SilentFeedback());
// The same from the text of a model data text file read already (CStdioFile::ReadAll); path names
// the file in messages.
CZuData* ReadModelDataFromText(CModelProject* project, const std::string& path, std::shared_ptr<const std::string> text,
                               CFeedback* feedback = SilentFeedback());
// One data object of a loading archive, named uniquely among the project's children and added to
// it; null for a storing archive. Archive errors pass on to the caller.
CZuData* ReadModelDataArchive(CModelProject* project, CArchive& ar);
// The model data object of a kind name (the table of model data kinds); null for another name and
// for the names that only name sections ("Exp. Target ERs", ...).
std::unique_ptr<CZuData> CreateModelDataByName(const std::string& name);

// Writes the Hybrid SEA model of the container's model project as text, followed by the source
// subsystems. The file is replaced only when everything was written. 1 on success; 0 without a
// Hybrid SEA model, or when the file cannot be written (a warning with the reason, or the error
// "Faild to export the HSEA model." when the model's own export fails).
int ExportHSEAModelText(CTALVOProject& container, const std::string& path, CFeedback* feedback = SilentFeedback());
