#include "objectcodec.h"

#include "obj.h"

#include <QFont>
#include <QJsonArray>

#include <cmath>

namespace {

// Moved pieces are written with an empty kind, as every release has written
// them, so that those releases keep reading them.
const char *const KindNames[]
    = { "", "", "stroke", "eraser", "line", "shape", "text", "picture", "svg" };
constexpr int KindCount = int(sizeof(KindNames) / sizeof(KindNames[0]));

// The kind named so, or KindNone. A moved piece may also be named "moved".
int kindNamed(const QString &name)
{
    if (name == QLatin1String("moved"))
        return KindSelect;
    for (int k = KindSelect; k < KindCount; ++k)
        if (name == QLatin1String(KindNames[k]))
            return k;
    return KindNone;
}

QJsonArray pointsArray(const QList<QPointF> &points)
{
    QJsonArray out;
    for (const QPointF &p : points) {
        out.append(p.x());
        out.append(p.y());
    }
    return out;
}

QJsonArray pathArray(const QPainterPath &path)
{
    QJsonArray out;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        out.append(int(e.type));
        out.append(e.x);
        out.append(e.y);
    }
    return out;
}

QString colourName(const QColor &c)
{
    return c.isValid() ? c.name(QColor::HexArgb) : QString();
}

void encodeDetails(const ObjectRecord &r, QJsonObject &o)
{
    switch (r.kind) {
    case KindSelect:
        o.insert(QLatin1String("fillRule"), int(r.path.fillRule()));
        o.insert(QLatin1String("path"), pathArray(r.path));
        break;
    case KindStroke: {
        o.insert(QLatin1String("strokeKind"), r.variant);
        o.insert(QLatin1String("fillRule"), int(r.path.fillRule()));
        o.insert(QLatin1String("path"), pathArray(r.path));
        QJsonArray pressures;
        for (float p : r.pressures)
            pressures.append(double(p));
        o.insert(QLatin1String("pressures"), pressures);
        break;
    }
    case KindEraser:
        o.insert(QLatin1String("points"), pointsArray(r.points));
        break;
    case KindLine:
        o.insert(QLatin1String("line"), pointsArray({ r.line.p1(), r.line.p2() }));
        o.insert(QLatin1String("startCap"), r.startCap);
        o.insert(QLatin1String("endCap"), r.endCap);
        o.insert(QLatin1String("penStyle"), r.penStyle);
        break;
    case KindShape:
        o.insert(QLatin1String("shapeType"), r.variant);
        o.insert(QLatin1String("penStyle"), r.penStyle);
        o.insert(QLatin1String("fill"), colourName(r.fill));
        break;
    case KindText:
        o.insert(QLatin1String("font"), r.font);
        o.insert(QLatin1String("alignment"), r.alignment);
        o.insert(QLatin1String("html"), r.html);
        o.insert(QLatin1String("textWidth"), r.textWidth);
        o.insert(QLatin1String("margin"), r.margin);
        break;
    default:
        break;
    }
}

// Reads the values of one object, each checked; the first bad one makes
// `ok` false and every later read a no-op.
class Fields
{
public:
    explicit Fields(const QJsonObject &object)
        : o(object)
    {
    }

    bool ok = true;

    double number(const char *key, double lo, double hi)
    {
        const QJsonValue v = o.value(QLatin1String(key));
        const double d = v.toDouble(qQNaN());
        if (!v.isDouble() || !std::isfinite(d) || d < lo || d > hi)
            ok = false;
        return ok ? d : 0;
    }

    int integer(const char *key, int lo, int hi)
    {
        const double d = number(key, lo, hi);
        if (d != std::floor(d))
            ok = false;
        return ok ? int(d) : 0;
    }

    double coordinate(const char *key)
    {
        return number(key, -ObjectCodec::MaxCoordinate, ObjectCodec::MaxCoordinate);
    }

    QColor colour(const char *key, bool emptyIsNone)
    {
        const QString text = o.value(QLatin1String(key)).toString();
        if (emptyIsNone && text.isEmpty())
            return QColor();
        const QColor c = QColor::fromString(text);
        if (!c.isValid())
            ok = false;
        return c;
    }

