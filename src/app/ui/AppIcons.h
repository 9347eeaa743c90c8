#pragma once
// The program's own icon set (resources/icons): one look for the toolbar, the shortcut bar and the
// element kinds of the project tree.
#include <QIcon>

class CMElement;

// The icon of that name ("new", "project-daq", ...); an empty icon for an unknown name.
QIcon AppIcon(const char* name);
// The tree's icon of an element: its project kind for a project, a folder for an element with
// children, a data sheet otherwise.
QIcon ElementIcon(const CMElement* element, bool hasChildren);
