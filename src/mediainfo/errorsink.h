#pragma once
#include <QString>
#include <functional>

// Where the media readers write their error-log lines; empty = nowhere. The
// readers take it as an input so that they depend on no log of their own.
using ErrorSink = std::function<void(const QString& line)>;
