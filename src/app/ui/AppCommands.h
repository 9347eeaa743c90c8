#pragma once
// The main-menu commands whose dialogs and windows this library holds, for the frame's registry.
class CCommandRegistry;

// Documents, views, language, help and the developer menu; projects and the model.
void RegisterAppCommands(CCommandRegistry& registry);
// The shortcut bar's and the project tree's aliases: each copies the text of the command it
// sends, so they are registered after every other library's commands.
void RegisterAliasCommands(CCommandRegistry& registry);

// The parts of RegisterAppCommands, one per source file.
void RegisterFileCommands(CCommandRegistry& registry);
void RegisterProjectCommands(CCommandRegistry& registry);
