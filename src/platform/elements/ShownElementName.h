#pragma once
// The name of an element as a window shows it. The program names many elements itself ("Channel
// Levels [Roof]", "DataSet1", "Result #7"); those names are stored in the project file and looked up
// by their text, so they stay English in every language. A window shows them in the language
// loaded: a stored name that matches one of the program's own names or name formats is shown with
// the text table's translation of that name or format (TranslateText), with the format's values
// put back in as stored. Every other name (what the user typed, what came from a model or a file)
// is shown as stored.
#include <string>

// The stored name as shown in the language loaded; the name itself where it is none of ours or the
// language has no translation of it.
std::string ShownElementName(const std::string& stored);
// The stored name an edited label means: the stored name itself when the label is what
// ShownElementName shows for it (the user left it as it was), else the label as typed.
std::string StoredNameOfLabel(const std::string& stored, const std::string& label);
