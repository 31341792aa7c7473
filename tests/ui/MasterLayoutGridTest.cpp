#include "MasterTestSupport.h"

#include "common/TestFiles.h"
#include "locale/ulocalize.h"
#include "model/uDocument.h"
#include "render/uMMWindow.h"
#include "support/uResources.h"
#include "ui/uDrawGrid.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QRadioButton>
#include <QStandardItemModel>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTabWidget>
#include <QTemporaryDir>

namespace {

TDrawGrid *Grid(const TMaster &master)
{
    return master.findChild<TDrawGrid *>(QStringLiteral("dgLayouts"));
}

QImage CellImage(const QImage &grid, const TDrawGrid &dg, int col, int row)
{
    return grid.copy(dg.CellRect(col, row));
}

void ShowLayoutPage(const TMaster &master)
{
    auto *pages = master.findChild<QTabWidget *>(QStringLiteral("pcMain"));
    pages->setCurrentWidget(master.findChild<QWidget *>(QStringLiteral("tsLayout")));
}

TEST_F(MasterTest, TypingChangesEveryThumbnail)
{
    auto master = Create();
    ShowLayoutPage(*master);
    TDrawGrid *grid = Grid(*master);
    const int rows = grid->ClientHeight() / grid->DefaultRowHeight();
    ASSERT_GE(rows, 1);
    const QImage before = grid->viewport()->grab().toImage();
    Get<QLineEdit>(*master, "edName")->setText(QStringLiteral("Wilhelmine Brandenburger-Quast"));
    const QImage after = grid->viewport()->grab().toImage();
    for (int row = grid->TopRow(); row < grid->TopRow() + rows; ++row)
        for (int col = 0; col < 2; ++col)
            EXPECT_NE(CellImage(before, *grid, col, row), CellImage(after, *grid, col, row)) << col << "," << row;
}

TEST_F(MasterTest, GridRowsFillTheHeightAndFlattenWhenLow)
{
    auto master = Create();
    ShowLayoutPage(*master);
    TDrawGrid *grid = Grid(*master);
    EXPECT_EQ(grid->RowCount(), 8); // 15 layouts in two columns
    EXPECT_EQ(grid->DefaultColWidth(), grid->ClientWidth() / 2);
    const int shown = grid->ClientHeight() / grid->DefaultRowHeight();
    EXPECT_EQ(grid->ClientHeight() / shown, grid->DefaultRowHeight());

    // Too low for one square row: rows 25 pixels flatter than wide if they fit.
    const int width = grid->DefaultColWidth();
    grid->setFixedHeight(grid->height() - grid->ClientHeight() + 2 * (width - 25) + 1);
    QCoreApplication::processEvents();
    EXPECT_EQ(grid->ClientHeight() / grid->DefaultRowHeight(), 2);
    grid->setFixedHeight(grid->height() - grid->ClientHeight() + width - 30);
    QCoreApplication::processEvents();
    EXPECT_EQ(grid->DefaultRowHeight(), grid->ClientHeight());
}

TEST_F(MasterTest, ChosenLayoutStaysInViewWhenTheGridIsResized)
{
    auto master = Create();
    ShowLayoutPage(*master);
    TDrawGrid *grid = Grid(*master);
    grid->SetCol(0);
    grid->SetRow(grid->RowCount() - 1);
    const int height = grid->height();
    for (const int newHeight : {grid->DefaultColWidth() / 2, height * 2}) {
        grid->setFixedHeight(newHeight);
        QCoreApplication::processEvents();
        const int shown = std::max(1, grid->ClientHeight() / grid->DefaultRowHeight());
        EXPECT_GE(grid->Row(), grid->TopRow()) << newHeight;
        EXPECT_LT(grid->Row(), grid->TopRow() + shown) << newHeight;
    }
}

TEST_F(MasterTest, SelectedThumbnailIsHighlighted)
{
    auto master = Create();
    ShowLayoutPage(*master);
    TDrawGrid *grid = Grid(*master);
    grid->setFocus();
    const QImage focused = grid->viewport()->grab().toImage();
    const QColor highlight = grid->palette().color(QPalette::Highlight);
    EXPECT_EQ(focused.pixelColor(grid->CellRect(0, 0).topLeft() + QPoint(3, 3)), highlight);
    EXPECT_NE(focused.pixelColor(grid->CellRect(1, 0).topLeft() + QPoint(3, 3)), highlight);
}

// A screen reader meets the thumbnails as a list with an item per layout,
// named by its number and arrangement, the chosen layout selected; the arrow
// keys move the selection, the names follow the language and the layouts.
TEST_F(MasterTest, ThumbnailsAreListItemsNamedByNumberAndArrangement)
{
    auto master = Create();
    ShowLayoutPage(*master);
    TDrawGrid *grid = Grid(*master);
    grid->setFocus();
    QAccessibleInterface *list = QAccessible::queryAccessibleInterface(grid);
    ASSERT_EQ(list->role(), QAccessible::List);
    ASSERT_EQ(list->childCount(), 15);
    auto name = [&](int item) { return list->child(item)->text(QAccessible::Name); };
    EXPECT_EQ(name(0), QStringLiteral("Layout 1: Querformat, Text linksbündig, Logo unten links"));
    EXPECT_EQ(name(3), QStringLiteral("Layout 4: Querformat, Text zentriert, ohne Logo"));
    EXPECT_EQ(name(11), QStringLiteral("Layout 12: Hochformat, Text zentriert, Logo oben in der Mitte"));
    EXPECT_EQ(name(14), QStringLiteral("Layout 15: Hochformat, Text rechtsbündig, Logo im Hintergrund"));
    EXPECT_TRUE(list->child(0)->state().selected);

    QTest::keyClick(grid, Qt::Key_Right);
    EXPECT_FALSE(list->child(0)->state().selected);
    EXPECT_TRUE(list->child(1)->state().selected && list->child(1)->state().focused);
    EXPECT_EQ(list->focusChild(), list->child(1));
    Localizer().SetLanguage(1);
    EXPECT_EQ(name(1), QStringLiteral("Layout 2: Landscape, Text left-aligned, Logo bottom right"));
    Localizer().SetLanguage(0);

    // A two-sided folding card offers the landscape layouts only.
    Click(*master, "rbKlappvisitenkarte");
    Click(*master, "rbBeidseitig");
    EXPECT_EQ(list->childCount(), master->Document().Layouts().Count());
    EXPECT_LT(list->childCount(), 15);
}

TEST_F(MasterTest, QRCodeGroupChangesTheCardAndShowsTheCardsSettings)
{
    auto master = Create();
    ShowLayoutPage(*master);
    const TDocument &document = master->Document();
    auto *show = Get<QCheckBox>(*master, "chQRCodeAnzeigen");
    auto *side = Get<QComboBox>(*master, "cbQRCodeSeite");
    auto *corner = Get<QComboBox>(*master, "cbQRCodeEcke");
    auto *size = Get<QDoubleSpinBox>(*master, "seQRCodeGroesse");
    auto *url = Get<QLineEdit>(*master, "edQRCodeURL");
    auto *hint = Get<QLabel>(*master, "lblQRCodeHinweis");
    auto *form = Get<QComboBox>(*master, "cbQRCodeForm");
    auto *level = Get<QComboBox>(*master, "cbQRCodeFehlerkorrektur");
    EXPECT_FALSE(show->isChecked());
    EXPECT_FALSE(corner->isEnabled());
    // A first start chooses for itself.
    EXPECT_EQ(corner->currentIndex(), TQRCodeSettings::Automatisch);
    EXPECT_EQ(form->currentIndex(), int(TQRCodeSettings::TForm::Automatisch));
    EXPECT_EQ(level->currentIndex(), int(TQRCodeSettings::TFehlerkorrektur::Automatisch));

    const QImage without = master->Preview().viewport()->grab().toImage();
    show->click();
    EXPECT_TRUE(document.QRCode().Anzeigen);
    EXPECT_TRUE(document.Modified());
    EXPECT_TRUE(corner->isEnabled());
    EXPECT_FALSE(url->isEnabled());
    EXPECT_NE(master->Preview().viewport()->grab().toImage(), without);

    // The back is there for two-sided cards only.
    const auto *sides = qobject_cast<QStandardItemModel *>(side->model());
    EXPECT_FALSE(sides->item(1)->isEnabled());
    Click(*master, "rbBeidseitig");
    EXPECT_TRUE(sides->item(1)->isEnabled());
    side->setCurrentIndex(1);
    corner->setCurrentIndex(TQRCodeSettings::ObenLinks);
    EXPECT_TRUE(document.QRCode().Rueckseite);
    EXPECT_EQ(document.QRCode().Ecke, TQRCodeSettings::ObenLinks);
    Click(*master, "rbEinseitig");
    EXPECT_EQ(side->currentIndex(), 0) << "a one-sided card has its code on the front";
    EXPECT_TRUE(document.QRCode().Rueckseite) << "and keeps the back for when it has one again";

    // The sample card's vCard is too much for 12 mm, its compact form is not.
    EXPECT_TRUE(hint->isHidden());
    size->setValue(12);
    EXPECT_FLOAT_EQ(document.QRCode().Groesse, 12);
    EXPECT_TRUE(hint->isHidden());
    form->setCurrentIndex(int(TQRCodeSettings::TForm::VCard));
    EXPECT_EQ(document.QRCode().Form, TQRCodeSettings::TForm::VCard);
    EXPECT_FALSE(hint->isHidden());
    level->setCurrentIndex(int(TQRCodeSettings::TFehlerkorrektur::H));
    EXPECT_EQ(document.QRCode().Fehlerkorrektur, TQRCodeSettings::TFehlerkorrektur::H);

    Get<QRadioButton>(*master, "rbQRCodeURL")->click();
    EXPECT_TRUE(url->isEnabled());
    EXPECT_FALSE(form->isEnabled()) << "a web address has no form to choose";
    QTest::keyClicks(url, QStringLiteral("example.org"));
    EXPECT_EQ(document.QRCode().Inhalt, TQRCodeSettings::TInhalt::URL);
    EXPECT_EQ(document.QRCode().URL, QStringLiteral("example.org"));
    EXPECT_TRUE(hint->isHidden());

    // A card file of an older version has no code.
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("alt.tsx"));
    ASSERT_TRUE(WriteAll(path, "[Daten]\r\nName=Alt\r\n"));
    master->OpenCardFile(path);
    EXPECT_FALSE(show->isChecked());
    EXPECT_TRUE(url->text().isEmpty());
    EXPECT_FLOAT_EQ(size->value(), TQRCodeSettings::DefaultGroesse);
}

