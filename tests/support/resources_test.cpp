#include "support/uResources.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

TEST(Resources, EnumerationOrderAndLookupInATestFolder)
{
    QTemporaryDir dir;
    QDir(dir.path()).mkpath("VORLAGEN");
    for (const char *name : {"100", "99", "zeta", "Alpha", "beta", "1000", "12a"}) {
        QFile file(dir.filePath(QStringLiteral("VORLAGEN/") + name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(name);
    }
    const Resources::TRootOverride root(dir.path());
    EXPECT_EQ(Resources::EnumNames("VORLAGEN"), (QStringList{"12a", "Alpha", "beta", "zeta", "99", "100", "1000"}));
    EXPECT_TRUE(Resources::Exists("VORLAGEN", "99"));
    EXPECT_FALSE(Resources::Exists("VORLAGEN", "98"));
    EXPECT_EQ(Resources::Load("VORLAGEN", "zeta"), "zeta");
    EXPECT_EQ(Resources::Open("VORLAGEN", "98"), nullptr);
    EXPECT_TRUE(Resources::EnumNames("LANG").isEmpty());
}

TEST(Resources, OverrideEndsWithItsScope)
{
    const QString compiled = Resources::Root();
    {
        const Resources::TRootOverride root("/nonexistent");
        EXPECT_EQ(Resources::Root(), "/nonexistent");
    }
    EXPECT_EQ(Resources::Root(), compiled);
}

} // namespace
