#pragma once

#include "mainwindow/documentfiles.h"

#include <QTest>

#include <optional>

// Runs Save Document and waits for it to end (the file is written on a
// worker); whether the file was written.
inline bool documentSaved(DocumentFiles *files)
{
    std::optional<bool> written;
    files->saveDocument([&written](bool bWritten) { written = bWritten; });
    return QTest::qWaitFor([&written] { return written.has_value(); }, 30000) && *written;
}
