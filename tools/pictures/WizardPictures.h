#pragma once

// The wizard's pictures, drawn by the picture generator: the assistant's
// step pictures 100..105 for every language ("JPEG" + language code) and the
// advertising pictures ("JPEGWERBUNG" 101, 301, 401).

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QSize>
#include <QString>

#include <functional>
#include <vector>

namespace WizardPictures {

struct TWizardPicture
{
    QString Type;
    QString Name;
    QSize Size;
    std::function<void(QPainter &, QSize)> Draw;
};

inline const QColor Ink(0x1d, 0x2b, 0x3a);
inline const QColor Sea(0x1f, 0x6f, 0x8b);
inline const QColor Amber(0xe8, 0xa3, 0x3d);
inline const QColor Paper(0xfb, 0xfa, 0xf6);
inline const QColor Mist(0xe4, 0xee, 0xf2);

inline QFont Font(int pixelSize, bool bold = false)
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

// A business card seen slightly from above: white, with a name bar and lines.
inline void Card(QPainter &p, const QRectF &r, const QColor &accent, qreal angle = 0)
{
    p.save();
    p.translate(r.center());
    p.rotate(angle);
    const QRectF card(-r.width() / 2, -r.height() / 2, r.width(), r.height());
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 40));
    p.drawRoundedRect(card.translated(3, 4), 4, 4);
    p.setBrush(Qt::white);
    p.setPen(QPen(QColor(0xc8, 0xd2, 0xd8), 1));
    p.drawRoundedRect(card, 4, 4);
    p.setPen(Qt::NoPen);
    p.setBrush(accent);
    p.drawRect(QRectF(card.left() + card.width() * 0.1, card.top() + card.height() * 0.22, card.width() * 0.5,
                      card.height() * 0.12));
    p.setBrush(QColor(0xb0, 0xbc, 0xc4));
    for (int i = 0; i < 3; ++i)
        p.drawRect(QRectF(card.left() + card.width() * 0.1, card.top() + card.height() * (0.5 + 0.13 * i),
                          card.width() * (0.7 - 0.12 * i), card.height() * 0.06));
    p.restore();
}

inline void Pencil(QPainter &p, QPointF tip, qreal length)
{
    p.save();
    p.translate(tip);
    p.rotate(-40);
    p.setPen(Qt::NoPen);
    p.setBrush(Amber);
    p.drawRect(QRectF(10, -5, length - 10, 10));
    p.setBrush(QColor(0xf3, 0xd9, 0xb1));
    QPainterPath point;
    point.moveTo(0, 0);
    point.lineTo(10, -5);
    point.lineTo(10, 5);
    point.closeSubpath();
    p.drawPath(point);
    p.setBrush(Ink);
    p.drawEllipse(QPointF(1.5, 0), 1.5, 1.5);
    p.restore();
}

inline void Printer(QPainter &p, const QRectF &r)
{
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(r.left() + r.width() * 0.22, r.top(), r.width() * 0.56, r.height() * 0.45));
    p.setBrush(Sea);
    p.drawRoundedRect(QRectF(r.left(), r.top() + r.height() * 0.3, r.width(), r.height() * 0.45), 8, 8);
    p.setBrush(Amber);
    p.drawEllipse(QPointF(r.right() - r.width() * 0.1, r.top() + r.height() * 0.42), 4, 4);
    Card(p, QRectF(r.left() + r.width() * 0.2, r.top() + r.height() * 0.62, r.width() * 0.6, r.height() * 0.38), Sea);
}

