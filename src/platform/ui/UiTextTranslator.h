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
    // Translates every top-level window (after a change of language).
    static void TranslateAll();
};
