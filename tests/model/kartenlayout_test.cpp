#include "model/uKartenlayout.h"

#include "common/ScriptedDialogs.h"
#include "support/uCustomIni.h"
#include "support/uMemIni.h"
#include "support/uResources.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

void ExpectBox(const TFigure &figure, float left, float top, float right, float bottom)
{
    const TSingleRect box = figure.Box();
    const std::string name = figure.Name.toStdString();
    EXPECT_FLOAT_EQ(box.Left, left) << name;
    EXPECT_FLOAT_EQ(box.Top, top) << name;
    EXPECT_FLOAT_EQ(box.Right, right) << name;
    EXPECT_FLOAT_EQ(box.Bottom, bottom) << name;
}

template <class TConcrete>
const TConcrete &As(const TFigure &figure)
{
    const auto *concrete = dynamic_cast<const TConcrete *>(&figure);
    if (!concrete)
        throw std::logic_error("figure of another class: " + figure.Name.toStdString());
    return *concrete;
}

// Loads a template written in the test; the store's file name becomes the
// layout's name.
bool LoadLayout(TKartenlayout &layout, const QString &text, const QString &name = QStringLiteral("test"))
{
    TMyMemIniFile ini(name);
    ini.SetStrings(text.split('\n'));
    return layout.LoadFromIni(ini);
}

// The built-in templates, loaded in the program's own order.
const TKartenlayoutList &BuiltIn()
{
    static const auto list = [] {
        TScriptedDialogs dialogs;
        auto loaded = std::make_unique<TKartenlayoutList>();
        loaded->LoadFromResources(false);
        return loaded;
    }();
    return *list;
}

const TKartenlayout &Template(const QString &name)
{
    const int index = BuiltIn().IndexOfName(name);
    if (index < 0)
        throw std::logic_error("no template " + name.toStdString());
    return BuiltIn().Items(index);
}

TEST(BuiltInTemplates, EveryTemplateHasItsSizeAndFigures)
{
    struct Expected
    {
        const char *Name;
        float Width, Height;
        int Front, Back, Klapp, BackKlapp;
    };
    // Back counts are after loading, when the back face has lost its rules.
    const Expected expected[] = {
        {"100", 85, 55, 6, 2, 1, 1}, {"101", 85, 55, 6, 2, 1, 1}, {"102", 85, 55, 6, 2, 1, 1},
        {"103", 85, 55, 6, 2, 1, 1}, {"104", 85, 55, 6, 2, 1, 1}, {"105", 85, 55, 6, 3, 1, 1},
        {"110", 85, 55, 6, 3, 1, 1}, {"111", 55, 85, 5, 1, 1, 1}, {"112", 55, 85, 5, 1, 1, 1},
        {"113", 55, 85, 5, 1, 1, 1}, {"114", 55, 85, 6, 2, 1, 1}, {"115", 55, 85, 6, 2, 1, 1},
        {"120", 55, 85, 6, 2, 1, 1}, {"121", 85, 55, 7, 3, 1, 1}, {"122", 55, 85, 6, 2, 1, 1},
    };
    ASSERT_EQ(BuiltIn().Count(), 15);
    for (int i = 0; i < 15; ++i) {
        const TKartenlayout &layout = BuiltIn().Items(i);
        const Expected &e = expected[i];
        SCOPED_TRACE(e.Name);
        EXPECT_EQ(layout.Name, e.Name);
        EXPECT_EQ(layout.DesignWidth, e.Width);
        EXPECT_EQ(layout.DesignHeight, e.Height);
        EXPECT_EQ(layout.Elements.Count(), e.Front);
        EXPECT_EQ(layout.BackElements.Count(), e.Back);
        EXPECT_EQ(layout.KlappElements.Count(), e.Klapp);
        EXPECT_EQ(layout.BackKlappElements.Count(), e.BackKlapp);
        EXPECT_FALSE(layout.Elements.BackSide);
        EXPECT_TRUE(layout.BackElements.BackSide);
        EXPECT_FALSE(layout.KlappElements.BackSide);
        EXPECT_TRUE(layout.BackKlappElements.BackSide);
    }
}

