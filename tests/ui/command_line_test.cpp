#include "ui/uCommandLine.h"

#include <gtest/gtest.h>

namespace {

TCommandLine Parse(const QStringList &arguments)
{
    return ParseCommandLine(QStringList{QStringLiteral("/usr/bin/tessaro")} + arguments);
}

TEST(CommandLine, QtsOwnOptionsAndTheResourceSwitchReachTheWizard)
{
    // A session manager restarts the program with "-session".
    for (const QStringList &arguments :
         {QStringList{"-session", "10abc", "Karte.tsx"}, QStringList{"-style=fusion", "-reverse", "Karte.tsx"},
          QStringList{"/reswrite", "Karte.tsx"}}) {
        const TCommandLine parsed = Parse(arguments);
        EXPECT_EQ(parsed.Action, TCommandLine::Wizard) << arguments.join(' ').toStdString();
        EXPECT_EQ(parsed.CardFile, "Karte.tsx") << arguments.join(' ').toStdString();
    }
}

TEST(CommandLine, RefusalsNameTheOptionAsTyped)
{
    const struct
    {
        QStringList Arguments;
        const char *Key;
        const char *Argument;
    } cases[] = {
        {{"--bogus"}, "ID_UNBEKANNTEOPTION", "--bogus"},
        {{"--print-to-pdf", "a.pdf", "-x=1"}, "ID_UNBEKANNTEOPTION", "-x"},
        {{"--print-to-pdf", "a.pdf", "--test-page=ja"}, "ID_UNERWARTETERWERT", "--test-page"},
        {{"--print-to-pdf", "a.pdf", "--sheets"}, "ID_FEHLENDERWERT", "--sheets"},
        {{"--print-to-pdf="}, "ID_FEHLENDERWERT", "--print-to-pdf"},
        {{"--print-to-pdf", "a.pdf", "--sheets", "100"}, "ID_ANZAHLBOEGEN", "100"},
        {{"--sheets", "3", "Karte.tsx"}, "ID_NURBEIMDRUCKEN", "--sheets"},
        {{"--print-to-pdf", "a.pdf", "--print-to-printer", "Flur"}, "ID_ZWEIZIELE", ""},
        {{"a.tsx", "b.tsx"}, "ID_ZWEIKARTEN", ""},
        {{"--print-to-pdf", "a.pdf", "--sheets", "3", "--sheets", "99"}, "ID_ZWEIMAL", "--sheets"},
        {{"--print-to-pdf", "-"}, "ID_PDFSTRICH", ""},
    };
    for (const auto &c : cases) {
        const TCommandLine parsed = Parse(c.Arguments);
        EXPECT_EQ(parsed.Action, TCommandLine::Error) << c.Arguments.join(' ').toStdString();
        EXPECT_EQ(parsed.ErrorKey, c.Key) << c.Arguments.join(' ').toStdString();
        EXPECT_EQ(parsed.ErrorArgument, c.Argument) << c.Arguments.join(' ').toStdString();
    }
    EXPECT_EQ(Parse({"--bogus", "--help"}).Action, TCommandLine::Error) << "help does not hide a wrong option";
    EXPECT_EQ(Parse({"Karte.tsx", "--help"}).Action, TCommandLine::Help);
}

} // namespace
