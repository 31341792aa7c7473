#pragma once

#include "locale/uLocalizerForm.h"
#include "locale/ulocalize.h"
#include "support/uResources.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QWidget>

#include <memory>

// A small form with one control of each translatable kind.
class TTestForm : public QWidget, public TLocalizerForm
{
    Q_OBJECT

public:
    explicit TTestForm(QWidget *parent = nullptr);

    void RegisterDefaultTexts() override;
    void TextsChanged() override { ++TextsChangedCount; }

    int RegisterCount = 0;
    int TextsChangedCount = 0;

    QPushButton *BtnWeiter;
    QGroupBox *gbGruppe;
    QLabel *laName;
    QLabel *Unnamed;
    QTabWidget *pcMain;
    QWidget *tsSeite;
    QComboBox *cbListe;
    QMenu *mnuDatei;
    QAction *mnuDateiNeu;
};

// Language texts for tests: UTF-16 files in a temporary resource folder that
// stands for the program's resources while the fixture lives.
class TTestLanguages
{
public:
    TTestLanguages();

    // Writes LANG/<100 + index> as UTF-16 LE with byte-order mark and CR LF lines.
    void Write(int index, const QString &text);
    // Leaves a resource that exists but cannot be read.
    void WriteUnreadable(int index);
    QString Path() const { return FDir.path(); }

private:
    QTemporaryDir FDir;
    std::unique_ptr<Resources::TRootOverride> FRoot;
};

// Removes a value of the program key, so each test starts without it.
void RemoveProgramValue(const QString &name);
