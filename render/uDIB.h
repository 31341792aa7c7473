#pragma once

#include "render/uPackedDIB.h"

#include <QCache>
#include <QImage>
#include <QObject>
#include <QRect>
#include <QString>
#include <QStringList>

#include <memory>
#include <stdexcept>

class QPainter;
class TScaleCanvas;
class TVectorPicture;

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

// A logo picture: empty, or one packed bitmap it owns. A vector logo keeps
// its drawing beside a bitmap of it, which filters and turned cards use.
class TDIB : public QObject
{
    Q_OBJECT

public:
    TDIB();
    ~TDIB() override;

    // Replaces the picture with the file's (a bitmap picture or an SVG
    // document). Throws EDIBError with the text
    // "IDS_CANNOTREADPICT" when it cannot be read; the picture is then empty.
    void LoadFromFile(const QString &Name);
    // Becomes a copy of Source's picture and file name; the two share the
    // pixels until either changes them.
    void Assign(const TDIB &Source);
    // Takes over H (which may be empty); the file name is cleared.
    void SetHandle(TDIBHandle H);
    void Clear();
    // Converts the picture to 24 bits per pixel; sends no notification.
    void ConvertTo24Bit();
    // Draws the picture stretched into the millimetre rectangle.
    void Draw(TScaleCanvas &ACanvas, float Left, float Top, float Right, float Bottom) const;

    bool IsEmpty() const { return FPixels->Handle.IsEmpty(); }
    // Whether both hold the very same pixels (a copy not changed since).
    bool SharesPixelsWith(const TDIB &Other) const { return FPixels == Other.FPixels; }
    // Drawn from vectors rather than from its bitmap.
    bool IsVector() const { return FVector != nullptr; }
    int Width() const { return FHeader.biWidth; }
    int Height() const { return FHeader.biHeight; }
    const TBitmapInfoHeader &Header() const { return FHeader; }
    // The pixels may be changed in place (filters); a new picture goes
    // through SetHandle so that the header follows. Whoever may change them
    // drops the unpacked copies kept for drawing, and the vectors: the
    // changed pixels are the picture from then on.
    TDIBHandle &Handle();
    const TDIBHandle &Handle() const { return FPixels->Handle; }
    const QString &FileName() const { return FFileName; }
    // What a vector logo's file named that was left out (other files,
    // addresses, pictures beyond the bounds), as the file names it.
    QStringList LeftOut() const;
    // The sentence that tells the user what was left out; empty when nothing was.
    QString LeftOutText() const;
    // Whether the picture is the file's as it is now: read from it, its
    // pixels unchanged, and the file not changed on disk since.
    bool ShowsFile(const QString &Name) const;

    // Off, every drawing resamples the picture anew; for comparisons only.
    static void SetDrawCacheEnabled(bool enabled);
    static bool DrawCacheEnabled();

signals:
    // After every change of the picture.
    void PictureChanged();

private:
    // The picture as drawn at a device size, never enlarged: made once per
    // picture and size, not once per card of a sheet or per keystroke; equal
    // copies also let a PDF store the picture once.
    QImage DrawCopy(const QSize &onDevice, bool onPaper) const;
    QImage MakeDrawCopy(const QSize &size, bool onPaper) const;
    // The pixels become this picture's own before they are changed.
    void Detach();
    void DrawVectors(QPainter &painter, const QRect &target, const QSize &onDevice, bool onPaper) const;
    static void DrawStretched(QPainter &painter, const QRect &target, const QImage &picture, bool lossless);
    bool LoadVectors(const QString &Name);
    void FreeDrawCopies();
    void FreePicture();
    void ReadHeader();

    TBitmapInfoHeader FHeader;
    // The pixels and the copies drawn from them, shared by copies of the
    // picture until one of them changes its pixels: a back logo from the
    // front's file costs nothing, and its copies are made once for both.
    struct TPixels
    {
        TDIBHandle Handle;
        QCache<quint64, QImage> DrawCopies{64 * 1024}; // in kilobytes
        // A large picture reduced to what a screen shows, made once: the
        // copies for the preview and each thumbnail are taken from it rather
        // than from the whole picture each.
        TDIBHandle ScreenSize;
    };
    static std::shared_ptr<TPixels> MakePixels(TDIBHandle Handle);

    std::shared_ptr<TPixels> FPixels;
    QString FFileName;
    // The file's size and time of change when it was read; a stamp that
    // matches no file once the pixels were changed.
    struct TFileStamp
    {
        qint64 Size = -1;
        qint64 Modified = 0;
        bool operator==(const TFileStamp &) const = default;
    };
    static TFileStamp StampOf(const QString &Name);
    TFileStamp FFileStamp;
    // Whether the source kept every pixel (not JPEG or WebP): a PDF then
    // stores it without loss as well.
    bool FLossless = true;
    // Shared by copies: it is never changed once read.
    std::shared_ptr<TVectorPicture> FVector;
};
