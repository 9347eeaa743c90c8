#pragma once
// The folder of the open project file and its work folder (measurement files, error reports and
// exports of the project lie there).
#include <functional>
#include <string>

// The application tells where its main document lives; the provider returns the document's path
// (empty while it has none).
void SetMainDocumentPathProvider(std::function<std::string()> provider);

// The folder part of a path, ending with the separator ("/data/car/" of "/data/car/a.orv");
// empty when the path has no folder part.
std::string DocumentFolderOf(const std::string& path);
// The work folder of a document folder: string 7046 formatted with it; empty for an empty folder.
std::string WorkFolderOf(const std::string& documentFolder);

// The folder of the main document; empty when it has no path yet.
std::string GetDocumentFolder();
// The work folder of the main document; empty when the document folder is empty.
std::string GetWorkFolderPath();
