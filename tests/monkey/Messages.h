#pragma once
// The message boxes the program may show while the monkey plays. Any other text, or one of
// these where the monkey's world cannot cause it (a write failing in its writable folder), is a
// fault the run reports.

#include <QString>

namespace tovin::monkey {

bool IsExpectedMessage(const QString& caption, const QString& text);

} // namespace tovin::monkey