TEST(BuiltInTemplates, AreAsciiWithCrLfAndDecimalCommas)
{
    for (const QString &name : Resources::EnumNames("VORLAGEN")) {
        SCOPED_TRACE(name.toStdString());
        const QByteArray text = Resources::Load("VORLAGEN", name);
        ASSERT_FALSE(text.isEmpty());
        EXPECT_TRUE(text.endsWith("\r\n"));
        EXPECT_EQ(text.count("\n"), text.count("\r\n"));
        EXPECT_EQ(text.count("\r"), text.count("\r\n"));
        EXPECT_FALSE(text.contains('.'));
        EXPECT_TRUE(std::all_of(text.begin(), text.end(), [](char c) { return c > 0; }));
    }
}

TEST(BuiltInTemplates, FrontOfTemplate100)
{
    const TKartenlayout &layout = Template("100");
    const auto &name = As<TTextFigure>(layout.Elements.Items(1));
    ExpectBox(name, 5, 14.5f, 80, 20.7f);
    EXPECT_EQ(name.DataFields, QStringList{"Name"});
    EXPECT_EQ(name.Font, (TFigureFont{"Arial", 14, true, false, false}));
    EXPECT_EQ(name.VAlign, 2);
    EXPECT_TRUE(name.ScaleDownToBox);
    const auto &rule = As<TLineFigure>(layout.Elements.Items(2));
    ExpectBox(rule, 4.5f, 21, 80.5f, 21);
    EXPECT_FLOAT_EQ(rule.Width, 0.2f);
    const auto &address = As<TTextFigure>(layout.Elements.Items(4));
    EXPECT_EQ(address.DataFields, (QStringList{"Adresse", "TelefonFax"}));
    EXPECT_EQ(address.HAlign, 2);
    EXPECT_EQ(address.Font.Size, 7);
    EXPECT_FALSE(address.Font.Bold);
    EXPECT_EQ(As<TPictureFigure>(layout.Elements.Items(5)).VAlign, 2);
}

TEST(BuiltInTemplates, BackFacesKeepTheirMarginsAndLoseTheirRules)
{
    const TKartenlayout &t100 = Template("100");
    ASSERT_EQ(t100.BackElements.Count(), 2);
    const auto &backText = As<TTextFigure>(t100.BackElements.Items(0));
    EXPECT_EQ(backText.DataFields, (QStringList{"BackText1", "BackText2"}));
    ExpectBox(backText, 31, 30, 77, 48);
    ExpectBox(As<TPictureFigure>(t100.BackElements.Items(1)), 8, 31, 30, 48);
    // The outer back of the folding card is clamped as well.
    ExpectBox(t100.BackKlappElements.Items(0), 31, 30, 77, 48);
    // Front and inside stay as stored.
    ExpectBox(t100.Elements.Items(4), 31, 30, 80, 51);
    ExpectBox(t100.KlappElements.Items(0), 31, 30, 80, 51);

    const TKartenlayout &t111 = Template("111");
    ASSERT_EQ(t111.BackElements.Count(), 1);
    ExpectBox(t111.BackElements.Items(0), 7, 33, 48, 77);
    EXPECT_TRUE(t111.IsPortrait());
    EXPECT_FALSE(t100.IsPortrait());
}

TEST(BuiltInTemplates, WatermarkLiesUnderEverythingElse)
{
    const TKartenlayout &layout = Template("121");
    const auto &front = As<TPictureFigure>(layout.Elements.Items(0));
    EXPECT_TRUE(front.Watermark);
    EXPECT_EQ(front.Name, "Element7");
    ExpectBox(front, 0, 0, 85, 55);
    EXPECT_EQ(layout.Elements.Items(1).Name, "Element1");
    const auto &back = As<TPictureFigure>(layout.BackElements.Items(0));
    EXPECT_TRUE(back.Watermark);
    ExpectBox(back, 8, 7, 77, 48);
}

TEST(BuiltInTemplates, LandscapeOnlyAndLookupByName)
{
    TScriptedDialogs dialogs;
    TKartenlayoutList list;
    list.LoadFromResources(true);
    QStringList names;
    for (int i = 0; i < list.Count(); ++i)
        names << list.Items(i).Name;
    EXPECT_EQ(names, (QStringList{"100", "101", "102", "103", "104", "105", "110", "121"}));
    EXPECT_EQ(list.IndexOfName("121"), 7);
    EXPECT_EQ(BuiltIn().IndexOfName("110"), 6);
    EXPECT_EQ(BuiltIn().IndexOfName("999"), -1);
    EXPECT_TRUE(dialogs.Messages.empty());
}

