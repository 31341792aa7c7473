#pragma once

class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMainWindow;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;
class QToolButton;
class QWidget;
class TDrawGrid;
class TQRCodeGroup;

// The main window's controls as designed, each under its component name so
// the language texts find it. The main window lays them out and wires them.
struct TMasterControls
{
    // Builds every control on the form's central widget.
    void CreateControls(QMainWindow *form);

    static constexpr int PanelWidth = 370;
    static constexpr int AdvertWidth = 333;
    static constexpr int AdvertHeight = 198;
    static constexpr int ButtonWidth = 90;
    static constexpr int ButtonHeight = 25;
    static constexpr int CalibrationClosedHeight = 60;

    QWidget *Client = nullptr;
    QFrame *bvTop = nullptr;
    QTabWidget *pcMain = nullptr;

    QWidget *tsVisitenkartentyp = nullptr;
    QWidget *panVisitenkartentyp = nullptr;
    QGroupBox *GroupBox3 = nullptr;
    QRadioButton *rbStandardkarte = nullptr;
    QLabel *Label7 = nullptr;
    QRadioButton *rbKlappvisitenkarte = nullptr;
    QLabel *Label4 = nullptr;
    QGroupBox *GroupBox5 = nullptr;
    QRadioButton *rbEinseitig = nullptr;
    QRadioButton *rbBeidseitig = nullptr;
    QLabel *imgWerbungKartentyp = nullptr;

    QWidget *tsEigeneDaten = nullptr;
    QWidget *panEigeneDaten = nullptr;
    QGroupBox *gbPersDaten = nullptr;
    QLabel *Label10 = nullptr;
    QLineEdit *edTitel = nullptr;
    QLabel *laName = nullptr;
    QLineEdit *edName = nullptr;
    QLabel *laBeruf = nullptr;
    QPlainTextEdit *meBeruf = nullptr;
    QLabel *laAdresse = nullptr;
    QPlainTextEdit *meAdresse = nullptr;
    QLabel *laTele = nullptr;
    QPlainTextEdit *meTele = nullptr;
    QGroupBox *gbExtraText = nullptr;
    QPlainTextEdit *meExtraText = nullptr;
    QGroupBox *gbFirmendaten = nullptr;
    QLabel *Label9 = nullptr;
    QLabel *lblLogo = nullptr;
    QPushButton *BtnFirmenlogo = nullptr;
    QPushButton *BtnEntfernen = nullptr;
    QLabel *imgWerbung = nullptr;

    QWidget *tsRueckseite = nullptr;
    QWidget *panRueckseite = nullptr;
    QGroupBox *gbRueckseite = nullptr;
    QLabel *laTextfeld1 = nullptr;
    QPlainTextEdit *meTextfeld1 = nullptr;
    QLabel *laTextfeld2 = nullptr;
    QPlainTextEdit *meTextfeld2 = nullptr;
    QGroupBox *gbExtraTextRueckseite = nullptr;
    QPlainTextEdit *meExtraTextRueckseite = nullptr;
    QGroupBox *gbLogoRueckseite = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *lblLogoRueckseite = nullptr;
    QPushButton *BtnLogoEinfuegenRueckseite = nullptr;
    QPushButton *BtnLogoEntfernenRueckseite = nullptr;
    QLabel *imgWerbungRueckseite = nullptr;

    QWidget *tsLayout = nullptr;
    QWidget *panLayout = nullptr;
    QGroupBox *GroupBox4 = nullptr;
    TDrawGrid *dgLayouts = nullptr;
    QGroupBox *gbLayoutDetails = nullptr;
    QLabel *Label1 = nullptr;
    QFrame *shcbFont = nullptr;
    QCheckBox *chLinien = nullptr;
    QCheckBox *cbTextZentrierenRueckseite = nullptr;
    TQRCodeGroup *gbQRCode = nullptr;

    QWidget *tsDrucken = nullptr;
    QWidget *panDrucken = nullptr;
    QGroupBox *gbDrucker = nullptr;
    QLabel *Label3 = nullptr;
    QComboBox *cbDrucker = nullptr;
    QPushButton *BtnEigenschaften = nullptr;
    QLabel *Label5 = nullptr;
    QLabel *lblOrt = nullptr;
    QLabel *Label6 = nullptr;
    QLabel *lblKommentar = nullptr;
    QGroupBox *GroupBox1 = nullptr;
    QLabel *Label8 = nullptr;
    QSpinBox *seAnzahl = nullptr;
    QLabel *labAnzahl = nullptr;
    QGroupBox *gbDruckbereich = nullptr;
    QPushButton *BtnTestseiteDrucken = nullptr;
    QPushButton *BtnDruckpositionAnpassen = nullptr;
    QLabel *lblPosX = nullptr;
    QLabel *lblPosY = nullptr;
    QToolButton *BtnDruckPosUp = nullptr;
    QToolButton *BtnDruckPosDown = nullptr;
    QToolButton *BtnDruckPosLeft = nullptr;
    QToolButton *BtnDruckPosRight = nullptr;
    QToolButton *BtnDruckPosCenter = nullptr;
    QLabel *imgWerbungDrucken = nullptr;

    QWidget *panContainerVorschau = nullptr;
    QFrame *panVorschau = nullptr;
    QLabel *imgOrnak = nullptr;

    QPushButton *BtnZurueck = nullptr;
    QPushButton *BtnWeiter = nullptr;

private:
    void CreateKartentypPage();
    void CreateEigeneDatenPage();
    void CreateRueckseitePage();
    void CreateLayoutPage();
    void CreateDruckenPage();
    void CreatePreviewContainer();
};
