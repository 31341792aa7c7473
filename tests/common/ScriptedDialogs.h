#pragma once

#include "support/uDialogService.h"

#include <QStringList>

#include <deque>
#include <vector>

// Answers the program's message boxes and file dialogs from a script and
// records what was shown. Installed for its lifetime.
class TScriptedDialogs : public TDialogService
{
public:
    struct Message
    {
        TMsgDlgType Type;
        QString Caption;
        QString Text;
        int Buttons;
    };

    TScriptedDialogs() : FOverride(*this) {}

    // Answers for the next message boxes, in order; without one the default
    // button (or OK) is pressed.
    std::deque<int> Answers;
    // Paths for the next file dialogs, in order; an empty path cancels. Without
    // one the dialog is cancelled.
    std::deque<QString> Files;

    // Indexes picked in the next choices, in order; without one the choice is cancelled.
    std::deque<int> Choices;

    std::vector<Message> Messages;
    std::vector<TFileDialogRequest> FileRequests;
    std::vector<QStringList> ChoiceItems;

    int MessageBox(TMsgDlgType type, const QString &caption, const QString &text, int buttons,
                   int defaultButton) override
    {
        Messages.push_back({type, caption, text, buttons});
        if (!Answers.empty()) {
            const int answer = Answers.front();
            Answers.pop_front();
            return answer;
        }
        return defaultButton ? defaultButton : mbOK;
    }
    QString GetOpenFileName(const TFileDialogRequest &request) override { return NextFile(request); }
    QString GetSaveFileName(const TFileDialogRequest &request) override { return NextFile(request); }
    int ChooseItem(const QString &, const QString &, const QStringList &items) override
    {
        ChoiceItems.push_back(items);
        if (Choices.empty())
            return -1;
        const int choice = Choices.front();
        Choices.pop_front();
        return choice;
    }

    QStringList Texts() const
    {
        QStringList texts;
        for (const auto &m : Messages)
            texts << m.Text;
        return texts;
    }

private:
    QString NextFile(const TFileDialogRequest &request)
    {
        FileRequests.push_back(request);
        if (Files.empty())
            return {};
        const QString file = Files.front();
        Files.pop_front();
        return file;
    }

    TDialogServiceOverride FOverride;
};
