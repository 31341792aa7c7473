#include "support/uDialogService.h"

#include <QBoxLayout>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>

namespace {

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
        QDialog dialog(ParentWidget());
        dialog.setWindowTitle(title);
        auto *column = new QVBoxLayout(&dialog);
        column->addWidget(new QLabel(label, &dialog));
        auto *list = new QListWidget(&dialog);
        list->addItems(items);
        list->setCurrentRow(0);
        column->addWidget(list);
        auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
        column->addWidget(buttons);
        QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
        QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
        QObject::connect(list, &QListWidget::itemActivated, &dialog, &QDialog::accept);
        return dialog.exec() == QDialog::Accepted ? list->currentRow() : -1;
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
