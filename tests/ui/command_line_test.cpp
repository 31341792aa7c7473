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
        {{"--print-to-pdf", "a.pdf", "--contact-index", "2"}, "ID_NURMITKONTAKT", "--contact-index"},
        {{"--import-contact", "k.vcf", "--contact-index", "2"}, "ID_NURBEIMDRUCKEN", "--contact-index"},
        {{"--print-to-pdf", "a.pdf", "--import-contact", "k.vcf", "--contact-index", "0"}, "ID_KONTAKTINDEX", "0"},
        {{"--print-to-pdf", "a.pdf", "--import-contact", "k.vcf", "--contact-index", "2x"}, "ID_KONTAKTINDEX", "2x"},
        {{"--import-contact", "k.vcf", "--import-contact", "l.vcf"}, "ID_ZWEIMAL", "--import-contact"},
        {{"--import-contact="}, "ID_FEHLENDERWERT", "--import-contact"},
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

TEST(CommandLine, ContactToImportReachesThePrintAndTheWizard)
{
    const TCommandLine printing =
        Parse({"--print-to-pdf", "a.pdf", "--import-contact", "team.vcf", "--contact-index", "3", "Karte.tsx"});
    ASSERT_EQ(printing.Action, TCommandLine::Printing);
    EXPECT_EQ(printing.Print.ContactFile, "team.vcf");
    EXPECT_EQ(printing.Print.ContactIndex, 3);
    EXPECT_EQ(printing.Print.CardFile, "Karte.tsx");
    EXPECT_EQ(Parse({"--print-to-printer", "Flur", "--import-contact", "team.vcf"}).Print.ContactIndex, 1);

    const TCommandLine wizard = Parse({"--import-contact", "team.vcf"});
    ASSERT_EQ(wizard.Action, TCommandLine::Wizard);
    EXPECT_EQ(wizard.ContactFile, "team.vcf");
}

} // namespace
