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

// Why the mode's rule refuses the run, empty when it passes.
static QString modeRuleRefusal(const GateInputs& in)
{
    const RenameOptions& o = in.options;
    auto refused = [](const char* why) { return QString::fromLatin1(why); };
    switch (in.mode) {
    case RenameMode::Replace:
        if (o.replaceBatch)
            return in.batchCount > 0 ? QString() : refused("the batch replace list is empty");
        if (o.findText.isEmpty())
            return refused("the Find text is empty");
        if (o.caseSensitive != 0)
            return o.findText != o.replaceText ? QString() : refused("Find and Replace are the same text");
        // The one-to-one mapping the rename uses: "ß" and "SS" are different texts.
        return upperText(o.findText) != upperText(o.replaceText)
                   ? QString()
                   : refused("Find and Replace are the same text (Case Sensitive is off)");
    case RenameMode::Case:
        return !(o.nameCase == 0 && o.extCase == 0 && o.useExceptions == 0)
                   ? QString()
                   : refused("Convert Case changes nothing (No Change twice, Use Exceptions off)");
    case RenameMode::Attrib:
        if (o.dateMode)
            return o.setCreated != 0 || o.setAccessed != 0 || o.setModified != 0
                       ? QString()
                       : refused("none of Created, Accessed and Modified is ticked");
        return !(o.attrReadOnly == 2 && o.attrHidden == 2 && o.attrSystem == 2 && o.attrArchive == 2)
                   ? QString()
                   : refused("all four attributes are left unchanged");
    case RenameMode::AddCrop:
        if (!o.cropMode) {
            if (o.addText.isEmpty())
                return refused("the Add text is empty");
            if (o.addPos.isEmpty())
                return refused("the Add position is empty");
            return gateNumber(o.addPos) >= 0 ? QString() : refused("the Add position is below 0");
        }
        if (o.cropCount.isEmpty())
            return refused("Crop count is empty");
        if (gateNumber(o.cropCount) == 0)
            return refused("Crop count is 0");
        if (o.cropPos.isEmpty())
            return refused("the Crop position is empty");
        return gateNumber(o.cropPos) >= 0 ? QString() : refused("the Crop position is below 0");
    case RenameMode::Mp3:
        if (o.mp3Format.isEmpty())
            return refused("the MP3 pattern is empty");
        return std::any_of(std::begin(kMp3Tags), std::end(kMp3Tags),
                           [&](const char* t) { return o.mp3Format.contains(QLatin1String(t), Qt::CaseInsensitive); })
                   ? QString()
                   : refused("the MP3 pattern holds no MP3 tag");
    case RenameMode::Format:
        if (o.detectMode)
            return {};
        if (o.formatText.isEmpty())
            return refused("the Format text is empty");
        return partsRuleFails(o.formatText, o.formatParts)
                   ? refused("the parts pattern holds <%0> or a part tag in use twice")
                   : QString();
    case RenameMode::Enum: {
        if (o.normalizeMode)
            return o.normalizeWidth.isEmpty() ? refused("the Normalize width is empty") : QString();
        if (!o.enumFormat.contains(QLatin1String("<ENUM>"), Qt::CaseInsensitive))
            return refused("the Enum format holds no <ENUM>");
        if (o.enumStart.isEmpty() || o.enumStep.isEmpty())
            return refused("the Enum start or step is empty");
        // The whole padding text must be a number; pasted text that is not one refuses the run.
        bool ok = false;
        const double zeros = o.enumDigits.trimmed().toDouble(&ok);
        return ok && zeros != 0 ? QString() : refused("the zero padding is 0 or not a number");
    }
    case RenameMode::Space:
        return o.trimLeading != 0 || o.trimTrailing != 0 || o.shrinkSpaces != 0
                   ? QString()
                   : refused("none of the Space options is ticked");
    }
    return refused("unknown rename mode");
}

// Why the list leaves nothing to rename in the Directory mode.
static QString unusableListRefusal(const GateInputs& in)
{
    if (in.fileEntries == 0 && in.dirEntries == 0)
        return QStringLiteral("there is nothing to rename: the list is empty");
    // Files are wanted, but only folders were found: their files are below,
    // where "Subdirectories" would have looked.
    if (in.fileMode == 0 && in.filesEnabled && in.chkFiles == 1 && in.fileEntries == 0 && in.chkSub == 0) {
        QString why = QStringLiteral("the folder's top level holds no files to rename and \"Subdirectories\" is off");
        if (in.subUncheckedAtStartup)
            why += QStringLiteral(": the option 'Uncheck \"Subdirectories\" at startup.' (options window) unticks "
                                  "it at every start, runs from the command line too");
        return why;
    }
    return QStringLiteral("\"Files\" and \"Directories\" leave nothing to rename in this mode");
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
    if (!usable) {
        v.refusal = unusableListRefusal(in);
        return v;
    }
    if ((in.mode != RenameMode::Attrib || in.unattended) && in.onlySelectedActive == -1 && in.selectedCount == 0) {
        v.refusal = QStringLiteral("Only Rename Selected and no row is selected");
        return v;
    }
    v.refusal = modeRuleRefusal(in);
    v.enabled = v.refusal.isEmpty();
    return v;
}
