#include "model/uDocument.h"

#include "common/CpuTime.h"
#include "common/FileAccessLimits.h"
#include "common/ScriptedDialogs.h"
#include "common/TestFiles.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

namespace {

// Card files a user may pick by mistake or receive damaged: each is refused
// or read as far as it makes sense, and the document in the window stays as
// it was when the file is refused.
class BadCardFile : public ::testing::Test
{
protected:
    void SetUp() override
    {
        document.LoadFromRegistry("BadCardFileTest");
        document.SetName("Vorher");
        document.SetAdresse({"Alte Str. 1"});
        document.SetModified(true);
    }

    // Chosen in the open dialog: refused with a message that names it.
    void ExpectRefused(const QString &file)
    {
        SCOPED_TRACE(file.toStdString());
        dialogs.Messages.clear();
        dialogs.Files = {file};
        EXPECT_FALSE(document.Open());
        ASSERT_EQ(dialogs.Messages.size(), 1u);
        EXPECT_EQ(dialogs.Messages[0].Type, TMsgDlgType::Error);
        EXPECT_EQ(dialogs.Messages[0].Text, "Die Datei \"" + file + "\" konnte nicht als Visitenkartendatei gelesen werden.");
        EXPECT_EQ(document.Name(), "Vorher");
        EXPECT_EQ(document.Adresse(), QStringList{"Alte Str. 1"});
        EXPECT_TRUE(document.FileName().isEmpty());
    }

    TScriptedDialogs dialogs;
    QTemporaryDir dir;
    QString path = dir.filePath("Karte.tsx");
    TDocument document;
};

TEST_F(BadCardFile, GarbageEmptyAndOverlongFilesAreRefused)
{
    ASSERT_TRUE(WriteAll(path, RandomBytes(64 * 1024, 13)));
    ExpectRefused(path);

    ASSERT_TRUE(WriteAll(path, QByteArray()));
    ExpectRefused(path);

    QElapsedTimer timer;
    timer.start();
    ASSERT_TRUE(WriteAll(path, QByteArray(50 * 1024 * 1024, 'x')));
    ExpectRefused(path);
    EXPECT_LT(timer.elapsed(), 10000);

    // Far beyond any card, though they start like one: 300 000 sections, and
    // a card header followed by 600 MB of nothing.
    QByteArray sections = "[Daten]\r\nName=Viele\r\n";
    for (int i = 0; i < 300000; ++i)
        sections += "[A" + QByteArray::number(i) + "]\r\nk=v\r\n";
    ASSERT_TRUE(WriteAll(path, sections));
    ExpectRefused(path);
    QFile sparse(path);
    ASSERT_TRUE(sparse.open(QIODevice::WriteOnly));
    sparse.write("[Daten]\r\nName=Sparse\r\n");
    ASSERT_TRUE(sparse.resize(600 * 1024 * 1024));
    sparse.close();
    ExpectRefused(path);
}

// No card holds more than the 2047 characters of a profile read; a longer
// name would keep the printer busy for minutes.
TEST_F(BadCardFile, OverlongValuesAreCutToWhatACardHolds)
{
    ASSERT_TRUE(WriteAll(path, "[Daten]\r\nName=" + QByteArray(2000000, 'x') + "\r\nAdresse0=" + QByteArray(5000, 'y')
                                   + "\r\n"));
    ASSERT_TRUE(document.LoadFromFile(path));
    EXPECT_EQ(document.Name(), QString(2047, 'x'));
    EXPECT_EQ(document.Adresse(), QStringList{QString(2047, 'y')});
}

TEST_F(BadCardFile, FolderOrDeviceInPlaceOfTheFileIsRefused)
{
    ExpectRefused(dir.path());
    ExpectRefused(QStringLiteral("/dev/zero"));
    ExpectRefused(QStringLiteral("/dev/null"));
}

// Unlike a file of something else, a file that may not be read says why.
TEST_F(BadCardFile, FileThatMayNotBeReadSaysWhy)
{
    ASSERT_TRUE(WriteAll(path, "[Daten]\r\nName=Geheim\r\n"));
    ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::WriteOwner));
    const TFilePermissionsHold permissions;
    dialogs.Files = {path};
    EXPECT_FALSE(document.Open());
    ASSERT_EQ(dialogs.Messages.size(), 1u);
    EXPECT_EQ(dialogs.Messages[0].Type, TMsgDlgType::Error);
    EXPECT_EQ(dialogs.Messages[0].Text, "Die Datei \"" + path + "\" konnte nicht gelesen werden.\r\nDer Zugriff wurde verweigert.");
    EXPECT_EQ(document.Name(), "Vorher");
}

// A card file holds 4 MB as the program writes it; a card beyond would be
// saved into a file that cannot be opened again, so it is not saved.
TEST_F(BadCardFile, CardTooLargeToBeOpenedAgainIsNotSaved)
{
    ASSERT_TRUE(document.SaveToFile(path));
    const QByteArray before = ReadAll(path);
    document.SetTelefonFax(QStringList(2100, QString(2000, 't')));
    dialogs.Files = {path};
    EXPECT_FALSE(document.SaveAs());
    ASSERT_EQ(dialogs.Messages.size(), 1u);
    EXPECT_EQ(dialogs.Messages[0].Text, "Die Datei " + path + " konnte nicht gespeichert werden.\r\n"
                                            + QString::fromUtf8("Die Datei würde zu groß, um wieder geöffnet werden zu können."));
    EXPECT_EQ(ReadAll(path), before);
    EXPECT_TRUE(document.Modified());
}

