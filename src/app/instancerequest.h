#pragma once

#include <QByteArray>
#include <QStringList>

#include <optional>

// What one start of the program asks of the running instance: files to open
// and actions to perform, in that order. Nothing at all means "come back".
//
// On the single-instance socket it travels as one frame: the four bytes
// "TAVM", a version byte, the payload's length (4 bytes, big-endian) and the
// payload, a JSON object {"files": [...], "actions": [...]} in UTF-8. A frame
// of another version or any other shape is refused whole.
struct InstanceRequest
{
    static constexpr int HeaderBytes = 9;
    static constexpr quint8 Version = 1;
    // The running instance drops a longer frame: a start refuses to send one.
    static constexpr qint64 MaxFrameBytes = qint64(64) * 1024;

    QStringList files;
    QStringList actions;

    bool isEmpty() const { return files.isEmpty() && actions.isEmpty(); }
    QByteArray encode() const;

    // From the first bytes of a frame: the frame's whole length, 0 while the
    // header is incomplete, -1 when the bytes cannot start a frame of ours.
    static qint64 frameLength(const QByteArray &head);
    // A complete frame (exactly frameLength bytes) read back; nothing when
    // it is not one.
    static std::optional<InstanceRequest> decode(const QByteArray &frame);
};
