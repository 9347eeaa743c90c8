#pragma once
// The project window's trees as one line of text, for comparing what a user sees before and after.
#include <string>

class CDockTreeWnd;

// "<tab>name[children...] ..." of every tree in tab order; with types, each name is followed by
// "(type)".
std::string DescribeTrees(CDockTreeWnd& trees, bool withTypes = false);
