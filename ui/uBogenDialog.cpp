#include "ui/uBogenDialog.h"

#include "model/uBogenkatalog.h"
#include "ui/uAccessibleTexts.h"
#include "ui/uNumberBox.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>

// The sheet drawn to scale: the paper, and every card slot on it; a slot
// that runs off the paper or into its neighbour is red.
class TBogenSkizze : public QWidget
{
public:
    explicit TBogenSkizze(QWidget *parent) : QWidget(parent)
    {
        setObjectName(QStringLiteral("Skizze"));
        setMinimumSize(200, 220);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    }

    void SetSheet(const TBogenlayout &sheet)
    {
        FSheet = sheet;
        update();
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QRectF room = QRectF(rect()).adjusted(6, 6, -6, -6);
        const TSinglePoint extent = CardsExtent(FSheet);
        const float width = std::max({FSheet.SheetWidth, extent.X, 1.0f});
        const float height = std::max({FSheet.SheetHeight, extent.Y, 1.0f});
        const double scale = std::min(room.width() / width, room.height() / height);
        painter.translate(room.center() - QPointF(width * scale / 2, height * scale / 2));
        painter.scale(scale, scale);

        painter.setPen(QPen(palette().color(QPalette::WindowText), 0));
        painter.setBrush(Qt::white);
        painter.drawRect(QRectF(0, 0, FSheet.SheetWidth, FSheet.SheetHeight));
        const bool overlap = (FSheet.Columns > 1 && FSheet.GapX < 0) || (FSheet.Rows > 1 && FSheet.GapY < 0);
        const QRectF paper(0, 0, FSheet.SheetWidth, FSheet.SheetHeight);
        for (int row = 0; row < std::min(FSheet.Rows, 99); ++row) {
            for (int column = 0; column < std::min(FSheet.Columns, 99); ++column) {
                const TSinglePoint origin = FSheet.SlotOrigin(column, row);
                const QRectF slot(origin.X, origin.Y, FSheet.CardWidth, FSheet.CardHeight);
                const bool wrong = overlap || !paper.adjusted(-0.01, -0.01, 0.01, 0.01).contains(slot);
                painter.setPen(QPen(wrong ? QColor(200, 0, 0) : QColor(40, 80, 160), 0));
                painter.setBrush(wrong ? QColor(255, 200, 200, 160) : QColor(200, 220, 250, 160));
                painter.drawRect(slot);
            }
        }
    }

private:
    TBogenlayout FSheet;
};

namespace {

enum TPaper { PaperA4, PaperLetter, PaperCustom };

TNumberBox *MakeLength(QWidget *parent, const char *name, double minimum, const QString &hint)
{
    auto *box = new TNumberBox(parent);
    box->setObjectName(QLatin1String(name));
    NameByHint(box, hint);
    box->setDecimals(3);
    box->setRange(minimum, 1000);
    box->setSingleStep(0.5);
    box->setSuffix(QStringLiteral(" mm"));
    // Room for the longest length the sheets need, "215,9 mm" or "66,675 mm".
    box->setMinimumWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("888,888 mm")) + 30);
    return box;
}

QSpinBox *MakeCount(QWidget *parent, const char *name, const QString &hint)
{
    auto *box = new QSpinBox(parent);
    box->setObjectName(QLatin1String(name));
    NameByHint(box, hint);
    box->setRange(0, 99);
    return box;
}

QLabel *MakeLabel(QWidget *parent, const char *name, const QString &text)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    return label;
}

// Two values side by side: "[a] × [b]", "[a] / [b]"; the caption's
// mnemonic leads to the first.
QWidget *Pair(QWidget *parent, QWidget *first, QWidget *second, const QString &between = QStringLiteral("×"))
{
    auto *pair = new QWidget(parent);
    auto *row = new QHBoxLayout(pair);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(first, 1);
    row->addWidget(new QLabel(between, pair));
    row->addWidget(second, 1);
    first->setParent(pair);
    second->setParent(pair);
    pair->setFocusProxy(first);
    return pair;
}

} // namespace

