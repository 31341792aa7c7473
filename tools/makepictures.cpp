// Draws the product's pictures and writes them as JPEG resources:
//   makepictures <resources-folder> [--png <folder>]
// or the desktop's application icon as PNGs in an icon-theme tree:
//   makepictures --icons <folder>        (<folder>/<N>x<N>/apps/tessaro.png)
// The pictures are committed; run this again only after changing a drawing.
// Another picture is one more drawing function and one more row in Pictures.

#include "support/uProductPictures.h"
#include "tools/pictures/WizardPictures.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QTextStream>

#include <functional>
#include <vector>

namespace {

const QColor Ink(0x1d, 0x2b, 0x3a);
const QColor Night(0x12, 0x2a, 0x44);
const QColor Sea(0x1f, 0x6f, 0x8b);
const QColor Amber(0xe8, 0xa3, 0x3d);
const QColor Paper(0xfb, 0xfa, 0xf6);
const QString Sans = QStringLiteral("Liberation Sans");

QFont Font(int pixelSize, int weight = QFont::Normal, qreal letterSpacing = 0)
{
    QFont font(Sans);
    font.setPixelSize(pixelSize);
    font.setWeight(QFont::Weight(weight));
    if (letterSpacing != 0)
        font.setLetterSpacing(QFont::AbsoluteSpacing, letterSpacing);
    return font;
}

// The product's emblem: a small mosaic of tiles, one of them in the accent colour.
void DrawTiles(QPainter &p, QPointF origin, qreal tile, const QColor &colour)
{
    const qreal gap = tile * 0.18;
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) {
            if ((row + col) % 4 == 3)
                continue;
            const QRectF r(origin.x() + col * (tile + gap), origin.y() + row * (tile + gap), tile, tile);
            QColor c = (row == 0 && col == 2) ? Amber : colour;
            c.setAlphaF(row == 2 ? 0.55 : (row == 1 ? 0.8 : 1.0));
            p.setPen(Qt::NoPen);
            p.setBrush(c);
            p.drawRoundedRect(r, tile * 0.18, tile * 0.18);
        }
    }
}

// A business card with a few suggested lines of text, turned about its centre.
void DrawCard(QPainter &p, QPointF centre, qreal angle, qreal width, const QColor &accent)
{
    const qreal height = width * 55.0 / 85.0;
    p.save();
    p.translate(centre);
    p.rotate(angle);
    const QRectF card(-width / 2, -height / 2, width, height);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 60));
    p.drawRoundedRect(card.translated(3, 5), 4, 4);
    p.setBrush(Paper);
    p.setPen(QPen(QColor(0, 0, 0, 40), 1));
    p.drawRoundedRect(card, 4, 4);
    p.setPen(Qt::NoPen);
    p.setBrush(accent);
    p.drawRect(QRectF(card.left(), card.top() + height * 0.18, width * 0.04, height * 0.28));
    p.setBrush(QColor(0x2c, 0x3e, 0x50, 200));
    p.drawRect(QRectF(card.left() + width * 0.12, card.top() + height * 0.22, width * 0.42, height * 0.07));
    p.setBrush(QColor(0x2c, 0x3e, 0x50, 110));
    p.drawRect(QRectF(card.left() + width * 0.12, card.top() + height * 0.35, width * 0.30, height * 0.045));
    for (int i = 0; i < 3; ++i)
        p.drawRect(QRectF(card.left() + width * 0.12, card.top() + height * (0.62 + i * 0.09), width * 0.36,
                          height * 0.035));
    p.setBrush(QColor(accent.red(), accent.green(), accent.blue(), 70));
    p.drawEllipse(QPointF(card.right() - width * 0.2, card.top() + height * 0.33), height * 0.15, height * 0.15);
    p.restore();
}

void DrawSplash(QPainter &p, QSize size)
{
    QLinearGradient sky(0, 0, size.width(), size.height());
    sky.setColorAt(0, Night);
    sky.setColorAt(1, Sea);
    p.fillRect(QRect(QPoint(), size), sky);
    QRadialGradient glow(QPointF(size.width() * 0.78, size.height() * 0.3), size.width() * 0.5);
    glow.setColorAt(0, QColor(255, 255, 255, 45));
    glow.setColorAt(1, QColor(255, 255, 255, 0));
    p.fillRect(QRect(QPoint(), size), glow);

    DrawCard(p, QPointF(318, 88), -14, 120, Sea);
    DrawCard(p, QPointF(304, 104), 6, 120, Amber);

    DrawTiles(p, QPointF(32, 40), 13, Paper);
    p.setPen(Paper);
    p.setFont(Font(54, QFont::Bold, 1));
    p.drawText(QPointF(28, 200), QStringLiteral("Tessaro"));
    p.setPen(QColor(255, 255, 255, 210));
    p.setFont(Font(17));
    p.drawText(QPointF(31, 228), QStringLiteral("Visitenkarten gestalten und drucken"));

    p.setPen(QPen(QColor(255, 255, 255, 90), 1));
    p.drawLine(QPointF(31, 252), QPointF(size.width() - 31, 252));
    p.setPen(QColor(255, 255, 255, 170));
    p.setFont(Font(12, QFont::Normal, 2));
    p.drawText(QPointF(31, 272), QStringLiteral("ORNAK"));
}

