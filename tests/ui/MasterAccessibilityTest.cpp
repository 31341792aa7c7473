#include "MasterTestSupport.h"

#include "locale/ulocalize.h"
#include "model/uDocument.h"
#include "print/uPrinterSupport.h"

#include <QAbstractScrollArea>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSet>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>

#include <map>

namespace {

// The window as a keyboard and screen reader user meets it: the page shown
// with the tab row, the preview, the buttons and the menu bar; the other
// pages and popup windows are not there.
class KeyboardTest : public MasterTest
{
protected:
    void SetUp() override
    {
        MasterTest::SetUp();
        FMaster = Create();
        FWindow = FMaster.get();
        FMaster->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(FMaster.get()));
        FPages = Get<QTabWidget>(*FMaster, "pcMain");
    }

    // A folding two-sided card shows every box, a QR code with a web address
    // every field of its group; the print page its calibration.
    void ShowEveryControl()
    {
        FPages->setCurrentIndex(0);
        Click(*FMaster, "rbKlappvisitenkarte");
        Click(*FMaster, "rbBeidseitig");
        Click(*FMaster, "chQRCodeAnzeigen");
        Click(*FMaster, "rbQRCodeURL");
        FPages->setCurrentWidget(Get<QWidget>(*FMaster, "tsDrucken"));
        Click(*FMaster, "BtnDruckpositionAnpassen");
    }

    // The main window's shown page, or the dialog in front of it.
    bool OnShownPage(const QWidget *widget) const
    {
        if (widget->window() != FWindow)
            return false;
        for (const QWidget *w = widget; w; w = w->parentWidget()) {
            if (FPages->indexOf(const_cast<QWidget *>(w)) >= 0)
                return w == FPages->currentWidget();
        }
        return true;
    }

    void Collect(QAccessibleInterface *control, QList<QAccessibleInterface *> &controls) const
    {
        if (const auto *widget = qobject_cast<QWidget *>(control->object()); widget && !OnShownPage(widget))
            return;
        controls << control;
        for (int i = 0; i < control->childCount(); ++i) {
            if (QAccessibleInterface *child = control->child(i))
                Collect(child, controls);
        }
    }

    // What a user reaches on the shown page, hidden boxes included: a
    // control handing its focus on to another is not one of them.
    QList<QAccessibleInterface *> FocusableControls() const
    {
        QList<QAccessibleInterface *> all;
        Collect(QAccessible::queryAccessibleInterface(FWindow), all);
        QList<QAccessibleInterface *> focusable;
        for (QAccessibleInterface *control : all) {
            const auto *widget = qobject_cast<QWidget *>(control->object());
            if (control->state().focusable && !(widget && widget->focusProxy()))
                focusable << control;
        }
        return focusable;
    }

    // Alt+key combinations of the shown page, each with the texts carrying it.
    std::map<QString, QStringList> Mnemonics() const
    {
        std::map<QString, QStringList> owners;
        auto add = [&](const QString &text) {
            const QKeySequence key = QKeySequence::mnemonic(text);
            if (!key.isEmpty())
                owners[key.toString()] << text;
        };
        for (const QWidget *widget : FWindow->findChildren<QWidget *>()) {
            if (!OnShownPage(widget))
                continue;
            if (const auto *label = qobject_cast<const QLabel *>(widget); label && label->buddy())
                add(label->text());
            else if (const auto *button = qobject_cast<const QAbstractButton *>(widget))
                add(button->text());
            else if (const auto *box = qobject_cast<const QGroupBox *>(widget))
                add(box->title());
            else if (const auto *bar = qobject_cast<const QMenuBar *>(widget)) {
                for (const QAction *item : bar->actions())
                    add(item->isVisible() ? item->text() : QString());
            } else if (const auto *tabs = qobject_cast<const QTabBar *>(widget)) {
                for (int i = 0; i < tabs->count(); ++i)
                    add(tabs->isTabVisible(i) ? tabs->tabText(i) : QString());
            }
        }
        return owners;
    }

    // The mnemonics that only lead somewhere: captions of fields and boxes,
    // and a chosen radio button, which may stand as its field's caption
    // (true: it leads on once its click is through).
    QList<std::pair<QKeySequence, bool>> CaptionMnemonics() const
    {
        QList<std::pair<QKeySequence, bool>> keys;
        for (const QWidget *widget : FWindow->findChildren<QWidget *>()) {
            if (!widget->isVisibleTo(FWindow) || !OnShownPage(widget))
                continue;
            const auto *label = qobject_cast<const QLabel *>(widget);
            const auto *box = qobject_cast<const QGroupBox *>(widget);
            const auto *radio = qobject_cast<const QRadioButton *>(widget);
            if (label && label->buddy() && !qobject_cast<QAbstractButton *>(label->buddy()))
                keys.append({QKeySequence::mnemonic(label->text()), false});
            else if (box && !box->isCheckable())
                keys.append({QKeySequence::mnemonic(box->title()), false});
            else if (radio && radio->isChecked())
                keys.append({QKeySequence::mnemonic(radio->text()), true});
        }
        keys.removeIf([](const auto &key) { return key.first.isEmpty(); });
        return keys;
    }

