#include "engine/processpart.h"

ProcessPart splitProcessPart(const QString& name, const RenameOptions& options)
{
    ProcessPart s;
    const bool doName = options.processName == 1;
    const bool doExt = options.processExt == 1;
    if (doName && doExt) {
        s.part = name;
        return s;
    }
    s.kind = doExt ? ProcessPart::Kind::Extension : ProcessPart::Kind::Name;
    const qsizetype dot = name.lastIndexOf(u'.'); // 0-based; -1 when none
    if (dot <= 0) {
        // No extension: the extension part is empty, the name part is all of it.
        if (s.kind == ProcessPart::Kind::Extension)
            s.aside = name;
        else
            s.part = name;
        return s;
    }
    s.trailingDot = dot == name.size() - 1;
    const QString base = name.left(dot);
    const QString ext = name.mid(dot + 1);
    if (s.kind == ProcessPart::Kind::Name) {
        s.part = base;
        s.aside = ext;
    } else {
        s.part = ext;
        s.aside = base;
    }
    return s;
}

QString joinProcessPart(const QString& part, const ProcessPart& split)
{
    if (split.kind == ProcessPart::Kind::Whole)
        return part;
    if (split.kind == ProcessPart::Kind::Name) {
        if (split.aside.isEmpty())
            return split.trailingDot && !part.isEmpty() ? part + u'.' : part;
        if (part.isEmpty())
            return split.aside;
        return part + u'.' + split.aside;
    }
    if (split.aside.isEmpty())
        return part;
    if (part.isEmpty())
        return split.trailingDot ? split.aside + u'.' : split.aside;
    return split.aside + u'.' + part;
}
