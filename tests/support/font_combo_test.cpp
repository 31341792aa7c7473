#include "support/uFontCombo.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QSignalSpy>
#include <QTemporaryDir>

namespace {

// A one-glyph bitmap font: the kind of family the box must leave out.
const char BitmapFont[] = R"(STARTFONT 2.1
FONT -tessaro-TessaroPixel-medium-r-normal--8-80-75-75-c-80-iso10646-1
SIZE 8 75 75
FONTBOUNDINGBOX 8 8 0 0
STARTPROPERTIES 3
FAMILY_NAME "TessaroPixel"
FONT_ASCENT 8
FONT_DESCENT 0
ENDPROPERTIES
CHARS 1
STARTCHAR A
ENCODING 65
SWIDTH 1000 0
DWIDTH 8 0
BBX 8 8 0 0
BITMAP
18
24
42
42
7E
42
42
00
ENDCHAR
ENDFONT
)";

QString WriteFile(const QTemporaryDir &dir, const QString &name, const QByteArray &data)
{
    QFile file(dir.filePath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size())
        return {};
    return file.fileName();
}

QByteArray Utf16BE(const QString &text)
{
    QByteArray bytes;
    for (QChar c : text)
        bytes.append(char(c.unicode() >> 8)).append(char(c.unicode() & 0xFF));
    return bytes;
}

// An outline font with a family name no system has: Liberation Mono renamed
// in its name table (same length, so every offset stays valid), made by the
// vendor given, if any, in its OS/2 table.
QString WriteRenamedOutlineFont(const QTemporaryDir &dir, const QString &family, const QByteArray &vendor = {})
{
    QFile source(QStringLiteral("/usr/share/fonts/truetype/liberation2/LiberationMono-Regular.ttf"));
    if (!source.open(QIODevice::ReadOnly))
        return {};
    const QString original = QStringLiteral("Liberation Mono");
    Q_ASSERT(original.size() == family.size());
    QByteArray data = source.readAll();
    data.replace(original.toLatin1(), family.toLatin1());
    data.replace(Utf16BE(original), Utf16BE(family));
    const auto be = [&](int at, int bytes) {
        int value = 0;
        for (int i = 0; i < bytes; ++i)
            value = value << 8 | quint8(data[at + i]);
        return value;
    };
    for (int table = 0; vendor.size() == 4 && table < be(4, 2); ++table) {
        const int entry = 12 + 16 * table;
        if (data.mid(entry, 4) == "OS/2")
            data.replace(be(entry + 8, 4) + 58, 4, vendor); // achVendID
    }
    return WriteFile(dir, QStringLiteral("probe%1.ttf").arg(QString::fromLatin1(vendor)), data);
}

} // namespace

TEST(FontComboBox, ListsOnlyOutlineFamiliesSorted)
{
    QTemporaryDir dir;
    const QString bdf = WriteFile(dir, QStringLiteral("pixel.bdf"), BitmapFont);
    const int id = QFontDatabase::addApplicationFont(bdf);
    ASSERT_GE(id, 0) << "the bitmap font must load for this test to mean anything";
    ASSERT_TRUE(QFontDatabase::families().contains(QStringLiteral("TessaroPixel")));

    TFontComboBox box;
    QStringList items;
    for (int i = 0; i < box.count(); ++i)
        items << box.itemText(i);
    EXPECT_FALSE(items.contains(QStringLiteral("TessaroPixel")));
    EXPECT_TRUE(items.contains(QStringLiteral("Liberation Sans")));
    EXPECT_TRUE(items.contains(QStringLiteral("DejaVu Serif")));
    for (int i = 1; i < items.size(); ++i)
        EXPECT_LT(items[i - 1].compare(items[i], Qt::CaseInsensitive), 0) << (items[i - 1] + " / " + items[i]).toStdString();
    QFontDatabase::removeApplicationFont(id);
}

TEST(FontComboBox, FontNameSelectsIgnoringCaseAndUnknownNamesSelectNothing)
{
    TFontComboBox box;
    box.SetFontName(QStringLiteral("liberation sans"));
    EXPECT_EQ(box.FontName(), QStringLiteral("Liberation Sans"));
    box.SetFontName(QStringLiteral("Nirgendwo Grotesk"));
    EXPECT_EQ(box.currentIndex(), -1);
    EXPECT_EQ(box.FontName(), QString());
}

