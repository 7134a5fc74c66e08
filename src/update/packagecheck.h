#pragma once

#include <QByteArray>
#include <QCryptographicHash>

class QUrl;

// The integrity of a downloaded package: its SHA-256 as the update
// description gives it, compared with the bytes as they arrive. Without a
// checksum only an https transfer can be trusted.
class PackageCheck
{
public:
    // hex: the description's checksum, 64 hexadecimal digits, or empty.
    explicit PackageCheck(const QByteArray &hex = QByteArray());
    // The checksum of another release; restarts the count.
    void expect(const QByteArray &hex);

    static bool isWellFormed(const QByteArray &hex);
    // A package from a plain http address is refused without a checksum;
    // the scheme of any other address is the caller's to judge.
    bool refuses(const QUrl &url) const;
    bool hasChecksum() const { return !expected.isEmpty(); }

    void restart();
    void addData(const QByteArray &data);
    // True when there is no checksum to meet or the bytes so far meet it.
    bool matches() const;

private:
    QByteArray expected;
    QCryptographicHash hash;
};