TEST_F(MasterTest, PortraitLayoutTurnsThePreview)
{
    auto master = Create();
    ShowLayoutPage(*master);
    TDrawGrid *grid = Grid(*master);
    const int portrait = master->Document().Layouts().IndexOfName(QStringLiteral("111"));
    ASSERT_GE(portrait, 0);
    grid->SetRow(portrait / 2);
    grid->SetCol(portrait % 2);
    EXPECT_EQ(master->Document().Kartenlayout().Name, QStringLiteral("111"));
    EXPECT_FLOAT_EQ(master->Preview().WorldWidth(), 55);
    EXPECT_FLOAT_EQ(master->Preview().WorldHeight(), 85);
    EXPECT_FLOAT_EQ(master->Preview().TemplateWidth(), 55);

    Get<QAbstractButton>(*master, "rbBeidseitig")->click();
    EXPECT_FLOAT_EQ(master->Preview().WorldWidth(), 55 * 2.15f);
    EXPECT_FLOAT_EQ(master->Preview().WorldHeight(), 85);

    grid->SetCol(0);
    grid->SetRow(0);
    EXPECT_FLOAT_EQ(master->Preview().WorldWidth(), 85);
    EXPECT_FLOAT_EQ(master->Preview().WorldHeight(), 55 * 2.15f);
}

