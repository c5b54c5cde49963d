// Functions of components that are not in the tree yet (HotScreen), declared by their own names.
// Their owners define them when they land; pending_calls.cpp holds stand-ins until then.
#pragma once


// ---- Shutdown and start-up services of the view extensions.
void HotScreenLoad(const char* file);
void HotScreenFree();
