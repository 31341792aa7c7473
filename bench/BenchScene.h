#pragma once

#include "render/uTextFit.h"

#include <QImage>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

class TDocument;
class TMainView;
class TMMWindow;

// What the user looks at while typing: the sample card of a first start with
// a 600 x 300 logo on both sides, two-sided, on a layout that shows the logo.
// Settings and files live in a private folder for the whole run.
class TBenchScene
{
public:
    static constexpr int PreviewWidth = 1000;
    static constexpr int PreviewHeight = 700;
    static constexpr int ThumbnailSide = 145;

    TBenchScene();
    ~TBenchScene();
    TBenchScene(const TBenchScene &) = delete;
    TBenchScene &operator=(const TBenchScene &) = delete;

    TDocument &Document() { return *FDocument; }
    const QString &Folder() const { return FFolder; }
    // The card saved as a card-data file, logo included.
    const QString &CardFile() const { return FCardFile; }

    // A two-sided card of layout 100 with a 6000 x 4000 JPEG photo as logo
    // on both sides, written on first use.
    QString PhotoCardFile();
    // The photo of that card.
    QString PhotoFile();

    // One typed character: the name changes, preview and thumbnails redraw.
    void Keystroke();
    // Front and back at fit zoom, as the preview window paints them.
    const QImage &DrawPreview();
    // One layout's thumbnail, as the layout grid paints it.
    QImage DrawThumbnail(int layout) const;

private:
    QString FFolder;
    QString FCardFile;
    std::unique_ptr<TDocument> FDocument;
    std::unique_ptr<TMainView> FView;
    std::unique_ptr<TMMWindow> FPreview;
    QImage FPreviewImage;
    QList<TTextFit> FFits;
    QString FName;
    int FKeystrokes = 0;
};

// Points HOME and the XDG folders at Folder, so that nothing of the real
// user's settings is read or written; call before the application exists.
void UsePrivateHome(const QString &Folder);
