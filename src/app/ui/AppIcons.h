#pragma once
// The program's own icon set (resources/icons): one look for the toolbar, the shortcut bar and the
// element kinds of the project tree.
#include <QIcon>

class CMElement;

// The icon of that name ("new", "project-daq", ...); an empty icon for an unknown name.
QIcon AppIcon(const char* name);
// The name of the tree's icon of an element: by its class (the nearest class of its line that has
// an icon of its own), for general function tables by the result kind their type code names, else
// a folder for an element with children and a data sheet for a leaf.
const char* ElementIconName(const CMElement* element, bool hasChildren);
QIcon ElementIcon(const CMElement* element, bool hasChildren);
