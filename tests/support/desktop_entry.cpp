#include "desktop_entry.h"

#include <QProcess>
#include <QStandardPaths>

QStringList desktopExecArguments(const QString& value, const QString& folder)
{
    QString s;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] == u'\\' && i + 1 < value.size()) {
            const QChar n = value[++i];
            s += n == u's' ? QChar(u' ') : n == u'n' ? QChar(u'\n') : n == u't' ? QChar(u'\t') : n;
        } else {
            s += value[i];
        }
    }
    QStringList args;
    QString cur;
    bool inArg = false, quoted = false;
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s[i];
        if (quoted) {
            if (c == u'\\' && i + 1 < s.size())
                cur += s[++i];
            else if (c == u'"')
                quoted = false;
            else if (c == u'%' && i + 1 < s.size() && s[i + 1] == u'%')
                cur += s[++i];
            else
                cur += c;
        } else if (c == u' ') {
            if (inArg)
                args << cur;
            cur.clear();
            inArg = false;
        } else if (c == u'"') {
            quoted = inArg = true;
        } else if (c == u'%' && i + 1 < s.size()) {
            const QChar code = s[++i];
            cur += code == u'f' ? folder : code == u'%' ? QStringLiteral("%") : QString();
            inArg = true;
        } else {
            cur += c;
            inArg = true;
        }
    }
    if (inArg)
        args << cur;
    return args;
}

QString desktopExecValue(const QString& entryText)
{
    for (const QString& line : entryText.split(u'\n'))
        if (line.startsWith(QLatin1String("Exec=")))
            return line.mid(5);
    return QString();
}

QString desktopFileComplaints(const QString& path)
{
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
    if (tool.isEmpty())
        return QStringLiteral("desktop-file-validate is not installed (package desktop-file-utils)");
    QProcess p;
    p.start(tool, {path});
    if (!p.waitForFinished(30000))
        return QStringLiteral("desktop-file-validate did not finish");
    const QString out = QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError()).trimmed();
    return p.exitCode() == 0 && out.isEmpty() ? QString() : out.isEmpty() ? QStringLiteral("exit code") : out;
}
