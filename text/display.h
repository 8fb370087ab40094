// The display edge: texts are GBK bytes everywhere in the program and become
// UTF-16 only where they are drawn or shown, so the bar reads right whatever
// the system's ANSI code page.
#pragma once
#include <string>
#include <string_view>

namespace text {

std::wstring gbkToWide(std::string_view gbk);
// Paths and INI values are in the system's ANSI code page.
std::wstring ansiToWide(std::string_view ansi);

}  // namespace text