inline void Check(QPainter &p, QPointF centre, qreal radius)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x3c, 0xa5, 0x5c));
    p.drawEllipse(centre, radius, radius);
    p.setPen(QPen(Qt::white, radius * 0.22, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QPainterPath tick;
    tick.moveTo(centre + QPointF(-radius * 0.45, 0));
    tick.lineTo(centre + QPointF(-radius * 0.1, radius * 0.35));
    tick.lineTo(centre + QPointF(radius * 0.5, -radius * 0.35));
    p.drawPath(tick);
}

// The common frame of an assistant picture: a light background, the
// illustration in the upper part and the caption below it. The lower right
// corner stays calm: the do-not-show-again box sits there.
inline void StepFrame(QPainter &p, QSize size, const QString &caption, const std::function<void(QPainter &)> &art)
{
    QLinearGradient sky(0, 0, 0, size.height());
    sky.setColorAt(0, Paper);
    sky.setColorAt(1, Mist);
    p.fillRect(QRect(QPoint(), size), sky);
    art(p);
    p.setPen(Ink);
    p.setFont(Font(17, true));
    p.drawText(QRect(12, 136, size.width() - 24, 40), Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextWordWrap,
               caption);
}

inline void WelcomeArt(QPainter &p)
{
    Card(p, QRectF(70, 40, 110, 68), Amber, -8);
    Card(p, QRectF(120, 30, 110, 68), Sea, 6);
}

inline void DataArt(QPainter &p)
{
    Card(p, QRectF(80, 22, 140, 86), Sea);
    Pencil(p, QPointF(200, 92), 70);
}

inline void LayoutArt(QPainter &p)
{
    const QColor accents[] = {Sea, Amber, Ink, Sea};
    for (int i = 0; i < 4; ++i)
        Card(p, QRectF(70 + (i % 2) * 86, 14 + (i / 2) * 58, 76, 48), accents[i]);
    p.setPen(QPen(Amber, 3));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(151, 67, 86, 58), 6, 6);
}

inline void PrintArt(QPainter &p)
{
    Printer(p, QRectF(95, 14, 110, 112));
}

inline void DoneArt(QPainter &p)
{
    Card(p, QRectF(70, 30, 130, 80), Sea, -4);
    Check(p, QPointF(205, 96), 24);
}

inline void KartentypArt(QPainter &p)
{
    Card(p, QRectF(40, 38, 96, 60), Sea);
    // A folding card: two faces with the fold between them.
    Card(p, QRectF(150, 38, 110, 68), Amber);
    p.setPen(QPen(QColor(0xc0, 0xc0, 0xc0), 2, Qt::DashLine));
    p.drawLine(QPointF(205, 40), QPointF(205, 104));
}

// One row per language: code and the captions of pictures 100..105.
struct TCaptions
{
    const char *Code;
    const char *Texts[6];
};

inline const TCaptions Captions[] = {
    {"DEU", {"Willkommen bei Tessaro!", "Geben Sie Ihre Daten ein", "Wählen Sie ein Layout",
             "Bögen einlegen und drucken", "Fertig! Viel Erfolg mit Ihren Karten", "Wählen Sie den Kartentyp"}},
    {"ENG", {"Welcome to Tessaro!", "Enter your details", "Choose a layout", "Insert the sheets and print",
             "Done! Enjoy your new cards", "Choose the card type"}},
    {"FRA", {"Bienvenue dans Tessaro !", "Saisissez vos coordonnées", "Choisissez une mise en page",
             "Insérez les feuilles et imprimez", "Terminé ! Bonne chance avec vos cartes", "Choisissez le type de carte"}},
    {"ITA", {"Benvenuti in Tessaro!", "Inserite i vostri dati", "Scegliete un layout", "Inserite i fogli e stampate",
             "Fatto! Buon lavoro con i biglietti", "Scegliete il tipo di biglietto"}},
    {"SPA", {"¡Bienvenido a Tessaro!", "Introduzca sus datos", "Elija un diseño", "Coloque las hojas e imprima",
             "¡Listo! Disfrute de sus tarjetas", "Elija el tipo de tarjeta"}},
    {"POR", {"Bem-vindo ao Tessaro!", "Introduza os seus dados", "Escolha um layout", "Coloque as folhas e imprima",
             "Pronto! Aproveite os seus cartões", "Escolha o tipo de cartão"}},
    {"NED", {"Welkom bij Tessaro!", "Voer uw gegevens in", "Kies een lay-out", "Leg de vellen in en druk af",
             "Klaar! Veel plezier met uw kaartjes", "Kies het type kaartje"}},
    {"UNG", {"Üdvözli a Tessaro!", "Adja meg az adatait", "Válasszon elrendezést", "Tegye be az íveket és nyomtasson",
             "Kész! Sok sikert a névjegyekhez", "Válassza ki a kártya típusát"}},
    {"CZE", {"Vítejte v programu Tessaro!", "Zadejte své údaje", "Vyberte rozvržení", "Vložte archy a tiskněte",
             "Hotovo! Hodně úspěchů s vizitkami", "Vyberte typ vizitky"}},
    {"SLK", {"Vitajte v programe Tessaro!", "Zadajte svoje údaje", "Vyberte rozloženie", "Vložte hárky a tlačte",
             "Hotovo! Veľa úspechov s vizitkami", "Vyberte typ vizitky"}},
};

