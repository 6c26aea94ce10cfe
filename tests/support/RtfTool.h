#pragma once

// The vasora-rtf program run as a teacher runs it, from the path the test's environment names.

#include <QProcess>
#include <QString>
#include <QStringList>

namespace vasora::test {

struct ToolRun {
    int code = -1;
    QString out, err;
};

inline ToolRun rtfTool(const QStringList& args) {
    QProcess p;
    p.start(qEnvironmentVariable("VASORA_RTF_TOOL"), args);
    p.waitForFinished(60000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

}  // namespace vasora::test