TEST_F(MasterTest, ThumbnailsShowOneFaceOfTheChosenCard)
{
    auto master = Create();
    ShowLayoutPage(*master);
    TDrawGrid *grid = Grid(*master);
    // The card's outline is the outermost dark ink of the cell.
    const auto aspect = [&] {
        const QImage cell = CellImage(grid->viewport()->grab().toImage(), *grid, 1, 0);
        QRect card;
        for (int y = 0; y < cell.height(); ++y)
            for (int x = 0; x < cell.width(); ++x)
                if (qGray(cell.pixel(x, y)) < 64)
                    card |= QRect(x, y, 1, 1);
        return double(card.width()) / card.height();
    };
    EXPECT_NEAR(aspect(), 85.0 / 55, 0.03);
    auto *sheets = Get<QComboBox>(*master, "cbBogen");
    const auto choose = [&](const char *text) {
        const int index = sheets->findText(QString::fromUtf8(text), Qt::MatchStartsWith);
        ASSERT_GE(index, 0) << text;
        emit sheets->activated(index);
    };
    choose("US-Letter: 10 Karten");
    EXPECT_NEAR(aspect(), 88.9 / 50.8, 0.03);

    // A folding card shows its face, half of the slot.
    Get<QAbstractButton>(*master, "rbKlappvisitenkarte")->click();
    choose("A4: 5 Karten 170 × 54 mm");
    EXPECT_NEAR(aspect(), 85.0 / 54, 0.03);
    EXPECT_EQ(master->Document().Kartentyp(), TDocument::Klappkarte);
    EXPECT_FLOAT_EQ(master->Document().Bogenlayout().CardWidth, 170);
    EXPECT_FLOAT_EQ(master->Document().Bogenlayout().CardHeight, 54);
}

