#include "render/uSvgContent.h"

#include "render/DaVinci.h"

#include <QHash>
#include <QRegularExpression>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <functional>
#include <limits>
#include <vector>

namespace {

// An embedded picture is decoded whole by the renderer: a few of them,
// together within what one logo picture may cost to decode.
constexpr int MaxEmbeddedPictures = 8;
// The reader bounds what one entity reference expands to, not how many
// there are: a few megabytes of references could become gigabytes of text.
constexpr qint64 MaxEntityCharacters = 4 * 1024 * 1024;
// What is kept of a left-out name: enough to recognise it.
constexpr int MaxNameLength = 200;
// Costs of a fan of <use>s can grow beyond any count; they stop here.
constexpr qint64 CostCeiling = std::numeric_limits<qint64>::max() / 4;

qint64 Plus(qint64 a, qint64 b)
{
    return a > CostCeiling - b ? CostCeiling : a + b;
}

void Add(TSvgCost &sum, const TSvgCost &part)
{
    sum.Elements = Plus(sum.Elements, part.Elements);
    sum.TextCharacters = Plus(sum.TextCharacters, part.TextCharacters);
    sum.Stops = Plus(sum.Stops, part.Stops);
    sum.PathBytes = Plus(sum.PathBytes, part.PathBytes);
    sum.PicturePixels = Plus(sum.PicturePixels, part.PicturePixels);
}

// The share of its time budget one drawing of the document takes: each
// count alone, at its limit, costs about a second to read and draw as a
// card logo at 1200 dots per inch.
double DrawingShare(const TSvgCost &cost)
{
    return double(cost.Elements) / 10'000 + double(cost.TextCharacters) / 50'000 + double(cost.Stops) / 10'000
           + double(cost.PathBytes) / (1024 * 1024) + double(cost.PicturePixels) / 100'000'000;
}

// Elements that only fetch, run or animate: a logo on paper is still, and
// nothing of it is fetched or run.
bool IsDroppedElement(QStringView name)
{
    static const QStringList names = {
        QStringLiteral("script"),        QStringLiteral("handler"),       QStringLiteral("listener"),
        QStringLiteral("audio"),         QStringLiteral("video"),         QStringLiteral("prefetch"),
        QStringLiteral("font-face-uri"), QStringLiteral("animate"),       QStringLiteral("animateColor"),
        QStringLiteral("animateMotion"), QStringLiteral("animateTransform"), QStringLiteral("set"),
        QStringLiteral("discard"),
    };
    return names.contains(name);
}

bool IsInternal(QStringView reference)
{
    return reference.trimmed().startsWith(QLatin1Char('#'));
}

QString Unquoted(QStringView text)
{
    text = text.trimmed();
    if (text.size() >= 2 && (text.front() == QLatin1Char('"') || text.front() == QLatin1Char('\''))
        && text.back() == text.front())
        text = text.mid(1, text.size() - 2);
    return text.trimmed().toString();
}

// The targets of the url(...) in the text that point outside the document.
QStringList ExternalUrls(const QString &text)
{
    QStringList external;
    qsizetype at = 0;
    while ((at = text.indexOf(QLatin1String("url("), at, Qt::CaseInsensitive)) >= 0) {
        at += 4;
        const qsizetype end = text.indexOf(QLatin1Char(')'), at);
        const QString target = Unquoted(QStringView(text).mid(at, end < 0 ? -1 : end - at));
        if (!target.startsWith(QLatin1Char('#')))
            external << target;
        if (end < 0)
            break;
        at = end + 1;
    }
    return external;
}

// What an @import statement names.
QString ImportTarget(const QString &statement)
{
    const qsizetype at = statement.indexOf(QLatin1String("@import"), 0, Qt::CaseInsensitive) + 7;
    const QString rest = statement.mid(at).trimmed();
    const QStringList urls = ExternalUrls(rest);
    if (!urls.isEmpty())
        return urls.first();
    return rest.isEmpty() ? QStringLiteral("@import") : Unquoted(rest.section(QLatin1Char(' '), 0, 0));
}

QString WithoutComments(const QString &css)
{
    QString text;
    qsizetype at = 0;
    for (;;) {
        const qsizetype start = css.indexOf(QLatin1String("/*"), at);
        if (start < 0)
            return text.append(QStringView(css).mid(at));
        text.append(QStringView(css).mid(at, start - at)).append(QLatin1Char(' '));
        const qsizetype end = css.indexOf(QLatin1String("*/"), start + 2);
        if (end < 0)
            return text;
        at = end + 2;
    }
}

// A style sheet or a style attribute without @import statements and
// without the declarations whose url(...) points outside the document.
QString SelfContainedStyle(const QString &css, QStringList &leftOut)
{
    const QString text = WithoutComments(css);
    QString kept;
    QString segment;
    QChar quote;
    int parentheses = 0;
    const auto endSegment = [&](QChar delimiter) {
        if (segment.contains(QLatin1String("@import"), Qt::CaseInsensitive)) {
            leftOut << ImportTarget(segment);
        } else if (const QStringList urls = ExternalUrls(segment); !urls.isEmpty()) {
            leftOut << urls;
        } else {
            kept += segment;
            if (delimiter == QLatin1Char(';'))
                kept += delimiter;
        }
        if (delimiter != QLatin1Char(';') && !delimiter.isNull())
            kept += delimiter;
        segment.clear();
    };
    for (const QChar c : text) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            quote = c;
        } else if (c == QLatin1Char('(')) {
            ++parentheses;
        } else if (c == QLatin1Char(')')) {
            parentheses = qMax(0, parentheses - 1);
        } else if (parentheses == 0 && (c == QLatin1Char(';') || c == QLatin1Char('{') || c == QLatin1Char('}'))) {
            endSegment(c);
            continue;
        }
        segment += c;
    }
    endSegment(QChar());
    return kept;
}

