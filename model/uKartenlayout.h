#pragma once

#include "model/uFigure.h"

#include <QString>

#include <functional>
#include <memory>
#include <vector>

class TCustomIniFile;

// One card design parsed from a layout template: the design size and the
// figures of the four faces.
class TKartenlayout
{
public:
    TKartenlayout() = default;
    TKartenlayout(const TKartenlayout &) = delete;
    TKartenlayout &operator=(const TKartenlayout &) = delete;

    // Fills the layout from one template; false when it has no "Karte" section.
    bool LoadFromIni(const TCustomIniFile &ini);
    // Deep copy: afterwards nothing is shared with the source.
    void Assign(const TKartenlayout &source);
    // Keeps the back faces inside the margins a two-sided print needs; the
    // back face shows no rules.
    void ClampBackElements();
    bool IsPortrait() const { return DesignWidth < DesignHeight; }

    TFigureList Elements;
    TFigureList BackElements{true};
    TFigureList KlappElements;
    TFigureList BackKlappElements{true};
    float DesignWidth = 0; // mm
    float DesignHeight = 0;
    // The template's resource name, e.g. "100"; card files store it.
    QString Name;
};

// Visits the resource names of one type in the platform's order. Throws a
// std::exception carrying the platform's error text when the enumeration
// fails; names visited before the failure stay valid.
using TResourceNameEnumerator =
    std::function<void(const QString &type, const std::function<void(const QString &name)> &visit)>;

// The layouts offered to the user, in load order; the list owns them.
class TKartenlayoutList
{
public:
    int Count() const { return int(FItems.size()); }
    const TKartenlayout &Items(int index) const { return *FItems.at(std::size_t(index)); }
    TKartenlayout &Items(int index) { return *FItems.at(std::size_t(index)); }
    void Add(std::unique_ptr<TKartenlayout> layout);
    void Delete(int index);
    void Clear();
    // The first layout of that name (without regard to case), or -1.
    int IndexOfName(const QString &name) const;

    // Rebuilds the list from the built-in templates ("VORLAGEN" resources).
    // Templates that do not load are left out; a failed enumeration is
    // reported in a message box and the list keeps what was loaded. An empty
    // enumerator stands for the program's own resources.
    void LoadFromResources(bool landscapeOnly, const TResourceNameEnumerator &enumerate = {});

private:
    std::vector<std::unique_ptr<TKartenlayout>> FItems;
};
