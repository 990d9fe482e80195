#pragma once

struct ExecuteHost;

// The Undo command: after "Undo last operation?" it reverses the last run from
// the undo store — renames back to the exact recorded names (no tag, no map),
// attributes and file times restored — removes the directories the run created
// (last first), reloads the lists and puts their order and selection back.
// Does nothing while a run or another Undo is in progress.
void runUndo(ExecuteHost& h);
