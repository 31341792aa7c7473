#include "render/uTextFit.h"

#include "locale/ulocalize.h"
#include "model/uBogenlayout.h"
#include "model/uDocument.h"
#include "model/uFigure.h"
#include "model/uKartenlayout.h"
#include "render/uScaleCanvasHelp.h"
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

bool Overlap(const TSingleRect &a, const TSingleRect &b)
{
    return std::min(a.Right, b.Right) - std::max(a.Left, b.Left) > Tolerance &&
           std::min(a.Bottom, b.Bottom) - std::max(a.Top, b.Top) > Tolerance;
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

// One drawn line of a figure, for the test against other figures' lines.
struct TInk
{
    int Fit;
    int Line;
    TSingleRect Rect;
};

void FitSide(const TDocument &doc, const TKartenlayout &layout, bool back, QList<TTextFit> &result)
{
    const bool folding = doc.Kartentyp() == TDocument::Klappkarte;
    const TSinglePoint scale = LayoutScale(layout, doc.Bogenlayout(), folding);
    // One face of the card: the card, or a folding card's half.
    const TSinglePoint face{layout.DesignWidth * scale.X, layout.DesignHeight * scale.Y};

    struct TList
    {
        const TFigureList *Figures;
        TSinglePoint Origin;
    };
    std::vector<TList> lists{{back ? &layout.BackElements : &layout.Elements, MainFaceOrigin(doc, layout)}};
    if (folding)
        lists.push_back({back ? &layout.BackKlappElements : &layout.KlappElements, {0, 0}});

    QList<TTextFit> fits;
    // Per fit, whether each line is lost.
    QList<QList<bool>> overflowing;
    QList<QStringList> texts;
    QList<TInk> inks;
    for (const TList &list : lists) {
        for (int i = 0; i < list.Figures->Count(); ++i) {
            const auto *figure = dynamic_cast<const TTextFigure *>(&list.Figures->Items(i));
            if (!figure)
                continue;
            const TTextFigureSetup setup = SetUpTextFigure(doc, layout, *figure, scale);
            const auto font = TMeasuringFont::For(setup.Font);
            const TTextBoxLayout box = LayOutTextBox(*font, setup.Lines, setup.Left, setup.Top, setup.Right,
                                                     setup.Bottom, setup.HAlign, setup.VAlign);
            TTextFit &fit = fits.emplace_back();
            fit.Figure = figure;
            fit.Back = back;
            const float dx = list.Origin.X;
            const float dy = list.Origin.Y;
            fit.Box = {figure->Left * scale.X + dx, figure->Top * scale.Y + dy, figure->Right * scale.X + dx,
                       figure->Bottom * scale.Y + dy};
            QList<bool> &lost = overflowing.emplace_back(box.Lines.size(), false);
            QStringList &lineTexts = texts.emplace_back();
            for (int n = 0; n < box.Lines.size(); ++n) {
                const TBoxLine &line = box.Lines[n];
                lineTexts.append(line.Text);
                if (line.Text.isEmpty())
                    continue;
                if (!line.Drawn) {
                    fit.Dropped.append(line.Text);
                    continue;
                }
                // Beyond its box into free room a line still prints whole;
                // beyond the face it is cut at the perforation or the fold.
                const float bottom = line.Y + box.LineHeight;
                lost[n] = line.InkLeft < -Tolerance || line.InkRight > face.X + Tolerance || line.Y < -Tolerance ||
                          bottom > face.Y + Tolerance;
                inks.append({int(fits.size() - 1), n, {line.InkLeft + dx, line.Y + dy, line.InkRight + dx, bottom + dy}});
            }
        }
    }

    // Lines of two figures printed over each other are lost to both.
    for (qsizetype a = 0; a < inks.size(); ++a)
        for (qsizetype b = a + 1; b < inks.size(); ++b)
            if (inks[a].Fit != inks[b].Fit && Overlap(inks[a].Rect, inks[b].Rect)) {
                overflowing[inks[a].Fit][inks[a].Line] = true;
                overflowing[inks[b].Fit][inks[b].Line] = true;
            }

    for (qsizetype f = 0; f < fits.size(); ++f) {
        TTextFit &fit = fits[f];
        for (qsizetype n = 0; n < overflowing[f].size(); ++n)
            if (overflowing[f][n])
                fit.Overflowing.append(texts[f][n]);
        if (!fit.Overflowing.isEmpty() || !fit.Dropped.isEmpty())
            result.append(fit);
    }
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
        // Back texts centred over the whole card height.
        setup.Top = 0;
        setup.Bottom = ALayout.DesignHeight * Scale.Y;
        setup.VAlign = 1;
    }
    return setup;
}

QList<TTextFit> FitCard(const TDocument &ADoc, const TKartenlayout &ALayout)
{
    QList<TTextFit> fits;
    FitSide(ADoc, ALayout, false, fits);
    if (ADoc.MitRueckseite())
        FitSide(ADoc, ALayout, true, fits);
    return fits;
}

void RegisterTextFitTexts()
{
    RegisterDefaultText(QStringLiteral("ID_ZEILEPASSTNICHT"), QStringLiteral("1 Zeile passt nicht: %s"));
    RegisterDefaultText(QStringLiteral("ID_ZEILENPASSENNICHT"), QStringLiteral("%d Zeilen passen nicht: %s"));
    RegisterDefaultText(QStringLiteral("ID_ZEILENFEHLENIMDRUCK"),
                        QString::fromUtf8("Diese Zeilen passen nicht auf die Karte und fehlen im Druck oder "
                                          "überdecken anderen Text: %s"));
}

QString TextFitTip(const TTextFit &Fit)
{
    RegisterTextFitTexts();
    const QStringList lost = Fit.Lost();
    if (lost.size() == 1)
        return FormatDefaultText(QStringLiteral("ID_ZEILEPASSTNICHT"), {lost.front()});
    return FormatDefaultText(QStringLiteral("ID_ZEILENPASSENNICHT"), {int(lost.size()), ListLines(lost)});
}

QString LostLinesSentence(const QList<TTextFit> &Fits)
{
    QStringList lost;
    for (const TTextFit &fit : Fits)
        lost += fit.Lost();
    if (lost.isEmpty())
        return {};
    RegisterTextFitTexts();
    return FormatDefaultText(QStringLiteral("ID_ZEILENFEHLENIMDRUCK"), {ListLines(lost)});
}
