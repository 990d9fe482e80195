#pragma once
#include <QString>

class Logs;

// The character map that every computed name passes through, and the
// sub-directory tag "<\>" that survives it as a "/".

// The internal stand-in for the tag while the map runs. It is built from
// non-characters that no typed text holds, so that a name on disk never
// turns into a tag by accident.
extern const QString SubDirMarker;
// The tag as the user types it.
extern const QString SubDirTag;

// Applies the nine replacements in their fixed order to `name` itself and
// returns the result. A failure is logged with the name mapped so far and gives
// the empty text.
QString replaceForbiddenChars(QString& name, Logs* logs = nullptr);
// The preview's form: tag protected, map applied, tag turned into "/".
QString applyTagAndMap(const QString& newName);
// Tag protected and map applied; the markers are left for the caller (the rename
// of a run creates the directories one level at a time).
QString protectTagAndMap(const QString& newName);
// Text that comes from an existing name or from a file (a title, a tag, a media
// value) must never create a directory: its "<\>" becomes the text the map makes
// of those characters ("[-]"), and marker characters are disarmed.
QString neutralizeTags(const QString& text);

// The name a computed new name becomes on disk, with the sub-directory tags
// left as markers for the level-by-level creation. Control characters
// (isControlUnit, engine/textutil.h) are dropped first, whichever rule or text
// made them (typed, pasted, stored or read). A "<\>" (or marker text) that the
// old name already held is never a tag: when the old name holds one, every tag
// of the new name is rendered by the map instead.
QString taggedForm(const QString& oldName, const QString& rawNewName);
// The marker-resolved form: markers become "/", empty path parts are dropped.
QString resolvedForm(const QString& taggedName);

// A resolved name with a "." or ".." level: the rename would name the folder
// itself or leave it. Such a name is a failed item, never renamed.
enum class DotLevel { None, Here, Up };
DotLevel dotLevelOf(const QString& resolvedName);

// The system's limit on one level of a path (a file or directory name), in
// bytes of UTF-8.
inline constexpr qsizetype MaxLevelBytes = 255;
// A level of a resolved name that the system would refuse as too long.
bool levelTooLong(QStringView resolvedName);

// The longest name a rule may compute, in UTF-16 units. A longer result is a
// failed item: the transforms stop growing it once it is longer, the preview
// shows nothing for it and a run gives it its warning.
inline constexpr qsizetype MaxNameLength = 4096;
inline bool nameTooLong(const QString& name)
{
    return name.size() > MaxNameLength;
}
// Cuts a name that grew past the limit to one unit more than the limit, so it
// stays too long and bounded.
inline bool stopGrowing(QString& name)
{
    if (!nameTooLong(name))
        return false;
    name.truncate(MaxNameLength + 1);
    return true;
}

// The text without its control characters (isControlUnit): a value read from
// a file (a title, a tag, a media field, a file-type extension) before it
// becomes part of a name, and every computed name in taggedForm.
QString withoutControlChars(const QString& value);

// Why a computed name gets no new name: the preview shows nothing for it and
// a run gives it a counted warning that says why.
enum class NameRefusal {
    None,
    TooLong,               // past MaxNameLength
    HereLevel,             // a "." level
    UpLevel,               // a ".." level: it would leave the folder
    EmptyWithoutControls,  // the entry's own level held only control characters
    HiddenWithoutControls, // a level starts with "." once the controls before it are gone
    LevelTooLong,          // a level over MaxLevelBytes
};

// The checks that keep a resolved name inside its folder: past MaxNameLength,
// or a "." or ".." level; None when it passes them.
NameRefusal pathRefusal(const QString& resolvedName);

// A computed new name in the forms a rename needs, and whether it may have them.
struct NameOnDisk {
    QString tagged;   // taggedForm: markers left for the level-by-level creation
    QString resolved; // resolvedForm: the entry's name afterwards, "/" between levels
    NameRefusal refusal = NameRefusal::None;
};
// The one judgement of a computed name (not empty, not the old name) that
// the preview and a run share.
NameOnDisk nameOnDisk(const QString& oldName, const QString& rawNewName);
