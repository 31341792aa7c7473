#include "locale/ulocalize.h"
#include "support/uResources.h"

#include <gtest/gtest.h>

#include <QImage>

namespace {

QSize PictureSize(const QString &type, const QString &name)
{
    QImage picture;
    picture.loadFromData(Resources::Load(type, name), "JPEG");
    return picture.size();
}

TEST(WizardPicturesTest, EveryLanguageHasItsSixStepPictures)
{
    for (const TLanguageInfo &language : LanguageTable) {
        const QString type = QStringLiteral("JPEG") + QString::fromLatin1(language.Code).toUpper();
        for (int number = 0; number <= 5; ++number)
            EXPECT_EQ(PictureSize(type, QString::number(100 + number)), QSize(300, 200)) << qPrintable(type) << number;
    }
}

TEST(WizardPicturesTest, AdvertisingPicturesFitTheirPlaces)
{
    EXPECT_EQ(PictureSize(QStringLiteral("JPEGWERBUNG"), QStringLiteral("101")), QSize(300, 200));
    EXPECT_EQ(PictureSize(QStringLiteral("JPEGWERBUNG"), QStringLiteral("301")), QSize(333, 198));
    EXPECT_EQ(PictureSize(QStringLiteral("JPEGWERBUNG"), QStringLiteral("401")), QSize(333, 198));
}

} // namespace
