#pragma once
#include <QString>
#include <QStringList>

// The renamer's command line: a start directory with an optional file pattern
// ("/p"), a start-mode word ("/e") and the exit flag ("/x").
//
// The program receives an argument vector and every absolute path begins with
// "/", so the switches are whole arguments: "/p", "/e" and "/x", and an argument
// that begins with "/p " is "/p" followed by the rest. The arguments between two
// switches, joined with one blank, are the text of the earlier one. Without any
// "/p" or "/e", all arguments joined with one blank are the path and "/x" means
// nothing.

// A path text that names an existing entry exactly is taken as it is; any
// other is trimmed of blanks and loses its double quotes. A relative path is
// made absolute against the current directory.
struct CommandLine {
    QString pathText;       // absolute or empty
    QString startMode;      // blanks trimmed at both ends, quotes kept
    int exitAfterRun = 0;   // -1 when "/x" was met among switches
    bool pathGiven = false; // "/p" was met, or the whole line is the path
    QString pathGivenText;  // the path text as given, before any clean-up
    bool modeGiven = false; // "/e" was met, even with no word after it
    // Why the path text cannot be looked at (bytes that were not UTF-8, longer
    // than a path may be); the path text is then empty. Empty when it can.
    QString pathProblem;
};

CommandLine scanCommandLine(const QStringList& arguments);

// The start directory and file pattern that a path text names.
struct StartPath {
    QString path;    // empty, or ending in "/"
    QString pattern; // the name given after the directory, or empty
};

// A path text not ending in "/" is a directory (then "/" is appended) or else is
// split at its last "/" into directory and pattern. A last part with "*" or "?"
// that is not itself the name of a directory counts as a directory only when it
// matches directories and no file. A last part without them that names no
// entry exactly but matches exactly one entry in another letter case, a
// directory (not a link), is that directory. "/" stays the root.
StartPath splitStartPath(const QString& pathText);

// Whether a directory text names a directory that can be listed.
bool directoryListable(const QString& directory);

// Why a directory text names no directory that can be listed ("names nothing
// that exists", "cannot be read: Permission denied" ...); empty when it does.
QString directoryProblem(const QString& directory);

// Why a run nobody watches cannot work on a start path whose directory can be
// listed: the directory cannot be entered (no search permission), or a last
// level without "*" or "?" names no entry of it, as a mistyped name does, or
// names none exactly and more than one in another letter case.
// Empty when it can. A window start opens such a path as the rules above say.
QString unattendedStartProblem(const StartPath& start);

// Why a command line whose exit switch has no run to end ("/x" among the
// switches, no "/e") is refused where nobody can see the window, with a hint
// where an argument looks like a mode switch that is none ("/E", or "/e" and
// its word in one argument). Empty when "/x" is not such a switch or "/e" was
// given.
QString exitWithoutRunProblem(const QStringList& arguments);
