#pragma once

#include "locale/uLocalizerForm.h"

#include <QWidget>

class QCheckBox;
class QLabel;

// The assistant: a small always-on-top tool window beside the main window
// showing one picture per wizard step in the current language, and after
// printing an advertising picture that opens the maker's page when clicked.
class THelpWindow : public QWidget, public TLocalizerForm
{
    Q_OBJECT

public:
    static constexpr int ClientWidth = 300;
    static constexpr int ClientHeight = 200;
    // Picture numbers of the steps.
    static constexpr int PictureStart = 0;
    static constexpr int PictureEigeneDaten = 1;
    static constexpr int PictureLayout = 2;
    static constexpr int PictureDrucken = 3;
    static constexpr int PictureAfterPrint = 4;
    static constexpr int PictureKartentyp = 5;
    static constexpr int PictureAdvert = 6;

    explicit THelpWindow(QWidget *owner);
    ~THelpWindow() override;

    void ShowPicture(int number);
    void ShowAdvertPicture();
    // Places the window's centre on the main window's lower right corner,
    // kept inside the work area, and shows it without taking the focus.
    void ShowBeside(QWidget *main);

    bool GetDontShowAgain() const;
    // Stored at once.
    void SetDontShowAgain(bool value);

    int Picture() const { return FPicture; }

    void TextsChanged() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Image1Click();
    void LoadPicture(const QByteArray &jpeg);

    QLabel *Image1;
    QCheckBox *chDontShowAgain;
    int FPicture = PictureStart;
};
