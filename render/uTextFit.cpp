#include "render/uTextFit.h"

#include "locale/ulocalize.h"
#include "model/uBogenlayout.h"
#include "model/uCardQRCode.h"
#include "model/uDocument.h"
#include "model/uFigure.h"
#include "model/uKartenlayout.h"
#include "render/uDefaultView.h"
#include "render/uQRCode.h"
#include "render/uScaleCanvasHelp.h"
#include "render/uScaler.h"
#include "render/uTextMetrics.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace {

// Less than this is rounding, not a line out of place.
constexpr float Tolerance = 0.05f; // mm

QFont FontOf(const TFigureFont &font)
{
    QFont result(font.Name);
    result.setPointSize(std::max(1, font.Size));
    result.setBold(font.Bold);
    result.setItalic(font.Italic);
    result.setUnderline(font.Underline);
    return result;
}

// Where a face's main figures sit on the card: a folding card shows them on
// its second half.
TSinglePoint MainFaceOrigin(const TDocument &doc, const TKartenlayout &layout)
{
    if (doc.Kartentyp() != TDocument::Klappkarte)
        return {0, 0};
    const float half = doc.Bogenlayout().CardWidth / 2;
    if (IsLayoutRotated(layout, doc.Bogenlayout()))
        return {0, half};
    return {half, 0};
}

// The ink of one drawn line, for the test against the other figures.
struct TInk
{
    int Fit;
    int Line;
    TSingleRect Rect;
};

TSingleRect Moved(const TSingleRect &r, const TSinglePoint &by)
{
    return {r.Left + by.X, r.Top + by.Y, r.Right + by.X, r.Bottom + by.Y};
}

// A face laid out with the document's data, the code left aside.
struct TLaidOutFace
{
    QList<TTextFit> Fits;
    // Per fit, whether each line is lost.
    QList<QList<bool>> Overflowing;
    QList<QStringList> Texts;
    QList<TInk> Inks;
    std::vector<TSingleRect> Logos;
    // Where the face's main figures and its code sit on the card.
    TSinglePoint MainOrigin;
};

TLaidOutFace LayOutFace(const TDocument &doc, const TKartenlayout &layout, bool back)
{
    const TCardFormat format = doc.CardFormat();
    const TSinglePoint scale = LayoutScale(layout, format.Sheet, format.Folding);
    // One face of the card: the card, or a folding card's half.
    const TSinglePoint face = CardFace(layout, format.Sheet, format.Folding);

    struct TList
    {
        const TFigureList *Figures;
        TSinglePoint Origin;
    };
    TLaidOutFace result;
    result.MainOrigin = MainFaceOrigin(doc, layout);
    std::vector<TList> lists{{back ? &layout.BackElements : &layout.Elements, result.MainOrigin}};
    if (format.Folding)
        lists.push_back({back ? &layout.BackKlappElements : &layout.KlappElements, {0, 0}});

    for (const TList &list : lists) {
        for (int i = 0; i < list.Figures->Count(); ++i) {
            const TFigure &item = list.Figures->Items(i);
            if (const auto *picture = dynamic_cast<const TPictureFigure *>(&item)) {
                // A watermark lies under the text by design.
                if (!picture->Watermark)
                    if (const auto logo = LogoArea(doc, back, *picture, scale))
                        result.Logos.push_back(Moved(*logo, list.Origin));
                continue;
            }
            const auto *figure = dynamic_cast<const TTextFigure *>(&item);
            if (!figure)
                continue;
            const TTextFigureSetup setup = SetUpTextFigure(doc, layout, *figure, scale);
            const auto font = TMeasuringFont::For(setup.Font);
            const float points = float(setup.Font.pointSizeF());
            const TTextBoxLayout box = LayOutTextBox(*font, setup.Lines, setup.Left, setup.Top, setup.Right,
                                                     setup.Bottom, setup.HAlign, setup.VAlign,
                                                     DrawnPointSize(points) / points);
            TTextFit &fit = result.Fits.emplace_back();
            fit.Figure = figure;
            fit.Back = back;
            fit.Box = Moved({figure->Left * scale.X, figure->Top * scale.Y, figure->Right * scale.X,
                             figure->Bottom * scale.Y},
                            list.Origin);
            QList<bool> &lost = result.Overflowing.emplace_back(box.Lines.size(), false);
            QStringList &lineTexts = result.Texts.emplace_back();
            for (int n = 0; n < box.Lines.size(); ++n) {
                const TBoxLine &line = box.Lines[n];
                lineTexts.append(line.Text);
                if (line.Text.isEmpty())
                    continue;
                if (!line.Drawn) {
                    fit.Dropped.append(line.Text);
                    continue;
                }
                if (line.InkTop > line.InkBottom)
                    continue;
                // Beyond its box into free room a line still prints whole;
                // ink beyond the face is cut at the perforation or the fold.
                const TSingleRect ink{line.InkLeft, line.InkTop, line.InkRight, line.InkBottom};
                lost[n] = ink.Left < -Tolerance || ink.Right > face.X + Tolerance || ink.Top < -Tolerance ||
                          ink.Bottom > face.Y + Tolerance;
                result.Inks.append({int(result.Fits.size() - 1), n, Moved(ink, list.Origin)});
            }
        }
    }
    return result;
}

