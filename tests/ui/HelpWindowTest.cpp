#include "locale/uHMRegistry.h"
#include "locale/ulocalize.h"
#include "support/uResources.h"
#include "ui/FHelpWindow.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <memory>

namespace {

// Records the addresses the program hands to the desktop.
class TUrlRecorder : public QObject
{
    Q_OBJECT

public:
    TUrlRecorder()
    {
        QDesktopServices::setUrlHandler(QStringLiteral("https"), this, "Open");
        QDesktopServices::setUrlHandler(QStringLiteral("http"), this, "Open");
    }
    ~TUrlRecorder() override
    {
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
        QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
    }
    QList<QUrl> Opened;

public slots:
    void Open(const QUrl &url) { Opened << url; }
};

// Pictures of one flat colour each, so a test can tell which one is shown.
class HelpWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(FRoot.isValid());
        Settings().WriteBool(QStringLiteral("Assistent"), QStringLiteral("DontShowAgain"), false);
    }
    void TearDown() override
    {
        if (Localizer().LanguageIndex() != 0)
            Localizer().SetLanguage(0);
    }

    void AddPicture(const QString &type, int name, const QColor &colour)
    {
        QDir(FRoot.path()).mkpath(type);
        QImage picture(THelpWindow::ClientWidth, THelpWindow::ClientHeight, QImage::Format_RGB32);
        picture.fill(colour);
        ASSERT_TRUE(picture.save(FRoot.path() + '/' + type + '/' + QString::number(name), "JPEG"));
    }
    void AddLanguage(int resource)
    {
        QDir(FRoot.path()).mkpath(QStringLiteral("LANG"));
        QFile file(FRoot.path() + QStringLiteral("/LANG/") + QString::number(resource));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[THelpWindow]\r\nHelpWindow.Caption=Assistant\r\n");
    }

    static QColor Shown(const THelpWindow &window)
    {
        const auto *image = window.findChild<QLabel *>(QStringLiteral("Image1"));
        return image->pixmap().toImage().pixelColor(150, 100);
    }
    static bool Near(const QColor &a, const QColor &b)
    {
        return std::abs(a.red() - b.red()) < 16 && std::abs(a.green() - b.green()) < 16
            && std::abs(a.blue() - b.blue()) < 16;
    }
    static QCheckBox *CheckBox(const THelpWindow &window)
    {
        return window.findChild<QCheckBox *>(QStringLiteral("chDontShowAgain"));
    }

    QTemporaryDir FRoot;
};

TEST_F(HelpWindowTest, StartPictureFallsBackToTheFirstStep)
{
    AddPicture(QStringLiteral("JPEGDEU"), 101, Qt::red);
    Resources::TRootOverride root(FRoot.path());
    THelpWindow window(nullptr);
    EXPECT_EQ(window.Picture(), THelpWindow::PictureEigeneDaten);
    EXPECT_TRUE(Near(Shown(window), Qt::red));
}

TEST_F(HelpWindowTest, MissingStepPictureKeepsThePreviousOne)
{
    AddPicture(QStringLiteral("JPEGDEU"), 101, Qt::red);
    AddPicture(QStringLiteral("JPEGDEU"), 103, Qt::blue);
    Resources::TRootOverride root(FRoot.path());
    THelpWindow window(nullptr);
    window.ShowPicture(THelpWindow::PictureDrucken);
    EXPECT_TRUE(Near(Shown(window), Qt::blue));
    EXPECT_FALSE(CheckBox(window)->isHidden());

    window.ShowPicture(THelpWindow::PictureAfterPrint);
    EXPECT_EQ(window.Picture(), THelpWindow::PictureAfterPrint);
    EXPECT_TRUE(Near(Shown(window), Qt::blue));
    EXPECT_TRUE(CheckBox(window)->isHidden());
}

