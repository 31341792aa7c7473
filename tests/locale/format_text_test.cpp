#include "locale/uFormatText.h"
#include "locale/uNumberText.h"
#include "locale/ulocalize.h"

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

// The program in a language of the table while it lives.
class TLanguageScope
{
public:
    explicit TLanguageScope(int index) { FLocalizer.SetLanguage(index); }

private:
    TLocalizer FLocalizer{QStringList{QStringLiteral("tessaro")}};
    TLocalizerOverride FInstalled{FLocalizer};
};

} // namespace

TEST(FormatText, FormatsThePlaceholdersOfTheTexts)
{
    TLanguageScope english(1);
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

// The machine's locale plays no part: a German program on an English
// machine and the other way round.
TEST(FormatText, FloatsFollowTheProgramsLanguage)
{
    {
        TLocaleScope machine(QLocale(QLocale::English, QLocale::UnitedStates));
        TLanguageScope german(0);
        EXPECT_EQ(FormatOrKeep("%.1f mm", {1.5}), "1,5 mm");
        EXPECT_EQ(FormatOrKeep("%d", {12345}), "12345");
        EXPECT_EQ(NumberText(1234.5, 3), "1234,5") << "no thousands separator";
    }
    TLocaleScope machine(QLocale(QLocale::German, QLocale::Germany));
    TLanguageScope english(1);
    EXPECT_EQ(FormatOrKeep("%.1f mm", {1.5}), "1.5 mm");
    EXPECT_EQ(NumberText(88.9f, 3), "88.9");
    EXPECT_EQ(NumberText(-0.01, 1), "0");
    EXPECT_EQ(NumberText(20, 1), "20");
}

// Both separators read as the decimal one in every language; what is no
// number is refused rather than guessed at.
TEST(NumberText, ReadsEitherDecimalSeparatorAndRefusesTheRest)
{
    TLanguageScope english(1);
    const std::pair<const char *, double> numbers[] = {
        {"1,5", 1.5}, {"1.5", 1.5}, {" -2,25 ", -2.25}, {"+3", 3}, {",5", 0.5}, {"1.500", 1.5}, {"7,", 7}};
    for (const auto &[text, value] : numbers) {
        const TNumberReading reading = ReadNumber(QString::fromUtf8(text), 3);
        EXPECT_EQ(reading.State, QValidator::Acceptable) << text;
        EXPECT_DOUBLE_EQ(reading.Value, value) << text;
    }
    for (const char *text : {"1.5.2", "1,5,2", "", "-", "."})
        EXPECT_EQ(ReadNumber(QString::fromUtf8(text), 3).State, QValidator::Intermediate) << text;
    for (const char *text : {"abc", "1e3", "1 5", "1,5x", "0x10"})
        EXPECT_EQ(ReadNumber(QString::fromUtf8(text), 3).State, QValidator::Invalid) << text;
    EXPECT_EQ(ReadNumber(QStringLiteral("1,25"), 1).State, QValidator::Invalid) << "more decimals than the field has";
    EXPECT_EQ(ReadNumber(QStringLiteral("1,50"), 1).State, QValidator::Acceptable);
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
