// Whether the Internet answers: the link page's infrastructure picture
// stands for a link that reaches it, the missing-Internet picture for one
// that does not. Both block; the status-picture thread calls them.
#pragma once
#include <string>

// Opens one of five large public portals, chosen at random: one attempt.
bool TestInternetConnection();
// Whether Url opens over WinINet; nothing is read from it. Every handle
// opened is closed again. An empty Url gives false.
bool OpenUrlTest(const std::string& Url);