// The maker's advertising: a card fan beside a short slogan.
inline void Advert(QPainter &p, QSize size, const QString &title, const QString &text)
{
    QLinearGradient sky(0, 0, size.width(), size.height());
    sky.setColorAt(0, QColor(0x12, 0x2a, 0x44));
    sky.setColorAt(1, Sea);
    p.fillRect(QRect(QPoint(), size), sky);
    Card(p, QRectF(size.width() - 150, 26, 100, 62), Amber, -10);
    Card(p, QRectF(size.width() - 126, 50, 100, 62), Sea, 8);
    p.setPen(Qt::white);
    p.setFont(Font(22, true));
    p.drawText(QRect(16, size.height() - 96, size.width() - 32, 34), Qt::AlignLeft | Qt::AlignVCenter, title);
    p.setPen(QColor(0xf3, 0xd9, 0xb1));
    p.setFont(Font(14));
    p.drawText(QRect(16, size.height() - 60, size.width() - 32, 44), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
               text);
}

inline std::vector<TWizardPicture> Pictures()
{
    using TArt = void (*)(QPainter &);
    static const TArt arts[] = {WelcomeArt, DataArt, LayoutArt, PrintArt, DoneArt, KartentypArt};
    const QSize step(300, 200);
    const QSize page(333, 198);
    std::vector<TWizardPicture> pictures;
    for (const TCaptions &language : Captions) {
        for (int number = 0; number < 6; ++number) {
            const QString caption = QString::fromUtf8(language.Texts[number]);
            const TArt art = arts[number];
            pictures.push_back({QStringLiteral("JPEG") + QLatin1String(language.Code), QString::number(100 + number),
                                step, [caption, art](QPainter &p, QSize size) { StepFrame(p, size, caption, art); }});
        }
    }
    pictures.push_back({QStringLiteral("JPEGWERBUNG"), QStringLiteral("101"), step, [](QPainter &p, QSize size) {
                            Advert(p, size, QStringLiteral("Visitenkartenzubehör"),
                                   QStringLiteral("Etuis, Papiere und mehr – hier klicken"));
                        }});
    pictures.push_back({QStringLiteral("JPEGWERBUNG"), QStringLiteral("301"), page, [](QPainter &p, QSize size) {
                            Advert(p, size, QStringLiteral("Ornak Visitenkarten"),
                                   QStringLiteral("Perforierte Bögen in Premiumqualität für jeden Drucker"));
                        }});
    pictures.push_back({QStringLiteral("JPEGWERBUNG"), QStringLiteral("401"), page, [](QPainter &p, QSize size) {
                            Advert(p, size, QStringLiteral("Newsletter"),
                                   QStringLiteral("Neue Layouts, Tipps und Updates – jetzt anmelden"));
                        }});
    return pictures;
}

} // namespace WizardPictures
