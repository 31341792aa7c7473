#include "model/uKartenlayout.h"

#include "support/uCustomIni.h"
#include "support/uDialogService.h"
#include "support/uMemIni.h"
#include "support/uResources.h"

#include <QCoreApplication>

#include <algorithm>
#include <stdexcept>

namespace {

const QString KarteSection = QStringLiteral("Karte");
const QString TemplateType = QStringLiteral("VORLAGEN");

std::unique_ptr<TFigure> CreateFigureOfType(const QString &typ)
{
    if (typ.compare(QLatin1String("text"), Qt::CaseInsensitive) == 0)
        return std::make_unique<TTextFigure>();
    if (typ.compare(QLatin1String("rect"), Qt::CaseInsensitive) == 0)
        return std::make_unique<TRectFigure>();
    if (typ.compare(QLatin1String("line"), Qt::CaseInsensitive) == 0)
        return std::make_unique<TLineFigure>();
    if (typ.compare(QLatin1String("pic"), Qt::CaseInsensitive) == 0)
        return std::make_unique<TPictureFigure>();
    return nullptr;
}

// "BACKELEMENT" is tested first, so "BackKlappElement" (which does not
// contain it) still reaches its own face.
TFigureList &FaceOfSection(TKartenlayout &layout, const QString &section)
{
    const QString upper = section.toUpper();
    if (upper.contains(QLatin1String("BACKELEMENT")))
        return layout.BackElements;
    if (upper.contains(QLatin1String("BACKKLAPPELEMENT")))
        return layout.BackKlappElements;
    if (upper.contains(QLatin1String("KLAPPELEMENT")))
        return layout.KlappElements;
    return layout.Elements;
}

void ClampToMargins(TFigure &figure, float marginX, float marginY, float width, float height)
{
    figure.Left = std::max(figure.Left, marginX);
    figure.Right = std::min(figure.Right, width - marginX);
    figure.Top = std::max(figure.Top, marginY);
    figure.Bottom = std::min(figure.Bottom, height - marginY);
}

// The compiled-in resources. A type without any resource fails the way the
// platform's enumeration does.
void EnumerateOwnResources(const QString &type, const std::function<void(const QString &)> &visit)
{
    const QStringList names = Resources::EnumNames(type);
    if (names.isEmpty())
        throw std::runtime_error("The specified resource type cannot be found in the image file.");
    for (const QString &name : names)
        visit(name);
}

std::unique_ptr<TKartenlayout> LoadTemplate(const QString &name)
{
    const auto stream = Resources::Open(TemplateType, name);
    if (!stream)
        return nullptr;
    TMyMemIniFile ini(name);
    ini.LoadFromStream(*stream);
    auto layout = std::make_unique<TKartenlayout>();
    if (!layout->LoadFromIni(ini))
        return nullptr;
    return layout;
}

} // namespace

bool TKartenlayout::LoadFromIni(const TCustomIniFile &ini)
{
    {
        const TDecimalSeparatorScope decimalComma(',');
        DesignWidth = float(ini.ReadFloat(KarteSection, QStringLiteral("DesignWidth"), 85));
        DesignHeight = float(ini.ReadFloat(KarteSection, QStringLiteral("DesignHeight"), 55));
        Name = ini.FileName();
        // All four faces, so that loading twice never doubles a face.
        Elements.Clear();
        BackElements.Clear();
        KlappElements.Clear();
        BackKlappElements.Clear();

        QStringList sections;
        ini.ReadSections(sections);
        const auto karte = std::find_if(sections.begin(), sections.end(), [](const QString &s) {
            return s.compare(KarteSection, Qt::CaseInsensitive) == 0;
        });
        if (karte == sections.end())
            return false;
        sections.erase(karte);

        for (const QString &section : std::as_const(sections)) {
            TFigureList &face = FaceOfSection(*this, section);
            auto figure = CreateFigureOfType(ini.ReadString(section, QStringLiteral("Typ"), QString()));
            if (!figure)
                continue;
            figure->LoadFromIni(ini, section);
            const auto *picture = dynamic_cast<const TPictureFigure *>(figure.get());
            // A watermark lies underneath everything else on its face.
            if (picture && picture->Watermark)
                face.Insert(0, std::move(figure));
            else
                face.Add(std::move(figure));
        }
    }
    ClampBackElements();
    return true;
}

void TKartenlayout::Assign(const TKartenlayout &source)
{
    if (&source == this)
        return;
    DesignWidth = source.DesignWidth;
    DesignHeight = source.DesignHeight;
    Name = source.Name;
    Elements.Assign(source.Elements);
    BackElements.Assign(source.BackElements);
    KlappElements.Assign(source.KlappElements);
    BackKlappElements.Assign(source.BackKlappElements);
}

void TKartenlayout::ClampBackElements()
{
    // A square card gets the margins of a portrait one.
    const bool wide = DesignWidth > DesignHeight;
    const float marginX = wide ? 8 : 7;
    const float marginY = wide ? 7 : 8;
    for (int i = 0; i < BackElements.Count(); ++i)
        ClampToMargins(BackElements.Items(i), marginX, marginY, DesignWidth, DesignHeight);
    for (int i = BackElements.Count() - 1; i >= 0; --i) {
        if (dynamic_cast<const TLineFigure *>(&BackElements.Items(i)))
            BackElements.Delete(i);
    }
    for (int i = 0; i < BackKlappElements.Count(); ++i)
        ClampToMargins(BackKlappElements.Items(i), marginX, marginY, DesignWidth, DesignHeight);
}

void TKartenlayoutList::Add(std::unique_ptr<TKartenlayout> layout)
{
    if (!layout)
        throw std::invalid_argument("no layout to add");
    FItems.push_back(std::move(layout));
}

void TKartenlayoutList::Delete(int index)
{
    if (index < 0 || index >= Count())
        throw std::out_of_range("layout list index out of range");
    FItems.erase(FItems.begin() + index);
}

void TKartenlayoutList::Clear()
{
    FItems.clear();
}

int TKartenlayoutList::IndexOfName(const QString &name) const
{
    for (int i = 0; i < Count(); ++i) {
        if (FItems[std::size_t(i)]->Name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

void TKartenlayoutList::LoadFromResources(bool landscapeOnly, const TResourceNameEnumerator &enumerate)
{
    Clear();
    const auto visit = [this](const QString &name) {
        try {
            if (auto layout = LoadTemplate(name))
                Add(std::move(layout));
        } catch (const std::exception &) {
            // A template that cannot be read is simply not offered.
        }
    };
    try {
        if (enumerate)
            enumerate(TemplateType, visit);
        else
            EnumerateOwnResources(TemplateType, visit);
    } catch (const std::exception &failure) {
        Dialogs().MessageBox(TMsgDlgType::Information, QCoreApplication::applicationName(),
                             QString::fromLocal8Bit(failure.what()), mbOK, mbOK);
    }
    if (landscapeOnly) {
        for (int i = Count() - 1; i >= 0; --i) {
            if (FItems[std::size_t(i)]->IsPortrait())
                Delete(i);
        }
    }
}