// Qt names a family that two foundries make with the foundry in brackets; the
// box lists it once by its plain name, without the font system's aliases.
TEST(FontComboBox, FamiliesShowOnceByPlainNameWithoutGenericAliases)
{
    QTemporaryDir dir;
    const QString family = QStringLiteral("Tessaro Probe B");
    const int first = QFontDatabase::addApplicationFont(WriteRenamedOutlineFont(dir, family, "AAAA"));
    const int second = QFontDatabase::addApplicationFont(WriteRenamedOutlineFont(dir, family, "BBBB"));
    ASSERT_TRUE(QFontDatabase::families().contains(family + QStringLiteral(" [AAAA]")));

    TFontComboBox box;
    QStringList items;
    for (int i = 0; i < box.count(); ++i)
        items << box.itemText(i);
    EXPECT_EQ(items.count(family), 1);
    for (const QString &item : items)
        EXPECT_FALSE(item.contains(QLatin1Char('['))) << item.toStdString();
    for (const char *alias : {"Sans Serif", "Serif", "Monospace"})
        EXPECT_FALSE(items.contains(QLatin1String(alias))) << alias;
    box.SetFontName(family);
    EXPECT_EQ(box.FontName(), family);
    QFontDatabase::removeApplicationFont(first);
    QFontDatabase::removeApplicationFont(second);
}

// A card's font that is not installed shows as the family it is drawn in.
TEST(FontComboBox, MissingFamilyShowsAsTheOneItIsDrawnIn)
{
    TFontComboBox box;
    box.ShowFont(QStringLiteral("Arial"));
    EXPECT_EQ(box.FontName(), QFontInfo(QFont(QStringLiteral("Arial"))).family());
    EXPECT_FALSE(box.FontName().isEmpty());
    box.ShowFont(QStringLiteral("DejaVu Serif"));
    EXPECT_EQ(box.FontName(), QStringLiteral("DejaVu Serif"));
}

TEST(FontComboBox, FamilyInstalledWhileRunningAppearsAndChoiceStays)
{
    QTemporaryDir dir;
    const QString family = QStringLiteral("Tessaro Probe A");
    const QString file = WriteRenamedOutlineFont(dir, family);
    ASSERT_FALSE(file.isEmpty());

    TFontComboBox box;
    box.SetFontName(QStringLiteral("DejaVu Serif"));
    ASSERT_EQ(box.findText(family), -1);
    QSignalSpy changes(&box, &QComboBox::currentIndexChanged);

    const int id = QFontDatabase::addApplicationFont(file); // announces the change
    ASSERT_GE(id, 0);
    EXPECT_GE(box.findText(family), 0);
    EXPECT_EQ(box.FontName(), QStringLiteral("DejaVu Serif"));
    EXPECT_EQ(changes.count(), 0) << "the choice did not change";

    box.SetFontName(family);
    QFontDatabase::removeApplicationFont(id);
    EXPECT_EQ(box.findText(family), -1);
    EXPECT_EQ(box.FontName(), box.itemText(0)) << "a removed choice falls back to the first family";
    EXPECT_EQ(changes.count(), 2);
}

TEST(FontComboBox, FlyoutFollowsTheHighlightWithFixedHeight)
{
    TFontComboBox box;
    box.SetFontName(QStringLiteral("DejaVu Sans"));
    box.show();
    box.showPopup();
    TFontFlyout *flyout = box.Flyout();
    ASSERT_TRUE(flyout->isVisible());
    const int height = flyout->height();
    EXPECT_EQ(flyout->Text(), QStringLiteral("DejaVu Sans - AaBbCc 01234 XxYyZz"));

    const int mono = box.findText(QStringLiteral("DejaVu Sans Mono"));
    const int serif = box.findText(QStringLiteral("Liberation Serif"));
    ASSERT_GE(mono, 0);
    ASSERT_GE(serif, 0);
    box.view()->setCurrentIndex(box.model()->index(mono, 0));
    EXPECT_EQ(flyout->Text(), QStringLiteral("DejaVu Sans Mono - AaBbCc 01234 XxYyZz"));
    EXPECT_EQ(flyout->font().family(), QStringLiteral("DejaVu Sans Mono"));
    const int monoWidth = flyout->width();
    EXPECT_EQ(monoWidth, QFontMetrics(flyout->font()).horizontalAdvance(flyout->Text()) + 25);

    box.view()->setCurrentIndex(box.model()->index(serif, 0));
    EXPECT_EQ(flyout->Text(), QStringLiteral("Liberation Serif - AaBbCc 01234 XxYyZz"));
    EXPECT_NE(flyout->width(), monoWidth);
    EXPECT_EQ(flyout->height(), height);

    QFont arial(QStringLiteral("Arial"));
    arial.setPointSize(20);
    EXPECT_EQ(height, QFontMetrics(arial).height() + 20);

    box.hidePopup();
    EXPECT_FALSE(flyout->isVisible());
}
