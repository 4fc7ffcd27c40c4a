#pragma once
// Where tests and benchmarks put the pictures they draw: the folder
// ORVA_TEST_PICTURES names, for someone who wants to look at them, or else
// a temporary folder removed at exit, so a run leaves nothing where it was
// started.

#include <QDir>
#include <QString>
#include <QTemporaryDir>

namespace testpictures {

// The path of the picture Name.
inline QString PicturePath(const QString &Name)
{
    const QString named = qEnvironmentVariable("ORVA_TEST_PICTURES");
    if (!named.isEmpty()) {
        QDir().mkpath(named);
        return QDir(named).filePath(Name);
    }
    static QTemporaryDir scratch;
    return QDir(scratch.path()).filePath(Name);
}

} // namespace testpictures
