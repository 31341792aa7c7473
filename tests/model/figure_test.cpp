#include "model/uFigure.h"

#include "support/uCustomIni.h"
#include "support/uMemIni.h"

#include <gtest/gtest.h>

namespace {

std::unique_ptr<TMyMemIniFile> IniOf(const QString &text)
{
    auto ini = std::make_unique<TMyMemIniFile>();
    ini->SetStrings(text.split('\n'));
    return ini;
}

std::unique_ptr<TTextFigure> TextFrom(const QString &text, const QString &section = QStringLiteral("Element1"))
{
    const TDecimalSeparatorScope comma(',');
    auto figure = std::make_unique<TTextFigure>();
    figure->LoadFromIni(*IniOf(text), section);
    return figure;
}

TEST(TextFigure, DataFieldsEndAtTheFirstMissingIndex)
{
    EXPECT_EQ(TextFrom("[Element1]\nDataField0=Titel\nDataField2=Name")->DataFields, QStringList{"Titel"});
    EXPECT_TRUE(TextFrom("[Element1]\nLeft=5")->DataFields.isEmpty());
    EXPECT_TRUE(TextFrom("[Element1]\nDataField0=#NOTDEF#\nDataField1=Name")->DataFields.isEmpty());
    // An empty value is a field name of its own, not the end of the list.
    EXPECT_EQ(TextFrom("[Element1]\nDataField0=\nDataField1=Beruf")->DataFields, (QStringList{"", "Beruf"}));
}

TEST(TextFigure, DefaultsOfAnAlmostEmptySection)
{
    const auto figure = TextFrom("[Element3]\ntyp=text", "Element3");
    EXPECT_EQ(figure->Name, "Element3");
    EXPECT_EQ(figure->Font, TFigureFont());
    EXPECT_EQ(figure->Font.Name, "Arial");
    EXPECT_EQ(figure->Font.Size, 12);
    EXPECT_EQ(figure->HAlign, 0);
    EXPECT_EQ(figure->VAlign, 0);
    EXPECT_FALSE(figure->ScaleDownToBox);
    EXPECT_EQ(figure->Left, 0);
    EXPECT_EQ(figure->Bottom, 0);
}

TEST(TextFigure, ReadsEveryKey)
{
    const auto figure = TextFrom("[Element2]\nName=Kopf\nLeft=5\nTop=14,5\nRight=80\nBottom=20,7\n"
                                 "DataField0=Name\nHAlign=258\nVAlign=2\nFontname=Courier New\n"
                                 "Fontsize=14\nFontBold=1\nFontItalic=1\nFontUnderline=1\nScaleDownToBox=1",
                                 "Element2");
    EXPECT_EQ(figure->Name, "Kopf");
    EXPECT_FLOAT_EQ(figure->Top, 14.5f);
    EXPECT_FLOAT_EQ(figure->Bottom, 20.7f);
    EXPECT_EQ(figure->Right, 80);
    EXPECT_EQ(figure->HAlign, 2); // low byte of 258
    EXPECT_EQ(figure->VAlign, 2);
    EXPECT_EQ(figure->Font, (TFigureFont{"Courier New", 14, true, true, true}));
    EXPECT_TRUE(figure->ScaleDownToBox);
}

TEST(LineFigure, WidthDefaultAndDecimalComma)
{
    const TDecimalSeparatorScope comma(',');
    TLineFigure line;
    line.LoadFromIni(*IniOf("[Element3]\nLeft=4,5\nTop=21\nRight=80,5\nBottom=21"), "Element3");
    EXPECT_FLOAT_EQ(line.Width, 0.1f);
    EXPECT_FLOAT_EQ(line.Left, 4.5f);
    line.LoadFromIni(*IniOf("[Element3]\nWidth=0,2"), "Element3");
    EXPECT_FLOAT_EQ(line.Width, 0.2f);
    // A point does not convert while the comma is the separator.
    line.LoadFromIni(*IniOf("[Element3]\nWidth=0.2\nLeft=4.5"), "Element3");
    EXPECT_FLOAT_EQ(line.Width, 0.1f);
    EXPECT_EQ(line.Left, 0);
}

TEST(PictureFigure, AlignmentAndWatermark)
{
    TPictureFigure picture;
    picture.LoadFromIni(*IniOf("[Element7]\nHAlign=1\nVAlign=-1\nWatermark=1"), "Element7");
    EXPECT_EQ(picture.HAlign, 1);
    EXPECT_EQ(picture.VAlign, 255);
    EXPECT_TRUE(picture.Watermark);
    picture.LoadFromIni(*IniOf("[Element7]\nLeft=5"), "Element7");
    EXPECT_FALSE(picture.Watermark);
}

TEST(Figure, CloneOfATextFigureIsIndependent)
{
    const auto source = TextFrom("[Element5]\nLeft=31\nDataField0=Adresse\nDataField1=TelefonFax\nFontsize=7\nHAlign=2",
                                 "Element5");
    const std::unique_ptr<TFigure> clone = source->Clone();
    auto *text = dynamic_cast<TTextFigure *>(clone.get());
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->Name, "Element5");
    EXPECT_EQ(text->Left, 31);
    EXPECT_EQ(text->DataFields, (QStringList{"Adresse", "TelefonFax"}));
    EXPECT_EQ(text->HAlign, 2);

