// Clearing the parser state that the character-mode interpreters share in the record.
#include "engine/vt/vt_interpreter.h"

void ResetParserState(SettingsRecord& rec)
{
    rec.SequenceLength = 0;
    rec.PendingIntermediate = 0;
    rec.StringCommandNumber = 0;
    rec.StringCommandLength = 0;
    rec.StatusLineCapture = 0;
    rec.PrinterControllerMode = 0;
    rec.PrinterOffMatch7 = 0;
    rec.PrinterOffMatch8 = 0;
    rec.FunctionKeySkip = 0;
}
