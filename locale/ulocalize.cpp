#include "locale/ulocalize.h"

#include "locale/uFileErrorText.h"
#include "locale/uFrameworkTexts.h"
#include "locale/uHMRegistry.h"
#include "locale/uLocalizerForm.h"
#include "support/uResources.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <QWidget>

#include <stdexcept>
#include <utility>

const TLanguageInfo LanguageTable[LanguageCount] = {
    {"deu", 7, 100, "Deutsch", "de"},      {"eng", 9, 101, "Englisch", "en"},
    {"fra", 12, 102, "Französisch", "fr"}, {"ita", 16, 103, "Italienisch", "it"},
    {"spa", 10, 104, "Spanisch", "es"},    {"por", 22, 105, "Portugisisch", "pt"},
    {"ned", 19, 106, "Holländisch", "nl"}, {"ung", 14, 107, "Ungarisch", "hu"},
    {"cze", 5, 108, "Tschechisch", "cs"},  {"slk", 27, 109, "Slowakisch", "sk"},
};

const char *const FrameworkTextKeys[FrameworkTextCount] = {
    "XSmkcBkSp",     "XSmkcTab",       "XSmkcEsc",      "XSmkcEnter",      "XSmkcSpace",   "XSmkcPgUp",
    "XSmkcPgDn",     "XSmkcEnd",       "XSmkcHome",     "XSmkcLeft",       "XSmkcUp",      "XSmkcRight",
    "XSmkcDown",     "XSmkcIns",       "XSmkcDel",      "XSmkcShift",      "XSmkcCtrl",    "XSmkcAlt",
    "IDS_mtWarning", "IDS_mtError",    "IDS_mtInformation", "IDS_mtConfimation", "IDS_mbYes", "IDS_mbNo",
    "IDS_mbOK",      "IDS_mbCancel",   "IDS_mbHelp",    "IDS_mbAbort",     "IDS_mbRetry",  "IDS_mbIgnore",
    "IDS_mbAll",     "IDS_mbNoToAll",  "IDS_mbYesToAll",
};

namespace {

const QString DefaultSection = QStringLiteral("Default");
const QString LanguageValue = QStringLiteral("Sprache");
constexpr int NoStoredLanguage = -99;

// German texts of the key names; the message-box texts have none, so a
// language without them shows "kein Defaultwert definiert".
const char16_t *const KeyNameDefaults[] = {
    u"Rück", u"Tab",    u"Esc",       u"Enter", u"Leertaste", u"BildAuf",    u"BildAb",
    u"Ende", u"Pos1",   u"Links",     u"Nach oben", u"Rechts", u"Nach unten", u"Einfg",
    u"Entf", u"Umsch+", u"Strg+",     u"Alt+",
};

constexpr int FirstCaptionText = 18; // "IDS_mtWarning"

// The low byte of a Windows locale id for the user's language: what the
// language table is keyed by. Languages outside the table give 0 (neutral).
int PrimaryLanguageId(QLocale::Language language)
{
    switch (language) {
    case QLocale::German: return 7;
    case QLocale::English: return 9;
    case QLocale::French: return 12;
    case QLocale::Italian: return 16;
    case QLocale::Spanish: return 10;
    case QLocale::Portuguese: return 22;
    case QLocale::Dutch: return 19;
    case QLocale::Hungarian: return 14;
    case QLocale::Czech: return 5;
    case QLocale::Slovak: return 27;
    default: return 0;
    }
}

QString ResourceName(int index)
{
    return QString::number(LanguageTable[index].ResourceId);
}

bool IsTranslatableProperty(const QString &name)
{
    static const QStringList names = {QStringLiteral("Caption"), QStringLiteral("Hint"), QStringLiteral("Text"),
                                      QStringLiteral("Title")};
    return names.contains(name, Qt::CaseInsensitive);
}

void ShowPlainMessage(const QString &text)
{
    Dialogs().MessageBox(TMsgDlgType::Information, QCoreApplication::applicationName(), text, mbOK, mbOK);
}

TLocalizer *&InstalledLocalizer()
{
    static TLocalizer *installed = nullptr;
    return installed;
}

std::unique_ptr<TLocalizer> &ProgramLocalizer()
{
    static std::unique_ptr<TLocalizer> localizer;
    return localizer;
}

} // namespace

