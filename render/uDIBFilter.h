#pragma once

#include "render/uDIB.h"
#include "render/uPackedDIB.h"

#include <array>
#include <functional>

// A channel value of a colour: X rounded to the nearest integer (ties to
// even) and held to 0 ... 255.
quint8 ClampByte(float X);

using TColorTable = std::array<quint8, 256>;
// Called after every pixel row with the percentage done.
using TFilterProgress = std::function<void(int Percent)>;

// Passes every pixel of a 24-bit picture through one table per channel
// (blue, green and red, in the bitmap's byte order). False, with nothing
// changed, when the handle holds no 24-bit picture.
bool ApplyTables(TDIBHandle &H, const TColorTable &T1, const TColorTable &T2, const TColorTable &T3,
                 const TFilterProgress &Progress = {});
bool ApplyTable(TDIBHandle &H, const TColorTable &Table, const TFilterProgress &Progress = {});

// The table of the watermark copy: every channel moved 85 % of the way to white.
TColorTable WatermarkTable();
// Makes Watermark the faint copy of Logo that is printed behind the card texts.
void MakeWatermark(TDIB &Watermark, const TDIB &Logo);

// The faded copy of a logo, made when it is first drawn after the logo
// changed: most layouts show none, and a large logo's copy is as large.
class TWatermark
{
public:
    // The logo changed: its copy is dropped now and made anew when asked for.
    void Invalidate();
    const TDIB &Of(const TDIB &Logo) const;

private:
    mutable TDIB FPicture;
    mutable bool FStale = true;
};
