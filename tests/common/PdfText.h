#pragma once

#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include <vector>

// Printed PDF files read back with poppler: page count and where words stand.
namespace PdfText {

struct TWordBox
{
    double Left, Top, Right, Bottom; // mm from the paper's corner
};

inline QString Run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

inline int Pages(const QString &pdf)
{
    const QRegularExpressionMatch match = QRegularExpression(R"(Pages:\s+(\d+))").match(Run("pdfinfo", {pdf}));
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

struct TWord
{
    QString Text;
    TWordBox Box;
};

// Every word on the page, in reading order.
inline std::vector<TWord> AllWords(const QString &pdf, int page = 1)
{
    const QString html =
        Run("pdftotext", {"-bbox", "-f", QString::number(page), "-l", QString::number(page), pdf, "-"});
    static const QRegularExpression pattern(
        R"re(xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)<)re");
    std::vector<TWord> words;
    const double mm = 25.4 / 72;
    for (auto it = pattern.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        words.push_back({m.captured(5),
                         {m.captured(1).toDouble() * mm, m.captured(2).toDouble() * mm, m.captured(3).toDouble() * mm,
                          m.captured(4).toDouble() * mm}});
    }
    return words;
}

// Every occurrence of the word on the page, in reading order.
inline std::vector<TWordBox> Words(const QString &pdf, const QString &word, int page = 1)
{
    std::vector<TWordBox> boxes;
    for (const TWord &found : AllWords(pdf, page))
        if (found.Text == word)
            boxes.push_back(found.Box);
    return boxes;
}

// The slots of a folding-card sheet (1 x 5 of 170 x 55 mm from 20 mm, 10 mm)
// holding each word once, in order: fronts and backs right of the fold,
// inside and outer texts left of it.
inline bool OneInEachFoldingHalf(const std::vector<TWordBox> &words, bool rightHalf, QString *problem)
{
    if (words.size() != 5) {
        *problem = QStringLiteral("%1 words instead of 5").arg(words.size());
        return false;
    }
    for (int slot = 0; slot < 5; ++slot) {
        const TWordBox &w = words[std::size_t(slot)];
        const double left = 20 + (rightHalf ? 85 : 0), top = 10 + slot * 55.0;
        if (w.Left < left || w.Right > left + 85 || w.Top < top || w.Bottom > top + 55) {
            *problem = QStringLiteral("slot %1: (%2, %3)-(%4, %5) outside (%6, %7)-(%8, %9)")
                           .arg(slot)
                           .arg(w.Left, 0, 'f', 1)
                           .arg(w.Top, 0, 'f', 1)
                           .arg(w.Right, 0, 'f', 1)
                           .arg(w.Bottom, 0, 'f', 1)
                           .arg(left)
                           .arg(top)
                           .arg(left + 85)
                           .arg(top + 55);
            return false;
        }
    }
    return true;
}

} // namespace PdfText
