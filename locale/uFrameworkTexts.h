#pragma once

#include <QStringList>
#include <QTranslator>

// Answers Qt's own texts that the program's languages replace: the key names
// of shortcut texts (context "QShortcut") and the standard buttons of message
// boxes (context "QPlatformTheme"). The texts come in the order of
// FrameworkTextKeys; anything else is left to Qt.
class TFrameworkTranslator : public QTranslator
{
    Q_OBJECT

public:
    using QTranslator::QTranslator;

    void SetTexts(const QStringList &texts);

    QString translate(const char *context, const char *sourceText, const char *disambiguation = nullptr,
                      int n = -1) const override;
    bool isEmpty() const override { return FTexts.isEmpty(); }

private:
    QStringList FTexts;
};