void DrawAbout(QPainter &p, QSize size)
{
    p.fillRect(QRect(QPoint(), size), Paper);
    QLinearGradient band(0, 0, size.width(), 0);
    band.setColorAt(0, Night);
    band.setColorAt(1, Sea);
    p.fillRect(QRect(0, 0, size.width(), 118), band);

    DrawTiles(p, QPointF(28, 30), 14, Paper);
    p.setPen(Paper);
    p.setFont(Font(44, QFont::Bold, 1));
    p.drawText(QPointF(102, 78), QStringLiteral("Tessaro"));

    DrawCard(p, QPointF(112, 192), -5, 150, Sea);
    DrawCard(p, QPointF(288, 196), 4, 150, Amber);

    p.setPen(Ink);
    p.setFont(Font(14));
    p.drawText(QRect(0, 262, size.width(), 24), Qt::AlignCenter,
               QStringLiteral("Visitenkarten gestalten und drucken"));
    p.setPen(QPen(Amber, 3));
    p.drawLine(QPointF(0, size.height() - 1.5), QPointF(size.width(), size.height() - 1.5));
}

void DrawMakerLogo(QPainter &p, QSize size)
{
    p.fillRect(QRect(QPoint(), size), Qt::white);
    DrawTiles(p, QPointF(22, 22), 16, Sea);
    p.setPen(Night);
    p.setFont(Font(46, QFont::Bold, 6));
    p.drawText(QRect(96, 0, size.width() - 96, size.height() - 14), Qt::AlignVCenter | Qt::AlignLeft,
               QStringLiteral("ORNAK"));
    p.setPen(Sea);
    p.setFont(Font(12, QFont::Normal, 3));
    p.drawText(QPointF(100, 82), QStringLiteral("SOFTWARE"));
}

// The application icon: the emblem on a rounded tile of the splash colours.
// Transparent outside the tile, so it sits on any panel or launcher.
void DrawAppIcon(QPainter &p, QSize size)
{
    const qreal s = size.width();
    QLinearGradient sky(0, 0, s, s);
    sky.setColorAt(0, Night);
    sky.setColorAt(1, Sea);
    p.setPen(Qt::NoPen);
    p.setBrush(sky);
    const QRectF tile(s * 0.04, s * 0.04, s * 0.92, s * 0.92);
    p.drawRoundedRect(tile, s * 0.18, s * 0.18);
    // Three tiles and two gaps of 0.18 tiles span 3.36 tiles.
    const qreal emblemTile = s * 0.6 / 3.36;
    DrawTiles(p, QPointF(s * 0.2, s * 0.2), emblemTile, Paper);
}

const int AppIconSizes[] = {48, 128, 256};

int WriteAppIcons(const QDir &folder, QTextStream &err)
{
    for (const int edge : AppIconSizes) {
        const QString dir = QStringLiteral("%1x%1/apps").arg(edge);
        if (!folder.mkpath(dir)) {
            err << "cannot create " << folder.filePath(dir) << '\n';
            return 1;
        }
        QImage image(edge, edge, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        DrawAppIcon(painter, image.size());
        painter.end();
        const QString path = folder.filePath(dir + QStringLiteral("/tessaro.png"));
        if (!image.save(path, "PNG")) {
            err << "cannot write " << path << '\n';
            return 1;
        }
    }
    return 0;
}

using TPicture = WizardPictures::TWizardPicture;

// The product's own pictures, then the wizard's.
std::vector<TPicture> Pictures()
{
    const QString type = QLatin1String(ProductPictureType);
    std::vector<TPicture> pictures = {
        {type, QLatin1String(SplashPictureName), SplashPictureSize, DrawSplash},
        {type, QLatin1String(AboutPictureName), AboutPictureSize, DrawAbout},
        {type, QLatin1String(MakerLogoName), MakerLogoSize, DrawMakerLogo},
    };
    for (TPicture &picture : WizardPictures::Pictures())
        pictures.push_back(std::move(picture));
    return pictures;
}

QImage Render(const TPicture &picture)
{
    QImage image(picture.Size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    picture.Draw(painter, picture.Size);
    return image;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList args = app.arguments();
    if (args.size() == 3 && args[1] == QLatin1String("--icons"))
        return WriteAppIcons(QDir(args[2]), err);
    if (args.size() != 2 && !(args.size() == 4 && args[2] == QLatin1String("--png"))) {
        err << "usage: makepictures <resources-folder> [--png <folder>] | --icons <folder>\n";
        return 2;
    }
    const QDir resources(args[1]);
    for (const TPicture &picture : Pictures()) {
        const QImage image = Render(picture);
        const QString &type = picture.Type;
        if (!resources.mkpath(type)) {
            err << "cannot create " << resources.filePath(type) << '\n';
            return 1;
        }
        const QString path = resources.filePath(type + '/' + picture.Name);
        if (!image.save(path, "JPEG", 92)) {
            err << "cannot write " << path << '\n';
            return 1;
        }
        if (args.size() == 4 && !image.save(QDir(args[3]).filePath(type + '_' + picture.Name + ".png"), "PNG")) {
            err << "cannot write the PNG copy of " << path << '\n';
            return 1;
        }
    }
    return 0;
}
