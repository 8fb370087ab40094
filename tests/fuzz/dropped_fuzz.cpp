// Any dropped text and any shortcut target: the name to load keeps the text,
// and a program path is always the target's own beginning, ending in ".exe"
// at the end of the target or before a blank.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "launcher/dropped.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const std::string name = launcher::shortcutFileName(text);
  if (name.compare(0, text.size(), text) != 0) std::abort();
  if (name.size() != text.size() && name.size() != text.size() + 4) std::abort();

  const auto path = launcher::programPath(text);
  if (!path) return 0;
  const std::string& p = *path;
  if (p.size() < 4 || text.compare(0, p.size(), p) != 0) std::abort();
  std::string tail = p.substr(p.size() - 4);
  for (char& c : tail) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
  if (tail != ".exe") std::abort();
  if (p.size() != text.size() && text[p.size()] != ' ') std::abort();
  return 0;
}
