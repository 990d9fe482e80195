#pragma once
#include "engine/renameoptions.h"

#include <QString>
#include <QStringList>

class RandomSource;

// The "Case" mode on a whole name: options.nameCase on the base name,
// options.extCase on the text after the last ".", then, with
// options.useExceptions 1, every exception word that stands between separators
// written as stored. A final "." stays (a name "abc." keeps its dot). Case
// mapping is one-to-one per code point, so the length never changes. The
// "Random" modes draw from `random`. Throws nothing for any input.
QString convertCase(const QString& name, const RenameOptions& options, const QStringList& exceptionWords,
                    RandomSource& random);

// The option buttons of the two frames, by index.
enum NameCaseMode { NameNoChange, NameUpper, NameLower, NameSentence, NameWords, NameInvert, NameRandom };
enum ExtCaseMode { ExtNoChange, ExtUpper, ExtLower, ExtCapitalize, ExtInvert, ExtRandom };