    static QString Describe(const QWidget *widget)
    {
        return widget ? widget->objectName() + QLatin1Char(' ') + QLatin1String(widget->metaObject()->className())
                      : QStringLiteral("nothing");
    }

    // The control with the focus lies inside every scrolled area around it.
    static bool InView(const QWidget *widget)
    {
        for (const QWidget *outer = widget->parentWidget(); outer; outer = outer->parentWidget()) {
            const auto *area = qobject_cast<const QAbstractScrollArea *>(outer);
            if (!area)
                continue;
            const QRect shown = area->viewport()->rect();
            const QRect place(widget->mapTo(area->viewport(), QPoint(0, 0)), widget->size());
            if (shown.height() >= place.height() ? !shown.contains(place) : !shown.intersects(place))
                return false;
        }
        return true;
    }

    QWidget *Focus() const { return QApplication::focusWidget(); }
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) const
    {
        QTest::keyClick(Focus() ? Focus() : FMaster.get(), key, modifiers);
    }
    void Type(const QString &text) const
    {
        Key(Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(Focus(), text);
    }
    void Mnemonic(const QKeySequence &key) const
    {
        const QKeyCombination combination = key[0];
        Key(combination.key(), combination.keyboardModifiers());
    }

    std::unique_ptr<TMaster> FMaster;
    QWidget *FWindow = nullptr;
    QTabWidget *FPages = nullptr;
};

QString SpokenName(QAccessibleInterface *control)
{
    // Qt names a combo box by its value on Linux and relates it to its
    // caption, which a screen reader speaks as its name.
    if (control->role() == QAccessible::ComboBox) {
        const auto captions = control->relations(QAccessible::Label);
        return captions.isEmpty() ? QString() : captions.first().first->text(QAccessible::Name);
    }
    return control->text(QAccessible::Name);
}

bool IsField(QAccessible::Role role)
{
    return role == QAccessible::EditableText || role == QAccessible::SpinBox || role == QAccessible::ComboBox
        || role == QAccessible::List;
}

// Every focusable control has a name that no control of its kind on the same
// page shares, every page's mnemonics are unique, and each field is reached
// by one; in every language, at the smallest window, where the page scrolls
// the field into view. The same holds for the dialog of an own card sheet.
TEST_F(KeyboardTest, EveryControlHasItsOwnNameAndEveryFieldItsOwnMnemonicInEveryLanguage)
{
    ShowEveryControl();
    FMaster->resize(1, 1);
    auto checkShown = [&](const QString &where) {
        std::map<std::pair<int, QString>, int> names;
        QList<QWidget *> fields;
        for (QAccessibleInterface *control : FocusableControls()) {
            const QString name = SpokenName(control);
            const auto *widget = qobject_cast<QWidget *>(control->object());
            EXPECT_FALSE(name.trimmed().isEmpty()) << qPrintable(where) << ": " << qPrintable(Describe(widget));
            const int uses = ++names[std::make_pair(int(control->role()), name)];
            EXPECT_EQ(uses, 1) << qPrintable(where) << ": \"" << qPrintable(name) << "\" twice";
            // The second of a pair of boxes under one caption is reached from the first.
            const QWidget *pairFirst = widget ? widget->parentWidget()->focusProxy() : nullptr;
            if (widget && widget->isVisibleTo(FWindow) && widget->isEnabled() && IsField(control->role())
                && (!pairFirst || pairFirst == widget))
                fields << const_cast<QWidget *>(widget);
        }
        for (const auto &[key, texts] : Mnemonics())
            EXPECT_EQ(texts.size(), 1) << qPrintable(where) << ": " << qPrintable(texts.join(u", "));

        for (const auto &[key, clicks] : CaptionMnemonics()) {
            Mnemonic(key);
            if (clicks)
                QTest::qWait(150);
            fields.removeAll(Focus());
            EXPECT_TRUE(Focus() && InView(Focus())) << qPrintable(where) << ": " << qPrintable(Describe(Focus()));
        }
        for (const QWidget *field : fields)
            ADD_FAILURE() << qPrintable(where) << ": no mnemonic leads to " << qPrintable(Describe(field));
    };
    for (int language = 0; language < LanguageCount; ++language) {
        Localizer().SetLanguage(language);
        const QString code = QLatin1String(LanguageTable[language].Code);
        for (int page = 0; page < FPages->count(); ++page) {
            FPages->setCurrentIndex(page);
            QCoreApplication::processEvents();
            checkShown(code + QLatin1Char(' ') + FPages->currentWidget()->objectName());
        }

        FPages->setCurrentIndex(0);
        auto *sheets = Get<QComboBox>(*FMaster, "cbBogen");
        emit sheets->activated(sheets->count() - 1);
        auto *dialog = FMaster->findChild<QDialog *>(QStringLiteral("BogenDialog"));
        ASSERT_TRUE(dialog && WaitFor([&] { return QApplication::activeWindow() == dialog; }));
        FWindow = dialog;
        checkShown(code + QStringLiteral(" BogenDialog"));
        FWindow = FMaster.get();
        dialog->reject();
        FMaster->activateWindow();
        ASSERT_TRUE(WaitFor([&] { return QApplication::activeWindow() == FMaster.get(); }));
    }
    Localizer().SetLanguage(0);
}

