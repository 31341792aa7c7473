#include "support/uDialogService.h"

#include <QBoxLayout>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>

#include <algorithm>

namespace {

constexpr int MaxListCharacters = 80;

// Folded to lower case without accents, so "muller" finds "Müller".
QString SearchForm(const QString &text)
{
    QString folded;
    for (const QChar c : text.normalized(QString::NormalizationForm_D))
        if (c.category() != QChar::Mark_NonSpacing)
            folded += c.toCaseFolded();
    return folded;
}

// A list to pick from with a search field above it: typing keeps the items
// that hold every word typed, the arrow keys move through them and Enter
// picks the one marked, at first the first match.
class TChoiceDialog : public QDialog
{
public:
    TChoiceDialog(QWidget *parent, const QString &title, const QString &label, const QStringList &items)
        : QDialog(parent)
        , FSearch(new QLineEdit(this))
        , FList(new QListWidget(this))
        , FButtons(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this))
    {
        setWindowTitle(title);
        auto *column = new QVBoxLayout(this);
        auto *caption = new QLabel(label, this);
        caption->setWordWrap(true);
        caption->setBuddy(FSearch);
        column->addWidget(caption);
        FSearch->setClearButtonEnabled(true);
        FSearch->installEventFilter(this);
        column->addWidget(FSearch);
        FList->addItems(items);
        FList->setCurrentRow(0);
        // Wide enough to tell the items apart, up to a line of text.
        const int wanted =
            FList->sizeHintForColumn(0) + 2 * FList->frameWidth() + FList->verticalScrollBar()->sizeHint().width();
        FList->setMinimumWidth(std::min(wanted, FList->fontMetrics().averageCharWidth() * MaxListCharacters));
        column->addWidget(FList);
        column->addWidget(FButtons);
        connect(FSearch, &QLineEdit::textChanged, this, &TChoiceDialog::Filter);
        connect(FList, &QListWidget::currentRowChanged, this, &TChoiceDialog::EnableOk);
        connect(FList, &QListWidget::itemActivated, this, &QDialog::accept);
        connect(FButtons, &QDialogButtonBox::accepted, this, &QDialog::accept);
        connect(FButtons, &QDialogButtonBox::rejected, this, &QDialog::reject);
        FSearch->setFocus();
    }

    // The index of the marked item; -1 when the search left none.
    int Chosen() const
    {
        const int row = FList->currentRow();
        return row >= 0 && !FList->isRowHidden(row) ? row : -1;
    }

protected:
    // The arrow keys move through the list while the search keeps the focus.
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == FSearch && event->type() == QEvent::KeyPress) {
            switch (static_cast<QKeyEvent *>(event)->key()) {
            case Qt::Key_Up:
            case Qt::Key_Down:
            case Qt::Key_PageUp:
            case Qt::Key_PageDown:
                QCoreApplication::sendEvent(FList, event);
                return true;
            default:
                break;
            }
        }
        return QDialog::eventFilter(watched, event);
    }

private:
    void Filter(const QString &text)
    {
        const QStringList words = SearchForm(text).split(QLatin1Char(' '), Qt::SkipEmptyParts);
        int first = -1;
        for (int row = 0; row < FList->count(); ++row) {
            const QString item = SearchForm(FList->item(row)->text());
            const bool match =
                std::all_of(words.begin(), words.end(), [&item](const QString &word) { return item.contains(word); });
            FList->setRowHidden(row, !match);
            if (match && first < 0)
                first = row;
        }
        FList->setCurrentRow(first);
        EnableOk();
    }

    void EnableOk() { FButtons->button(QDialogButtonBox::Ok)->setEnabled(Chosen() >= 0); }

    QLineEdit *FSearch;
    QListWidget *FList;
    QDialogButtonBox *FButtons;
};

class TWidgetDialogs : public TDialogService
{
public:
    int MessageBox(TMsgDlgType type, const QString &caption, const QString &text, int buttons,
                   int defaultButton) override
    {
        const QMessageBox::Icon icon = type == TMsgDlgType::Warning ? QMessageBox::Warning
            : type == TMsgDlgType::Error                            ? QMessageBox::Critical
            : type == TMsgDlgType::Information                      ? QMessageBox::Information
                                                                    : QMessageBox::Question;
        QMessageBox box(icon, caption, text, QMessageBox::NoButton, ParentWidget());
        const std::pair<int, QMessageBox::StandardButton> map[] = {
            {mbYes, QMessageBox::Yes}, {mbNo, QMessageBox::No}, {mbOK, QMessageBox::Ok}, {mbCancel, QMessageBox::Cancel}};
        for (const auto &[flag, standard] : map) {
            if (buttons & flag) {
                QPushButton *b = box.addButton(standard);
                if (flag == defaultButton)
                    box.setDefaultButton(b);
            }
        }
        if (buttons == 0)
            box.addButton(QMessageBox::Ok);
        box.exec();
        const auto pressed = box.standardButton(box.clickedButton());
        for (const auto &[flag, standard] : map) {
            if (standard == pressed)
                return flag;
        }
        return (buttons & mbCancel) ? mbCancel : (buttons & mbNo) ? mbNo : mbOK;
    }

    QString GetOpenFileName(const TFileDialogRequest &request) override
    {
        QFileDialog dialog(ParentWidget(), request.Title, request.InitialDir, request.Filter);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
        if (!request.FileName.isEmpty())
            dialog.selectFile(request.FileName);
        return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty() ? dialog.selectedFiles().front()
                                                                                        : QString();
    }

    QString GetSaveFileName(const TFileDialogRequest &request) override
    {
        QFileDialog dialog(ParentWidget(), request.Title, request.InitialDir, request.Filter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(request.DefaultSuffix);
        dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.OverwritePrompt);
        if (!request.FileName.isEmpty())
            dialog.selectFile(request.FileName);
        return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty() ? dialog.selectedFiles().front()
                                                                                        : QString();
    }

    int ChooseItem(const QString &title, const QString &label, const QStringList &items) override
    {
        TChoiceDialog dialog(ParentWidget(), title, label, items);
        return dialog.exec() == QDialog::Accepted ? dialog.Chosen() : -1;
    }
};

TDialogService *&CurrentService()
{
    static TWidgetDialogs widgets;
    static TDialogService *current = &widgets;
    return current;
}

} // namespace

int TDialogService::ChooseItem(const QString &, const QString &, const QStringList &)
{
    return -1;
}

TDialogService &Dialogs()
{
    return *CurrentService();
}

TDialogServiceOverride::TDialogServiceOverride(TDialogService &service)
    : FPrevious(CurrentService())
{
    CurrentService() = &service;
}

TDialogServiceOverride::~TDialogServiceOverride()
{
    CurrentService() = FPrevious;
}
