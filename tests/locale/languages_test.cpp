#include "locale/uLocalizerForm.h"
#include "locale/ulocalize.h"
#include "support/uMemIni.h"
#include "support/uResources.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QWidget>

#include <memory>
#include <string>

namespace {

// The ten built-in language resources, as the program reads them.
struct TLanguageText
{
    QString Name;      // resource name, "100" ... "109"
    QByteArray Bytes;  // the resource as stored
    QString Text;      // decoded, byte-order mark removed
    std::unique_ptr<TMyMemIniFile> Ini;
};

TLanguageText LoadLanguageText(int index)
{
    TLanguageText language;
    language.Name = QString::number(LanguageTable[index].ResourceId);
    language.Bytes = Resources::Load(QStringLiteral("LANG"), language.Name);
    if (language.Bytes.startsWith("\xFF\xFE") && language.Bytes.size() % 2 == 0)
        language.Text = QString::fromUtf16(reinterpret_cast<const char16_t *>(language.Bytes.constData() + 2),
                                           (language.Bytes.size() - 2) / 2);
    language.Ini = std::make_unique<TMyMemIniFile>();
    QBuffer stream(&language.Bytes);
    stream.open(QIODevice::ReadOnly);
    language.Ini->LoadFromStream(stream);
    return language;
}

QStringList Sections(const TMyMemIniFile &ini)
{
    QStringList sections;
    ini.ReadSections(sections);
    return sections;
}

QStringList Keys(const TMyMemIniFile &ini, const QString &section)
{
    QStringList keys;
    ini.ReadSection(section, keys);
    return keys;
}

// One name a line, so a failure shows which name is missing or out of place.
std::string Listing(const QStringList &names)
{
    return names.join('\n').toStdString();
}

// printf placeholders in order; "%%" is a literal percent sign.
QStringList Placeholders(const QString &text)
{
    static const QRegularExpression placeholder(QStringLiteral("%[-+ 0#]*\\d*(?:\\.\\d+)?[a-zA-Z%]"));
    QStringList found;
    for (const QRegularExpressionMatch &match : placeholder.globalMatch(text)) {
        if (match.captured() != QLatin1String("%%"))
            found << match.captured();
    }
    return found;
}

QString Value(const TLanguageText &language, const QString &section, const QString &key)
{
    return language.Ini->ReadString(section, key, QString::fromUtf16(MissingTextMarker));
}

TEST(LanguageResources, AllTenAreUtf16WithCrLfLines)
{
    for (int index = 0; index < LanguageCount; ++index) {
        const TLanguageText language = LoadLanguageText(index);
        SCOPED_TRACE(language.Name.toStdString());
        ASSERT_TRUE(language.Bytes.startsWith("\xFF\xFE")) << "no UTF-16 little-endian byte-order mark";
        ASSERT_EQ(language.Bytes.size() % 2, 0);
        EXPECT_TRUE(language.Text.isValidUtf16()) << "broken surrogate pair";
        EXPECT_TRUE(language.Text.endsWith(QLatin1String("\r\n")));

        // Every line of a section is a key or a comment: a value broken over
        // two lines would leave its continuation as a line without "=".
        bool inSection = false;
        const QStringList lines = language.Text.split(QLatin1String("\r\n"));
        for (const QString &line : lines) {
            EXPECT_FALSE(line.contains('\r') || line.contains('\n')) << "line break other than CR LF";
            if (line.startsWith('[') && line.endsWith(']'))
                inSection = true;
            else if (inSection && !line.isEmpty() && !line.startsWith(';')) {
                EXPECT_TRUE(line.contains('=')) << "line without a key: " << line.toStdString();
            }
        }
    }
}

TEST(LanguageResources, EveryLanguageHasTheGermanKeysAndPlaceholders)
{
    const TLanguageText german = LoadLanguageText(0);
    const QStringList sections = Sections(*german.Ini);
    ASSERT_FALSE(sections.isEmpty());
    const QString marker = QString::fromUtf16(MissingTextMarker);
    const QLatin1String lineBreak("#13#10");

    for (int index = 0; index < LanguageCount; ++index) {
        const TLanguageText language = LoadLanguageText(index);
        SCOPED_TRACE(language.Name.toStdString());
        ASSERT_EQ(Listing(Sections(*language.Ini)), Listing(sections));
        for (const QString &section : sections) {
            const QStringList keys = Keys(*german.Ini, section);
            ASSERT_EQ(Listing(Keys(*language.Ini, section)), Listing(keys)) << "section " << section.toStdString();
            for (const QString &key : keys) {
                SCOPED_TRACE((section + ' ' + key).toStdString());
                const QString model = Value(german, section, key);
                const QString text = Value(language, section, key);
                EXPECT_NE(text.toStdString(), marker.toStdString());
                if (!model.trimmed().isEmpty()) {
                    EXPECT_FALSE(text.trimmed().isEmpty());
                }
                EXPECT_EQ(Listing(Placeholders(text)), Listing(Placeholders(model)));
                EXPECT_EQ(text.count(lineBreak), model.count(lineBreak));
            }
        }
    }
}

TEST(LanguageResources, SampleCardsUseReservedMailDomains)
{
    static const QRegularExpression address(QStringLiteral("[^\\s:]+@([^\\s#]+)"));
    for (int index = 1; index < LanguageCount; ++index) {
        const TLanguageText language = LoadLanguageText(index);
        SCOPED_TRACE(language.Name.toStdString());
        for (const QString &key : Keys(*language.Ini, QStringLiteral("Adresse"))) {
            for (const QRegularExpressionMatch &match : address.globalMatch(Value(language, "Adresse", key))) {
                const QString domain = match.captured(1);
                EXPECT_TRUE(domain == "example.org" || domain == "example.com") << domain.toStdString();
            }
        }
    }
}

// A form named like the main window, with a few of its controls and one
// label the form composes itself from a formatted text.
class TMaster : public QWidget, public TLocalizerForm
{
    Q_OBJECT

public:
    TMaster()
        : TLocalizerForm(this)
    {
        setObjectName(QStringLiteral("Master"));
        Weiter = new QPushButton(QStringLiteral("Weiter >>"), this);
        Weiter->setObjectName(QStringLiteral("BtnWeiter"));
        Drucker = new QGroupBox(QStringLiteral("Drucker"), this);
        Drucker->setObjectName(QStringLiteral("gbDrucker"));
        Up = new QPushButton(Drucker);
        Up->setObjectName(QStringLiteral("BtnDruckPosUp"));
        Anzahl = new QLabel(Drucker);
        Anzahl->setObjectName(QStringLiteral("labAnzahl"));
        Loaded();
    }