// What the user is shown of a dropped reference; an embedded picture by
// its kind only.
QString ShownName(const QString &reference)
{
    QString name = reference.trimmed();
    if (name.startsWith(QLatin1String("data:"), Qt::CaseInsensitive))
        name = name.left(name.indexOf(QLatin1Char(',')) + 1) + QChar(0x2026);
    if (name.size() > MaxNameLength)
        name = name.left(MaxNameLength - 1) + QChar(0x2026);
    return name;
}

class TSvgRewriter
{
public:
    explicit TSvgRewriter(const QByteArray &data)
        : FData(data)
        , FReader(data)
        , FWriter(&FContent.Document)
    {
    }

    TSvgContent Run();

private:
    // One element written, with what it costs itself.
    struct TNode
    {
        int FirstChild = -1;
        int NextSibling = -1;
        int LastChild = -1;
        TSvgCost Own;
    };
    struct TOpen
    {
        int Node;
        bool Text;  // its characters are drawn
        bool Style; // its characters are a style sheet
    };

    bool ReadDtd();
    void StartElement();
    void EndElement();
    void Characters();
    void ProcessingInstruction();
    // The element's attributes that stay; false when the element goes.
    bool KeptAttributes(QStringView element, QXmlStreamAttributes &kept, TSvgCost &own, QStringList &uses);
    // Whether the embedded picture stays; it is written back as checked.
    bool KeepPicture(QString &reference, TSvgCost &own);
    void LeaveOut(const QString &reference);
    TSvgCost Expanded();

    const QByteArray &FData;
    TSvgContent FContent;
    QXmlStreamReader FReader;
    QXmlStreamWriter FWriter;
    int FSkipped = 0; // depth inside a dropped element
    std::vector<TOpen> FOpen;
    QString FStyleSheet;
    std::vector<TNode> FNodes;
    QHash<QString, int> FIds;
    std::vector<std::pair<int, QString>> FUses;
    int FPictures = 0;
    qint64 FPictureBytes = 0;
    // What the elements read so far cost without their <use>s: once beyond
    // the budget, the rest need not be read.
    TSvgCost FRead;
};

TSvgContent TSvgRewriter::Run()
{
    while (!FReader.atEnd() && DrawingShare(FRead) <= 1) {
        switch (FReader.readNext()) {
        case QXmlStreamReader::StartDocument:
            FWriter.writeStartDocument();
            break;
        case QXmlStreamReader::DTD:
            if (!ReadDtd())
                return {};
            break;
        case QXmlStreamReader::StartElement:
            StartElement();
            break;
        case QXmlStreamReader::EndElement:
            EndElement();
            break;
        case QXmlStreamReader::Characters:
            Characters();
            break;
        case QXmlStreamReader::EntityReference:
            // Undeclared: it would come from an outside DTD.
            if (!FSkipped)
                LeaveOut(QLatin1Char('&') + FReader.name().toString() + QLatin1Char(';'));
            break;
        case QXmlStreamReader::ProcessingInstruction:
            ProcessingInstruction();
            break;
        default:
            break;
        }
    }
    if (FReader.hasError() || FNodes.empty() || DrawingShare(FRead) > 1)
        return {};
    FWriter.writeEndDocument();
    FContent.Cost = Expanded();
    if (DrawingShare(FContent.Cost) > 1)
        return {};
    FContent.LeftOut.removeDuplicates();
    FContent.Valid = true;
    return std::move(FContent);
}

