#pragma once

#include "mainwindow/documentfiles.h"

#include <QtTest>

// Opens `file` as the user's choice would and waits until all its pages are
// in; whether anything opened.
inline bool openWhole(DocumentFiles *files, const QString &file)
{
    auto first = std::make_shared<int>(-1);
    files->openDocumentFile(file, [first](int page) { *first = page; });
    return QTest::qWaitFor([first] { return *first >= 0; }, 20000) && *first > 0;
}
