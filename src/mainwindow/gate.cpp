#include "mainwindow/gate.h"
#include "engine/textutil.h"

#include <algorithm>

const char* const kMp3Tags[27] = {
    "<ARTIST>",   "<TITLE>",    "<ALBUM>",      "<YEAR>",      "<COMMENT>",   "<GENRE>", "<TRACK>",
    "<TRACKN>",   "<LENGTH>",   "<LENGTHS>",    "<BITRATE>",   "<MPEG>",      "<LAYER>", "<STEREO>",
    "<SMODE>",    "<FREQ>",     "<FREQS>",      "<SIZEB>",     "<SIZE>",      "<NAME>",  "<EXT>",
    "<FULLNAME>", "<COMPOSER>", "<ORIGARTIST>", "<COPYRIGHT>", "<ENCODEDBY>", "<BPM>",
};

QString GateVerdict::countsText() const
{
    return QStringLiteral("%1 Files, %2 Directories").arg(files).arg(dirs);
}

int gateNumber(const QString& text)
{
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+')))
        negative = text[i++] == QLatin1Char('-');
    long long n = 0;
    bool any = false;
    while (i < text.size() && text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9')) {
        any = true;
        n = std::min<long long>(n * 10 + (text[i++].unicode() - '0'), 1000000);
    }
    if (!any)
        return 0;
    return int(std::clamp<long long>(negative ? -n : n, -32768, 32767));
}

static bool partsRuleFails(const QString& format, const QString& parts)
{
    bool inUse = false;
    for (int k = 1; k <= 9; ++k) {
        const QString tag = QStringLiteral("<%%1>").arg(k);
        if (format.contains(tag, Qt::CaseInsensitive) && parts.contains(tag, Qt::CaseInsensitive))
            inUse = true;
    }
    if (inUse) {
        for (int k = 1; k <= 9; ++k) {
            const QString tag = QStringLiteral("<%%1>").arg(k);
            const qsizetype first = parts.indexOf(tag, 0, Qt::CaseInsensitive);
            if (first >= 0 && parts.indexOf(tag, first + 4, Qt::CaseInsensitive) >= 0)
                return true;
        }
    }
    return parts.contains(QLatin1String("<%0>"), Qt::CaseInsensitive);
}

static bool modeRulePasses(const GateInputs& in)
{
    const RenameOptions& o = in.options;
    switch (in.mode) {
    case RenameMode::Replace:
        if (o.replaceBatch)
            return in.batchCount > 0;
        if (o.findText.isEmpty())
            return false;
        if (o.caseSensitive != 0)
            return o.findText != o.replaceText;
        // The one-to-one mapping the rename uses: "ß" and "SS" are different texts.
        return upperText(o.findText) != upperText(o.replaceText);
    case RenameMode::Case:
        return !(o.nameCase == 0 && o.extCase == 0 && o.useExceptions == 0);
    case RenameMode::Attrib:
        if (o.dateMode)
            return o.setCreated != 0 || o.setAccessed != 0 || o.setModified != 0;
        return !(o.attrReadOnly == 2 && o.attrHidden == 2 && o.attrSystem == 2 && o.attrArchive == 2);
    case RenameMode::AddCrop:
        if (!o.cropMode)
            return !o.addText.isEmpty() && !o.addPos.isEmpty() && gateNumber(o.addPos) >= 0;
        return !o.cropCount.isEmpty() && gateNumber(o.cropCount) != 0 && !o.cropPos.isEmpty() &&
               gateNumber(o.cropPos) >= 0;
    case RenameMode::Mp3:
        if (o.mp3Format.isEmpty())
            return false;
        return std::any_of(std::begin(kMp3Tags), std::end(kMp3Tags),
                           [&](const char* t) { return o.mp3Format.contains(QLatin1String(t), Qt::CaseInsensitive); });
    case RenameMode::Format:
        if (o.detectMode)
            return true;
        return !o.formatText.isEmpty() && !partsRuleFails(o.formatText, o.formatParts);
    case RenameMode::Enum: {
        if (o.normalizeMode)
            return !o.normalizeWidth.isEmpty();
        if (!o.enumFormat.contains(QLatin1String("<ENUM>"), Qt::CaseInsensitive) || o.enumStart.isEmpty() ||
            o.enumStep.isEmpty() || o.enumDigits.isEmpty())
            return false;
        // The whole padding text must be a number; pasted text that is not one refuses the run.
        bool ok = false;
        const double zeros = o.enumDigits.trimmed().toDouble(&ok);
        return ok && zeros != 0;
    }
    case RenameMode::Space:
        return o.trimLeading != 0 || o.trimTrailing != 0 || o.shrinkSpaces != 0;
    }
    return false;
}

GateVerdict judgeGate(const GateInputs& in)
{
    GateVerdict v;
    bool usable;
    if (in.fileMode == 0) {
        v.files = in.chkFiles != 0 ? in.fileEntries : 0;
        v.dirs = in.chkDirs != 0 ? in.dirEntries : 0;
        usable = (in.filesEnabled && in.chkFiles == 1 && in.fileEntries > 0) ||
                 (in.dirsEnabled && in.chkDirs == 1 && in.dirEntries > 0);
    } else {
        v.files = in.fileEntries;
        v.dirs = in.dirEntries;
        usable = in.fileEntries > 0 || in.dirEntries > 0;
    }
    if (!usable)
        return v;
    if (in.mode != RenameMode::Attrib && in.onlySelectedActive == -1 && in.selectedCount == 0)
        return v;
    v.enabled = modeRulePasses(in);
    return v;
}
