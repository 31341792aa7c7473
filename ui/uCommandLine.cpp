#include "ui/uCommandLine.h"

#include "ProjVersion.h"
#include "locale/uEnvironmentLanguage.h"
#include "locale/ulocalize.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QTextStream>

#include <algorithm>

namespace {

constexpr int ScreenWidth = 80;
constexpr int MinSheets = 1;
constexpr int MaxSheets = 99;
constexpr int FirstContact = 1;

const QString ResWriteSwitch = QStringLiteral("/RESWRITE");

QString Text(const char *key)
{
    return GetSectionText(QLatin1String(CommandLineTextSection), QLatin1String(key));
}

QString Text(const char *key, const QVariantList &args)
{
    return FormatOrKeep(Text(key), args);
}

// The options Qt itself takes from the command line; a session manager
// restarts the program with "-session", users pass "-style".
struct TQtOption
{
    const char *Name;
    bool TakesValue;
};
constexpr TQtOption QtOptions[] = {
    {"style", true},        {"stylesheet", true},      {"widgetcount", false},   {"reverse", false},
    {"qmljsdebugger", true}, {"platform", true},       {"platformpluginpath", true}, {"platformtheme", true},
    {"plugin", true},       {"qwindowgeometry", true}, {"qwindowicon", true},    {"qwindowtitle", true},
    {"session", true},      {"display", true},         {"geometry", true},       {"dialogs", true},
    {"fontengine", true},
};

class TOptions
{
public:
    TOptions()
    {
        FParser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
        FParser.addOptions({Help, Version, PdfFile, Printer, Sheets, TestPage, Contact, ContactIndex});
        for (const TQtOption &qt : QtOptions) {
            QCommandLineOption option(QLatin1String(qt.Name));
            if (qt.TakesValue)
                option.setValueName(QStringLiteral("value"));
            option.setFlags(QCommandLineOption::HiddenFromHelp);
            FParser.addOption(option);
        }
    }

    QCommandLineParser &Parser() { return FParser; }

    // The option a failed parse is about, as typed, and the key of its text.
    std::pair<QString, const char *> Failure(const QStringList &arguments) const
    {
        const QStringList unknown = FParser.unknownOptionNames();
        for (const QString &argument : arguments.mid(1)) {
            if (argument == QLatin1String("--"))
                break;
            if (!argument.startsWith(QLatin1Char('-')) || argument == QLatin1String("-"))
                continue;
            const QString typed = argument.section(QLatin1Char('='), 0, 0);
            const QString name = QString(typed).remove(0, typed.startsWith(QLatin1String("--")) ? 2 : 1);
            if (unknown.contains(name))
                return {typed, "ID_UNBEKANNTEOPTION"};
            if (argument.contains(QLatin1Char('=')) && IsFlag(name))
                return {typed, "ID_UNERWARTETERWERT"};
        }
        // What is left: an option that takes a value ended the line.
        return {arguments.last(), "ID_FEHLENDERWERT"};
    }

    const QCommandLineOption Help{{QStringLiteral("h"), QStringLiteral("help")}};
    const QCommandLineOption Version{{QStringLiteral("v"), QStringLiteral("version")}};
    const QCommandLineOption PdfFile{QStringLiteral("print-to-pdf"), QString(), QStringLiteral("file")};
    const QCommandLineOption Printer{QStringLiteral("print-to-printer"), QString(), QStringLiteral("name")};
    const QCommandLineOption Sheets{QStringLiteral("sheets"), QString(), QStringLiteral("n")};
    const QCommandLineOption TestPage{QStringLiteral("test-page")};
    const QCommandLineOption Contact{QStringLiteral("import-contact"), QString(), QStringLiteral("file")};
    const QCommandLineOption ContactIndex{QStringLiteral("contact-index"), QString(), QStringLiteral("n")};

private:
    bool IsFlag(const QString &name) const
    {
        for (const QCommandLineOption *option : {&Help, &Version, &TestPage})
            if (option->names().contains(name))
                return true;
        for (const TQtOption &qt : QtOptions)
            if (!qt.TakesValue && name == QLatin1String(qt.Name))
                return true;
        return false;
    }

