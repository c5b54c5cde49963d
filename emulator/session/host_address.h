// A Telnet host typed as "name:port" (the host-name prompt takes both in one field): the name and
// the port apart, so that the host name and the Telnet port settings say what the connection uses.
#pragma once

#include <string>

// True when `text` is a name, a ':' and a port number 1-65535 of digits alone; `host` and `port`
// then hold the two parts. Otherwise false and nothing is changed.
bool SplitHostPort(const std::string& text, std::string& host, int& port);
