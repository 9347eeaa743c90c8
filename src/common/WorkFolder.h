#pragma once
// The folder of a project file and its work folder (measurement files, error reports and exports
// of the project lie there).
#include <string>

class IProjectLookups;

// The folder part of a path, ending with the separator ("/data/car/" of "/data/car/a.orv");
// empty when the path has no folder part.
std::string DocumentFolderOf(const std::string& path);
// The work folder of a document folder: string 7046 formatted with it; empty for an empty folder.
std::string WorkFolderOf(const std::string& documentFolder);

// The folder of the document that holds the container; empty without a container or a path.
std::string GetDocumentFolder(const IProjectLookups* project);
// The work folder of that document; empty when the document folder is empty.
std::string GetWorkFolderPath(const IProjectLookups* project);
