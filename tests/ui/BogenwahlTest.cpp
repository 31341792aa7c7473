#include "MasterTestSupport.h"

#include "common/TestSheets.h"
#include "locale/ulocalize.h"
#include "model/uBogenkatalog.h"
#include "model/uDocument.h"
#include "render/uMMWindow.h"
#include "ui/uBogenDialog.h"
#include "ui/uBogenwahl.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>

namespace {

class BogenwahlTest : public MasterTest
{
protected:
    void SetUp() override
    {
        MasterTest::SetUp();
        Settings().EraseSection(QStringLiteral("Kartenboegen"));
    }

    static QStringList Items(const QComboBox *box)
    {
        QStringList items;
        for (int i = 0; i < box->count(); ++i)
            items.append(box->itemText(i));
        return items;
    }
    static void Activate(QComboBox *box, const QString &text)
    {
        const int index = box->findText(text, Qt::MatchStartsWith);
        ASSERT_GE(index, 0) << text.toStdString();
        box->setCurrentIndex(index);
        emit box->activated(index);
    }
    static void Enter(const TBogenDialog &dialog, const TBogenlayout &sheet)
    {
        dialog.findChild<QLineEdit *>("edName")->setText(sheet.Name);
        dialog.findChild<QComboBox *>("cbPapier")->setCurrentIndex(2);
        const std::pair<const char *, float> lengths[] = {
            {"sePapierBreite", sheet.SheetWidth}, {"sePapierHoehe", sheet.SheetHeight},
            {"seKarteBreite", sheet.CardWidth},   {"seKarteHoehe", sheet.CardHeight},
            {"seRandLinks", sheet.MarginLeft},    {"seRandOben", sheet.MarginTop},
            {"seAbstandX", sheet.PitchX()},       {"seAbstandY", sheet.PitchY()}};
        for (const auto &[name, value] : lengths)
            dialog.findChild<QDoubleSpinBox *>(name)->setValue(value);
        dialog.findChild<QSpinBox *>("seSpalten")->setValue(sheet.Columns);
        dialog.findChild<QSpinBox *>("seZeilen")->setValue(sheet.Rows);
    }
};

TEST_F(BogenwahlTest, DialogSaysWhyASheetCannotWorkAndTakesOnlyOneThatCan)
{
    auto master = Create();
    TBogenlayout start;
    start.Name.clear();
    TBogenDialog dialog(start, {}, master.get());
    QAbstractButton *ok = dialog.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok);
    const QLabel *problem = dialog.findChild<QLabel *>("lblProblem");
    EXPECT_EQ(problem->text(), QStringLiteral("Bitte geben Sie dem Bogen einen Namen."));
    EXPECT_FALSE(ok->isEnabled());
    dialog.findChild<QLineEdit *>("edName")->setText(QStringLiteral("Meiner"));
    EXPECT_TRUE(problem->text().isEmpty());
    EXPECT_TRUE(ok->isEnabled());

    auto *columns = dialog.findChild<QSpinBox *>("seSpalten");
    columns->setValue(0);
    EXPECT_EQ(problem->text(), QStringLiteral("Der Bogen braucht mindestens eine Spalte und eine Zeile."));
    EXPECT_FALSE(ok->isEnabled());
    columns->setValue(2);
    dialog.findChild<QDoubleSpinBox *>("seAbstandX")->setValue(80);
    EXPECT_TRUE(problem->text().startsWith(QString::fromUtf8("Die Karten überlappen sich"))) << problem->text().toStdString();
    EXPECT_FALSE(ok->isEnabled());
    dialog.findChild<QDoubleSpinBox *>("seAbstandX")->setValue(95);
    dialog.findChild<QSpinBox *>("seZeilen")->setValue(6);
    EXPECT_TRUE(problem->text().startsWith(QString::fromUtf8("Die Karten reichen über das Papier hinaus")));
    EXPECT_FALSE(ok->isEnabled());

    // A named paper brings its size; the size boxes are for an own format.
    dialog.findChild<QComboBox *>("cbPapier")->setCurrentIndex(1);
    EXPECT_EQ(dialog.Bogen().SheetWidth, LetterWidth);
    EXPECT_FALSE(dialog.findChild<QDoubleSpinBox *>("sePapierBreite")->isEnabled());
}