// Tab from the tab row passes every control of the page in reading order,
// then the preview and the two buttons, and never leaves the focus out of
// sight, also when the smallest window scrolls the page.
TEST_F(KeyboardTest, TabReachesEveryControlInReadingOrderAndKeepsItInView)
{
    ShowEveryControl();
    QTemporaryDir folder;
    const QString logo = folder.filePath(QStringLiteral("logo.bmp"));
    ASSERT_TRUE(WriteLogo(logo));
    FMaster->Document().Logo.LoadFromFile(logo);
    FMaster->Document().LogoRueckseite.LoadFromFile(logo);
    FMaster->DocumentToControls();
    FMaster->resize(1, 1);
    QTabBar *tabRow = FPages->tabBar();
    const QList<QWidget *> window = {Get<QWidget>(*FMaster, "MMWin"), Get<QWidget>(*FMaster, "BtnZurueck"),
                                     Get<QWidget>(*FMaster, "BtnWeiter")};
    for (int page = 0; page < FPages->count(); ++page) {
        FPages->setCurrentIndex(page);
        QWidget *shown = FPages->currentWidget();
        QList<QWidget *> expected;
        QSet<QWidget *> radioGroups;
        for (QWidget *widget : shown->findChildren<QWidget *>()) {
            if (!(widget->focusPolicy() & Qt::TabFocus) || widget->focusProxy() || !widget->isEnabled()
                || !widget->isVisibleTo(FMaster.get()) || window.contains(widget))
                continue;
            // Tab enters a group of radio buttons at one of them; the arrows move on.
            if (qobject_cast<QRadioButton *>(widget))
                radioGroups << widget->parentWidget();
            else
                expected << widget;
        }
        QList<QWidget *> tail;
        // The page "Drucken" shows the sheet instead of the card preview.
        for (QWidget *widget : window)
            tail << (widget->isEnabled() && widget->isVisibleTo(FMaster.get()) ? widget : nullptr);
        tail.removeAll(nullptr);

        tabRow->setFocus();
        QList<QWidget *> reached;
        for (int step = 0; step < 40 && !reached.contains(Focus()); ++step) {
            reached << Focus();
            EXPECT_TRUE(InView(Focus())) << qPrintable(shown->objectName()) << ": " << qPrintable(Describe(Focus()));
            Key(Qt::Key_Tab);
        }
        ASSERT_GT(reached.size(), tail.size());
        EXPECT_EQ(reached.first(), tabRow);
        EXPECT_EQ(reached.mid(reached.size() - tail.size()), tail) << qPrintable(shown->objectName());
        const QList<QWidget *> pageControls = reached.mid(1, reached.size() - 1 - tail.size());
        for (QWidget *widget : pageControls) {
            if (qobject_cast<QRadioButton *>(widget))
                radioGroups.remove(widget->parentWidget());
            else
                expected.removeOne(widget);
        }
        for (QWidget *widget : expected)
            ADD_FAILURE() << qPrintable(shown->objectName()) << ": Tab passes over " << qPrintable(Describe(widget));
        EXPECT_TRUE(radioGroups.isEmpty()) << qPrintable(shown->objectName()) << ": Tab passes over a radio group";
        for (int i = 1; i < pageControls.size(); ++i) {
            const QRect before(pageControls[i - 1]->mapTo(FMaster.get(), QPoint()), pageControls[i - 1]->size());
            const QRect after(pageControls[i]->mapTo(FMaster.get(), QPoint()), pageControls[i]->size());
            const bool sameRow = std::abs(before.center().y() - after.center().y()) < before.height() / 2;
            // A column beside the one read is read after it.
            const bool nextColumn = after.left() >= before.right();
            EXPECT_TRUE(sameRow ? before.x() < after.x() : before.y() < after.y() || nextColumn)
                << qPrintable(shown->objectName()) << ": " << qPrintable(Describe(pageControls[i - 1])) << " before "
                << qPrintable(Describe(pageControls[i]));
        }
    }
}

