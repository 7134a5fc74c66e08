#pragma once

#include "mainwindow/documentcommands.h"

#include <QSignalSpy>
#include <QtTest>

#include <memory>
#include <optional>

// The document commands read and write on workers and finish later; these
// start one and wait for its end.

// True when the export that `start` asks for wrote its file.
inline bool exported(DocumentCommands *pCommands, const std::function<void()> &start)
{
    QSignalSpy finished(pCommands, &DocumentCommands::signal_ExportFinished);
    start();
    if (finished.isEmpty() && !finished.wait(60000))
        return false;
    return finished.first().first().toBool();
}

// True when the save chose a file and wrote it.
inline bool saved(DocumentCommands *pCommands, int iSave)
{
    auto told = std::make_shared<std::optional<bool>>();
    pCommands->SelectSave(iSave, [told](bool bWritten) { *told = bWritten; });
    return QTest::qWaitFor([&] { return told->has_value(); }, 60000) && **told;
}

// True once every file was opened or told.
inline bool opened(DocumentCommands *pCommands, const QStringList &files, bool bIntoCurrentPage)
{
    auto done = std::make_shared<bool>(false);
    pCommands->OpenImages(QStringLiteral("Open"), files, bIntoCurrentPage,
                          [done] { *done = true; });
    return QTest::qWaitFor([&] { return *done; }, 60000);
}
