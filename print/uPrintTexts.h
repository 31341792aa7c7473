#pragma once

#include <QString>
#include <QVariantList>

class TBogenlayout;

// The printing texts live with the main window's texts, where the language
// files carry them.
inline constexpr char PrintTextSection[] = "TMaster";

// Registers the German defaults of the printing texts; safe to call again.
void RegisterPrintTexts();
QString PrintText(const QString &key);
QString FormatPrintText(const QString &key, const QVariantList &args);

// "entspricht %d Visitenkarten": the sheets times the cards of one sheet.
QString CardCountText(const TBogenlayout &sheet, int sheets);
