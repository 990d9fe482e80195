#pragma once
#include "engine/renameoptions.h"

#include <QString>

// Inserts options.addText, or removes options.cropCount characters, at a
// position counted from the beginning or from the end of text. A position is
// the number of characters that stay on its counted side; one beyond the text
// leaves it unchanged, and an empty text stays empty. The position and count
// boxes are read as 16-bit numbers (platform::Failure 6 outside that range);
// a negative position is platform::Failure 5, a negative count removes nothing.
QString addCropChars(const QString& text, const RenameOptions& options);
