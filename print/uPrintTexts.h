#pragma once

#include <QString>
#include <QVariantList>

// The printing texts live with the main window's texts, where the language
// files carry them.
inline constexpr char PrintTextSection[] = "TMaster";

// Registers the German defaults of the printing texts; safe to call again.
void RegisterPrintTexts();
QString PrintText(const QString &key);
QString FormatPrintText(const QString &key, const QVariantList &args);

// "entspricht %d Visitenkarten" for the number of sheets: ten cards on a
// standard sheet, five folding cards; empty for an unknown card type.
QString CardCountText(int kartentyp, int sheets);
