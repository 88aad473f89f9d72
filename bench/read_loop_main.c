/* read_loop [--locked] FOLDER: times the reference reading loop in FOLDER
 * (--locked: each file held under the share-mode lock) and prints
 * "milliseconds bytes". A first loop warms the process as Tabulon's own
 * figures are warm (they are timed in a running window or after a first
 * round); the second is timed. */
#include <stdio.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

#include "read_loop.h"

int main(int argc, char** argv) {
  const int locked = argc == 3 && strcmp(argv[1], "--locked") == 0;
  if (argc != 2 + locked || chdir(argv[argc - 1]) != 0) {
    fprintf(stderr, "usage: read_loop [--locked] FOLDER\n");
    return 2;
  }
  long long (*const loop)(void) =
      locked ? ReadEveryAnswerFileLocked : ReadEveryAnswerFile;
  if (loop() < 0) return 1;
  struct timespec start, end;
  clock_gettime(CLOCK_MONOTONIC, &start);
  long long bytes = loop();
  clock_gettime(CLOCK_MONOTONIC, &end);
  double ms = (double)(end.tv_sec - start.tv_sec) * 1e3 +
              (double)(end.tv_nsec - start.tv_nsec) / 1e6;
  printf("%.3f %lld\n", ms, bytes);
  return bytes < 0;
}
