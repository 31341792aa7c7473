#pragma once

#include "render/uPackedDIB.h"

#include <QImage>
#include <QObject>
#include <QString>
#include <QStringList>

#include <stdexcept>

class TScaleCanvas;

// A picture file that could not be read; the message is the user's text.
class EDIBError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// The file name suffixes of the picture files LoadFromFile reads, lower case.
QStringList LogoFileSuffixes();

// Registers the unit's German default texts with the localizer.
void RegisterDIBTexts();

// A logo picture: empty, or one packed bitmap it owns.
class TDIB : public QObject
{
    Q_OBJECT

public:
    TDIB() = default;

    // Replaces the picture with the file's. Throws EDIBError with the text
    // "IDS_CANNOTREADPICT" when it cannot be read; the picture is then empty.
    void LoadFromFile(const QString &Name);
    // Becomes an independent copy of Source's picture and file name.
    void Assign(const TDIB &Source);
    // Takes over H (which may be empty); the file name is cleared.
    void SetHandle(TDIBHandle H);
    void Clear();
    // Converts the picture to 24 bits per pixel; sends no notification.
    void ConvertTo24Bit();
    // Draws the picture stretched into the millimetre rectangle.
    void Draw(TScaleCanvas &ACanvas, float Left, float Top, float Right, float Bottom) const;

    bool IsEmpty() const { return FHandle.IsEmpty(); }
    int Width() const { return FHeader.biWidth; }
    int Height() const { return FHeader.biHeight; }
    const TBitmapInfoHeader &Header() const { return FHeader; }
    // The pixels may be changed in place (filters); a new picture goes
    // through SetHandle so that the header follows. Whoever may change them
    // drops the unpacked copies kept for drawing.
    TDIBHandle &Handle()
    {
        FreeDrawCopies();
        return FHandle;
    }
    const TDIBHandle &Handle() const { return FHandle; }
    const QString &FileName() const { return FFileName; }

    // Off, every drawing unpacks (and for a printer resamples) the picture
    // anew; for comparisons only.
    static void SetDrawCacheEnabled(bool enabled);
    static bool DrawCacheEnabled();

signals:
    // After every change of the picture.
    void PictureChanged();

private:
    // The picture as drawn at a size: unpacked once per picture and size,
    // not once per card of a sheet; equal copies also let a PDF store the
    // picture once.
    const QImage &DrawCopy(int width, int height, bool resampled) const;
    void FreeDrawCopies();
    void FreePicture();
    void ReadHeader();

    TBitmapInfoHeader FHeader;
    TDIBHandle FHandle;
    QString FFileName;
    // Whether the source kept every pixel (not JPEG or WebP): a PDF then
    // stores it without loss as well.
    bool FLossless = true;
    mutable QImage FUnpacked;
    mutable QImage FResampled;
};