    void RegisterDefaultTexts() override
    {
        SetDefaultText(QStringLiteral("ID_ANZKARTEN"), QStringLiteral("entspricht %d Visitenkarten"));
    }

    void TextsChanged() override
    {
        Anzahl->setText(FormatText(QStringLiteral("ID_ANZKARTEN"), {30}));
        ++TextsChangedCount;
    }

    QPushButton *Weiter;
    QGroupBox *Drucker;
    QPushButton *Up;
    QLabel *Anzahl;
    int TextsChangedCount = 0;
};

TEST(LanguageSwitch, ThroughAllTenLanguagesOnAForm)
{
    TLocalizer localizer({QStringLiteral("tessaro")});
    const TLocalizerOverride installed(localizer);
    TMaster form;

    // English first, so every later switch replaces texts of another language.
    for (int index : {1, 2, 3, 4, 5, 6, 7, 8, 9, 0}) {
        const TLanguageText language = LoadLanguageText(index);
        SCOPED_TRACE(language.Name.toStdString());
        const int changesBefore = form.TextsChangedCount;

        ASSERT_NO_THROW(localizer.SetLanguage(index));

        EXPECT_EQ(localizer.LanguageIndex(), index);
        EXPECT_EQ(localizer.GetLanguageCode(), QLatin1String(LanguageTable[index].Code));
        EXPECT_EQ(form.windowTitle(), Value(language, "TMaster", "Master.Caption"));
        EXPECT_EQ(form.Weiter->text(), Value(language, "TMaster", "BtnWeiter.Caption"));
        EXPECT_EQ(form.Drucker->title(), Value(language, "TMaster", "gbDrucker.Caption"));
        EXPECT_EQ(form.Up->toolTip(), Value(language, "TMaster", "BtnDruckPosUp.Hint"));
        EXPECT_EQ(form.TextsChangedCount, changesBefore + 1);
        EXPECT_EQ(form.Anzahl->text(), Value(language, "TMaster", "ID_ANZKARTEN").replace("%d", "30"));

        // The framework texts of every language are its own, none missing.
        ASSERT_EQ(localizer.FrameworkTexts().size(), FrameworkTextCount);
        for (int i = 0; i < FrameworkTextCount; ++i)
            EXPECT_EQ(localizer.FrameworkTexts().at(i), Value(language, "Default", FrameworkTextKeys[i]));
        EXPECT_EQ(localizer.MessageCaption(TMsgDlgType::Confirmation),
                  Value(language, "Default", "IDS_mtConfimation"));
    }
}

} // namespace

#include "languages_test.moc"