TEST(Kartenlayout, SectionNamesChooseTheFace)
{
    TKartenlayout layout;
    ASSERT_TRUE(LoadLayout(layout, "[Karte]\n"
                                   "[backklappelement1]\ntyp=text\n"
                                   "[Logo]\ntyp=pic\n"
                                   "[KLAPPelement7]\ntyp=line\n"
                                   "[BackElement0]\nTyp=TEXT\n"
                                   "[Element9]\ntyp=rect\n"
                                   "[Element10]\ntyp=circle\n"
                                   "[Element11]\nLeft=5\n"));
    ASSERT_EQ(layout.BackKlappElements.Count(), 1);
    EXPECT_EQ(layout.BackKlappElements.Items(0).Name, "backklappelement1");
    ASSERT_EQ(layout.Elements.Count(), 2);
    EXPECT_EQ(layout.Elements.Items(0).Name, "Logo");
    EXPECT_NE(dynamic_cast<const TRectFigure *>(&layout.Elements.Items(1)), nullptr);
    ASSERT_EQ(layout.KlappElements.Count(), 1);
    EXPECT_NE(dynamic_cast<const TLineFigure *>(&layout.KlappElements.Items(0)), nullptr);
    EXPECT_EQ(layout.BackElements.Count(), 1);
}

TEST(Kartenlayout, DesignSizeDefaultsAndDecimalSeparator)
{
    const TDecimalSeparatorScope point('.');
    TKartenlayout layout;
    ASSERT_TRUE(LoadLayout(layout, "[Karte]\nDesignWidth=90.5\n[Element1]\ntyp=text\nTop=14,5\nLeft=4.5", "Eigene"));
    EXPECT_EQ(layout.DesignWidth, 85);
    EXPECT_EQ(layout.DesignHeight, 55);
    EXPECT_EQ(layout.Name, "Eigene");
    EXPECT_FLOAT_EQ(layout.Elements.Items(0).Top, 14.5f);
    EXPECT_EQ(layout.Elements.Items(0).Left, 0);
    EXPECT_EQ(CurrentDecimalSeparator(), '.');

    TKartenlayout narrow;
    ASSERT_TRUE(LoadLayout(narrow, "[karte]\nDesignWidth=54,5\nDesignHeight=86"));
    EXPECT_FLOAT_EQ(narrow.DesignWidth, 54.5f);
    EXPECT_EQ(narrow.DesignHeight, 86);
}

TEST(Kartenlayout, TemplateWithoutKarteIsRefused)
{
    TKartenlayout layout;
    EXPECT_FALSE(LoadLayout(layout, "[Element1]\ntyp=text\n[KarteX]\nDesignWidth=85"));
}

class TFailingIni : public TMyMemIniFile
{
public:
    void ReadSections(QStringList &) const override { throw std::runtime_error("read error"); }
};

TEST(Kartenlayout, SeparatorComesBackWhenReadingFails)
{
    const TDecimalSeparatorScope point('.');
    TFailingIni ini;
    TKartenlayout layout;
    EXPECT_THROW(layout.LoadFromIni(ini), std::runtime_error);
    EXPECT_EQ(CurrentDecimalSeparator(), '.');
}

TEST(Kartenlayout, SquareBackGetsPortraitMargins)
{
    TKartenlayout layout;
    ASSERT_TRUE(LoadLayout(layout, "[Karte]\nDesignWidth=60\nDesignHeight=60\n"
                                   "[BackElement1]\ntyp=pic\nLeft=0\nTop=0\nRight=60\nBottom=60\n"
                                   "[BackKlappElement1]\ntyp=line\nLeft=10\nTop=10\nRight=20\nBottom=20\n"));
    ExpectBox(layout.BackElements.Items(0), 7, 8, 53, 52);
    // Rules survive on the outer back; inside the margins nothing moves.
    ASSERT_EQ(layout.BackKlappElements.Count(), 1);
    ExpectBox(layout.BackKlappElements.Items(0), 10, 10, 20, 20);
}

TEST(Kartenlayout, ReloadingDoesNotDoubleAFace)
{
    const QString text = "[Karte]\n[BackElement1]\ntyp=text\n[KlappElement1]\ntyp=text\n";
    TKartenlayout layout;
    ASSERT_TRUE(LoadLayout(layout, text));
    ASSERT_TRUE(LoadLayout(layout, text));
    EXPECT_EQ(layout.BackElements.Count(), 1);
    EXPECT_EQ(layout.KlappElements.Count(), 1);
}

