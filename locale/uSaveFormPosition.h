#pragma once

#include <QString>

class QWidget;

// A window's state and bounds kept in the settings under a section such as
// "Position": "WindowState" (0 normal, 1 minimised, 2 maximised) and "Left",
// "Top", "Width", "Height" in pixels.

// A maximised window stores only its state, so the bounds of its last normal
// state survive.
void SaveFormPosition(const QWidget *form, const QString &key);

// Whether bounds of the window are stored under the section.
bool FormPositionStored(const QString &key);

// Without stored bounds the window is 795 x 579, centred in the screen's work
// area. Otherwise the stored state is applied and, for a normal window, the
// stored bounds fitted onto the screen.
void LoadFormPosition(QWidget *form, const QString &key);
