#include "support/uFileInfo.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

namespace {

QByteArray Block(const QByteArray &fixed, const QByteArray &productName)
{
    return "\x02TESSARO-VERSIONINFO\x1e\\\x1f" + fixed + "\x1e\\StringFileInfo\\040704E4\\ProductName\x1f"
           + productName + "\x1e\x03";
}

QString WriteFile(const QTemporaryDir &dir, const QString &name, const QByteArray &data)
{
    QFile file(dir.filePath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size())
        return {};
    return file.fileName();
}

void ExpectNoVersion(TFileInfo &info)
{
    EXPECT_EQ(info.FileVersion->Text(), QStringLiteral("0.00.00.00"));
    EXPECT_EQ(info.ProductVersion->Text(), QStringLiteral("0.00.00.00"));
    EXPECT_TRUE(info.ProductName.isEmpty());
    EXPECT_EQ(info.GetVersionString(QStringLiteral("ProductName")), QStringLiteral("Nicht gefunden"));
    EXPECT_FALSE(info.LastQueryOk);
}

} // namespace

TEST(FileInfo, ProgramFileCarriesTheBuildsVersion)
{
    TFileInfo &info = ProgramFileInfo();
    EXPECT_EQ(info.FileName, QCoreApplication::applicationFilePath());
    EXPECT_EQ(info.FileVersion->Text(), QStringLiteral("1.01.02.62"));
    EXPECT_EQ(info.ProductVersion->pp, 62);
    EXPECT_EQ(info.ProductName, QStringLiteral("Tessaro"));
    EXPECT_EQ(info.FileVersionText, QStringLiteral("1.1.2.62"));
    EXPECT_EQ(info.CompanyName, QStringLiteral("Ornak"));
    EXPECT_TRUE(info.FileDate.isValid());
    EXPECT_EQ(info.GetVersionString(QStringLiteral("Kommentar")), QStringLiteral("Nicht gefunden"));
    EXPECT_FALSE(info.LastQueryOk);
    EXPECT_EQ(info.GetVersionString(QStringLiteral("InternalName")), QStringLiteral("Tessaro"));
    EXPECT_TRUE(info.LastQueryOk);
}

TEST(FileInfo, PartsKeepTheirLowByteAndStrayMarkersAreSkipped)
{
    QTemporaryDir dir;
    // A marker without records, as the reader's own code holds one, comes first.
    const QByteArray data = QByteArray(300, '\x7f') + "\x02TESSARO-VERSIONINFO\x1e" + QByteArray(1, '\0')
                            + QByteArray(50, 'x') + Block("1.300.2.62 2.0.0.1", "Probe") + QByteArray(20, '\0');
    TFileInfo info(WriteFile(dir, QStringLiteral("probe.bin"), data));
    EXPECT_EQ(info.FileVersion->Text(), QStringLiteral("1.44.02.62"));
    EXPECT_EQ(info.ProductVersion->Text(), QStringLiteral("2.00.00.01"));
    EXPECT_EQ(info.ProductName, QStringLiteral("Probe"));
    EXPECT_EQ(info.CompanyName, QStringLiteral("Nicht gefunden")) << "a block without the value";
}

TEST(FileInfo, FilesWithoutACompleteBlockGiveZeros)
{
    QTemporaryDir dir;
    TFileInfo plain(WriteFile(dir, QStringLiteral("plain.txt"), "nur Text\n"));
    ExpectNoVersion(plain);
    EXPECT_TRUE(plain.FileDate.isValid());

    QByteArray truncated = Block("1.1.2.62 1.1.2.62", "Abgeschnitten");
    truncated.chop(1);
    TFileInfo cut(WriteFile(dir, QStringLiteral("cut.bin"), truncated));
    ExpectNoVersion(cut);

    TFileInfo empty(WriteFile(dir, QStringLiteral("empty.bin"), QByteArray()));
    ExpectNoVersion(empty);

    TFileInfo missing(dir.filePath(QStringLiteral("fehlt.exe")));
    ExpectNoVersion(missing);
    EXPECT_FALSE(missing.FileDate.isValid());

    // Reading another file forgets the previous one's values.
    TFileInfo reused(WriteFile(dir, QStringLiteral("good.bin"), Block("3.1.0.0 3.1.0.0", "Gut")));
    ASSERT_EQ(reused.ProductName, QStringLiteral("Gut"));
    reused.ReadVersionInfo(dir.filePath(QStringLiteral("plain.txt")));
    ExpectNoVersion(reused);
}
