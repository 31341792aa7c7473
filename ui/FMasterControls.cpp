#include "ui/FMasterControls.h"

#include "support/uProductPictures.h"
#include "ui/uCardPages.h"
#include "ui/uDruckenPage.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

constexpr int Margin = 8;
constexpr int ButtonWidth = 90;
constexpr int ButtonHeight = 25;
// The card stays recognisable down to this.
constexpr int PreviewMinimumWidth = 280;

} // namespace

void TMasterControls::CreateControls(QMainWindow *form)
{
    Client = MakeControl<QWidget>(form, "Client");
    form->setCentralWidget(Client);
    bvTop = MakeControl<QFrame>(Client, "bvTop");
    bvTop->setFrameShape(QFrame::HLine);
    bvTop->setFrameShadow(QFrame::Sunken);
    bvTop->setFixedHeight(4);

    pcMain = MakeControl<TPageControl>(Client, "pcMain");
    pcMain->addTab(tsVisitenkartentyp = new TKartentypPage, QStringLiteral("Visitenkartentyp"));
    pcMain->addTab(tsEigeneDaten = new TEigeneDatenPage, QStringLiteral("Eigene Daten"));
    pcMain->addTab(tsRueckseite = new TRueckseitePage, QStringLiteral("Rückseite"));
    pcMain->addTab(tsLayout = new TLayoutPage, QStringLiteral("Layout"));
    pcMain->addTab(tsDrucken = new TDruckenPage, QStringLiteral("Drucken"));
    CreatePreviewContainer();

    BtnZurueck = MakeButton(Client, "BtnZurueck", QStringLiteral("<< Zurück"));
    BtnWeiter = MakeButton(Client, "BtnWeiter", QStringLiteral("Weiter >>"));
    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(Margin);
    buttons->addStretch(1);
    for (QPushButton *button : {BtnZurueck, BtnWeiter}) {
        button->setMinimumSize(ButtonWidth, ButtonHeight);
        buttons->addWidget(button);
    }
    buttons->addStretch(1);

    auto *pages = new QVBoxLayout;
    pages->setContentsMargins(Margin, Margin, Margin, Margin);
    pages->setSpacing(Margin);
    pages->addWidget(pcMain, 1);
    pages->addLayout(buttons);
    auto *column = new QVBoxLayout(Client);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(bvTop);
    column->addLayout(pages, 1);
}

void TMasterControls::CreatePreviewContainer()
{
    panContainerVorschau = MakeControl<QWidget>(tsEigeneDaten, "panContainerVorschau");
    panContainerVorschau->setMinimumWidth(PreviewMinimumWidth);
    auto *frame = new QVBoxLayout(panContainerVorschau);
    frame->setContentsMargins(0, Margin, Margin, Margin);
    panVorschau = MakeControl<QFrame>(panContainerVorschau, "panVorschau");
    panVorschau->setFrameShape(QFrame::StyledPanel);
    panVorschau->setFrameShadow(QFrame::Sunken);
    frame->addWidget(panVorschau);
    (new QVBoxLayout(panVorschau))->setContentsMargins(1, 1, 1, 1);
    // Holds the maker's logo that the preview paints in its corner.
    imgOrnak = MakeControl<QLabel>(panVorschau, "imgOrnak");
    const QImage logo = LoadProductPicture(MakerLogoName);
    if (!logo.isNull())
        imgOrnak->setPixmap(QPixmap::fromImage(logo.scaledToWidth(120, Qt::SmoothTransformation)));
    imgOrnak->hide();
    tsEigeneDaten->TakePreview(panContainerVorschau);
}
