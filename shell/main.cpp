// The lesson's entry point. The windows and the lesson flow are not built yet; until they are, the
// program says so instead of pretending to run.
#include <cstdio>

int main() {
  std::fputs("tavrin: the lesson's windows are not built yet; run `make test` for the engine.\n",
             stderr);
  return 0;
}
