#include "render/uScaleCanvasHelp.h"

#include "render/uTextMetrics.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace {

// Leading and trailing blanks and control characters go.
QStringView TrimLine(QStringView line)
{
    qsizetype begin = 0;
    qsizetype end = line.size();
    while (begin < end && line[begin].unicode() <= ' ')
        ++begin;
    while (end > begin && line[end - 1].unicode() <= ' ')
        --end;
    return line.sliced(begin, end - begin);
}

float Sum(const TSingleArray &Values)
{
    float sum = 0;
    for (float value : Values)
        sum += value;
    return sum;
}

} // namespace

float UnitsToMM(int N, float Resolution)
{
    return static_cast<float>(N * 25.4L / Resolution);
}

TSinglePoint MeasureLines(TScaleCanvas &Canvas, const QStringList &Lines)
{
    const auto font = TMeasuringFont::For(Canvas.GetFont());
    int widest = 0;
    for (const QString &line : Lines)
        widest = std::max(widest, font->TextWidth(line));
    const float lineHeight = UnitsToMM(font->LineHeight(), MeasureResolution);
    return {UnitsToMM(widest, MeasureResolution), static_cast<float>(Lines.size() * lineHeight)};
}

TSinglePoint MeasureText(TScaleCanvas &Canvas, const QString &Text)
{
    return MeasureLines(Canvas, QStringList{Text});
}

float TextWidthMM(TScaleCanvas &Canvas, const QStringList &Lines)
{
    return MeasureLines(Canvas, Lines).X;
}

TSingleArray GetCharWidthsMM(TScaleCanvas &Canvas, const QString &Text)
{
    const auto font = TMeasuringFont::For(Canvas.GetFont());
    TSingleArray widths;
    TCharWidths first;
    TCharWidths last;
    for (qsizetype i = 0; i < Text.size(); i += CharacterLength(Text, i)) {
        last = font->CharWidths(QStringView(Text).sliced(i));
        if (i == 0)
            first = last;
        widths.append(UnitsToMM(last.Advance, MeasureResolution));
    }
    if (!widths.isEmpty()) {
        widths.front() -= UnitsToMM(first.A, MeasureResolution);
        widths.back() -= UnitsToMM(last.C, MeasureResolution);
    }
    return widths;
}

TIntegerArray WidthsToAdvances(const TScaleCanvas &Canvas, const TSingleArray &Widths)
{
    TIntegerArray advances;
    if (Widths.isEmpty())
        return advances;
    advances.reserve(Widths.size());
    advances.append(Canvas.MMToLength(Widths[0]));
    float posMM = Widths[0];
    int posDevice = advances[0];
    for (qsizetype i = 1; i < Widths.size(); ++i) {
        const int advance = Canvas.MMToLength(posMM + Widths[i]) - posDevice;
        advances.append(advance);
        posMM += Widths[i];
        posDevice += advance;
    }
    return advances;
}

bool TextOutWidths(TScaleCanvas &Canvas, float X, float Y, const std::optional<TSingleRect> &Clip,
                   const QString &Text, const TSingleArray &Widths)
{
    if (Text.isEmpty())
        return true;
    const int height = std::abs(Canvas.DeviceFontHeight());
    const auto pointSize = std::nearbyintl(static_cast<long double>(height) * 72 / Canvas.DeviceFontPPI());
    if (pointSize >= 2) {
        std::optional<QRect> clip;
        if (Clip)
            clip = Canvas.MMRectToDevice(*Clip);
        return Canvas.DeviceTextOut(QPoint(Canvas.MMToX(X), Canvas.MMToY(Y)), Text, WidthsToAdvances(Canvas, Widths),
                                    -Canvas.FontEscapement() / 10.0f, clip);
    }
    // Too small to read: a bar shows where the text is.
    Canvas.SetBrush(QBrush(QColor(0xC0, 0xC0, 0xC0), Qt::SolidPattern));
    Canvas.FillRect(X, Y, X + Sum(Widths), Y + Canvas.LengthToMM(height));
    return true;
}