bool TSvgRewriter::ReadDtd()
{
    QHash<QString, QString> values;
    for (const QXmlStreamEntityDeclaration &entity : FReader.entityDeclarations()) {
        if (!entity.systemId().isEmpty() || !entity.publicId().isEmpty())
            LeaveOut(entity.systemId().isEmpty() ? entity.publicId().toString() : entity.systemId().toString());
        else
            values.insert(entity.name().toString(), entity.value().toString());
    }
    if (values.isEmpty())
        return true;
    // The most characters one reference can become, nested ones included.
    QHash<QString, qint64> lengths;
    static const QRegularExpression reference(QStringLiteral("&([^;&\\s]+);"));
    std::function<qint64(const QString &, int)> length = [&](const QString &name, int depth) -> qint64 {
        if (const auto known = lengths.constFind(name); known != lengths.cend())
            return *known;
        const auto value = values.constFind(name);
        if (value == values.cend())
            return name.size() + 2;
        if (depth > 32)
            return MaxEntityCharacters + 1;
        qint64 total = value->size();
        for (const QRegularExpressionMatch &match : reference.globalMatch(*value))
            total = qMin(Plus(total, length(match.captured(1), depth + 1)), MaxEntityCharacters + 1);
        lengths.insert(name, total);
        return total;
    };
    qint64 longest = 0;
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        longest = qMax(longest, length(it.key(), 0));
    // Every ampersand of the file might be such a reference.
    return longest * FData.count('&') <= MaxEntityCharacters;
}

void TSvgRewriter::StartElement()
{
    const QStringView name = FReader.name();
    if (FSkipped) {
        ++FSkipped;
        return;
    }
    if (IsDroppedElement(name)) {
        // A font of another file is left out with its element.
        const QString reference = FReader.attributes().value(QLatin1String("xlink:href")).toString();
        if (!reference.isEmpty() && !IsInternal(reference))
            LeaveOut(reference);
        FSkipped = 1;
        return;
    }
    QXmlStreamAttributes attributes;
    TSvgCost own;
    own.Elements = 1;
    own.Stops = name == QLatin1String("stop") ? 1 : 0;
    QStringList uses;
    if (!KeptAttributes(name, attributes, own, uses)) {
        ++FSkipped;
        return;
    }
    FWriter.writeStartElement(FReader.qualifiedName().toString());
    for (const QXmlStreamNamespaceDeclaration &declaration : FReader.namespaceDeclarations()) {
        const QString prefix = declaration.prefix().toString();
        FWriter.writeAttribute(prefix.isEmpty() ? QStringLiteral("xmlns") : QStringLiteral("xmlns:") + prefix,
                               declaration.namespaceUri().toString());
    }
    for (const QXmlStreamAttribute &attribute : std::as_const(attributes))
        FWriter.writeAttribute(attribute.qualifiedName().toString(), attribute.value().toString());

    Add(FRead, own);
    const int node = int(FNodes.size());
    FNodes.push_back({});
    FNodes.back().Own = own;
    if (!FOpen.empty()) {
        TNode &parent = FNodes[size_t(FOpen.back().Node)];
        if (parent.LastChild < 0)
            parent.FirstChild = node;
        else
            FNodes[size_t(parent.LastChild)].NextSibling = node;
        parent.LastChild = node;
    }
    for (const QString &target : std::as_const(uses))
        FUses.emplace_back(node, target);
    const QString id = attributes.value(QLatin1String("id")).toString();
    if (!id.isEmpty())
        FIds.insert(id, node);
    const bool text = name == QLatin1String("text") || name == QLatin1String("textArea")
                      || (!FOpen.empty() && FOpen.back().Text);
    FOpen.push_back({node, text, name == QLatin1String("style")});
}

bool TSvgRewriter::KeptAttributes(QStringView element, QXmlStreamAttributes &kept, TSvgCost &own, QStringList &uses)
{
    const bool image = element == QLatin1String("image");
    bool keep = true;
    for (const QXmlStreamAttribute &attribute : FReader.attributes()) {
        const QStringView name = attribute.name();
        QString value = attribute.value().toString();
        if (name == QLatin1String("href")) {
            // The renderer takes an image's reference for a file name,
            // even one starting with '#'.
            if (image) {
                if (!KeepPicture(value, own)) {
                    LeaveOut(value);
                    keep = false;
                }
            } else if (IsInternal(value)) {
                if (element == QLatin1String("use"))
                    uses << value.trimmed().mid(1);
            } else {
                // A link is never followed while drawing; a <use> of
                // another file draws nothing.
                if (element != QLatin1String("a"))
                    LeaveOut(value);
                if (element == QLatin1String("use"))
                    keep = false;
                continue;
            }
        } else if (attribute.qualifiedName() == QLatin1String("xml:base")) {
            continue;
        } else if (name == QLatin1String("style")) {
            value = SelfContainedStyle(value, FContent.LeftOut);
        } else if (const QStringList urls = ExternalUrls(value); !urls.isEmpty()) {
            for (const QString &url : urls)
                LeaveOut(url);
            continue;
        } else if (name == QLatin1String("d") || name == QLatin1String("points")) {
            own.PathBytes += value.size();
        }
        kept.append(attribute.qualifiedName().toString(), value);
    }
    return keep;
}