    QCommandLineParser FParser;
};

TCommandLine Refusal(const char *key, const QString &argument = QString())
{
    TCommandLine refused;
    refused.Action = TCommandLine::Error;
    refused.ErrorKey = QLatin1String(key);
    refused.ErrorArgument = argument;
    return refused;
}

// The words after `line`, wrapped at the screen's width, each further line
// indented by `indent`.
QString Wrapped(QString line, const QString &words, int indent)
{
    QString text;
    bool lineHasWord = false;
    for (const QString &word : words.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (lineHasWord && line.size() + 1 + word.size() > ScreenWidth) {
            text += line + QLatin1Char('\n');
            line = QString(indent, QLatin1Char(' '));
            lineHasWord = false;
        }
        if (lineHasWord)
            line += QLatin1Char(' ');
        line += word;
        lineHasWord = true;
    }
    return text + line + QLatin1Char('\n');
}

// "  syntax   description", the description in a column of its own.
QString Entry(const QString &syntax, const QString &description, int column)
{
    return Wrapped(QStringLiteral("  ") + syntax.leftJustified(column - 2), description, column);
}

} // namespace

TCommandLine ParseCommandLine(const QStringList &arguments)
{
    QStringList rest = arguments;
    // "/RESWRITE" as the first argument belongs to the localizer.
    if (rest.size() > 1 && rest.at(1).compare(ResWriteSwitch, Qt::CaseInsensitive) == 0)
        rest.removeAt(1);

    TOptions options;
    QCommandLineParser &parser = options.Parser();
    if (!parser.parse(rest)) {
        const auto [option, key] = options.Failure(rest);
        return Refusal(key, option);
    }
    TCommandLine result;
    if (parser.isSet(options.Help)) {
        result.Action = TCommandLine::Help;
        return result;
    }
    if (parser.isSet(options.Version)) {
        result.Action = TCommandLine::Version;
        return result;
    }

    const QStringList cards = parser.positionalArguments();
    if (cards.size() > 1)
        return Refusal("ID_ZWEIKARTEN");
    result.CardFile = cards.value(0);

    // Two files or two numbers leave it open which one was meant.
    for (const QCommandLineOption *option : {&options.Contact, &options.ContactIndex})
        if (parser.values(*option).size() > 1)
            return Refusal("ID_ZWEIMAL", QStringLiteral("--") + option->names().constFirst());
    result.ContactFile = parser.value(options.Contact);
    if (parser.isSet(options.Contact) && result.ContactFile.isEmpty())
        return Refusal("ID_FEHLENDERWERT", QStringLiteral("--") + options.Contact.names().constFirst());
    if (parser.isSet(options.ContactIndex) && !parser.isSet(options.Contact))
        return Refusal("ID_NURMITKONTAKT", QStringLiteral("--") + options.ContactIndex.names().constFirst());

    const QStringList pdfFiles = parser.values(options.PdfFile);
    const QStringList printers = parser.values(options.Printer);
    if (pdfFiles.size() + printers.size() > 1)
        return Refusal("ID_ZWEIZIELE");
    if (pdfFiles.isEmpty() && printers.isEmpty()) {
        for (const QCommandLineOption *option : {&options.Sheets, &options.TestPage, &options.ContactIndex})
            if (parser.isSet(*option))
                return Refusal("ID_NURBEIMDRUCKEN", QStringLiteral("--") + option->names().constLast());
        return result;
    }
    for (const auto &[values, option] : {std::pair{pdfFiles, &options.PdfFile}, std::pair{printers, &options.Printer}})
        if (!values.isEmpty() && values.first().isEmpty())
            return Refusal("ID_FEHLENDERWERT", QStringLiteral("--") + option->names().constFirst());

    // "-" usually means standard output; a file of that name would surprise.
    if (pdfFiles.value(0) == QLatin1String("-"))
        return Refusal("ID_PDFSTRICH");
    // Two counts leave it open which one was meant.
    if (parser.values(options.Sheets).size() > 1)
        return Refusal("ID_ZWEIMAL", QStringLiteral("--") + options.Sheets.names().constFirst());

    TPrintCommand &print = result.Print;
    print.PdfFile = pdfFiles.value(0);
    print.Printer = printers.value(0);
    print.CardFile = result.CardFile;
    print.TestPage = parser.isSet(options.TestPage);
    if (parser.isSet(options.Sheets)) {
        const QString sheets = parser.value(options.Sheets);
        bool ok = false;
        print.Sheets = sheets.toInt(&ok);
        if (!ok || print.Sheets < MinSheets || print.Sheets > MaxSheets)
            return Refusal("ID_ANZAHLBOEGEN", sheets);
    }
    print.ContactFile = result.ContactFile;
    if (parser.isSet(options.ContactIndex)) {
        const QString index = parser.value(options.ContactIndex);
        bool ok = false;
        print.ContactIndex = index.toInt(&ok);
        if (!ok || print.ContactIndex < FirstContact)
            return Refusal("ID_KONTAKTINDEX", index);
    }
    result.Action = TCommandLine::Printing;
    return result;
}