// On a German machine, as a German user types: either separator is the
// decimal one; what is no number is not taken and keeps OK disabled. The
// fields show the program's language, not the machine's.
TEST_F(BogenwahlTest, DialogReadsEitherDecimalSeparatorAndRefusesWhatIsNoNumber)
{
    const QLocale machine;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    auto master = Create();
    TBogenDialog dialog(Letter3x4(), {}, master.get());
    dialog.show();
    auto *margin = dialog.findChild<QDoubleSpinBox *>("seRandLinks");
    const QAbstractButton *ok = dialog.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok);
    const QLabel *problem = dialog.findChild<QLabel *>("lblProblem");
    const auto type = [margin](const char *text) {
        margin->selectAll();
        QTest::keyClicks(margin, QString::fromUtf8(text));
    };
    for (const char *text : {"1.5", "1,5"}) {
        type(text);
        EXPECT_FLOAT_EQ(dialog.Bogen().MarginLeft, 1.5f) << text;
        EXPECT_TRUE(ok->isEnabled()) << problem->text().toStdString();
    }
    type("2.5.2");
    EXPECT_FALSE(ok->isEnabled());
    EXPECT_EQ(problem->text(), QString::fromUtf8("Ein Feld enthält keine gültige Zahl (Beispiel: 1,5)."));
    type("8x");
    EXPECT_EQ(margin->text(), QStringLiteral("8 mm")) << "a letter is not typed";
    EXPECT_TRUE(ok->isEnabled());

    const auto *width = dialog.findChild<QDoubleSpinBox *>("seKarteBreite");
    EXPECT_EQ(width->text(), QStringLiteral("63,5 mm"));
    Localizer().SetLanguage(1);
    QCoreApplication::processEvents();
    EXPECT_EQ(width->text(), QStringLiteral("63.5 mm"));
    Localizer().SetLanguage(0);
    QLocale::setDefault(machine);
}

TEST_F(BogenwahlTest, OwnSheetIsKeptChosenAndOfferedForItsCardTypeOnly)
{
    auto master = Create();
    auto *choice = Get<QComboBox>(*master, "cbBogen");
    // The standard card: its preset, the six further standard sheets and the own one.
    EXPECT_EQ(choice->count(), 8);
    EXPECT_EQ(choice->currentIndex(), 0);
    EXPECT_EQ(choice->itemText(7), QString::fromUtf8("Eigener Bogen…"));

    Activate(choice, QString::fromUtf8("Eigener Bogen…"));
    TBogenDialog *dialog = master->findChild<TBogenwahl *>("gbBogen")->Dialog();
    ASSERT_NE(dialog, nullptr);
    Enter(*dialog, Letter3x4());
    EXPECT_TRUE(dialog->Problem().isEmpty()) << dialog->Problem().toStdString();
    dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();

    EXPECT_EQ(master->Document().Bogenlayout(), Letter3x4());
    EXPECT_TRUE(choice->currentText().startsWith(QStringLiteral("Letter 3x4 – US-Letter: 12 Karten")))
        << choice->currentText().toStdString();
    EXPECT_GE(TBogenkatalog().IndexOfCustom(QStringLiteral("Letter 3x4")), 0);
    EXPECT_FLOAT_EQ(master->Preview().WorldWidth(), 63.5f);
    EXPECT_FLOAT_EQ(master->Preview().WorldHeight(), 50.8f);
    // The card type names the sheet's cards, the folding card its preset.
    auto *standardCards = Get<QLabel>(*master, "Label7");
    EXPECT_EQ(standardCards->text(),
              LengthText(63.5f) + QStringLiteral(" x ") + LengthText(50.8f) + QStringLiteral(" mm, 12 Karten pro Bogen"));
    EXPECT_EQ(Get<QLabel>(*master, "Label4")->text(), QStringLiteral("170 x 55 mm gefalzt, 5 Karten pro Bogen"));
    Get<QTabWidget>(*master, "pcMain")->setCurrentWidget(Get<QWidget>(*master, "tsDrucken"));
    Get<QSpinBox>(*master, "seAnzahl")->setValue(2);
    EXPECT_EQ(Get<QLabel>(*master, "labAnzahl")->text(), QStringLiteral("entspricht 24 Visitenkarten"));

    // The folding card is offered the folding sheets; back again, the own sheet is there.
    Get<QAbstractButton>(*master, "rbKlappvisitenkarte")->click();
    EXPECT_EQ(choice->count(), 3);
    EXPECT_FALSE(Items(choice).join('|').contains(QStringLiteral("Letter 3x4")));
    Get<QAbstractButton>(*master, "rbStandardkarte")->click();
    EXPECT_EQ(master->Document().Bogenlayout(), TBogenlayout());
    EXPECT_EQ(standardCards->text(), QStringLiteral("85 x 55 mm, 10 Karten pro Bogen"));
    EXPECT_EQ(choice->count(), 9);
    Activate(choice, QStringLiteral("Letter 3x4"));
    EXPECT_EQ(master->Document().Bogenlayout(), Letter3x4());

    // Deleted, the sheet is no longer kept; the card keeps printing on it.
    Activate(choice, QString::fromUtf8("Eigener Bogen…"));
    dialog = master->findChild<TBogenwahl *>("gbBogen")->Dialog();
    ASSERT_NE(dialog, nullptr);
    QPushButton *remove = dialog->findChild<QPushButton *>("BtnLoeschen");
    ASSERT_FALSE(remove->isHidden());
    remove->click();
    EXPECT_EQ(TBogenkatalog().IndexOfCustom(QStringLiteral("Letter 3x4")), -1);
    EXPECT_EQ(master->Document().Bogenlayout(), Letter3x4());
    EXPECT_EQ(choice->count(), 9);
    EXPECT_TRUE(choice->itemText(0).startsWith(QStringLiteral("Letter 3x4"))) << "offered as the card's own sheet";
}

} // namespace
