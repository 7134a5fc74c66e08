#include "instancerequest.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtEndian>

namespace {

const QByteArray Magic("TAVM");

QJsonArray toArray(const QStringList &list)
{
    QJsonArray array;
    for (const QString &s : list)
        array.append(s);
    return array;
}

// Every element must be a non-empty string.
std::optional<QStringList> toList(const QJsonValue &value)
{
    if (value.isUndefined())
        return QStringList();
    if (!value.isArray())
        return std::nullopt;
    QStringList list;
    for (const QJsonValue &v : value.toArray()) {
        if (!v.isString() || v.toString().isEmpty())
            return std::nullopt;
        list.append(v.toString());
    }
    return list;
}

} // namespace

QByteArray InstanceRequest::encode() const
{
    const QJsonObject object { { QStringLiteral("files"), toArray(files) },
                               { QStringLiteral("actions"), toArray(actions) } };
    const QByteArray payload = QJsonDocument(object).toJson(QJsonDocument::Compact);
    QByteArray frame = Magic;
    frame.append(char(Version));
    char length[4];
    qToBigEndian(quint32(payload.size()), length);
    frame.append(length, 4);
    return frame + payload;
}

qint64 InstanceRequest::frameLength(const QByteArray &head)
{
    const qsizetype known = qMin<qsizetype>(head.size(), Magic.size());
    if (head.left(known) != Magic.left(known))
        return -1;
    if (head.size() > Magic.size() && quint8(head.at(Magic.size())) != Version)
        return -1;
    if (head.size() < HeaderBytes)
        return 0;
    return HeaderBytes + qint64(qFromBigEndian<quint32>(head.constData() + Magic.size() + 1));
}

std::optional<InstanceRequest> InstanceRequest::decode(const QByteArray &frame)
{
    if (frameLength(frame) != frame.size())
        return std::nullopt;
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(frame.mid(HeaderBytes), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    const auto files = toList(document.object().value(QLatin1String("files")));
    const auto actions = toList(document.object().value(QLatin1String("actions")));
    if (!files || !actions)
        return std::nullopt;
    InstanceRequest request;
    request.files = *files;
    request.actions = *actions;
    return request;
}