TEST_F(BadCardFile, Utf16FilesWithByteOrderMarkAreRead)
{
    const QString text = QString::fromUtf8("[Daten]\r\nName=Jürgen Müller\r\nAdresse0=Königstraße 5\r\n");
    for (const QByteArray &bytes : {Utf16WithMark(text, QStringConverter::Utf16LE),
                                    Utf16WithMark(text, QStringConverter::Utf16BE)}) {
        ASSERT_TRUE(WriteAll(path, bytes));
        ASSERT_TRUE(document.LoadFromFile(path));
        EXPECT_EQ(document.Name(), QString::fromUtf8("Jürgen Müller"));
        EXPECT_EQ(document.Adresse(), QStringList{QString::fromUtf8("Königstraße 5")});
    }
}

// A hundred thousand address lines all arrive and go back; reading and
// writing stay linear in the number of lines (quadratic work would take
// minutes here).
TEST_F(BadCardFile, HundredThousandAddressLinesAreReadAndSavedWhole)
{
    QByteArray content = "[Daten]\r\nName=Viel\r\n";
    for (int i = 0; i < 100000; ++i)
        content += "Adresse" + QByteArray::number(i) + "=Zeile " + QByteArray::number(i) + "\r\n";
    content += "TelefonFaxEMail0=Tel 1\r\n";
    ASSERT_TRUE(WriteAll(path, content));

    qint64 start = CpuMs();
    ASSERT_TRUE(document.LoadFromFile(path));
    EXPECT_LT(CpuMs() - start, CpuBudgetMs(2000));
    ASSERT_EQ(document.Adresse().size(), 100000);
    EXPECT_EQ(document.Adresse().back(), "Zeile 99999");
    EXPECT_EQ(document.TelefonFax(), QStringList{"Tel 1"});

    const QString copy = dir.filePath("Kopie.tsx");
    start = CpuMs();
    ASSERT_TRUE(document.SaveToFile(copy));
    EXPECT_LT(CpuMs() - start, CpuBudgetMs(2000));
    TDocument again;
    ASSERT_TRUE(again.LoadFromFile(copy));
    EXPECT_EQ(again.Adresse(), document.Adresse());
    EXPECT_EQ(again.TelefonFax(), QStringList{"Tel 1"});
    EXPECT_TRUE(dialogs.Messages.empty());
}

TEST_F(BadCardFile, LogoPathNamingAFolderOrADeviceKeepsTheTextsAndSaysWhy)
{
    ASSERT_TRUE(WriteAll(path, ("[Daten]\r\nName=Mit Logo\r\nLogodatei=" + dir.path() + "\r\nLogodateiR\xC3\xBC" "ckseite=/dev/zero\r\n")
                                   .toUtf8()));
    ASSERT_TRUE(document.LoadFromFile(path));
    EXPECT_EQ(document.Name(), "Mit Logo");
    EXPECT_TRUE(document.Logo.IsEmpty());
    EXPECT_TRUE(document.LogoRueckseite.IsEmpty());
    ASSERT_EQ(dialogs.Messages.size(), 2u);
    EXPECT_EQ(dialogs.Messages[0].Type, TMsgDlgType::Error);
    EXPECT_EQ(dialogs.Messages[0].Text, "Die Logodatei " + dir.path() + " konnte nicht gefunden werden.");
    EXPECT_EQ(dialogs.Messages[1].Text, "Die Logodatei /dev/zero konnte nicht gefunden werden.");
}

TEST_F(BadCardFile, LogoThatCannotBeDecodedKeepsTheTextsAndSaysWhy)
{
    QImage picture(200, 100, QImage::Format_RGB32);
    picture.fill(Qt::darkGreen);
    const QString whole = dir.filePath("logo.png");
    ASSERT_TRUE(picture.save(whole, "PNG"));
    QFile file(whole);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.resize(file.size() / 2));
    file.close();

    ASSERT_TRUE(WriteAll(path, ("[Daten]\r\nName=Halbes Logo\r\nLogodatei=" + whole + "\r\n").toUtf8()));
    ASSERT_TRUE(document.LoadFromFile(path));
    EXPECT_EQ(document.Name(), "Halbes Logo");
    EXPECT_TRUE(document.Logo.IsEmpty());
    ASSERT_EQ(dialogs.Messages.size(), 1u);
    EXPECT_EQ(dialogs.Messages[0].Type, TMsgDlgType::Error);
    EXPECT_EQ(dialogs.Messages[0].Text, QString::fromUtf8("Die Logodatei %1 konnte nicht geöffnet werden").arg(whole));
}

// A vector logo that names other files loads without them; the user reads
// once what was left out, though both sides show it.
TEST_F(BadCardFile, LogoNamingOtherFilesLoadsWithoutThemAndSaysSoOnce)
{
    const QString logo = dir.filePath("logo.svg");
    ASSERT_TRUE(WriteAll(logo, R"(<svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink" )"
                               R"(viewBox="0 0 20 10"><rect width="10" height="10"/>)"
                               R"(<image width="10" height="10" xlink:href="/etc/hostname"/></svg>)"));
    ASSERT_TRUE(WriteAll(path, ("[Daten]\r\nName=Mit Logo\r\nLogodatei=" + logo + "\r\nLogodateiR\xC3\xBC" "ckseite=" + logo
                                + "\r\n").toUtf8()));
    ASSERT_TRUE(document.LoadFromFile(path));
    EXPECT_TRUE(document.Logo.IsVector());
    EXPECT_TRUE(document.LogoRueckseite.IsVector());
    ASSERT_EQ(dialogs.Messages.size(), 1u);
    EXPECT_EQ(dialogs.Messages[0].Type, TMsgDlgType::Warning);
    EXPECT_EQ(dialogs.Messages[0].Text, QString::fromUtf8("Aus der Logodatei %1 wurde weggelassen, was auf andere "
                                                          "Dateien oder Adressen verweist oder zu groß ist: /etc/hostname")
                                            .arg(logo));
}

} // namespace