TTextBoxLayout LayOutTextBox(const TMeasuringFont &Font, const QStringList &Lines, float Left, float Top, float Right,
                             float Bottom, int HAlign, int VAlign, float InkScale)
{
    TTextBoxLayout layout;
    layout.LineHeight = UnitsToMM(Font.LineHeight(), MeasureResolution);
    const long double blockHeight = static_cast<long double>(Lines.size()) * layout.LineHeight;

    float y = Top;
    if (VAlign == 1)
        y = static_cast<float>(Top + ((Bottom - Top) - blockHeight) / 2);
    else if (VAlign == 2)
        y = static_cast<float>(Bottom - blockHeight);
    y = std::max(y, Top);

    layout.Lines.reserve(Lines.size());
    bool dropping = false;
    for (const QString &entry : Lines) {
        TBoxLine &line = layout.Lines.emplace_back();
        const QStringView text = TrimLine(entry);
        line.Text = text.toString();
        if (dropping)
            continue;
        line.Drawn = true;
        line.Y = y;
        if (!text.isEmpty()) {
            int total = 0;
            TCharWidths first;
            TCharWidths last;
            int inkTop = std::numeric_limits<int>::max();
            int inkBottom = std::numeric_limits<int>::min();
            for (qsizetype i = 0; i < text.size(); i += CharacterLength(text, i)) {
                last = Font.CharWidths(text.sliced(i));
                if (i == 0)
                    first = last;
                line.Widths.append(UnitsToMM(last.Advance, MeasureResolution));
                total += last.Advance;
                if (last.InkTop <= last.InkBottom) {
                    inkTop = std::min(inkTop, last.InkTop);
                    inkBottom = std::max(inkBottom, last.InkBottom);
                }
            }
            const float width = UnitsToMM(total, MeasureResolution);
            float x = Left;
            if (HAlign == 0)
                x = Left - UnitsToMM(first.A, MeasureResolution);
            else if (HAlign == 1)
                x = Left + (Right - Left - width) / 2;
            else if (HAlign == 2)
                x = Right + UnitsToMM(last.C, MeasureResolution) - width;
            line.X = x;
            // Glyphs sit at their measured places but have the drawn size.
            const float lastStart = width - UnitsToMM(last.Advance, MeasureResolution);
            line.InkLeft = x + InkScale * UnitsToMM(first.A, MeasureResolution);
            line.InkRight = x + lastStart + InkScale * UnitsToMM(last.Advance - last.C, MeasureResolution);
            if (inkTop <= inkBottom) {
                line.InkTop = y + InkScale * UnitsToMM(inkTop, MeasureResolution);
                line.InkBottom = y + InkScale * UnitsToMM(inkBottom, MeasureResolution);
            }
        }
        // A line that starts inside the box is drawn whole; the next one
        // starting below it is not.
        y += layout.LineHeight;
        dropping = y > Bottom;
    }
    return layout;
}

void DrawTextBox(TScaleCanvas &Canvas, const QStringList &Lines, float Left, float Top, float Right,
                 float Bottom, int HAlign, int VAlign, const TSinglePoint &Centre, float Angle)
{
    if (Canvas.DeviceFontHeight() == 0)
        return;
    Canvas.SetBrushStyle(Qt::NoBrush);
    const auto font = TMeasuringFont::For(Canvas.GetFont());
    const TTextBoxLayout layout = LayOutTextBox(*font, Lines, Left, Top, Right, Bottom, HAlign, VAlign);

    Canvas.SetFontAngle(Angle);
    for (const TBoxLine &line : layout.Lines) {
        if (!line.Drawn)
            break;
        if (line.Text.isEmpty())
            continue;
        const TSinglePoint start = RotatePointAround({line.X, line.Y}, Centre, Angle);
        TextOutWidths(Canvas, start.X, start.Y, std::nullopt, line.Text, line.Widths);
    }
    Canvas.SetFontAngle(0);
}

void TextOutAligned(TScaleCanvas &Canvas, const QString &Text, float X, float Y, int HAlign, int VAlign)
{
    const float height = MeasureText(Canvas, Text).Y;
    const TSingleArray widths = GetCharWidthsMM(Canvas, Text);
    const float width = Sum(widths);
    int x = Canvas.MMToX(X);
    if (HAlign == 1)
        x = Canvas.MMToX(X - width / 2);
    else if (HAlign == 2)
        x = Canvas.MMToX(X - width);
    int y = Canvas.MMToY(Y);
    if (VAlign == 1)
        y -= Canvas.MMToLength(height) / 2;
    else if (VAlign == 2)
        y -= Canvas.MMToLength(height);
    Canvas.DeviceTextOut(QPoint(x, y), Text, WidthsToAdvances(Canvas, widths), 0, std::nullopt);
}
