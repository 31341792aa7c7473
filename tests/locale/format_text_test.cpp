#include "locale/uFormatText.h"

#include <gtest/gtest.h>

#include <QLocale>

namespace {

// Runs a test under a default locale and restores the previous one.
class TLocaleScope
{
public:
    explicit TLocaleScope(const QLocale &locale) : FPrevious(QLocale()) { QLocale::setDefault(locale); }
    ~TLocaleScope() { QLocale::setDefault(FPrevious); }

private:
    QLocale FPrevious;
};

} // namespace

TEST(FormatText, FormatsThePlaceholdersOfTheTexts)
{
    TLocaleScope c(QLocale::c());
    EXPECT_EQ(FormatOrKeep("entspricht %d Visitenkarten", {30}), "entspricht 30 Visitenkarten");
    EXPECT_EQ(FormatOrKeep("Die Datei \"%s\" fehlt.", {QString("/tmp/a b.pdf")}), "Die Datei \"/tmp/a b.pdf\" fehlt.");
    EXPECT_EQ(FormatOrKeep("um %.1f mm", {2.26f}), "um 2.3 mm");
    EXPECT_EQ(FormatOrKeep("um %.1f mm", {-0.5}), "um -0.5 mm");
    EXPECT_EQ(FormatOrKeep("%f", {1}), "1.000000");
    EXPECT_EQ(FormatOrKeep("100%% von %d", {7}), "100% von 7");
    EXPECT_EQ(FormatOrKeep("[%5d|%-5d|%05d|%+d]", {42, 42, -42, 42}), "[   42|42   |-0042|+42]");
    EXPECT_EQ(FormatOrKeep("%x %X %u", {255, 255, -1}), "ff FF 4294967295");
    EXPECT_EQ(FormatOrKeep("%.3s|%4s|%c", {QString("abcdef"), QString("ab"), QChar('z')}), "abc|  ab|z");
    EXPECT_EQ(FormatOrKeep("%.2e", {1234.5}), "1.23e+03");
    EXPECT_EQ(FormatOrKeep("ohne Platzhalter", {1, 2}), "ohne Platzhalter");
}

TEST(FormatText, FloatsUseTheLocaleDecimalSeparator)
{
    TLocaleScope german(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(FormatOrKeep("%.1f mm", {1.5}), "1,5 mm");
    EXPECT_EQ(FormatOrKeep("%d", {12345}), "12345");
}

TEST(FormatText, MismatchKeepsTheTextUnformatted)
{
    const QStringList broken = {"%d Karten", "%s", "%.1f mm", "%d und %d", "%q", "am Ende %", "%5", "%99999d", "%.99999f"};
    const QVariantList args[] = {{QString("drei")}, {3}, {QString("x")}, {1}, {1}, {1}, {1}, {1}, {1.0}};
    for (int i = 0; i < broken.size(); ++i) {
        QString result = "unverändert";
        EXPECT_FALSE(TryFormatText(broken[i], args[i], result)) << qPrintable(broken[i]);
        EXPECT_EQ(result, "unverändert");
        EXPECT_EQ(FormatOrKeep(broken[i], args[i]), broken[i]);
    }
    EXPECT_EQ(FormatOrKeep("%d", {}), "%d");
    EXPECT_EQ(FormatOrKeep("%d", {1.5}), "%d");
    EXPECT_EQ(FormatOrKeep("%d", {QVariant()}), "%d");
}
