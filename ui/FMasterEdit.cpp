#include "ui/FMaster.h"

#include "locale/ulocalize.h"
#include "model/uDocument.h"
#include "support/uDialogService.h"
#include "support/uFontCombo.h"
#include "ui/uQRCodeGroup.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QLayout>
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

QString ShortenPath(const QFontMetrics &metrics, const QString &path, int width)
{
    const int room = width - 1;
    if (metrics.horizontalAdvance(path) <= room)
        return path;
    const QString ellipsis = QStringLiteral("...");
    const qsizetype cut = std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    const QString tail = cut >= 0 ? path.mid(cut) : QString();
    QString head = cut >= 0 ? path.left(cut) : path;
    while (!head.isEmpty()) {
        head.chop(1);
        const QString candidate = head + ellipsis + tail;
        if (metrics.horizontalAdvance(candidate) <= room)
            return candidate;
    }
    // Not even the file name fits: it loses its end.
    return metrics.elidedText(ellipsis + tail, Qt::ElideRight, room);
}

void TMaster::textchange()
{
    if (FUpdating)
        return;
    FDocument->SetTitel(edTitel->text());
    FDocument->SetName(edName->text());
    FDocument->SetBeruf(MemoLines(meBeruf));
    FDocument->SetAdresse(MemoLines(meAdresse));
    FDocument->SetTelefonFax(MemoLines(meTele));
    FDocument->SetBackText1(MemoLines(meTextfeld1));
    FDocument->SetBackText2(MemoLines(meTextfeld2));
    FDocument->SetKlappTextInnen(MemoLines(meExtraText));
    FDocument->SetKlappTextAussen(MemoLines(meExtraTextRueckseite));
    gbQRCode->ShowReadability(*FDocument);
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
    FDocument->SetKartentyp(TDocument::Standardkarte);
    ReloadLayouts();
}

void TMaster::rbKlappvisitenkarteClick()
{
    FDocument->SetKartentyp(TDocument::Klappkarte);
    ReloadLayouts();
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
    cbTextZentrierenRueckseite->setVisible(value);
    gbQRCode->ShowDocument(*FDocument);
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
    TFileDialogRequest request;
    request.Title = GetText(QStringLiteral("ID_LOGOLADEN"));
    request.Filter = QStringLiteral("*.bmp, *.jpg, *.tif (*.bmp *.jpg *.tif *.BMP *.JPG *.TIF);;")
                     + GetText(QStringLiteral("ID_AlleDateien")) + QStringLiteral(" (*)");
    request.DefaultSuffix = QStringLiteral("bmp");
    const QString path = Dialogs().GetOpenFileName(request);
    if (path.isEmpty())
        return;
    try {
        logo.LoadFromFile(path);
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

void TMaster::ShowLogoName(const TDIB &logo, QLabel *label, QPushButton *remove)
{
    if (logo.FileName().isEmpty()) {
        label->setText(QLatin1Char('<') + GetText(QStringLiteral("ID_OHNE")) + QLatin1Char('>'));
        remove->setEnabled(false);
        return;
    }
    // The label's width comes from its group's layout, also before the page was shown.
    label->parentWidget()->layout()->activate();
    label->setText(ShortenPath(label->fontMetrics(), logo.FileName(), label->width()));
    remove->setEnabled(true);
}

void TMaster::chLinienClick()
{
    if (FUpdating)
        return;
    FDocument->LinienAnzeigen = chLinien->isChecked();
    RedrawPreviews();
}

void TMaster::cbTextZentrierenRueckseiteClick()
{
    if (FUpdating)
        return;
    FDocument->TextZentrierenRueckseite = cbTextZentrierenRueckseite->isChecked();
    RedrawPreviews();
}

void TMaster::cbSchriftartChange()
{
    if (FUpdating)
        return;
    FDocument->Fontname = FFontBox->FontName();
    RedrawPreviews();
}

void TMaster::gbQRCodeChange()
{
    FDocument->SetQRCode(gbQRCode->Settings());
    gbQRCode->ShowReadability(*FDocument);
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
        ~TUpdateEnd()
        {
            Flag = false;
            Document.SetModified(Modified);
        }
    } updateEnd{FUpdating, *FDocument, FDocument->Modified()};

    const TDocument &document = *FDocument;
    (document.MitRueckseite() ? rbBeidseitig : rbEinseitig)->setChecked(true);
    SetTwoSided(document.MitRueckseite());
    (document.Kartentyp() == TDocument::Klappkarte ? rbKlappvisitenkarte : rbStandardkarte)->setChecked(true);

    edTitel->setText(document.Titel());
    edName->setText(document.Name());
    SetMemoLines(meBeruf, document.Beruf());
    SetMemoLines(meAdresse, document.Adresse());
    SetMemoLines(meTele, document.TelefonFax());
    ShowLogoName(document.Logo, lblLogo, BtnEntfernen);
    SetMemoLines(meExtraText, document.KlappTextInnen());
    SetMemoLines(meTextfeld1, document.BackText1());
    SetMemoLines(meTextfeld2, document.BackText2());
    ShowLogoName(document.LogoRueckseite, lblLogoRueckseite, BtnLogoEntfernenRueckseite);
    SetMemoLines(meExtraTextRueckseite, document.KlappTextAussen());

    SelectDocumentLayout();

    const QString program = GetText(QStringLiteral("ID_PROGRAMMNAME"));
    setWindowTitle(document.FileName().isEmpty()
                       ? program
                       : program + QStringLiteral(" - ") + QFileInfo(document.FileName()).fileName());
    FFontBox->SetFontName(document.Fontname.isEmpty() ? QStringLiteral("Arial") : document.Fontname);
    chLinien->setChecked(document.LinienAnzeigen);
    gbQRCode->ShowDocument(document);
}
