#pragma once
#include <QHash>
#include <QPixmap>
#include <QSize>
#include <QString>

// A transparent picture of `size` device-independent pixels at the screen's
// pixel ratio, so an icon drawn into it stays sharp on a scaled screen.
QPixmap blankPicture(QSize size);

// The desktop's pictures for entries: the icon theme's icon of the entry's MIME
// type, found from the name's extension alone (the file is not read), with the
// style's generic file or folder icon where the theme has none. Icon and cursor
// files show their own picture: the one nearest the drawn size, its true size
// taken from its header and bounded, so only that one picture is decoded. Drawn pictures are kept by what they show, so
// every directory of a list holds the same shared pixmap.
class ShellIcons {
public:
    // The 16 x 16 picture of an entry (isDir -1 for a directory).
    QPixmap small(const QString& path, qint16 isDir, const QString& extension);
    // A large cell with the entry's 32 x 32 picture centred in it (the corner
    // rounded to whole pixels, halves to even); a cell below 32 shows its middle.
    QPixmap large(const QString& path, qint16 isDir, const QString& extension, QSize cell);
    // Drops every kept picture (the icon lists were emptied).
    void clear() { shared_.clear(); }

private:
    QPixmap picture(const QString& path, qint16 isDir, const QString& extension, int size, QSize cell);
    QHash<QString, QPixmap> shared_;
};
