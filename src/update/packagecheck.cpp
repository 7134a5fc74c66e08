#include "packagecheck.h"

#include <QUrl>

#include <cctype>

PackageCheck::PackageCheck(const QByteArray &hex)
    : expected(isWellFormed(hex) ? QByteArray::fromHex(hex) : QByteArray())
    , hash(QCryptographicHash::Sha256)
{
}

void PackageCheck::expect(const QByteArray &hex)
{
    expected = isWellFormed(hex) ? QByteArray::fromHex(hex) : QByteArray();
    restart();
}

bool PackageCheck::isWellFormed(const QByteArray &hex)
{
    if (hex.size() != 64)
        return false;
    for (const char c : hex) {
        if (!std::isxdigit(static_cast<unsigned char>(c)))
            return false;
    }
    return true;
}

bool PackageCheck::refuses(const QUrl &url) const
{
    return url.scheme().compare(QLatin1String("http"), Qt::CaseInsensitive) == 0 && !hasChecksum();
}

void PackageCheck::restart()
{
    hash.reset();
}

void PackageCheck::addData(const QByteArray &data)
{
    hash.addData(data);
}

bool PackageCheck::matches() const
{
    return expected.isEmpty() || hash.result() == expected;
}