void FitSide(const TDocument &doc, const TKartenlayout &layout, bool back, QList<TTextFit> &result)
{
    TLaidOutFace face = LayOutFace(doc, layout, back);
    std::vector<TSingleRect> obstacles = face.Logos;
    if (doc.QRCode().Anzeigen)
        if (const auto code = PlaceQRCode(doc, DocumentQRCode(doc), doc.CardFormat(), layout); code && code->Back == back)
            obstacles.push_back(Moved(code->Area, face.MainOrigin));
    const QList<TInk> &inks = face.Inks;
    QList<QList<bool>> &overflowing = face.Overflowing;

    // Lines of two figures printed over each other are lost to both; a
    // line under or over a logo or the code is lost.
    for (qsizetype a = 0; a < inks.size(); ++a) {
        for (qsizetype b = a + 1; b < inks.size(); ++b)
            if (inks[a].Fit != inks[b].Fit && Overlap(inks[a].Rect, inks[b].Rect, Tolerance)) {
                overflowing[inks[a].Fit][inks[a].Line] = true;
                overflowing[inks[b].Fit][inks[b].Line] = true;
            }
        for (const TSingleRect &obstacle : obstacles)
            if (Overlap(inks[a].Rect, obstacle, Tolerance))
                overflowing[inks[a].Fit][inks[a].Line] = true;
    }

    for (qsizetype f = 0; f < face.Fits.size(); ++f) {
        TTextFit &fit = face.Fits[f];
        for (qsizetype n = 0; n < overflowing[f].size(); ++n)
            if (overflowing[f][n])
                fit.Overflowing.append(face.Texts[f][n]);
        if (!fit.Overflowing.isEmpty() || !fit.Dropped.isEmpty())
            result.append(fit);
    }
}

bool HasPicture(const TFigureList &list)
{
    for (int i = 0; i < list.Count(); ++i)
        if (dynamic_cast<const TPictureFigure *>(&list.Items(i)))
            return true;
    return false;
}

QString ListLines(const QStringList &lines)
{
    return lines.join(QStringLiteral(", "));
}

} // namespace

TTextFigureSetup SetUpTextFigure(const TDocument &ADoc, const TKartenlayout &ALayout, const TTextFigure &F,
                                 const TSinglePoint &Scale)
{
    TTextFigureSetup setup;
    setup.Font = FontOf(F.Font);
    // The user's face with the template's size and style.
    if (!ADoc.Fontname.isEmpty())
        setup.Font.setFamily(ADoc.Fontname);
    ADoc.GetFieldTexts(F.DataFields, setup.Lines);
    setup.Left = F.Left * Scale.X;
    setup.Top = F.Top * Scale.Y;
    setup.Right = F.Right * Scale.X;
    setup.Bottom = F.Bottom * Scale.Y;
    setup.HAlign = F.HAlign;
    setup.VAlign = F.VAlign;

    if (F.ScaleDownToBox) {
        // Only the widest line counts, never the height.
        while (setup.Font.pointSize() > 1) {
            const auto font = TMeasuringFont::For(setup.Font);
            int widest = 0;
            for (const QString &line : std::as_const(setup.Lines))
                widest = std::max(widest, font->TextWidth(line));
            if (UnitsToMM(widest, MeasureResolution) <= setup.Right - setup.Left)
                break;
            setup.Font.setPointSize(setup.Font.pointSize() - 1);
        }
    }

    if (ADoc.TextZentrierenRueckseite && ALayout.BackElements.IndexOf(&F) >= 0) {
        // Back texts centred on the whole card, both ways.
        setup.Left = 0;
        setup.Right = ALayout.DesignWidth * Scale.X;
        setup.HAlign = 1;
        setup.Top = 0;
        setup.Bottom = ALayout.DesignHeight * Scale.Y;
        setup.VAlign = 1;
    }
    return setup;
}

