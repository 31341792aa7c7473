#include "ui/uQRCodeGroup.h"

#include "locale/ulocalize.h"
#include "model/uCardQRCode.h"
#include "model/uDocument.h"
#include "render/uQRCode.h"
#include "ui/uAccessibleTexts.h"
#include "ui/uNumberBox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QStandardItemModel>

#include <type_traits>

namespace {

template <class T>
T *Make(QWidget *parent, const char *name, const QString &text = {})
{
    T *widget = nullptr;
    if constexpr (std::is_constructible_v<T, QString, QWidget *>)
        widget = new T(text, parent);
    else
        widget = new T(parent);
    widget->setObjectName(QLatin1String(name));
    return widget;
}

} // namespace

TQRCodeGroup::TQRCodeGroup(QWidget *parent)
    : QGroupBox(QStringLiteral("QR-Code"), parent)
{
    setObjectName(QStringLiteral("gbQRCode"));
    RegisterQRCodeTexts();

    chQRCodeAnzeigen = Make<QCheckBox>(this, "chQRCodeAnzeigen", QStringLiteral("&QR-Code auf der Karte"));
    lblQRCodeGroesse = Make<QLabel>(this, "lblQRCodeGroesse", QStringLiteral("&Größe:"));
    seQRCodeGroesse = Make<TNumberBox>(this, "seQRCodeGroesse");
    seQRCodeGroesse->setRange(TQRCodeSettings::MinGroesse, TQRCodeSettings::MaxGroesse);
    seQRCodeGroesse->setDecimals(1);
    seQRCodeGroesse->setSingleStep(1);
    seQRCodeGroesse->setSuffix(QStringLiteral(" mm"));
    seQRCodeGroesse->setValue(TQRCodeSettings::DefaultGroesse);
    lblQRCodeGroesse->setBuddy(seQRCodeGroesse);
    rbQRCodeVCard = Make<QRadioButton>(this, "rbQRCodeVCard", QStringLiteral("&Kontaktdaten der Karte (vCard)"));
    rbQRCodeURL = Make<QRadioButton>(this, "rbQRCodeURL", QStringLiteral("&Webadresse:"));
    edQRCodeURL = Make<QLineEdit>(this, "edQRCodeURL");
    // As long as a card file keeps it.
    edQRCodeURL->setMaxLength(int(TQRCodeSettings::MaxURLLength));
    NameByHint(edQRCodeURL, QStringLiteral("Webadresse im QR-Code"));
    lblQRCodeSeite = Make<QLabel>(this, "lblQRCodeSeite", QStringLiteral("S&eite:"));
    cbQRCodeSeite = Make<QComboBox>(this, "cbQRCodeSeite");
    cbQRCodeSeite->addItems({QStringLiteral("Vorderseite"), QStringLiteral("Rückseite")});
    lblQRCodeSeite->setBuddy(cbQRCodeSeite);
    lblQRCodeEcke = Make<QLabel>(this, "lblQRCodeEcke", QStringLiteral("E&cke:"));
    cbQRCodeEcke = Make<QComboBox>(this, "cbQRCodeEcke");
    // In the order of TQRCodeSettings::TEcke.
    cbQRCodeEcke->addItems({QStringLiteral("oben links"), QStringLiteral("oben rechts"), QStringLiteral("unten links"),
                            QStringLiteral("unten rechts"), QStringLiteral("automatisch (eine freie Ecke)")});
    lblQRCodeEcke->setBuddy(cbQRCodeEcke);
    lblQRCodeForm = Make<QLabel>(this, "lblQRCodeForm", QStringLiteral("&Form:"));
    cbQRCodeForm = Make<QComboBox>(this, "cbQRCodeForm");
    // In the order of TQRCodeSettings::TForm.
    cbQRCodeForm->addItems({QStringLiteral("vCard"), QStringLiteral("MECARD (kompakt)"),
                            QStringLiteral("automatisch (kompakt, wenn nötig)")});
    lblQRCodeForm->setBuddy(cbQRCodeForm);
    lblQRCodeFehlerkorrektur = Make<QLabel>(this, "lblQRCodeFehlerkorrektur", QStringLiteral("Fehlerk&orrektur:"));
    cbQRCodeFehlerkorrektur = Make<QComboBox>(this, "cbQRCodeFehlerkorrektur");
    // In the order of TQRCodeSettings::TFehlerkorrektur.
    cbQRCodeFehlerkorrektur->addItems({QStringLiteral("L (7 %)"), QStringLiteral("M (15 %)"), QStringLiteral("Q (25 %)"),
                                       QStringLiteral("H (30 %)"),
                                       QStringLiteral("automatisch (L für Kontakte, M für Webadressen)")});
    lblQRCodeFehlerkorrektur->setBuddy(cbQRCodeFehlerkorrektur);
    // Long choices are elided rather than widen the page beyond a small window.
    for (QComboBox *box : {cbQRCodeEcke, cbQRCodeForm, cbQRCodeFehlerkorrektur}) {
        box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        box->setMinimumContentsLength(8);
    }
    lblQRCodeHinweis = Make<QLabel>(this, "lblQRCodeHinweis");
    lblQRCodeHinweis->setWordWrap(true);
    lblQRCodeHinweis->hide();

    // Rows of their own, so that no column of one row squeezes another's.
    auto *rows = new QVBoxLayout(this);
    const auto row = [rows](std::initializer_list<std::pair<QWidget *, int>> widgets) {
        auto *line = new QHBoxLayout;
        for (const auto &[widget, stretch] : widgets)
            line->addWidget(widget, stretch);
        rows->addLayout(line);
    };
    row({{chQRCodeAnzeigen, 1}, {lblQRCodeGroesse, 0}, {seQRCodeGroesse, 0}});
    row({{rbQRCodeVCard, 1}});
    row({{rbQRCodeURL, 0}, {edQRCodeURL, 1}});
    row({{lblQRCodeSeite, 0}, {cbQRCodeSeite, 1}, {lblQRCodeEcke, 0}, {cbQRCodeEcke, 1}});
    row({{lblQRCodeForm, 0}, {cbQRCodeForm, 1}});
    row({{lblQRCodeFehlerkorrektur, 0}, {cbQRCodeFehlerkorrektur, 1}});
    rows->addWidget(lblQRCodeHinweis);

    Show(TQRCodeSettings(), false);

    connect(chQRCodeAnzeigen, &QCheckBox::toggled, this, &TQRCodeGroup::UserChange);
    connect(rbQRCodeVCard, &QRadioButton::toggled, this, &TQRCodeGroup::UserChange);
    // The choice stands as the address's caption: choosing it, by mouse,
    // Space or mnemonic, leads on to the address.
    connect(rbQRCodeURL, &QRadioButton::clicked, edQRCodeURL, [this] { edQRCodeURL->setFocus(Qt::ShortcutFocusReason); });
    connect(edQRCodeURL, &QLineEdit::textChanged, this, &TQRCodeGroup::UserChange);
    connect(cbQRCodeSeite, &QComboBox::currentIndexChanged, this, &TQRCodeGroup::UserChange);
    connect(cbQRCodeEcke, &QComboBox::currentIndexChanged, this, &TQRCodeGroup::UserChange);
    connect(cbQRCodeForm, &QComboBox::currentIndexChanged, this, &TQRCodeGroup::UserChange);
    connect(cbQRCodeFehlerkorrektur, &QComboBox::currentIndexChanged, this, &TQRCodeGroup::UserChange);
    connect(seQRCodeGroesse, &QDoubleSpinBox::valueChanged, this, &TQRCodeGroup::UserChange);
}

