#pragma once
#include <functional>
#include <QString>

// Where the media readers write their error-log lines; empty = nowhere. The
// readers take it as an input so that they depend on no log of their own.
using ErrorSink = std::function<void(const QString& line)>;
