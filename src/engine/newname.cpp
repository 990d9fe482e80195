#include "engine/newname.h"
#include "engine/addcrop.h"
#include "engine/convertcase.h"
#include "engine/findreplace.h"
#include "engine/forbidden.h"
#include "engine/normalize.h"
#include "engine/processpart.h"
#include "engine/spaces.h"
#include "engine/textutil.h"

QString nameWithDetectedExtension(const QString& name, const QString& ext, bool keepExt)
{
    if (name.endsWith(QLatin1String("dll")) || ext.isEmpty())
        return {};
    if (keepExt) {
        if (name.endsWith(ext))
            return {};
        return name + QLatin1Char('.') + ext;
    }
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot >= 0)
        return name.left(dot) + QLatin1Char('.') + ext;
    return name + QLatin1Char('.') + ext;
}

bool mp3FilterPasses(const QString& name, const RenameOptions& options)
{
    if (options.mp3OnlyMp3Files != 1)
        return true;
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString ext = dot >= 0 ? name.mid(dot + 1) : name;
    return ext.toLower() == QLatin1String("mp3");
}

QString computeNewName(const NameRequest& r, const RenameOptions& o, const NameServices& s, int& step)
{
    switch (r.mode) {
    case RenameMode::Replace: {
        step = 8;
        const ProcessPart split = splitProcessPart(r.name, o);
        QString part;
        if (o.replaceBatch)
            part = replaceBatch(split.part, s.tables->batchReplaceList, o, *s.logs);
        else
            part = replaceSingle(split.part, o, *s.logs);
        return joinProcessPart(part, split);
    }
    case RenameMode::Case:
        step = 9;
        return convertCase(r.name, o, s.tables->exceptionWords, *s.random);
    case RenameMode::AddCrop: {
        step = 10;
        const ProcessPart split = splitProcessPart(r.name, o);
        return joinProcessPart(addCropChars(split.part, o), split);
    }
    case RenameMode::Mp3:
        step = 11;
        if (!mp3FilterPasses(r.name, o) || !s.mp3Name)
            return {};
        return s.mp3Name(r.dir, r.name).value_or(QString());
    case RenameMode::Enum: {
        step = 12;
        if (!o.normalizeMode)
            return enumerateName(r.name, r.enumCounter, o, r.enumContext);
        const ProcessPart split = splitProcessPart(r.name, o);
        return joinProcessPart(normalizeNumbers(split.part, leadingInt16(o.normalizeWidth), s.logs), split);
    }
    case RenameMode::Format:
        step = 13;
        if (o.detectMode) {
            if (r.name.endsWith(QLatin1String("dll")) || !s.detectExtension)
                return {};
            return nameWithDetectedExtension(r.name, withoutControlChars(s.detectExtension(r.dir, r.name)),
                                             o.detectKeepExt == 1);
        }
        return s.formatName ? s.formatName(r.dir, r.name) : QString();
    case RenameMode::Space:
        step = 14;
        return trimSpaces(r.name, o);
    case RenameMode::Attrib:
        break;
    }
    step = 7;
    return {};
}