    QString text(const char *key, int maxLength)
    {
        const QJsonValue v = o.value(QLatin1String(key));
        if (!v.isString() || v.toString().size() > maxLength)
            ok = false;
        return v.toString();
    }

    QList<double> numbers(const char *key, int maxCount, int multiple)
    {
        const QJsonValue v = o.value(QLatin1String(key));
        const QJsonArray a = v.toArray();
        if (!v.isArray() || a.size() > maxCount || a.size() % multiple != 0) {
            ok = false;
            return {};
        }
        QList<double> out;
        out.reserve(a.size());
        for (const QJsonValue &item : a) {
            const double d = item.toDouble(qQNaN());
            if (!item.isDouble() || !std::isfinite(d) || std::fabs(d) > ObjectCodec::MaxCoordinate)
                ok = false;
            out.append(d);
        }
        return ok ? out : QList<double>();
    }

    QList<QPointF> points(const char *key, int maxCount)
    {
        const QList<double> n = numbers(key, maxCount * 2, 2);
        QList<QPointF> out;
        out.reserve(n.size() / 2);
        for (qsizetype i = 0; i + 1 < n.size(); i += 2)
            out.append(QPointF(n.at(i), n.at(i + 1)));
        return out;
    }

private:
    const QJsonObject &o;
};

// The elements must follow the rules QPainterPath keeps: a move first, and
// each curve followed by its two control points.
bool buildPath(const QList<double> &n, QPainterPath &path)
{
    const qsizetype count = n.size() / 3;
    for (qsizetype i = 0; i < count; ++i) {
        const int type = int(n.at(3 * i));
        const QPointF p(n.at(3 * i + 1), n.at(3 * i + 2));
        if (n.at(3 * i) != type || (i == 0) != (type == QPainterPath::MoveToElement))
            return false;
        if (type == QPainterPath::MoveToElement)
            path.moveTo(p);
        else if (type == QPainterPath::LineToElement)
            path.lineTo(p);
        else if (type == QPainterPath::CurveToElement && i + 2 < count
                 && int(n.at(3 * i + 3)) == QPainterPath::CurveToDataElement
                 && int(n.at(3 * i + 6)) == QPainterPath::CurveToDataElement) {
            path.cubicTo(p, QPointF(n.at(3 * i + 4), n.at(3 * i + 5)),
                         QPointF(n.at(3 * i + 7), n.at(3 * i + 8)));
            i += 2;
        } else
            return false;
    }
    return true;
}

bool decodePath(Fields &f, ObjectRecord *r)
{
    const int fillRule = f.integer("fillRule", Qt::OddEvenFill, Qt::WindingFill);
    const QList<double> n = f.numbers("path", ObjectCodec::MaxPathElements * 3, 3);
    if (!f.ok || !buildPath(n, r->path)) {
        f.ok = false;
        return false;
    }
    r->path.setFillRule(Qt::FillRule(fillRule));
    return true;
}

void decodeStroke(Fields &f, const QJsonObject &o, ObjectRecord *r)
{
    r->variant = f.integer("strokeKind", 1, 3);
    if (!decodePath(f, r))
        return;
    const QJsonArray pressures = o.value(QLatin1String("pressures")).toArray();
    if (pressures.size() > r->path.elementCount()) {
        f.ok = false;
        return;
    }
    for (const QJsonValue &v : pressures) {
        const double p = v.toDouble(qQNaN());
        if (!(p >= 0 && p <= 1))
            f.ok = false;
        r->pressures.append(float(p));
    }
}