// The whole wizard without a mouse: a two-sided card typed, its layout
// chosen with the arrow keys, the PDF printer and two sheets chosen and
// printed; only the program's file dialog is answered by script.
TEST_F(KeyboardTest, KeyboardAloneTakesACardFromStartToPdf)
{
    QTemporaryDir folder;
    const QString pdf = folder.filePath(QStringLiteral("karten.pdf"));
    FDialogs.Files = {pdf};
    ASSERT_EQ(Focus(), Get<QWidget>(*FMaster, "edTitel"));
    Type(QStringLiteral("Prof."));
    Key(Qt::Key_N, Qt::AltModifier);
    Type(QStringLiteral("Erika Tastmann"));
    Key(Qt::Key_B, Qt::AltModifier);
    Type(QStringLiteral("Tastenbauerin"));

    Key(Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Page(*FMaster), QStringLiteral("tsVisitenkartentyp"));
    Key(Qt::Key_B, Qt::AltModifier);
    // A mnemonic presses its button as a click would be seen, a moment later.
    EXPECT_TRUE(WaitFor([&] { return FMaster->Document().MitRueckseite(); }));

    Key(Qt::Key_Tab, Qt::ControlModifier);
    Key(Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(Page(*FMaster), QStringLiteral("tsRueckseite"));
    Key(Qt::Key_1, Qt::AltModifier);
    Type(QStringLiteral("Tasten aller Art"));

    Key(Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(Page(*FMaster), QStringLiteral("tsLayout"));
    EXPECT_EQ(Focus(), Get<QWidget>(*FMaster, "dgLayouts"));
    Key(Qt::Key_Right);
    EXPECT_EQ(FMaster->Document().Kartenlayout().Name, QStringLiteral("101"));

    Key(Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(Page(*FMaster), QStringLiteral("tsDrucken"));
    Key(Qt::Key_N, Qt::AltModifier);
    QTest::keyClicks(Focus(), QLatin1String(PdfPrinterName));
    EXPECT_EQ(PrinterSupport().GetDeviceName(), QLatin1String(PdfPrinterName));
    Key(Qt::Key_A, Qt::AltModifier);
    Type(QStringLiteral("2"));
    auto *print = Get<QPushButton>(*FMaster, "BtnWeiter");
    for (int i = 0; i < 20 && Focus() != print; ++i)
        Key(Qt::Key_Tab);
    ASSERT_EQ(Focus(), print);
    Key(Qt::Key_Space);

    EXPECT_TRUE(FDialogs.Texts().isEmpty()) << "a file asks nothing about paper";
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    ASSERT_TRUE(text.waitForFinished(30000));
    const QString printed = QString::fromUtf8(text.readAllStandardOutput());
    for (const char *line : {"Prof.", "Erika Tastmann", "Tastenbauerin", "Tasten aller Art"})
        EXPECT_TRUE(printed.contains(QString::fromUtf8(line))) << line;
}

// Ctrl+Plus, Ctrl+Minus and Ctrl+0 zoom the preview from any control; Tab
// reaches the preview, whose arrow keys then move over the enlarged card.
TEST_F(KeyboardTest, ZoomKeysWorkFromAnyControlAndArrowsScrollTheEnlargedPreview)
{
    TCardPreview &preview = FMaster->Preview();
    const float fitted = preview.Zoom();
    Key(Qt::Key_Plus, Qt::ControlModifier);
    EXPECT_FLOAT_EQ(preview.Zoom(), fitted * 1.2f);
    Key(Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_NEAR(preview.Zoom(), fitted, 1e-4);
    EXPECT_EQ(preview.FitMode(), 0);
    for (int i = 0; i < 8; ++i)
        Key(Qt::Key_Plus, Qt::ControlModifier);
    Key(Qt::Key_0, Qt::ControlModifier);
    EXPECT_FLOAT_EQ(preview.Zoom(), fitted);
    EXPECT_EQ(preview.FitMode(), 1);

    for (int i = 0; i < 8; ++i)
        Key(Qt::Key_Plus, Qt::ControlModifier);
    for (int i = 0; i < 20 && Focus() != &preview; ++i)
        Key(Qt::Key_Tab);
    ASSERT_EQ(Focus(), &preview);
    const int top = preview.verticalScrollBar()->value();
    Key(Qt::Key_Down);
    EXPECT_GT(preview.verticalScrollBar()->value(), top);
}

} // namespace
