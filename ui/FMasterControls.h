#pragma once

class QFrame;
class QLabel;
class QMainWindow;
class QPushButton;
class QTabWidget;
class QWidget;
class TDruckenPage;
class TEigeneDatenPage;
class TKartentypPage;
class TLayoutPage;
class TRueckseitePage;

// The main window's controls as designed: the five pages, the shared preview
// and the navigation buttons, laid out on the form's central widget. Every
// control carries its component name so the language texts find it.
struct TMasterControls
{
    void CreateControls(QMainWindow *form);

    QWidget *Client = nullptr;
    QFrame *bvTop = nullptr;
    QTabWidget *pcMain = nullptr;
    TKartentypPage *tsVisitenkartentyp = nullptr;
    TEigeneDatenPage *tsEigeneDaten = nullptr;
    TRueckseitePage *tsRueckseite = nullptr;
    TLayoutPage *tsLayout = nullptr;
    TDruckenPage *tsDrucken = nullptr;

    QWidget *panContainerVorschau = nullptr;
    QFrame *panVorschau = nullptr;
    QLabel *imgOrnak = nullptr;

    QPushButton *BtnZurueck = nullptr;
    QPushButton *BtnWeiter = nullptr;

private:
    void CreatePreviewContainer();
};
