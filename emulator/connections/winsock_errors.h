// The texts of the socket library's error codes, as the user sees them.
#pragma once

const char* WinsockErrorText(int code);