TLocalizer::TLocalizer(const QStringList &arguments)
    : FResWriteMode(arguments.size() > 1 && arguments.at(1).compare(QLatin1String("/RESWRITE"), Qt::CaseInsensitive) == 0)
    , FProgramPath(arguments.isEmpty() ? QString() : QFileInfo(arguments.first()).absoluteFilePath())
{
    for (int i = 0; i < int(std::size(KeyNameDefaults)); ++i)
        SetDefault(DefaultSection, QLatin1String(FrameworkTextKeys[i]), QString::fromUtf16(KeyNameDefaults[i]));
    SetDefault(QStringLiteral("Localizer"), QStringLiteral("NoLanguageFile"),
               QStringLiteral("Die Sprache wird nicht unterstützt"));
    SetDefault(QStringLiteral("Localizer"), QStringLiteral("NoTextFile"),
               QStringLiteral("Die Textdatei \"%s\" konnte nicht geschrieben werden.\r\n%s"));
}

TLocalizer::~TLocalizer()
{
    // The program is ending: a file that cannot be written is reported, not
    // allowed to break the shutdown.
    const TFileError error = Finish();
    if (error.Kind == TFileError::None)
        return;
    const QString text = ResourceFileErrorText(ResourceFileName(), error);
    if (QCoreApplication::instance())
        ShowMessageBox(TMsgDlgType::Error, text);
    else
        qWarning("%s", qUtf8Printable(text));
}

TFileError TLocalizer::Finish()
{
    if (!FResWriteMode || std::exchange(FFinished, true))
        return {};
    try {
        WriteResourceFile();
    } catch (const EIniFileException &e) {
        return e.Error();
    } catch (const std::exception &e) {
        return {TFileError::CannotWrite, QString::fromUtf8(e.what())};
    }
    return {};
}

bool TLocalizer::IsLanguageAvailable(int index) const
{
    return index >= 0 && index < LanguageCount && Resources::Exists(QStringLiteral("LANG"), ResourceName(index));
}

bool TLocalizer::LoadLanguage(int index)
{
    FTranslations.Clear();
    if (index < 0 || index >= LanguageCount)
        return false;
    const std::unique_ptr<QIODevice> stream = Resources::Open(QStringLiteral("LANG"), ResourceName(index));
    if (!stream)
        return false;
    try {
        FTranslations.LoadFromStream(*stream);
    } catch (const std::exception &) {
        FTranslations.Clear();
        return false;
    }
    return true;
}

QString TLocalizer::GetLanguageCode() const
{
    return QLatin1String(LanguageTable[FLanguageIndex].Code);
}

void TLocalizer::SetLanguage(int index)
{
    if (FResWriteMode) {
        ShowPlainMessage(QStringLiteral("Sprachumschaltung nicht möglich, da Resourcenschreibmodus aktiviert ist"));
        return;
    }
    if (!IsLanguageAvailable(index))
        return;
    FLanguageIndex = index;
    FTranslations.Clear();
    if (!LoadLanguage(index))
        throw std::runtime_error((GetText(QStringLiteral("Localizer"), QStringLiteral("NoLanguageFile")) + ": "
                                  + GetLanguageCode()).toStdString());
    LoadQtTranslations();
    TranslateFrameworkTexts();
    if (!qobject_cast<QApplication *>(QCoreApplication::instance()))
        return;
    // Forms owned by another form are reached through their owner.
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (!widget->parent() && ComponentTexts::IsForm(widget))
            TranslateForm(widget);
    }
}

void TLocalizer::SelectStartLanguage(const QLocale &userLocale)
{
    int language = Settings().ReadInteger(QString(), LanguageValue, NoStoredLanguage);
    if (language == NoStoredLanguage) {
        const int primary = PrimaryLanguageId(userLocale.language()) & 0xFF;
        language = 0;
        for (int i = 0; i < LanguageCount; ++i) {
            if (LanguageTable[i].PrimaryLanguageId == primary) {
                language = i;
                break;
            }
        }
        if (!IsLanguageAvailable(language))
            return;
    }
    // A stored value goes through unchecked: one out of range changes nothing.
    try {
        SetLanguage(language);
    } catch (const std::exception &) {
        // The program starts on its design texts.
    }
}

