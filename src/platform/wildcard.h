#pragma once
#include <QString>

namespace platform {

// Wildcard match with the rules users know from other desktops: "*" and "?",
// case-insensitive; "*.*" and the empty pattern match every name; a pattern
// ending in ".*" also matches the name without any dot ("readme.*" matches "readme").
bool matchesPattern(QStringView name, QStringView pattern);

} // namespace platform
