#pragma once

#include <QColor>

// The colour halfway between A and B (each channel averaged, rounded down);
// palette colours are taken as their RGB values.
QColor MixColors(const QColor &A, const QColor &B);
