#pragma once
// The sensor catalogue as one tab-separated text file (".dat"): a "#@" title block, then the
// sections "[Sensor List]", "[Sensor Bundle]" and "[Sensor Grouping]" (layout in
// docs/file-formats.md).
#include <string>

#include "platform/base/Feedback.h"

class CSensorProject;

// Writes the whole catalogue; 1 on success, 0 when the file cannot be written (the previous file
// then stays as it was).
int WriteSensorListFile(const CSensorProject& project, const std::string& path, const std::string& title);

// Reads a catalogue file into project, replacing its sensors, bundles and groups; the text after
// "#@" is returned in title. 1 when every section was read. A file that cannot be read, is cut short
// or lacks a section gives 0 and leaves the catalogue (and title) as they were. Sensors the file
// lists twice are reported in one warning through the feedback.
int ReadSensorListFile(CSensorProject& project, const std::string& path, std::string& title,
                       CFeedback* feedback = SilentFeedback());

// Empties the three sensor categories and deletes every bundle and group.
void ClearSensorProject(CSensorProject& project);
