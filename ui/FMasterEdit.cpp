#include "ui/FMaster.h"

#include "locale/ulocalize.h"
#include "model/uDocument.h"
#include "support/uDialogService.h"
#include "support/uFontCombo.h"
#include "ui/uCardPages.h"
#include "ui/uElidedLabel.h"
#include "ui/uBogenwahl.h"
#include "ui/uQRCodeGroup.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextDocumentLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTextBlock>

#include <exception>

namespace {

// The memo's lines as the document keeps them: a final empty line, where the
// cursor stands after Enter, is no line.
QStringList MemoLines(const QPlainTextEdit *memo)
{
    QStringList lines = memo->toPlainText().split(QLatin1Char('\n'));
    if (lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

void SetMemoLines(QPlainTextEdit *memo, const QStringList &lines)
{
    QString text = StripTrailingLineBreak(JoinLines(lines));
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    memo->setPlainText(text);
}

// Lines as the memo shows them, wrapped lines and the cursor's empty last
// line included.
int ShownLineCount(const QPlainTextEdit *memo)
{
    const QTextDocument *text = memo->document();
    auto *layout = qobject_cast<QPlainTextDocumentLayout *>(text->documentLayout());
    int count = 0;
    for (QTextBlock block = text->begin(); block.isValid(); block = block.next()) {
        if (layout)
            layout->ensureBlockLayout(block);
        count += std::max(1, block.layout() ? block.layout()->lineCount() : 1);
    }
    return count;
}

} // namespace

QString StripTrailingLineBreak(const QString &text)
{
    if (text.endsWith(QLatin1String("\r\n")))
        return text.left(text.size() - 2);
    return text;
}

void TMaster::textchange()
{
    if (FUpdating)
        return;
    const TEigeneDatenPage &front = *tsEigeneDaten;
    const TRueckseitePage &back = *tsRueckseite;
    FDocument->SetTitel(front.edTitel->text());
    FDocument->SetName(front.edName->text());
    FDocument->SetNachname(front.edNachname->text());
    FDocument->SetBeruf(MemoLines(front.meBeruf));
    FDocument->SetFirma(front.edFirma->text());
    FDocument->SetAdresse(MemoLines(front.meAdresse));
    FDocument->SetTelefonFax(MemoLines(front.meTele));
    FDocument->SetBackText1(MemoLines(back.meTextfeld1));
    FDocument->SetBackText2(MemoLines(back.meTextfeld2));
    FDocument->SetKlappTextInnen(MemoLines(front.meExtraText));
    FDocument->SetKlappTextAussen(MemoLines(back.meExtraTextRueckseite));
    tsLayout->gbQRCode->ShowReadability(*FDocument);
    RedrawPreviews();
}

bool TMaster::LimitMemoLines(QPlainTextEdit *memo, int key, int limit)
{
    if ((key != Qt::Key_Return && key != Qt::Key_Enter) || ShownLineCount(memo) < limit)
        return false;
    QApplication::beep();
    return true;
}

void TMaster::rbStandardkarteClick()
{
    SetKartentyp(TDocument::Standardkarte);
}

void TMaster::rbKlappvisitenkarteClick()
{
    SetKartentyp(TDocument::Klappkarte);
}

void TMaster::SetKartentyp(int kartentyp)
{
    // A document being shown already holds its card type and the sheet it
    // was read with; only the user's own choice puts the type's preset in.
    if (!FUpdating) {
        FDocument->SetKartentyp(kartentyp);
        FDocument->SetModified(true);
    }
    tsVisitenkartentyp->gbBogen->ShowSheets(FDocument->Kartentyp(), FDocument->Bogenlayout());
    ShowFoldingGroups();
    ReloadLayouts();
}

void TMaster::BogenGewaehlt(const TBogenlayout &sheet)
{
    FDocument->SetBogenlayout(sheet);
    FDocument->SetModified(true);
    FitPreview();
    RedrawPreviews();
}

void TMaster::rbEinseitigClick()
{
    SetTwoSided(false);
    ReloadLayouts();
}

void TMaster::rbBeidseitigClick()
{
    SetTwoSided(true);
    ReloadLayouts();
}

void TMaster::SetTwoSided(bool value)
{
    FDocument->SetMitRueckseite(value);
    pcMain->setTabVisible(pcMain->indexOf(tsRueckseite), value);
    tsLayout->cbTextZentrierenRueckseite->setVisible(value);
    tsLayout->gbQRCode->ShowDocument(*FDocument);
}

void TMaster::ReloadLayouts()
{
    const int count = FDocument->Layouts().Count();
    // Two-sided folding cards are printed landscape only.
    FDocument->LoadLayouts(FDocument->Kartentyp() == TDocument::Klappkarte && FDocument->MitRueckseite());
    if (FDocument->Layouts().Count() != count)
        ArrangeLayoutGrid();
    // A document being shown keeps its own layout, selected at the end of
    // DocumentToControls; the grid's cell would replace it.
    if (!FUpdating)
        ApplyLayoutSelection();
}

void TMaster::LoadLogo(TDIB &logo)
{
    // Every picture type the program reads, listed by suffix as the file
    // names show them.
    QStringList patterns;
    for (const QString &suffix : LogoFileSuffixes())
        patterns << QStringLiteral("*.") + suffix << QStringLiteral("*.") + suffix.toUpper();
    TFileDialogRequest request;
    request.Title = GetText(QStringLiteral("ID_LOGOLADEN"));
    request.Filter = QStringLiteral("*.") + LogoFileSuffixes().join(QStringLiteral(", *.")) + QStringLiteral(" (")
                     + patterns.join(QLatin1Char(' ')) + QStringLiteral(");;") + GetText(QStringLiteral("ID_AlleDateien"))
                     + QStringLiteral(" (*)");
    request.DefaultSuffix = QStringLiteral("bmp");
    const QString path = Dialogs().GetOpenFileName(request);
    if (!path.isEmpty())
        InsertLogo(logo, path);
}

void TMaster::InsertLogo(TDIB &logo, const QString &path)
{
    try {
        if (!FDocument->ShareLogoFile(logo, path))
            logo.LoadFromFile(path);
        if (const QString leftOut = logo.LeftOutText(); !leftOut.isEmpty())
            ShowMessageBox(TMsgDlgType::Warning, leftOut);
    } catch (const std::exception &error) {
        ShowMessageBox(TMsgDlgType::Error, QString::fromUtf8(error.what()));
    }
    FDocument->SetModified(true);
    DocumentToControls();
    RedrawPreviews();
}

void TMaster::ClearLogo(TDIB &logo)
{
    logo.Clear();
    FDocument->SetModified(true);
    DocumentToControls();
    RedrawPreviews();
}

void TMaster::ShowLogoName(const TDIB &logo, TElidedLabel *label, QPushButton *remove)
{
    const bool none = logo.FileName().isEmpty();
    label->SetFullText(none ? QLatin1Char('<') + GetText(QStringLiteral("ID_OHNE")) + QLatin1Char('>')
                            : logo.FileName());
    remove->setEnabled(!none);
}

void TMaster::chLinienClick()
{
    if (FUpdating)
        return;
    FDocument->LinienAnzeigen = tsLayout->chLinien->isChecked();
    FDocument->SetModified(true);
    RedrawPreviews();
}

void TMaster::cbTextZentrierenRueckseiteClick()
{
    if (FUpdating)
        return;
    FDocument->TextZentrierenRueckseite = tsLayout->cbTextZentrierenRueckseite->isChecked();
    FDocument->SetModified(true);
    RedrawPreviews();
}

void TMaster::cbSchriftartChange()
{
    if (FUpdating)
        return;
    FDocument->Fontname = FFontBox->FontName();
    FDocument->SetModified(true);
    RedrawPreviews();
}

void TMaster::gbQRCodeChange()
{
    FDocument->SetQRCode(tsLayout->gbQRCode->Settings());
    tsLayout->gbQRCode->ShowReadability(*FDocument);
    RedrawPreviews();
}

void TMaster::DocumentToControls()
{
    FUpdating = true;
    // Showing the document is no edit: the controls' setters (the sides
    // above all) must not leave it marked modified.
    struct TUpdateEnd
    {
        bool &Flag;
        TDocument &Document;
        bool Modified;
        QWidget &Window;
        ~TUpdateEnd()
        {
            Flag = false;
            Document.SetModified(Modified);
            Window.setWindowModified(Modified);
        }
    } updateEnd{FUpdating, *FDocument, FDocument->Modified(), *this};

    const TDocument &document = *FDocument;
    const TKartentypPage &type = *tsVisitenkartentyp;
    (document.MitRueckseite() ? type.rbBeidseitig : type.rbEinseitig)->setChecked(true);
    SetTwoSided(document.MitRueckseite());
    (document.Kartentyp() == TDocument::Klappkarte ? type.rbKlappvisitenkarte : type.rbStandardkarte)
        ->setChecked(true);
    type.gbBogen->ShowSheets(document.Kartentyp(), document.Bogenlayout());

    const TEigeneDatenPage &front = *tsEigeneDaten;
    const TRueckseitePage &back = *tsRueckseite;
    front.edTitel->setText(document.Titel());
    front.edName->setText(document.Name());
    front.edNachname->setText(document.Nachname());
    SetMemoLines(front.meBeruf, document.Beruf());
    front.edFirma->setText(document.Firma());
    SetMemoLines(front.meAdresse, document.Adresse());
    SetMemoLines(front.meTele, document.TelefonFax());
    ShowLogoName(document.Logo, front.lblLogo, front.BtnEntfernen);
    SetMemoLines(front.meExtraText, document.KlappTextInnen());
    SetMemoLines(back.meTextfeld1, document.BackText1());
    SetMemoLines(back.meTextfeld2, document.BackText2());
    ShowLogoName(document.LogoRueckseite, back.lblLogoRueckseite, back.BtnLogoEntfernenRueckseite);
    SetMemoLines(back.meExtraTextRueckseite, document.KlappTextAussen());

    SelectDocumentLayout();

    const QString program = GetText(QStringLiteral("ID_PROGRAMMNAME"));
    // "[*]" stands where the title marks unsaved changes.
    setWindowTitle((document.FileName().isEmpty()
                        ? program
                        : program + QStringLiteral(" - ") + QFileInfo(document.FileName()).fileName())
                   + QStringLiteral("[*]"));
    // A family that is not installed shows as the one the card is drawn in.
    FFontBox->ShowFont(document.Fontname.isEmpty() ? QStringLiteral("Arial") : document.Fontname);
    tsLayout->chLinien->setChecked(document.LinienAnzeigen);
    tsLayout->cbTextZentrierenRueckseite->setChecked(document.TextZentrierenRueckseite);
    tsLayout->gbQRCode->ShowDocument(document);
}
