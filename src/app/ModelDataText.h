#pragma once
// The model data text files (".dmd", and the HSEA model text export read back) that fill the
// model project, and the binary model data archives.
#include <string>

class CArchive;
class CModelProject;
class CTALVOProject;
class CZuData;

// Reads a model data text file (archive 0) or a binary archive holding one data object (archive
// set) into the project; the new data element, or null (a message says why).
CZuData* ReadModelDataText(CModelProject* project, const std::string& path, int archive);
// One data object of an archive, named uniquely among the project's children and added to it.
CZuData* ReadModelDataArchive(CModelProject* project, CArchive& ar);
// The model data object of a kind name (the table of model data kinds); null for another name.
CZuData* CreateModelDataByName(const std::string& name);