void TLocalizer::LoadQtTranslations()
{
    if (!QCoreApplication::instance())
        return;
    // Installed before the framework texts, which are asked first.
    FQtTranslator = std::make_unique<QTranslator>();
    if (!FQtTranslator->load(QLocale(QLatin1String(LanguageTable[FLanguageIndex].QtLanguage)), QStringLiteral("qtbase"),
                             QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return;
    QCoreApplication::installTranslator(FQtTranslator.get());
}

void TLocalizer::TranslateFrameworkTexts()
{
    QStringList texts;
    for (const char *key : FrameworkTextKeys)
        texts << GetText(DefaultSection, QLatin1String(key));
    FFrameworkTexts = texts;
    if (!FTranslator)
        FTranslator = std::make_unique<TFrameworkTranslator>();
    FTranslator->SetTexts(texts);
    if (QCoreApplication::instance()) {
        // Installing again sends the language-change event for the new texts.
        QCoreApplication::removeTranslator(FTranslator.get());
        QCoreApplication::installTranslator(FTranslator.get());
    }
}

QString TLocalizer::MessageCaption(TMsgDlgType type) const
{
    const int offset = int(type);
    if (FFrameworkTexts.size() == FrameworkTextCount)
        return FFrameworkTexts.at(FirstCaptionText + offset);
    static const char *const builtIn[] = {"Warning", "Error", "Information", "Confirm"};
    return QLatin1String(builtIn[offset]);
}

void TLocalizer::SetDefault(const QString &section, const QString &key, const QString &text)
{
    FDefaults.WriteString(section, key, EscapeText(text));
}

QString TLocalizer::GetText(const QString &section, const QString &key) const
{
    const QString marker = QString::fromUtf16(MissingTextMarker);
    QString text = FTranslations.ReadString(section, key, marker);
    if (text == marker)
        text = FDefaults.ReadString(section, key, marker);
    if (text == marker)
        text = QString::fromUtf16(NoDefaultText);
    return UnescapeText(text);
}

QString TLocalizer::EscapeText(const QString &text)
{
    QString escaped = text;
    escaped.replace(QChar('\r'), QLatin1String("#13"));
    escaped.replace(QChar('\n'), QLatin1String("#10"));
    return escaped;
}

QString TLocalizer::UnescapeText(const QString &text)
{
    QString plain = text;
    plain.replace(QLatin1String("#10"), QString(QChar('\n')));
    plain.replace(QLatin1String("#13"), QString(QChar('\r')));
    return plain;
}

void TLocalizer::TranslateForm(QObject *form)
{
    if (!form)
        return;
    if (FResWriteMode) {
        CollectForm(form);
        return;
    }
    const QString previous = FCurrentSection;
    FCurrentSection = QLatin1String(form->metaObject()->className());
    TranslateTree(form);
    if (auto *localizerForm = dynamic_cast<TLocalizerForm *>(form))
        localizerForm->TextsChanged();
    FCurrentSection = previous;
}

void TLocalizer::TranslateTree(QObject *component)
{
    TranslateComponent(component);
    for (QObject *child : component->children()) {
        if (ComponentTexts::IsForm(child))
            TranslateForm(child);
        else
            TranslateTree(child);
    }
}

void TLocalizer::TranslateComponent(QObject *component)
{
    const QString name = component->objectName();
    if (name.isEmpty())
        return;
    const QString marker = QString::fromUtf16(MissingTextMarker);
    for (const TComponentProperty &property : ComponentTexts::Properties(component)) {
        const QString key = name + '.' + property.Name;
        if (property.IsList) {
            QStringList lines = ComponentTexts::ReadList(component, property.Name);
            for (int i = 0;; ++i) {
                const QString text = FTranslations.ReadString(FCurrentSection, key + QString::number(i), marker);
                if (text == marker)
                    break;
                if (i < lines.size())
                    lines[i] = UnescapeText(text);
                else
                    lines << UnescapeText(text);
            }
            ComponentTexts::WriteList(component, property.Name, lines);
        } else if (IsTranslatableProperty(property.Name)) {
            const QString text = FTranslations.ReadString(FCurrentSection, key, marker);
            if (text != marker)
                ComponentTexts::Write(component, property.Name, UnescapeText(text));
        }
    }
}

void TLocalizer::CollectForm(QObject *form)
{
    FCurrentSection = QLatin1String(form->metaObject()->className());
    CollectTree(form);
    FCurrentSection.clear();
}

void TLocalizer::CollectTree(QObject *component)
{
    CollectComponent(component);
    for (QObject *child : component->children())
        CollectTree(child);
}

void TLocalizer::CollectComponent(QObject *component)
{
    const QString name = component->objectName();
    if (name.isEmpty())
        return;
    for (const TComponentProperty &property : ComponentTexts::Properties(component)) {
        const QString key = name + '.' + property.Name;
        if (property.IsList) {
            const QStringList lines = ComponentTexts::ReadList(component, property.Name);
            for (int i = 0; i < lines.size(); ++i)
                FTranslations.WriteString(FCurrentSection, key + QString::number(i), EscapeText(lines.at(i)));
        } else if (IsTranslatableProperty(property.Name)) {
            const QString text = ComponentTexts::Read(component, property.Name);
            if (!text.trimmed().isEmpty())
                FTranslations.WriteString(FCurrentSection, key, EscapeText(text));
        }
    }
}

QString TLocalizer::ResourceFileName() const
{
    const QFileInfo program(FProgramPath);
    return program.absolutePath() + '/' + program.completeBaseName() + QStringLiteral(".txt");
}

void TLocalizer::WriteResourceFile()
{
    QBuffer defaults;
    defaults.open(QIODevice::ReadWrite);
    FDefaults.SaveToStream(defaults);
    defaults.seek(0);
    FTranslations.MergeFromStream(defaults);

    const QString fileName = ResourceFileName();
    TMyMemIniFile file;
    // The file has a fixed name beside the program: a link planted there is
    // neither read nor written through, it is replaced.
    if (!QFileInfo(fileName).isSymLink())
        file.LoadFromFile(fileName);
    QStringList sections;
    FTranslations.ReadSections(sections);
    for (const QString &section : sections) {
        QStringList keys;
        FTranslations.ReadSection(section, keys);
        for (const QString &key : keys)
            file.WriteString(section, key, FTranslations.ReadString(section, key, QString()));
    }
    file.SaveToFile(fileName, TAtomicFile::ReplaceLinks);
}

TLocalizer &Localizer()
{
    if (TLocalizer *installed = InstalledLocalizer())
        return *installed;
    std::unique_ptr<TLocalizer> &program = ProgramLocalizer();
    if (!program) {
        QStringList arguments;
        if (QCoreApplication::instance()) {
            arguments = QCoreApplication::arguments();
            if (!arguments.isEmpty())
                arguments.first() = QCoreApplication::applicationFilePath();
        }
        program = std::make_unique<TLocalizer>(arguments);
    }
    return *program;
}

bool FinalizeLocalizer()
{
    std::unique_ptr<TLocalizer> &program = ProgramLocalizer();
    const TFileError error = program ? program->Finish() : TFileError();
    if (error.Kind != TFileError::None)
        ShowMessageBox(TMsgDlgType::Error, ResourceFileErrorText(program->ResourceFileName(), error));
    program.reset();
    return error.Kind == TFileError::None;
}

QString ResourceFileErrorText(const QString &fileName, const TFileError &error)
{
    return FormatOrKeep(GetSectionText(QStringLiteral("Localizer"), QStringLiteral("NoTextFile")),
                        {QDir::toNativeSeparators(fileName), FileErrorReason(error)});
}

TLocalizerOverride::TLocalizerOverride(TLocalizer &localizer)
    : FPrevious(InstalledLocalizer())
{
    InstalledLocalizer() = &localizer;
}

TLocalizerOverride::~TLocalizerOverride()
{
    InstalledLocalizer() = FPrevious;
}

void RegisterDefaultText(const QString &key, const QString &text)
{
    Localizer().SetDefault(DefaultSection, key, text);
}

void RegisterSectionDefault(const QString &section, const QString &key, const QString &text)
{
    Localizer().SetDefault(section, key, text);
}

QString GetDefaultText(const QString &key)
{
    return Localizer().GetText(DefaultSection, key);
}

QString FormatDefaultText(const QString &key, const QVariantList &args)
{
    return FormatOrKeep(GetDefaultText(key), args);
}

QString GetSectionText(const QString &section, const QString &key)
{
    return Localizer().GetText(section, key);
}

int ShowMessageBox(TMsgDlgType type, const QString &text, int buttons, int defaultButton)
{
    return Dialogs().MessageBox(type, Localizer().MessageCaption(type), text, buttons, defaultButton);
}