TEST_F(HelpWindowTest, OnlyTheAdvertPictureOpensTheLink)
{
    AddPicture(QStringLiteral("JPEGDEU"), 101, Qt::red);
    AddPicture(QStringLiteral("JPEGWERBUNG"), 101, Qt::green);
    Resources::TRootOverride root(FRoot.path());
    TUrlRecorder urls;
    THelpWindow window(nullptr);
    auto *image = window.findChild<QLabel *>(QStringLiteral("Image1"));

    QTest::mouseClick(image, Qt::LeftButton);
    EXPECT_TRUE(urls.Opened.isEmpty());

    window.ShowPicture(THelpWindow::PictureAdvert);
    EXPECT_TRUE(Near(Shown(window), Qt::green));
    EXPECT_EQ(image->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_TRUE(CheckBox(window)->isHidden());
    QTest::mouseClick(image, Qt::LeftButton);
    ASSERT_EQ(urls.Opened.size(), 1);
    EXPECT_EQ(urls.Opened.first().scheme(), QStringLiteral("https"));

    window.ShowPicture(THelpWindow::PictureLayout);
    EXPECT_EQ(image->cursor().shape(), Qt::ArrowCursor);
    QTest::mouseClick(image, Qt::LeftButton);
    EXPECT_EQ(urls.Opened.size(), 1);
}

TEST_F(HelpWindowTest, LanguageSwitchReloadsTheShownStep)
{
    AddLanguage(100);
    AddLanguage(101);
    AddPicture(QStringLiteral("JPEGDEU"), 101, Qt::red);
    AddPicture(QStringLiteral("JPEGDEU"), 102, Qt::blue);
    AddPicture(QStringLiteral("JPEGENG"), 102, Qt::yellow);
    Resources::TRootOverride root(FRoot.path());
    THelpWindow window(nullptr);
    window.ShowPicture(THelpWindow::PictureLayout);
    ASSERT_TRUE(Near(Shown(window), Qt::blue));

    Localizer().SetLanguage(1);
    EXPECT_EQ(window.Picture(), THelpWindow::PictureLayout);
    EXPECT_TRUE(Near(Shown(window), Qt::yellow));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Assistant"));
}

TEST_F(HelpWindowTest, DontShowAgainIsStoredAndReadBack)
{
    auto stored = [] { return Settings().ReadBool(QStringLiteral("Assistent"), QStringLiteral("DontShowAgain"), false); };
    auto window = std::make_unique<THelpWindow>(nullptr);
    EXPECT_FALSE(window->GetDontShowAgain());
    window->SetDontShowAgain(true);
    EXPECT_TRUE(stored());

    window = std::make_unique<THelpWindow>(nullptr);
    EXPECT_TRUE(window->GetDontShowAgain());
    // Ticked off by the user: written when the window goes.
    CheckBox(*window)->setChecked(false);
    EXPECT_TRUE(stored());
    window.reset();
    EXPECT_FALSE(stored());
}

// The assistant's centre sits on the main window's lower right corner, pushed
// back into the work area.
TEST_F(HelpWindowTest, ShowBesidePlacesTheWindowAtTheMainWindowsCorner)
{
    const QRect work = QGuiApplication::primaryScreen()->availableGeometry();
    QWidget main;
    main.setGeometry(work.x() + 20, work.y() + 20, 300, 200);
    THelpWindow window(&main);
    window.ShowBeside(&main);
    ASSERT_TRUE(window.isVisible());
    const QRect mainFrame = main.frameGeometry();
    const QRect own = window.frameGeometry();
    EXPECT_EQ(own.x(), mainFrame.x() + mainFrame.width() - own.width() / 2);
    EXPECT_EQ(own.y(), mainFrame.y() + mainFrame.height() - own.height() / 2);

    // Already visible: stays where it is.
    main.move(work.x() + 40, work.y() + 40);
    window.ShowBeside(&main);
    EXPECT_EQ(window.frameGeometry().topLeft(), own.topLeft());
    window.hide();

    main.move(work.x() + work.width() - main.frameGeometry().width(),
              work.y() + work.height() - main.frameGeometry().height());
    window.ShowBeside(&main);
    EXPECT_EQ(window.frameGeometry().x() + window.frameGeometry().width(), work.x() + work.width());
    EXPECT_EQ(window.frameGeometry().y() + window.frameGeometry().height(), work.y() + work.height());
}

} // namespace

#include "HelpWindowTest.moc"