void decodeDetails(Fields &f, const QJsonObject &o, ObjectRecord *r, QString *picture)
{
    switch (r->kind) {
    case KindSelect:
        if (decodePath(f, r))
            *picture = f.text("picture", 1024);
        break;
    case KindStroke:
        decodeStroke(f, o, r);
        break;
    case KindEraser:
        r->points = f.points("points", ObjectCodec::MaxPathElements);
        if (r->points.size() % 2 != 0)
            f.ok = false;
        break;
    case KindLine: {
        const QList<QPointF> ends = f.points("line", 2);
        if (ends.size() != 2)
            f.ok = false;
        else
            r->line = QLineF(ends.at(0), ends.at(1));
        r->startCap = f.integer("startCap", 0, 5);
        r->endCap = f.integer("endCap", 0, 5);
        r->penStyle = f.integer("penStyle", Qt::NoPen, Qt::DashDotDotLine);
        break;
    }
    case KindShape:
        r->variant = f.integer("shapeType", 0, 17);
        r->penStyle = f.integer("penStyle", Qt::NoPen, Qt::DashDotDotLine);
        r->fill = f.colour("fill", true);
        break;
    case KindText:
        r->font = f.text("font", 1024);
        if (QFont font; !font.fromString(r->font) || font.pointSizeF() > 2000)
            f.ok = false;
        r->alignment = f.integer("alignment", 0, 0xffff);
        r->html = f.text("html", ObjectCodec::MaxTextBytes);
        r->textWidth = f.number("textWidth", -1, ObjectCodec::MaxCoordinate);
        r->margin = f.number("margin", 0, 1000);
        break;
    default:
        *picture = f.text("picture", 1024);
        break;
    }
}

} // namespace

QJsonObject ObjectCodec::encode(const ObjectRecord &r, const QString &picture)
{
    QJsonObject o;
    o.insert(QLatin1String("kind"), QLatin1String(KindNames[r.kind]));
    o.insert(QLatin1String("rect"),
             QJsonArray { r.rect.x(), r.rect.y(), r.rect.width(), r.rect.height() });
    o.insert(QLatin1String("angle"), double(r.angle));
    o.insert(QLatin1String("centre"), QJsonArray { r.centre.x(), r.centre.y() });
    o.insert(QLatin1String("width"), r.width);
    o.insert(QLatin1String("colour"), colourName(r.colour));
    o.insert(QLatin1String("opacity"), r.opacity);
    o.insert(QLatin1String("shadow"), r.shadow);
    o.insert(QLatin1String("resizable"), r.resizable);
    if (r.isPicture() || r.kind == KindSelect)
        o.insert(QLatin1String("picture"), picture);
    encodeDetails(r, o);
    return o;
}

ObjectCodec::Verdict ObjectCodec::decode(const QJsonObject &o, ObjectRecord *r, QString *picture)
{
    const QJsonValue kind = o.value(QLatin1String("kind"));
    r->kind = kind.isString() ? kindNamed(kind.toString()) : KindNone;
    if (r->kind == KindNone)
        return UnknownKind;
    Fields f(o);
    const QList<double> rect = f.numbers("rect", 4, 4);
    const QList<QPointF> centre = f.points("centre", 1);
    if (!f.ok || rect.size() != 4 || centre.size() != 1)
        return Invalid;
    r->rect = QRectF(rect.at(0), rect.at(1), rect.at(2), rect.at(3));
    r->centre = centre.at(0);
    r->angle = float(f.number("angle", -36000, 36000));
    r->width = f.integer("width", 0, ObjectCodec::MaxWidth);
    r->colour = f.colour("colour", false);
    r->opacity = f.integer("opacity", 0, 100);
    r->shadow = f.integer("shadow", 0, 1000);
    r->resizable = o.value(QLatin1String("resizable")).toBool(true);
    decodeDetails(f, o, r, picture);
    return f.ok ? Read : Invalid;
}

QStringList ObjectCodec::knownKeys(const QString &kind)
{
    QStringList keys { QStringLiteral("kind"),     QStringLiteral("rect"),
                       QStringLiteral("angle"),    QStringLiteral("centre"),
                       QStringLiteral("width"),    QStringLiteral("colour"),
                       QStringLiteral("opacity"),  QStringLiteral("shadow"),
                       QStringLiteral("resizable") };
    ObjectRecord probe;
    probe.kind = kindNamed(kind);
    QJsonObject details;
    encodeDetails(probe, details);
    keys += details.keys();
    if (probe.isPicture() || probe.kind == KindSelect)
        keys.append(QStringLiteral("picture"));
    return keys;
}
