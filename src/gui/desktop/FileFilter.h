#pragma once
// File dialog filters: the program writes them in the form "Name|*.a;*.b|Name2|*.c||"; Qt
// wants "Name (*.a *.b);;Name2 (*.c)".

#include <QString>
#include <string>

namespace tovin {

// Each name keeps its words; a pattern list in parentheses at its end is replaced by the real
// patterns, and "*.*" becomes "*" (on Linux a file name need not hold a dot).
QString ToQtFileFilter(const std::string& filter);

} // namespace tovin
