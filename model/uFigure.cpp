#include "model/uFigure.h"

#include "support/uCustomIni.h"

#include <stdexcept>

namespace {

// Marks the end of the data-field keys; an empty value is a field of its own.
const QString NotDefined = QStringLiteral("#NOTDEF#");

template <class TConcrete>
std::unique_ptr<TFigure> CloneOf(const TConcrete &self)
{
    auto copy = std::make_unique<TConcrete>();
    copy->Assign(self);
    return copy;
}

TFigureAlign ReadAlign(const TCustomIniFile &ini, const QString &section, const QString &key)
{
    return TFigureAlign(ini.ReadInteger(section, key, 0) & 0xFF);
}

} // namespace

void TFigure::LoadFromIni(const TCustomIniFile &ini, const QString &section)
{
    Name = ini.ReadString(section, QStringLiteral("Name"), section);
    Left = float(ini.ReadFloat(section, QStringLiteral("Left"), 0));
    Top = float(ini.ReadFloat(section, QStringLiteral("Top"), 0));
    Right = float(ini.ReadFloat(section, QStringLiteral("Right"), 0));
    Bottom = float(ini.ReadFloat(section, QStringLiteral("Bottom"), 0));
}

void TFigure::Assign(const TFigure &source)
{
    Name = source.Name;
    Left = source.Left;
    Top = source.Top;
    Right = source.Right;
    Bottom = source.Bottom;
}

void TTextFigure::LoadFromIni(const TCustomIniFile &ini, const QString &section)
{
    TFigure::LoadFromIni(ini, section);
    DataFields.clear();
    for (int i = 0;; ++i) {
        const QString field = ini.ReadString(section, QStringLiteral("DataField%1").arg(i), NotDefined);
        if (field == NotDefined)
            break;
        DataFields.append(field);
    }
    HAlign = ReadAlign(ini, section, QStringLiteral("HAlign"));
    VAlign = ReadAlign(ini, section, QStringLiteral("VAlign"));
    Font = TFigureFont();
    Font.Name = ini.ReadString(section, QStringLiteral("Fontname"), Font.Name);
    Font.Size = ini.ReadInteger(section, QStringLiteral("Fontsize"), Font.Size);
    Font.Bold = ini.ReadBool(section, QStringLiteral("FontBold"), false);
    Font.Italic = ini.ReadBool(section, QStringLiteral("FontItalic"), false);
    Font.Underline = ini.ReadBool(section, QStringLiteral("FontUnderline"), false);
    ScaleDownToBox = ini.ReadBool(section, QStringLiteral("ScaleDownToBox"), false);
}

std::unique_ptr<TFigure> TTextFigure::Clone() const
{
    return CloneOf(*this);
}

void TTextFigure::Assign(const TFigure &source)
{
    TFigure::Assign(source);
    if (const auto *text = dynamic_cast<const TTextFigure *>(&source)) {
        DataFields = text->DataFields;
        Font = text->Font;
        HAlign = text->HAlign;
        VAlign = text->VAlign;
        ScaleDownToBox = text->ScaleDownToBox;
    }
}

std::unique_ptr<TFigure> TRectFigure::Clone() const
{
    return CloneOf(*this);
}

void TLineFigure::LoadFromIni(const TCustomIniFile &ini, const QString &section)
{
    TFigure::LoadFromIni(ini, section);
    Width = float(ini.ReadFloat(section, QStringLiteral("Width"), 0.1));
}

std::unique_ptr<TFigure> TLineFigure::Clone() const
{
    return CloneOf(*this);
}

void TLineFigure::Assign(const TFigure &source)
{
    TFigure::Assign(source);
    if (const auto *line = dynamic_cast<const TLineFigure *>(&source))
        Width = line->Width;
}

void TPictureFigure::LoadFromIni(const TCustomIniFile &ini, const QString &section)
{
    TFigure::LoadFromIni(ini, section);
    HAlign = ReadAlign(ini, section, QStringLiteral("HAlign"));
    VAlign = ReadAlign(ini, section, QStringLiteral("VAlign"));
    Watermark = ini.ReadBool(section, QStringLiteral("Watermark"), false);
}

std::unique_ptr<TFigure> TPictureFigure::Clone() const
{
    return CloneOf(*this);
}

void TPictureFigure::Assign(const TFigure &source)
{
    TFigure::Assign(source);
    if (const auto *picture = dynamic_cast<const TPictureFigure *>(&source)) {
        HAlign = picture->HAlign;
        VAlign = picture->VAlign;
        Watermark = picture->Watermark;
    }
}

void TFigureList::Add(std::unique_ptr<TFigure> figure)
{
    if (!figure)
        throw std::invalid_argument("no figure to add");
    FItems.push_back(std::move(figure));
}

void TFigureList::Insert(int index, std::unique_ptr<TFigure> figure)
{
    if (index < 0 || index > Count())
        throw std::out_of_range("figure list index out of range");
    if (!figure)
        throw std::invalid_argument("no figure to insert");
    FItems.insert(FItems.begin() + index, std::move(figure));
}

void TFigureList::Delete(int index)
{
    if (index < 0 || index >= Count())
        throw std::out_of_range("figure list index out of range");
    FItems.erase(FItems.begin() + index);
}

void TFigureList::Clear()
{
    FItems.clear();
}

int TFigureList::IndexOf(const TFigure *figure) const
{
    for (int i = 0; i < Count(); ++i) {
        if (FItems[std::size_t(i)].get() == figure)
            return i;
    }
    return -1;
}

void TFigureList::Assign(const TFigureList &source)
{
    if (&source == this)
        return;
    Clear();
    for (const auto &figure : source.FItems)
        Add(figure->Clone());
    BackSide = source.BackSide;
}