bool TSvgRewriter::KeepPicture(QString &reference, TSvgCost &own)
{
    // Decoded as the renderer decodes it: base64 after the last "base64,".
    const qsizetype start = reference.lastIndexOf(QLatin1String("base64,"));
    if (!reference.startsWith(QLatin1String("data:")) || start < 0 || FPictures >= MaxEmbeddedPictures)
        return false;
    const QByteArray picture = QByteArray::fromBase64(reference.mid(start + 7).toLatin1());
    const qint64 bytes = WholeDecodeBytes(picture);
    if (bytes < 0 || FPictureBytes + bytes > DecodeBudgetBytes)
        return false;
    ++FPictures;
    FPictureBytes += bytes;
    own.PicturePixels += bytes / 4;
    // Written back as it was checked, whatever else the text held.
    reference = reference.left(start + 7) + QString::fromLatin1(picture.toBase64());
    return true;
}

void TSvgRewriter::EndElement()
{
    if (FSkipped) {
        --FSkipped;
        return;
    }
    if (FOpen.back().Style) {
        FWriter.writeCharacters(SelfContainedStyle(FStyleSheet, FContent.LeftOut));
        FStyleSheet.clear();
    }
    FWriter.writeEndElement();
    FOpen.pop_back();
}

void TSvgRewriter::Characters()
{
    if (FSkipped || FOpen.empty())
        return;
    const TOpen &open = FOpen.back();
    if (open.Style) {
        FStyleSheet += FReader.text();
    } else if (open.Text) {
        FWriter.writeCharacters(FReader.text().toString());
        TSvgCost &own = FNodes[size_t(open.Node)].Own;
        own.TextCharacters += FReader.text().size();
        FRead.TextCharacters += FReader.text().size();
    }
}

void TSvgRewriter::ProcessingInstruction()
{
    if (FReader.processingInstructionTarget() != QLatin1String("xml-stylesheet"))
        return;
    static const QRegularExpression href(QStringLiteral("href\\s*=\\s*([\"'])(.*?)\\1"));
    const QString data = FReader.processingInstructionData().toString();
    const QRegularExpressionMatch match = href.match(data);
    LeaveOut(match.hasMatch() ? match.captured(2) : data);
}

void TSvgRewriter::LeaveOut(const QString &reference)
{
    FContent.LeftOut << ShownName(reference);
}

TSvgCost TSvgRewriter::Expanded()
{
    // A <use> draws what it names once more: each element costs itself, its
    // children and what it uses. A <use> of its own ancestor the renderer
    // draws as nothing, and costs nothing here.
    std::vector<int> uses(FNodes.size(), -1);
    for (const auto &[node, target] : FUses) {
        const auto found = FIds.constFind(target);
        if (found != FIds.cend())
            uses[size_t(node)] = *found;
    }
    enum : quint8 { New, Open, Done };
    std::vector<quint8> state(FNodes.size(), New);
    std::vector<TSvgCost> totals(FNodes.size());
    const auto forEachPart = [&](int node, auto &&visit) {
        for (int child = FNodes[size_t(node)].FirstChild; child >= 0; child = FNodes[size_t(child)].NextSibling)
            visit(child);
        if (uses[size_t(node)] >= 0)
            visit(uses[size_t(node)]);
    };
    std::vector<int> stack{0};
    while (!stack.empty()) {
        const int node = stack.back();
        if (state[size_t(node)] == New) {
            state[size_t(node)] = Open;
            forEachPart(node, [&](int part) {
                if (state[size_t(part)] == New)
                    stack.push_back(part);
            });
            continue;
        }
        stack.pop_back();
        if (state[size_t(node)] == Done)
            continue;
        TSvgCost total = FNodes[size_t(node)].Own;
        forEachPart(node, [&](int part) {
            if (state[size_t(part)] == Done)
                Add(total, totals[size_t(part)]);
        });
        totals[size_t(node)] = total;
        state[size_t(node)] = Done;
    }
    return totals[0];
}

} // namespace

TSvgContent SelfContainedSvg(const QByteArray &data)
{
    return TSvgRewriter(data).Run();
}