std::vector<TSingleRect> FaceInk(const TDocument &ADoc, const TKartenlayout &ALayout, bool Back)
{
    const TLaidOutFace face = LayOutFace(ADoc, ALayout, Back);
    const TSinglePoint toFace{-face.MainOrigin.X, -face.MainOrigin.Y};
    std::vector<TSingleRect> ink;
    for (const TInk &line : face.Inks)
        ink.push_back(Moved(line.Rect, toFace));
    for (const TSingleRect &logo : face.Logos)
        ink.push_back(Moved(logo, toFace));
    return ink;
}

QList<TTextFit> FitCard(const TDocument &ADoc, const TKartenlayout &ALayout)
{
    QList<TTextFit> fits;
    FitSide(ADoc, ALayout, false, fits);
    if (ADoc.MitRueckseite())
        FitSide(ADoc, ALayout, true, fits);
    return fits;
}

bool LayoutDropsLogo(const TDocument &ADoc, const TKartenlayout &ALayout, bool Back)
{
    const bool hasLogo = Back ? ADoc.MitRueckseite() && !ADoc.LogoRueckseite.IsEmpty() : !ADoc.Logo.IsEmpty();
    if (!hasLogo)
        return false;
    if (HasPicture(Back ? ALayout.BackElements : ALayout.Elements))
        return false;
    return ADoc.Kartentyp() != TDocument::Klappkarte ||
           !HasPicture(Back ? ALayout.BackKlappElements : ALayout.KlappElements);
}

void RegisterTextFitTexts()
{
    RegisterDefaultText(QStringLiteral("ID_ZEILEPASSTNICHT"), QStringLiteral("1 Zeile passt nicht: %s"));
    RegisterDefaultText(QStringLiteral("ID_ZEILENPASSENNICHT"), QStringLiteral("%d Zeilen passen nicht: %s"));
    RegisterDefaultText(QStringLiteral("ID_ZEILENFEHLENIMDRUCK"),
                        QString::fromUtf8("Diese Zeilen passen nicht auf die Karte und fehlen im Druck oder "
                                          "überdecken anderen Text, das Logo oder den QR-Code: %s"));
    RegisterDefaultText(QStringLiteral("ID_LAYOUTOHNELOGO"),
                        QString::fromUtf8("Dieses Layout zeigt kein Logo: das Logo wird nicht gedruckt."));
    RegisterDefaultText(QStringLiteral("ID_LAYOUTOHNELOGORUECKSEITE"),
                        QString::fromUtf8("Dieses Layout zeigt auf der Rückseite kein Logo: das Logo der "
                                          "Rückseite wird nicht gedruckt."));
}

QString TextFitTip(const TTextFit &Fit)
{
    RegisterTextFitTexts();
    const QStringList lost = Fit.Lost();
    if (lost.size() == 1)
        return FormatDefaultText(QStringLiteral("ID_ZEILEPASSTNICHT"), {lost.front()});
    return FormatDefaultText(QStringLiteral("ID_ZEILENPASSENNICHT"), {int(lost.size()), ListLines(lost)});
}

QString DroppedLogoTip(bool Back)
{
    RegisterTextFitTexts();
    return GetDefaultText(Back ? QStringLiteral("ID_LAYOUTOHNELOGORUECKSEITE") : QStringLiteral("ID_LAYOUTOHNELOGO"));
}

QString CardFitSentence(const TDocument &ADoc, const TKartenlayout &ALayout)
{
    RegisterTextFitTexts();
    QStringList sentences;
    QStringList lost;
    for (const TTextFit &fit : FitCard(ADoc, ALayout))
        lost += fit.Lost();
    if (!lost.isEmpty())
        sentences.append(FormatDefaultText(QStringLiteral("ID_ZEILENFEHLENIMDRUCK"), {ListLines(lost)}));
    for (const bool back : {false, true})
        if (LayoutDropsLogo(ADoc, ALayout, back))
            sentences.append(DroppedLogoTip(back));
    if (ADoc.QRCode().Anzeigen) {
        RegisterQRCodeTexts();
        if (const TQRCodeProblem problem = QRCodeProblem(ADoc, DocumentQRCode(ADoc), ALayout); LeavesQRCodeOff(problem))
            sentences.append(QRCodeProblemText(problem));
    }
    return sentences.join(QLatin1Char(' '));
}