TBogenDialog::TBogenDialog(const TBogenlayout &start, const QStringList &customNames, QWidget *parent)
    : QDialog(parent)
    , TLocalizerForm(this)
    , FCustomNames(customNames)
{
    setObjectName(QStringLiteral("BogenDialog"));
    setWindowTitle(QStringLiteral("Eigener Kartenbogen"));
    RegisterSheetTexts();

    lblName = MakeLabel(this, "lblName", QStringLiteral("&Name:"));
    edName = new QLineEdit(this);
    edName->setObjectName(QStringLiteral("edName"));
    lblPapier = MakeLabel(this, "lblPapier", QStringLiteral("&Papier:"));
    cbPapier = new QComboBox(this);
    cbPapier->setObjectName(QStringLiteral("cbPapier"));
    lblPapiergroesse = MakeLabel(this, "lblPapiergroesse", QString::fromUtf8("Papier&größe:"));
    sePapierBreite = MakeLength(this, "sePapierBreite", 0, QStringLiteral("Breite des Papiers"));
    sePapierHoehe = MakeLength(this, "sePapierHoehe", 0, QString::fromUtf8("Höhe des Papiers"));
    lblKarte = MakeLabel(this, "lblKarte", QString::fromUtf8("&Kartengröße:"));
    seKarteBreite = MakeLength(this, "seKarteBreite", 0, QStringLiteral("Breite der Karte"));
    seKarteHoehe = MakeLength(this, "seKarteHoehe", 0, QString::fromUtf8("Höhe der Karte"));
    lblRaster = MakeLabel(this, "lblRaster", QString::fromUtf8("&Spalten × Zeilen:"));
    seSpalten = MakeCount(this, "seSpalten", QStringLiteral("Spalten"));
    seZeilen = MakeCount(this, "seZeilen", QStringLiteral("Zeilen"));
    lblRand = MakeLabel(this, "lblRand", QStringLiteral("&Rand links, oben:"));
    seRandLinks = MakeLength(this, "seRandLinks", -100, QStringLiteral("Rand links"));
    seRandOben = MakeLength(this, "seRandOben", -100, QStringLiteral("Rand oben"));
    lblAbstand = MakeLabel(this, "lblAbstand", QStringLiteral("&Von Karte zu Karte:"));
    lblAbstand->setToolTip(QStringLiteral("Kartengröße und Zwischenraum, waagrecht und senkrecht"));
    seAbstandX = MakeLength(this, "seAbstandX", 0, QStringLiteral("Von Karte zu Karte waagrecht"));
    seAbstandY = MakeLength(this, "seAbstandY", 0, QStringLiteral("Von Karte zu Karte senkrecht"));
    FSkizze = new TBogenSkizze(this);
    lblProblem = MakeLabel(this, "lblProblem", QString());
    lblProblem->setWordWrap(true);
    // Two lines kept free, so that the fields do not move when a reason shows.
    lblProblem->setMinimumHeight(2 * lblProblem->fontMetrics().lineSpacing());
    lblProblem->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblProblem->setStyleSheet(QStringLiteral("color: #b00000"));
    BtnLoeschen = new QPushButton(QString::fromUtf8("Bogen &löschen"), this);
    BtnLoeschen->setObjectName(QStringLiteral("BtnLoeschen"));
    BtnLoeschen->setAutoDefault(false);
    FButtons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    FButtons->addButton(BtnLoeschen, QDialogButtonBox::DestructiveRole);

    auto *fields = new QGridLayout;
    const std::pair<QLabel *, QWidget *> rows[] = {
        {lblName, edName},
        {lblPapier, cbPapier},
        {lblPapiergroesse, Pair(this, sePapierBreite, sePapierHoehe)},
        {lblKarte, Pair(this, seKarteBreite, seKarteHoehe)},
        {lblRaster, Pair(this, seSpalten, seZeilen)},
        {lblRand, Pair(this, seRandLinks, seRandOben, QStringLiteral("/"))},
        {lblAbstand, Pair(this, seAbstandX, seAbstandY)},
    };
    int row = 0;
    for (const auto &[label, field] : rows) {
        label->setBuddy(field->focusProxy() ? field->focusProxy() : field);
        fields->addWidget(label, row, 0);
        fields->addWidget(field, row++, 1);
    }
    auto *columns = new QHBoxLayout;
    columns->addLayout(fields);
    columns->addWidget(FSkizze, 1);
    auto *page = new QVBoxLayout(this);
    page->addLayout(columns, 1);
    page->addWidget(lblProblem);
    page->addWidget(FButtons);

    Loaded();
    ShowSheet(start);

    connect(cbPapier, &QComboBox::currentIndexChanged, this, [this] { cbPapierChanged(); });
    connect(edName, &QLineEdit::textChanged, this, [this] { ValuesChanged(); });
    // The text too: one that is no number leaves the value as it was.
    for (TNumberBox *box : Lengths()) {
        connect(box, &QDoubleSpinBox::valueChanged, this, [this] { ValuesChanged(); });
        connect(box, &TNumberBox::EntryChanged, this, [this] { ValuesChanged(); });
    }
    for (QSpinBox *box : {seSpalten, seZeilen})
        connect(box, &QSpinBox::valueChanged, this, [this] { ValuesChanged(); });
    connect(FButtons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(FButtons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(BtnLoeschen, &QPushButton::clicked, this, [this] {
        emit Loeschen(edName->text().trimmed());
        reject();
    });
}

TBogenDialog::~TBogenDialog() = default;

void TBogenDialog::RegisterDefaultTexts()
{
    SetDefaultText(QStringLiteral("ID_PAPIEREIGENES"), QStringLiteral("Eigenes Format"));
    SetDefaultText(QStringLiteral("ID_BOGENNAME"), QStringLiteral("Bitte geben Sie dem Bogen einen Namen."));
    SetDefaultText(QStringLiteral("ID_BOGENZAHL"),
                   QString::fromUtf8("Ein Feld enthält keine gültige Zahl (Beispiel: 1,5)."));
}

void TBogenDialog::TextsChanged()
{
    const QSignalBlocker quiet(cbPapier);
    const int paper = std::max(0, cbPapier->currentIndex());
    cbPapier->clear();
    cbPapier->addItems({QStringLiteral("A4"), PaperName(LetterWidth, LetterHeight),
                        GetText(QStringLiteral("ID_PAPIEREIGENES"))});
    cbPapier->setCurrentIndex(paper);
}

void TBogenDialog::ShowSheet(const TBogenlayout &sheet)
{
    FShowing = true;
    edName->setText(sheet.Name);
    int paper = PaperCustom;
    if (sheet.SheetWidth == 210 && sheet.SheetHeight == 297)
        paper = PaperA4;
    else if (sheet.SheetWidth == LetterWidth && sheet.SheetHeight == LetterHeight)
        paper = PaperLetter;
    cbPapier->setCurrentIndex(paper);
    sePapierBreite->setValue(sheet.SheetWidth);
    sePapierHoehe->setValue(sheet.SheetHeight);
    seKarteBreite->setValue(sheet.CardWidth);
    seKarteHoehe->setValue(sheet.CardHeight);
    seSpalten->setValue(sheet.Columns);
    seZeilen->setValue(sheet.Rows);
    seRandLinks->setValue(sheet.MarginLeft);
    seRandOben->setValue(sheet.MarginTop);
    seAbstandX->setValue(sheet.PitchX());
    seAbstandY->setValue(sheet.PitchY());
    FShowing = false;
    cbPapierChanged();
}

void TBogenDialog::cbPapierChanged()
{
    const int paper = cbPapier->currentIndex();
    // A named paper has its size; only an own format is typed.
    {
        const QSignalBlocker width(sePapierBreite);
        const QSignalBlocker height(sePapierHoehe);
        if (paper == PaperA4) {
            sePapierBreite->setValue(210);
            sePapierHoehe->setValue(297);
        } else if (paper == PaperLetter) {
            sePapierBreite->setValue(LetterWidth);
            sePapierHoehe->setValue(LetterHeight);
        }
    }
    sePapierBreite->setEnabled(paper == PaperCustom);
    sePapierHoehe->setEnabled(paper == PaperCustom);
    ValuesChanged();
}

TBogenlayout TBogenDialog::Bogen() const
{
    TBogenlayout sheet;
    sheet.Name = edName->text().trimmed();
    switch (cbPapier->currentIndex()) {
    case PaperA4:
        sheet.SheetWidth = 210;
        sheet.SheetHeight = 297;
        break;
    case PaperLetter:
        sheet.SheetWidth = LetterWidth;
        sheet.SheetHeight = LetterHeight;
        break;
    default:
        sheet.SheetWidth = float(sePapierBreite->value());
        sheet.SheetHeight = float(sePapierHoehe->value());
    }
    sheet.CardWidth = float(seKarteBreite->value());
    sheet.CardHeight = float(seKarteHoehe->value());
    sheet.Columns = seSpalten->value();
    sheet.Rows = seZeilen->value();
    sheet.MarginLeft = float(seRandLinks->value());
    sheet.MarginTop = float(seRandOben->value());
    sheet.GapX = float(seAbstandX->value()) - sheet.CardWidth;
    sheet.GapY = float(seAbstandY->value()) - sheet.CardHeight;
    return sheet;
}

std::array<TNumberBox *, 8> TBogenDialog::Lengths() const
{
    return {sePapierBreite, sePapierHoehe, seKarteBreite, seKarteHoehe, seRandLinks, seRandOben, seAbstandX, seAbstandY};
}

QString TBogenDialog::Problem() const
{
    for (const TNumberBox *box : Lengths())
        if (!box->hasAcceptableInput())
            return GetText(QStringLiteral("ID_BOGENZAHL"));
    const TBogenlayout sheet = Bogen();
    const QString problem = SheetProblemText(sheet);
    if (problem.isEmpty() && sheet.Name.isEmpty())
        return GetText(QStringLiteral("ID_BOGENNAME"));
    return problem;
}

void TBogenDialog::ValuesChanged()
{
    if (FShowing)
        return;
    FSkizze->SetSheet(Bogen());
    const QString problem = Problem();
    lblProblem->setText(problem);
    FButtons->button(QDialogButtonBox::Ok)->setEnabled(problem.isEmpty());
    BtnLoeschen->setVisible(FCustomNames.contains(edName->text().trimmed()));
}
