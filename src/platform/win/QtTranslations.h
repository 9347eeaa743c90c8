#pragma once
// Qt's own texts (standard buttons, file choosers, context menus of text fields) in the language of
// the string table: Qt's translation of them is installed for Japanese and taken away for English.
// Without an application object, or where the system lacks Qt's translations, Qt's texts stay
// English.
#include <cstdint>

// True when Qt's texts are in the language now (English always is).
bool InstallQtTranslations(uint32_t languageId);
