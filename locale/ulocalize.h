#pragma once

#include "locale/uFormatText.h"
#include "support/uDialogService.h"
#include "support/uMemIni.h"

#include <QLocale>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>

class QObject;
class QTranslator;
class TFrameworkTranslator;

// One row of the language table; the row index is the language index used
// by the language menu, the settings value "Sprache" and the resource id.
struct TLanguageInfo
{
    const char *Code;        // "deu"
    int PrimaryLanguageId;   // low 8 bits of a locale id (7 = German)
    int ResourceId;          // LANG resource, 100 + index
    const char *MenuCaption; // German name of the language
    const char *QtLanguage;  // ISO 639-1 code of Qt's own translations
};

inline constexpr int LanguageCount = 10;
extern const TLanguageInfo LanguageTable[LanguageCount];

// A language text with this value counts as no text.
inline constexpr char16_t MissingTextMarker[] = u"HM2001 kein String";
// What a lookup gives when neither the language nor the code knows the key.
inline constexpr char16_t NoDefaultText[] = u"kein Defaultwert definiert";

// Number of framework texts (key names in shortcut texts, message-box
// captions and buttons) taken from the current language.
inline constexpr int FrameworkTextCount = 33;
extern const char *const FrameworkTextKeys[FrameworkTextCount];

// The program's texts in ten languages. Forms are translated by component
// name; texts code needs are looked up by key, with German defaults that the
// code registers itself. Started with "/RESWRITE" it collects every design
// text and default instead and writes them to a ".txt" file next to the
// program when it ends.
class TLocalizer
{
public:
    // arguments as QCoreApplication::arguments(): the program first.
    explicit TLocalizer(const QStringList &arguments);
    ~TLocalizer();
    TLocalizer(const TLocalizer &) = delete;
    TLocalizer &operator=(const TLocalizer &) = delete;

    bool ResWriteMode() const { return FResWriteMode; }
    int LanguageIndex() const { return FLanguageIndex; }

    // Switches to the language and re-translates every top-level form.
    // Throws std::runtime_error when its resource exists but cannot be read.
    void SetLanguage(int index);
    // Language stored as "Sprache", else the one of the user's locale.
    void SelectStartLanguage(const QLocale &userLocale = QLocale::system());
    bool IsLanguageAvailable(int index) const;
    bool LoadLanguage(int index);
    QString GetLanguageCode() const;

    // Applies the current language to the form and what it owns (collects its
    // design texts instead in resource-writing mode).
    void TranslateForm(QObject *form);

    void SetDefault(const QString &section, const QString &key, const QString &text);
    QString GetText(const QString &section, const QString &key) const;

    static QString EscapeText(const QString &text);
    static QString UnescapeText(const QString &text);

    // The caption of the program's message boxes of that kind in the current
    // language; the framework's own caption until a language was switched to.
    QString MessageCaption(TMsgDlgType type) const;

    const TMyMemIniFile &Translations() const { return FTranslations; }
    const TMyMemIniFile &Defaults() const { return FDefaults; }
    const QStringList &FrameworkTexts() const { return FFrameworkTexts; }

    // The ".txt" file next to the program that resource-writing mode writes.
    QString ResourceFileName() const;
    // Merges the defaults into the collected texts and writes them into the
    // ".txt" file, keeping what the file held. Throws EIniFileException.
    void WriteResourceFile();
    // In resource-writing mode, writes the ".txt" file now rather than when
    // the localizer ends, and says why it failed (Kind None: written, or not
    // in that mode). The file is written once.
    TFileError Finish();

private:
    void TranslateFrameworkTexts();
    // Qt's own texts (file and page-setup dialogs, message boxes) in the
    // language; Qt's English when it has no translation for it.
    void LoadQtTranslations();
    void TranslateTree(QObject *component);
    void TranslateComponent(QObject *component);
    void CollectForm(QObject *form);
    void CollectTree(QObject *component);
    void CollectComponent(QObject *component);

    bool FResWriteMode = false;
    bool FFinished = false;
    int FLanguageIndex = 0;
    QString FProgramPath;
    TMyMemIniFile FTranslations;
    TMyMemIniFile FDefaults;
    QString FCurrentSection;
    QStringList FFrameworkTexts;
    std::unique_ptr<TFrameworkTranslator> FTranslator;
    std::unique_ptr<QTranslator> FQtTranslator;
};

// The program's localizer, created on first use from the application's
// command line (so after the QApplication exists).
TLocalizer &Localizer();
// Ends the program's localizer; in resource-writing mode it writes its file
// then, and a failure is reported in a message box and gives false. Call
// before the application object goes.
bool FinalizeLocalizer();
// The message for a ".txt" file of resource-writing mode that could not be
// written, in the language of the installed localizer.
QString ResourceFileErrorText(const QString &fileName, const TFileError &error);

// Installs another localizer as the program's one while it lives (tests).
class TLocalizerOverride
{
public:
    explicit TLocalizerOverride(TLocalizer &localizer);
    ~TLocalizerOverride();
    TLocalizerOverride(const TLocalizerOverride &) = delete;
    TLocalizerOverride &operator=(const TLocalizerOverride &) = delete;

private:
    TLocalizer *FPrevious;
};

// Text helpers for code without a localizer form at hand; "Default" is the
// section of the program-wide texts.
void RegisterDefaultText(const QString &key, const QString &text);
void RegisterSectionDefault(const QString &section, const QString &key, const QString &text);
QString GetDefaultText(const QString &key);
QString FormatDefaultText(const QString &key, const QVariantList &args);
QString GetSectionText(const QString &section, const QString &key);

// A message box of the program with the caption of its kind in the current
// language (warning, error, information, confirmation); returns the button
// pressed. All program messages go through here.
int ShowMessageBox(TMsgDlgType type, const QString &text, int buttons = mbOK, int defaultButton = 0);
