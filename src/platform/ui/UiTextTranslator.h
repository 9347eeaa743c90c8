#pragma once
// Puts the windows' texts into the current language. Windows are made with their English texts;
// when a window is shown, and again when the language changes, the translator walks it and sets
// each text that the language's text table translates (TranslateText): window titles, labels,
// buttons, group titles, tabs, tool-box pages, dock titles, combo-box items, table and tree
// headings of item widgets, tooltips, placeholders and the actions of menus and tool bars. The
// English text is kept on the widget, so switching back to English restores it.
class QAction;
class QWidget;

class CUiTextTranslator
{
public:
    // Installs the translator for the application (once; later calls do nothing).
    static void Install();
    // Translates a widget and everything in it now.
    static void Translate(QWidget* widget);
    // Translates a menu's or tool bar's action now.
    static void Translate(QAction* action);
    // After a change of language: sends QEvent::LanguageChange to every window and everything in
    // it, then translates every top-level window. A widget that builds texts in code (from string
    // ids, formats or TranslateText) sets them anew in its changeEvent; an item model's headings
    // given in English and translated when drawn are drawn anew.
    static void TranslateAll();
};
