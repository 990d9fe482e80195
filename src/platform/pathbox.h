#pragma once

class QComboBox;
class QString;

namespace platform {

// The path box of the file pane: an editable combo box whose history holds the
// paths read, most recent first, each path once; its text is red while it
// names a path that is not listed.
void rememberPath(QComboBox* box, const QString& path);
void setPathColour(QComboBox* box, bool listable);
bool pathIsRed(const QComboBox* box);

} // namespace platform