// A private set of five templates.
class FiveLayoutsTest : public MasterTest
{
protected:
    void SetUp() override
    {
        MasterTest::SetUp();
        ASSERT_TRUE(FRoot.isValid());
        const QString source = QStringLiteral(":/res"); // the compiled-in resources
        QDir root(FRoot.path());
        root.mkpath(QStringLiteral("VORLAGEN"));
        root.mkpath(QStringLiteral("LANG"));
        for (const char *name : {"100", "101", "102", "103", "104"})
            ASSERT_TRUE(QFile::copy(source + QStringLiteral("/VORLAGEN/") + name,
                                    root.filePath(QStringLiteral("VORLAGEN/") + name)));
        ASSERT_TRUE(QFile::copy(source + QStringLiteral("/LANG/100"), root.filePath(QStringLiteral("LANG/100"))));
        FOverride = std::make_unique<Resources::TRootOverride>(FRoot.path());
    }
    void TearDown() override { FOverride.reset(); }

    QTemporaryDir FRoot;
    std::unique_ptr<Resources::TRootOverride> FOverride;
};

TEST_F(FiveLayoutsTest, ArrowKeysWrapAndAvoidTheEmptyCell)
{
    auto master = Create();
    ShowLayoutPage(*master);
    TDrawGrid *grid = Grid(*master);
    ASSERT_EQ(master->Document().Layouts().Count(), 5);
    EXPECT_EQ(grid->RowCount(), 3);
    auto at = [&] { return QPoint(grid->Col(), grid->Row()); };
    auto layout = [&] { return master->Document().Kartenlayout().Name; };

    grid->SetRow(1);
    grid->SetCol(1);
    ASSERT_EQ(at(), QPoint(1, 1));
    grid->SetRow(2);
    EXPECT_EQ(at(), QPoint(1, 1)) << "the empty cell cannot be selected";
    EXPECT_EQ(layout(), QStringLiteral("103"));

    QTest::keyClick(grid, Qt::Key_Down);
    EXPECT_EQ(at(), QPoint(0, 2));
    EXPECT_EQ(layout(), QStringLiteral("104"));
    QTest::keyClick(grid, Qt::Key_Right);
    EXPECT_EQ(at(), QPoint(0, 2));
    // The last row is in view now; its second cell shows nothing.
    const QImage cells = grid->viewport()->grab().toImage();
    const QImage empty = CellImage(cells, *grid, 1, 2);
    EXPECT_EQ(empty.pixelColor(empty.width() / 2, empty.height() / 2), grid->palette().color(QPalette::Base));

    QTest::keyClick(grid, Qt::Key_Up);
    EXPECT_EQ(at(), QPoint(0, 1));
    QTest::keyClick(grid, Qt::Key_Left);
    EXPECT_EQ(at(), QPoint(1, 0));
    EXPECT_EQ(layout(), QStringLiteral("101"));
    QTest::keyClick(grid, Qt::Key_Right);
    EXPECT_EQ(at(), QPoint(0, 1));
    EXPECT_EQ(layout(), QStringLiteral("102"));

}

} // namespace