    text->DataFields.append("Firma");
    text->Font.Size = 20;
    text->Font.Bold = true;
    text->Left = 0;
    EXPECT_EQ(source->DataFields, (QStringList{"Adresse", "TelefonFax"}));
    EXPECT_EQ(source->Font.Size, 7);
    EXPECT_FALSE(source->Font.Bold);
    EXPECT_EQ(source->Left, 31);
}

TEST(Figure, AssignAcrossClassesCopiesOnlyTheBox)
{
    TPictureFigure picture;
    picture.Name = "Logo";
    picture.Top = 31;
    picture.HAlign = 2;
    TTextFigure text;
    text.DataFields = {"Titel"};
    text.Assign(picture);
    EXPECT_EQ(text.Name, "Logo");
    EXPECT_EQ(text.Top, 31);
    EXPECT_EQ(text.HAlign, 0);
    EXPECT_EQ(text.DataFields, QStringList{"Titel"});
}

TEST(FigureList, InsertDeleteAndIndexOf)
{
    TFigureList list;
    list.Add(std::make_unique<TTextFigure>());
    auto picture = std::make_unique<TPictureFigure>();
    const TFigure *pictureAddress = picture.get();
    list.Insert(0, std::move(picture));
    EXPECT_EQ(list.IndexOf(pictureAddress), 0);
    TLineFigure stranger;
    EXPECT_EQ(list.IndexOf(&stranger), -1);
    list.Delete(0);
    EXPECT_EQ(list.Count(), 1);
    EXPECT_EQ(list.IndexOf(pictureAddress), -1);
    EXPECT_THROW(list.Delete(1), std::out_of_range);
    EXPECT_THROW(list.Insert(2, std::make_unique<TRectFigure>()), std::out_of_range);
    EXPECT_THROW(list.Add(nullptr), std::invalid_argument);
}

TEST(FigureList, AssignClonesEveryFigureAndTheMark)
{
    TFigureList source(true);
    auto text = std::make_unique<TTextFigure>();
    text->DataFields = {"BackText1"};
    source.Add(std::move(text));
    auto line = std::make_unique<TLineFigure>();
    line->Width = 0.2f;
    source.Add(std::move(line));
    auto picture = std::make_unique<TPictureFigure>();
    picture->Watermark = true;
    source.Add(std::move(picture));
    source.Add(std::make_unique<TRectFigure>());

    TFigureList copy;
    copy.Add(std::make_unique<TLineFigure>());
    copy.Assign(source);
    EXPECT_TRUE(copy.BackSide);
    ASSERT_EQ(copy.Count(), 4);
    EXPECT_NE(&copy.Items(0), &source.Items(0));
    dynamic_cast<TTextFigure &>(copy.Items(0)).DataFields.clear();
    EXPECT_EQ(dynamic_cast<const TTextFigure &>(source.Items(0)).DataFields, QStringList{"BackText1"});
    EXPECT_FLOAT_EQ(dynamic_cast<const TLineFigure &>(copy.Items(1)).Width, 0.2f);
    EXPECT_TRUE(dynamic_cast<const TPictureFigure &>(copy.Items(2)).Watermark);
    EXPECT_NE(dynamic_cast<const TRectFigure *>(&copy.Items(3)), nullptr);
}

} // namespace
