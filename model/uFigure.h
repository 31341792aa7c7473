#pragma once

#include "model/uGeometry.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class TCustomIniFile;

// One element of a card face: a box in millimetres carrying text, a rule or
// a picture. Figures are filled once from a template section and copied
// deeply between owners.
class TFigure
{
public:
    TFigure() = default;
    virtual ~TFigure() = default;
    TFigure(const TFigure &) = delete;
    TFigure &operator=(const TFigure &) = delete;

    virtual void LoadFromIni(const TCustomIniFile &ini, const QString &section);
    // A new figure of the same class with equal values.
    virtual std::unique_ptr<TFigure> Clone() const = 0;
    // Copies the name and box; each class adds its own fields when the source
    // is of that class.
    virtual void Assign(const TFigure &source);

    TSingleRect Box() const { return {Left, Top, Right, Bottom}; }

    QString Name;
    // For a line, (Left, Top) and (Right, Bottom) are its end points.
    float Left = 0;
    float Top = 0;
    float Right = 0;
    float Bottom = 0;
};

struct TFigureFont
{
    QString Name = QStringLiteral("Arial");
    int Size = 12; // points
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;

    bool operator==(const TFigureFont &) const = default;
};

// Horizontal alignment: 0 left, 1 centre, 2 right; vertical: 0 top, 1 centre,
// 2 bottom. Stored as the low byte of the template value.
using TFigureAlign = quint8;

class TTextFigure : public TFigure
{
public:
    void LoadFromIni(const TCustomIniFile &ini, const QString &section) override;
    std::unique_ptr<TFigure> Clone() const override;
    void Assign(const TFigure &source) override;

    // Names of document fields whose texts are shown, in display order.
    QStringList DataFields;
    TFigureFont Font;
    TFigureAlign HAlign = 0;
    TFigureAlign VAlign = 0;
    // The font shrinks until the widest line fits the box width.
    bool ScaleDownToBox = false;
};

// Reads the box only; nothing is drawn for it.
class TRectFigure : public TFigure
{
public:
    std::unique_ptr<TFigure> Clone() const override;
};

class TLineFigure : public TFigure
{
public:
    void LoadFromIni(const TCustomIniFile &ini, const QString &section) override;
    std::unique_ptr<TFigure> Clone() const override;
    void Assign(const TFigure &source) override;

    float Width = 0.1f; // pen width, mm
};

// Stands for the user's logo of its face.
class TPictureFigure : public TFigure
{
public:
    void LoadFromIni(const TCustomIniFile &ini, const QString &section) override;
    std::unique_ptr<TFigure> Clone() const override;
    void Assign(const TFigure &source) override;

    TFigureAlign HAlign = 0;
    TFigureAlign VAlign = 0;
    // Shown faded and underneath every other figure of the face.
    bool Watermark = false;
};

// The figures of one card face in drawing order; the list owns them.
class TFigureList
{
public:
    TFigureList() = default;
    explicit TFigureList(bool backSide) : BackSide(backSide) {}
    TFigureList(TFigureList &&) = default;
    TFigureList &operator=(TFigureList &&) = default;

    int Count() const { return int(FItems.size()); }
    const TFigure &Items(int index) const { return *FItems.at(std::size_t(index)); }
    TFigure &Items(int index) { return *FItems.at(std::size_t(index)); }
    void Add(std::unique_ptr<TFigure> figure);
    void Insert(int index, std::unique_ptr<TFigure> figure);
    void Delete(int index);
    void Clear();
    int IndexOf(const TFigure *figure) const;
    // Replaces the figures by clones of the source's and takes its mark.
    void Assign(const TFigureList &source);

    // Set for the two back faces of a layout.
    bool BackSide = false;

private:
    std::vector<std::unique_ptr<TFigure>> FItems;
};