void RegisterCommandLineTexts()
{
    RegisterPrintCommandTexts();
    const QString section = QLatin1String(CommandLineTextSection);
    const std::pair<const char *, const char *> defaults[] = {
        {"ID_AUFRUF", "Aufruf: %s [Optionen] [%s]"},
        {"ID_ZWECK", "Gestaltet Visitenkarten und druckt sie auf vorgestanzte Kartenbogen. Ohne Druckoption "
                     "öffnet sich der Assistent, mit einer Visitenkartendatei gleich mit dieser Karte."},
        {"ID_OPTIONEN", "Optionen:"},
        {"ID_ARGUMENTE", "Argumente:"},
        {"ID_RUECKGABEWERTE", "Rückgabewerte:"},
        {"ID_OPTHILFE", "Zeigt diese Hilfe und endet."},
        {"ID_OPTVERSION", "Zeigt die Version und endet."},
        {"ID_OPTPDF", "Druckt die Karten ohne Fenster in die PDF-Datei %s."},
        {"ID_OPTDRUCKER", "Druckt die Karten ohne Fenster auf dem Drucker %s."},
        {"ID_OPTBOEGEN", "Anzahl Bögen, 1 bis 99 (ohne Angabe 1)."},
        {"ID_OPTTESTSEITE", "Druckt statt der Karten die Testseite."},
        {"ID_OPTKONTAKT", "Setzt den ersten Kontakt der vCard-Datei %s auf die Karte, wie \"Kontakt "
                          "importieren\" im Menü; eine angegebene Visitenkartendatei gibt die Gestaltung vor."},
        {"ID_OPTKONTAKTNR", "Nimmt statt des ersten den Kontakt Nummer %s der Datei, von 1 an gezählt (nur beim Drucken)."},
        {"ID_OPTRESWRITE", "Nur als erstes Argument: sammelt alle Texte des Programms und schreibt sie am Ende "
                           "in eine Textdatei neben dem Programm."},
        {"ID_ARGKARTE", "Die Visitenkartendatei, die geöffnet oder gedruckt wird; ohne sie die zuletzt "
                        "bearbeitete Karte. Eine vCard-Datei an dieser Stelle öffnet den Assistenten mit ihrem "
                        "Kontakt."},
        {"ID_EXIT0", "Erfolg."},
        {"ID_EXIT1", "Das Drucken ist fehlgeschlagen."},
        {"ID_EXIT2", "Die Befehlszeile ist fehlerhaft oder nennt eine Datei oder einen Drucker, die es nicht gibt."},
        {"ID_WERTDATEI", "DATEI"},
        {"ID_WERTDRUCKER", "NAME"},
        {"ID_WERTANZAHL", "ANZAHL"},
        {"ID_WERTKARTE", "KARTE.tsx"},
        {"ID_WERTKONTAKT", "KONTAKT.vcf"},
        {"ID_KONTAKTINDEX", "Die Kontaktnummer \"%s\" ist keine ganze Zahl ab 1."},
        {"ID_NURMITKONTAKT", "Die Option %s gilt nur mit --import-contact."},
        {"ID_UNBEKANNTEOPTION", "Unbekannte Option %s."},
        {"ID_FEHLENDERWERT", "Nach %s fehlt ein Wert."},
        {"ID_UNERWARTETERWERT", "Die Option %s nimmt keinen Wert an."},
        {"ID_ANZAHLBOEGEN", "Die Anzahl Bögen \"%s\" ist keine ganze Zahl von 1 bis 99."},
        {"ID_ZWEIZIELE", "Es kann nur ein Ausgabeziel angegeben werden."},
        {"ID_ZWEIKARTEN", "Es kann nur eine Visitenkartendatei angegeben werden."},
        {"ID_NURBEIMDRUCKEN", "Die Option %s gilt nur mit --print-to-pdf oder --print-to-printer."},
        {"ID_HILFEHINWEIS", "Mehr mit \"%s --help\"."},
        {"ID_ZWEIMAL", "Die Option %s ist mehrfach angegeben."},
        {"ID_PDFSTRICH", "\"-\" ist kein Name für die PDF-Datei; eine Datei dieses Namens heißt \"./-\"."},
    };
    for (const auto &[key, text] : defaults)
        RegisterSectionDefault(section, QLatin1String(key), QString::fromUtf8(text));
}

