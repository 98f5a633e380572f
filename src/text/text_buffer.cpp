#include "text/text_buffer.h"

#include <algorithm>

namespace intcalc {

void RemoveBlanks(TextSpan buffer) {
  char* const begin = buffer.Storage();
  // A copy of the blank, not a reference to the inline constant: mingw's linker, under
  // link-time optimisation, warns that it finds no symbol for such a reference.
  char* const end = std::remove(begin, begin + buffer.Length(), char{kBlank});
  buffer.SetLength(static_cast<TextLength>(end - begin));
}

}  // namespace intcalc
