// Stand-in for the HotScreen engine until it lands: the 3270 engine evaluates the rules after each
// host record and keystroke string. This whole file goes when the HotScreen engine does.
#include "engine/ibm3270/outside_calls.h"

void HotScreenEvaluate() {}
