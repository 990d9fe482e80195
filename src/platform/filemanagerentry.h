#pragma once
#include <optional>
#include <QByteArray>
#include <QString>
#include <vector>

// The folder action "Start Vexor Renamer..." of the file managers, each in its
// own place for user actions. The program is never registered as a handler of
// folders: no MIME association is written anywhere.
namespace platform {

struct FileManagerPlaces {
    QString actions;     // freedesktop file-manager actions (PCManFM-Qt, Caja, ...)
    QString serviceMenu; // KDE service menu (Dolphin)
    QString nemoAction;  // Nemo
    QString thunar;      // Thunar's custom actions, shared with the user's own
    QString oldEntry;    // the folder handler of earlier versions, only ever removed
};

// Below $XDG_DATA_HOME and $XDG_CONFIG_HOME; a relative value is ignored, as
// the base-directory rules say.
FileManagerPlaces fileManagerPlaces();

// Thunar's own actions, which it reads while the user has no file of their
// own: the first Thunar/uca.xml in $XDG_CONFIG_DIRS (default /etc/xdg), the
// order Thunar looks in. Empty when there is none.
QString thunarDefaultsFile();

// A place that could not be written or cleaned: its file, and why, worded to
// follow the path ("is a symbolic link; the action was not added there").
struct FileManagerFailure {
    QString path;
    QString reason;
    bool operator==(const FileManagerFailure&) const = default;
};
using FileManagerFailures = std::vector<FileManagerFailure>;

// One place as a line: its path with control characters shown as "\n" or
// "\xHH", and the reason ("/x/uca.xml is a symbolic link; ... there.").
QString fileManagerFailureLine(const FileManagerFailure& failure);
// The text of the one box that reports them: `heading`, then a line per place.
QString fileManagerFailureText(const QString& heading, const FileManagerFailures& failures);

// The unique id of our element in Thunar's file.
inline constexpr char kThunarActionId[] = "vexorren-start-renamer";

// One argument for a command line that a file manager splits by shell rules:
// in double quotes, '"', '`', '$' and '\' get a backslash and '%' is written
// "%%" (the file managers' own field codes). Empty when the text holds a
// control character, which no such line can carry.
QString quotedCommandArgument(const QString& text);
// The same for an Exec value of a key file: the string escapes come on top, so
// every backslash is doubled.
QString desktopExecArgument(const QString& text);

// The text of each file for `program` (an absolute path); empty when the path
// cannot be written into that format.
QString fileManagerActionText(const QString& program);
QString serviceMenuText(const QString& program);
QString nemoActionText(const QString& program);
QString thunarActionElement(const QString& program);

// Thunar's file with our element put in (`element` given) or taken out (empty
// `element`); every other byte stays. nullopt when the text is not a file of
// custom actions (not UTF-8, not well-formed XML, another root).
std::optional<QByteArray> thunarFileWith(const QByteArray& file, const QString& element);

// Writes all four places (and removes the old folder handler); a failure of one
// never stops the others. A link or any other non-regular file in the place of
// a file of our own is replaced, never written through; Thunar's file, which
// holds the user's actions too, is left alone then and counts as a failure.
// A user without a Thunar file gets a copy of Thunar's defaults with our
// element in it, as Thunar itself starts one, so its own actions stay in the
// menu. Gives the places that failed, none when all went well.
FileManagerFailures writeFileManagerEntries(const QString& program);
// Removes exactly what writeFileManagerEntries writes and the old folder
// handler; a Thunar file that we started goes whole while the rest of it is
// still the copy it was started from. Gives the places that failed.
FileManagerFailures removeFileManagerEntries();

} // namespace platform
