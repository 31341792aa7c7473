#include "LocalizerTestSupport.h"

#include <QDir>
#include <QFile>
#include <QSettings>

TTestForm::TTestForm(QWidget *parent)
    : QWidget(parent, parent ? Qt::Window : Qt::WindowFlags())
    , TLocalizerForm(this)
{
    setObjectName("Test");
    setWindowTitle("Testfenster");
    BtnWeiter = new QPushButton("Weiter >>", this);
    BtnWeiter->setObjectName("BtnWeiter");
    BtnWeiter->setToolTip("Zur nächsten Seite");
    gbGruppe = new QGroupBox("Gruppe", this);
    gbGruppe->setObjectName("gbGruppe");
    laName = new QLabel("Name:", gbGruppe);
    laName->setObjectName("laName");
    Unnamed = new QLabel("Ohne Namen", this);
    pcMain = new QTabWidget(this);
    pcMain->setObjectName("pcMain");
    tsSeite = new QWidget;
    tsSeite->setObjectName("tsSeite");
    pcMain->addTab(tsSeite, "Seite");
    cbListe = new QComboBox(this);
    cbListe->setObjectName("cbListe");
    cbListe->addItems({"eins", "zwei"});
    mnuDatei = new QMenu("&Datei", this);
    mnuDatei->setObjectName("mnuDatei");
    mnuDateiNeu = mnuDatei->addAction("&Neu");
    mnuDateiNeu->setObjectName("mnuDateiNeu");
    Loaded();
}

void TTestForm::RegisterDefaultTexts()
{
    ++RegisterCount;
    SetDefaultText("ID_KARTEN", "Bitte legen Sie %d Bogen ein");
    AddDefaultText("Weiter");
}

TTestLanguages::TTestLanguages()
{
    QDir(FDir.path()).mkpath("LANG");
    FRoot = std::make_unique<Resources::TRootOverride>(FDir.path());
}

void TTestLanguages::Write(int index, const QString &text)
{
    QFile file(FDir.path() + "/LANG/" + QString::number(100 + index));
    if (!file.open(QIODevice::WriteOnly))
        return;
    QString crlf = text;
    crlf.replace("\n", "\r\n");
    const QString withMark = QChar(0xFEFF) + crlf;
    file.write(reinterpret_cast<const char *>(withMark.utf16()), withMark.size() * 2);
}

void TTestLanguages::WriteUnreadable(int index)
{
    // A folder in the file's place exists but does not open as a file.
    const QString name = "LANG/" + QString::number(100 + index);
    QFile::remove(FDir.path() + '/' + name);
    QDir(FDir.path()).mkpath(name);
}

void RemoveProgramValue(const QString &name)
{
    QSettings(QSettings::NativeFormat, QSettings::UserScope, "Ornak", "Tessaro").remove(name);
}
