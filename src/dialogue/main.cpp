#include "dialogue/main_loop.h"

int main() {
  return intcalc::RunCalculator();
}