TEST(Kartenlayout, AssignedCopySurvivesRebuildingTheList)
{
    TScriptedDialogs dialogs;
    TKartenlayoutList list;
    list.LoadFromResources(false);
    TKartenlayout current;
    current.Assign(list.Items(list.IndexOfName("121")));
    list.LoadFromResources(true);
    list.Clear();

    EXPECT_EQ(current.Name, "121");
    EXPECT_EQ(current.DesignWidth, 85);
    ASSERT_EQ(current.Elements.Count(), 7);
    EXPECT_TRUE(As<TPictureFigure>(current.Elements.Items(0)).Watermark);
    EXPECT_EQ(As<TTextFigure>(current.Elements.Items(2)).DataFields, QStringList{"Name"});
    ExpectBox(current.BackElements.Items(0), 8, 7, 77, 48);
    EXPECT_TRUE(current.BackElements.BackSide);
    EXPECT_TRUE(current.BackKlappElements.BackSide);

    // Assigning another layout replaces every face.
    current.Assign(Template("111"));
    EXPECT_EQ(current.Name, "111");
    EXPECT_EQ(current.Elements.Count(), 5);
    EXPECT_EQ(current.BackElements.Count(), 1);
}

TEST(KartenlayoutList, IndexOfNameFindsTheFirstWithoutRegardToCase)
{
    TKartenlayoutList list;
    for (const char *name : {"100", "Eigene", "eigene"}) {
        auto layout = std::make_unique<TKartenlayout>();
        layout->Name = name;
        list.Add(std::move(layout));
    }
    EXPECT_EQ(list.IndexOfName("EIGENE"), 1);
    list.Delete(1);
    EXPECT_EQ(list.IndexOfName("EIGENE"), 1);
}

class TemplateFolder : public ::testing::Test
{
protected:
    void Write(const QString &name, const QByteArray &text)
    {
        QDir(FDir.path()).mkpath("VORLAGEN");
        QFile file(FDir.filePath("VORLAGEN/" + name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    QStringList Names(const TKartenlayoutList &list) const
    {
        QStringList names;
        for (int i = 0; i < list.Count(); ++i)
            names << list.Items(i).Name;
        return names;
    }

    QTemporaryDir FDir;
    TScriptedDialogs FDialogs;
};

TEST_F(TemplateFolder, TemplatesThatDoNotLoadAreLeftOut)
{
    Write("100", "[Karte]\r\nDesignWidth=85\r\n[Element1]\r\ntyp=text\r\n");
    Write("101", "[Element1]\r\ntyp=text\r\n");
    Write("102", QByteArray("\xff\xfe\x00\x00", 4));
    Write("111", "[Karte]\r\nDesignWidth=55\r\nDesignHeight=85\r\n");
    Write("Extra", "[Karte]\r\n");
    const Resources::TRootOverride root(FDir.path());
    TKartenlayoutList list;
    list.LoadFromResources(false);
    EXPECT_EQ(Names(list), (QStringList{"Extra", "100", "111"}));
    list.LoadFromResources(true);
    EXPECT_EQ(Names(list), (QStringList{"Extra", "100"}));
    EXPECT_TRUE(FDialogs.Messages.empty());
}

TEST_F(TemplateFolder, FailedEnumerationIsReportedAndKeepsWhatLoaded)
{
    Write("100", "[Karte]\r\n");
    Write("111", "[Karte]\r\nDesignWidth=55\r\nDesignHeight=85\r\n");
    const Resources::TRootOverride root(FDir.path());
    const auto failing = [](const QString &type, const std::function<void(const QString &)> &visit) {
        EXPECT_EQ(type, "VORLAGEN");
        visit("100");
        visit("111");
        throw std::runtime_error("Zugriff verweigert");
    };
    TKartenlayoutList list;
    list.LoadFromResources(true, failing);
    EXPECT_EQ(Names(list), QStringList{"100"});
    ASSERT_EQ(FDialogs.Messages.size(), 1u);
    EXPECT_EQ(FDialogs.Messages[0].Text, "Zugriff verweigert");
    EXPECT_EQ(FDialogs.Messages[0].Buttons, mbOK);
}

TEST_F(TemplateFolder, MissingTemplateTypeIsAFailedEnumeration)
{
    QDir(FDir.path()).mkpath("LANG");
    const Resources::TRootOverride root(FDir.path());
    TKartenlayoutList list;
    list.LoadFromResources(false);
    EXPECT_EQ(list.Count(), 0);
    ASSERT_EQ(FDialogs.Messages.size(), 1u);
    EXPECT_EQ(FDialogs.Messages[0].Text, "The specified resource type cannot be found in the image file.");
}

} // namespace
