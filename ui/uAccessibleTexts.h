#pragma once

#include <QString>

class QWidget;
class TKartenlayout;

// What a screen reader hears about the card beyond the captions: the
// preview's name and the layout thumbnails. The texts live with the main
// window's, where the language files carry them.

// Registers the German defaults; safe to call again.
void RegisterAccessibleTexts();
QString AccessibleText(const QString &key);

// "Layout 3: Querformat, Text zentriert, ohne Logo": the number counts the
// layouts of the chooser from 1, the rest says how the front is arranged.
QString LayoutCaption(const TKartenlayout &layout, int number);

// For a control whose face says nothing, an arrow or a box of a pair: its
// hint, in whatever language the hint is shown, is also its name.
void NameByHint(QWidget *control, const QString &hint);