QString UsageText(const QString &program)
{
    const QString file = Text("ID_WERTDATEI");
    const QString printer = Text("ID_WERTDRUCKER");
    const QString card = Text("ID_WERTKARTE");
    const QString contact = Text("ID_WERTKONTAKT");
    const std::pair<QString, QString> options[] = {
        {QStringLiteral("-h, --help"), Text("ID_OPTHILFE")},
        {QStringLiteral("-v, --version"), Text("ID_OPTVERSION")},
        {QStringLiteral("--print-to-pdf ") + file, Text("ID_OPTPDF", {file})},
        {QStringLiteral("--print-to-printer ") + printer, Text("ID_OPTDRUCKER", {printer})},
        {QStringLiteral("--sheets ") + Text("ID_WERTANZAHL"), Text("ID_OPTBOEGEN")},
        {QStringLiteral("--test-page"), Text("ID_OPTTESTSEITE")},
        {QStringLiteral("--import-contact ") + contact, Text("ID_OPTKONTAKT", {contact})},
        {QStringLiteral("--contact-index N"), Text("ID_OPTKONTAKTNR", {QStringLiteral("N")})},
        {ResWriteSwitch, Text("ID_OPTRESWRITE")},
    };
    int column = 0;
    for (const auto &option : options)
        column = std::max(column, int(option.first.size()));
    column = std::max(column, int(card.size())) + 4;

    QString text = Text("ID_AUFRUF", {program, card}) + QLatin1Char('\n');
    text += Wrapped(QString(), Text("ID_ZWECK"), 0);
    text += QLatin1Char('\n') + Text("ID_OPTIONEN") + QLatin1Char('\n');
    for (const auto &[syntax, description] : options)
        text += Entry(syntax, description, column);
    text += QLatin1Char('\n') + Text("ID_ARGUMENTE") + QLatin1Char('\n');
    text += Entry(card, Text("ID_ARGKARTE"), column);
    text += QLatin1Char('\n') + Text("ID_RUECKGABEWERTE") + QLatin1Char('\n');
    for (const auto &[code, key] : {std::pair{ExitSuccess, "ID_EXIT0"}, std::pair{ExitFailure, "ID_EXIT1"},
                                    std::pair{ExitUsage, "ID_EXIT2"}})
        text += Entry(QString::number(code), Text(key), column);
    return text;
}

QString ErrorLine(const QString &program, const TCommandLine &commandLine)
{
    const QString message = Text(commandLine.ErrorKey.toLatin1().constData(), {commandLine.ErrorArgument});
    return program + QStringLiteral(": ") + message + QLatin1Char(' ') + Text("ID_HILFEHINWEIS", {program});
}

int ReportCommandLine(const QStringList &arguments, const TCommandLine &commandLine)
{
    const QString program = QFileInfo(arguments.value(0, QStringLiteral("tessaro"))).fileName();
    if (commandLine.Action == TCommandLine::Version) {
        QTextStream(stdout) << "Tessaro " << tessaro::version::Text << '\n';
        return ExitSuccess;
    }
    RegisterCommandLineTexts();
    UseEnvironmentLanguage();
    if (commandLine.Action == TCommandLine::Help) {
        QTextStream(stdout) << UsageText(program);
        return ExitSuccess;
    }
    QTextStream(stderr) << ErrorLine(program, commandLine) << '\n';
    return ExitUsage;
}
