#pragma once
// The prompt service of the running program: Qt message boxes and file and folder choosers over
// the active window.
#include "platform/win/PromptService.h"

#include <string>

class QString;

// What a title bar holds beside its caption (icon, close, minimise and maximise buttons, margins):
// a message box is at least its caption's width plus this wide.
inline constexpr int kTitleBarFurniture = 160;

// Set on the file chooser (object name "FileChooser") once its columns fit the folder it shows.
inline constexpr const char* kChooserColumnsFitted = "orvexColumnsFitted";

class CQtPromptService : public IPromptService
{
public:
    PromptAnswer Ask(const PromptRecord& request) override;

    // "Text Files (*.txt)|*.txt|All Files (*.*)|*.*||" -> "Text Files (*.txt) (*.txt);;All Files (*.*) (*)"
    static std::string ToQtFilter(const std::string& filter);
};

// Installs the Qt prompt service, the wait cursor and the system clipboard. Called once by the
// program after the application object exists.
void InstallQtPlatformServices();
// Restores the core defaults (before the application object goes).
void RemoveQtPlatformServices();
