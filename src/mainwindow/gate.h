#pragma once
#include "engine/renamemode.h"
#include "engine/renameoptions.h"

#include <QString>

// Everything the validation gate reads, taken from the controls at the moment
// of the call, so the rule itself is a pure function.
struct GateInputs {
    int fileMode = 0;
    int chkFiles = 1, chkDirs = 0;
    bool filesEnabled = true, dirsEnabled = true;
    int fileEntries = 0, dirEntries = 0; // lstFiles(fileMode), lstDirs(fileMode)
    int chkSub = 0;
    bool subUncheckedAtStartup = false;    // the option that unticks "Subdirectories" at every start is on
    RenameMode mode = RenameMode::Replace; // the selected rename mode
    int onlySelectedActive = 0;
    int selectedCount = 0;
    int batchCount = 0; // items of the batch-replace list
    // A run nobody watches (/e and /x): no row can be selected there, so
    // "Only Rename Selected" with none selected refuses every mode, the
    // attributes tab included.
    bool unattended = false;
    RenameOptions options;
};

struct GateVerdict {
    bool enabled = false;
    int files = 0;
    int dirs = 0;
    QString refusal;            // which rule turned "Rename!" off; empty when it is on
    QString countsText() const; // "N Files, M Directories"
};

GateVerdict judgeGate(const GateInputs& in);

// The number a box's text begins with (optional sign, then digits), clamped to
// the 16-bit range; a text that does not begin with a number counts as 0. Never fails.
int gateNumber(const QString& text);

// The 27 tags of MP3 names; the gate wants at least one in the pattern.
extern const char* const kMp3Tags[27];
