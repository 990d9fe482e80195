#pragma once
#include <QString>
#include <QStringList>

class Mp3Library;
struct RenameOptions;

// Names of the Mp3 rename mode, built from a file's MP3 tags, its audio stream
// and its own name and size.

// Builds the new name (base name and extension) of the file loaded in
// `mp3Library` from options.mp3Format: its 27 tags ("<ARTIST>", "<TRACKN>",
// "<LENGTH>", "<COMPOSER>", ...) are replaced by their values, anything else is
// copied. Returns "" for an empty format, for an unfilled tag under
// mp3OnlyFilledTags, and for an empty result without mp3AddExtension. The
// caller applies the sub-directory tag and the forbidden-character map to the
// result; text that comes from the file or its name never forms that tag.
// `name` is the current name without its directory, `fileSize` its length.
QString formatMp3Name(const Mp3Library& mp3Library, const QString& name, qint64 fileSize, const RenameOptions& options);

// The items of the Mp3 panel's tag chooser (cmbAddMp3Tag), in order: the 27
// tags' captions ("Artist <ARTIST>", ...) and last "Move To SubDir <\>".
// Choosing one inserts its text from the last "<" on.
QStringList mp3TagChooserItems();

// The filter "Only process files with .mp3 extension.": false when it is ticked
// and the text after the name's last "." (the whole name when it has none) is
// not "mp3" in lower case.
bool passesMp3Filter(const QString& name, const RenameOptions& options);

// One file's new name in the Mp3 mode, exactly as the preview's "Mp3" row and
// the MP3 pass compute it: the filter above, then reset and load of
// dir + name, then formatMp3Name with the file's length when the load answered
// true. "" means no new name: the preview shows an empty cell, the pass leaves
// the file as it is (renameFile with an empty name). `dir` ends with "/".
//
// Throws platform::Failure when `mp3Library` is null (its creation failed at
// start-up) and the file passed the filter, or when the component fails. The
// preview then ends with its error line of step 11; the pass ends through its
// failure path, logging "Error N (description) executeMp3: Failed To Execute",
// and processes no further file.
QString mp3NewName(Mp3Library* mp3Library, const QString& dir, const QString& name, const RenameOptions& options);
