// Runs one of the host's reading tools (pdftotext, pdfinfo, unzip) on a file the test wrote and
// returns its standard output, or "<failed: program>" when it could not run or failed.
//
// Under Wine the tools are the Linux machine's: Wine starts a Unix program, but hands back no
// process to wait on and gives it Wine's own output. There the tool runs through a shell script
// that writes its output to a file and then, by renaming, a file with its exit status, which the
// test waits for (at most a minute, as for a tool run directly).
#pragma once

#include <QString>
#include <QStringList>

namespace ventora::testing {

QString run_host_tool(const QString& program, const QStringList& args);

}  // namespace ventora::testing
