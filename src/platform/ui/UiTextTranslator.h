#pragma once
// Puts the windows' texts into the current language. Windows are made with their English texts;
// when a window is shown, and again when the language changes, the translator walks it and sets
// each text that the language's text table translates (TranslateText): window titles, labels,
// buttons, group titles, tabs, tool-box pages, dock titles, combo-box items, table and tree
// headings of item widgets, chart axis labels, tooltips, placeholders and the actions of menus and
// tool bars. The English text is kept on the widget, so switching back to English restores it.
class QAction;
class QCustomPlot;
class QWidget;

class CUiTextTranslator
{
public:
    // A widget whose own texts are data (names of projects or elements) carries this property set
    // to true: the translator leaves its texts as they are, in every language.
    static constexpr const char* kDataTexts = "orvexDataTexts";

    // Installs the translator for the application (once; later calls do nothing).
    static void Install();
    // Translates a widget and everything in it now.
    static void Translate(QWidget* widget);
    // Makes a chart show its axis labels in the language loaded each time it draws (once per chart;
    // a chart on the screen is made so when it is walked).
    static void Translate(QCustomPlot* plot);
    // Translates a menu's or tool bar's action now.
    static void Translate(QAction* action);
    // After a change of language: sends QEvent::LanguageChange to every window and everything in
    // it, then translates every top-level window. A widget that builds texts in code (from string
    // ids, formats or TranslateText) sets them anew in its changeEvent; an item model's headings
    // given in English and translated when drawn are drawn anew.
    static void TranslateAll();
};