void TQRCodeGroup::ShowDocument(const TDocument &document)
{
    Show(document.QRCode(), document.MitRueckseite());
    ShowReadability(document);
}

void TQRCodeGroup::Show(const TQRCodeSettings &settings, bool twoSided)
{
    FUpdating = true;
    FShown = settings;
    FTwoSided = twoSided;
    chQRCodeAnzeigen->setChecked(settings.Anzeigen);
    (settings.Inhalt == TQRCodeSettings::TInhalt::URL ? rbQRCodeURL : rbQRCodeVCard)->setChecked(true);
    edQRCodeURL->setText(settings.URL);
    if (auto *sides = qobject_cast<QStandardItemModel *>(cbQRCodeSeite->model()))
        sides->item(1)->setEnabled(twoSided);
    cbQRCodeSeite->setCurrentIndex(settings.Rueckseite && twoSided ? 1 : 0);
    cbQRCodeEcke->setCurrentIndex(settings.Ecke);
    cbQRCodeForm->setCurrentIndex(int(settings.Form));
    cbQRCodeFehlerkorrektur->setCurrentIndex(int(settings.Fehlerkorrektur));
    seQRCodeGroesse->setValue(settings.Groesse);
    EnableControls();
    FUpdating = false;
}

void TQRCodeGroup::ShowReadability(const TDocument &document)
{
    QString notice;
    if (document.QRCode().Anzeigen) {
        const TQRCodePtr code = DocumentQRCode(document);
        const TKartenlayout &layout = document.Kartenlayout();
        notice = QRCodeProblemText(QRCodeProblem(document, code, layout));
        const auto place = PlaceQRCode(document, code, document.CardFormat(), layout);
        if (notice.isEmpty() && place && place->Back != QRCodeOnSide(document, true))
            notice = GetDefaultText(QStringLiteral("ID_QRCODEANDERESEITE"));
    }
    lblQRCodeHinweis->setText(notice);
    lblQRCodeHinweis->setVisible(!notice.isEmpty());
}

TQRCodeSettings TQRCodeGroup::Settings() const
{
    TQRCodeSettings settings = FShown;
    settings.Anzeigen = chQRCodeAnzeigen->isChecked();
    settings.Inhalt = rbQRCodeURL->isChecked() ? TQRCodeSettings::TInhalt::URL : TQRCodeSettings::TInhalt::VCard;
    settings.URL = edQRCodeURL->text().trimmed();
    if (FTwoSided)
        settings.Rueckseite = cbQRCodeSeite->currentIndex() == 1;
    settings.Ecke = cbQRCodeEcke->currentIndex();
    settings.Form = TQRCodeSettings::TForm(cbQRCodeForm->currentIndex());
    settings.Fehlerkorrektur = TQRCodeSettings::TFehlerkorrektur(cbQRCodeFehlerkorrektur->currentIndex());
    settings.Groesse = float(seQRCodeGroesse->value());
    return settings;
}

void TQRCodeGroup::UserChange()
{
    EnableControls();
    if (FUpdating)
        return;
    FShown = Settings();
    emit Changed();
}

void TQRCodeGroup::EnableControls()
{
    const bool shown = chQRCodeAnzeigen->isChecked();
    for (QWidget *control : std::initializer_list<QWidget *>{rbQRCodeVCard, rbQRCodeURL, lblQRCodeSeite, cbQRCodeSeite,
                                                              lblQRCodeEcke, cbQRCodeEcke, lblQRCodeGroesse,
                                                              seQRCodeGroesse, lblQRCodeFehlerkorrektur,
                                                              cbQRCodeFehlerkorrektur})
        control->setEnabled(shown);
    edQRCodeURL->setEnabled(shown && rbQRCodeURL->isChecked());
    lblQRCodeForm->setEnabled(shown && rbQRCodeVCard->isChecked());
    cbQRCodeForm->setEnabled(shown && rbQRCodeVCard->isChecked());
}
