/* read_loop FOLDER: times the reference reading loop in FOLDER and prints
 * "milliseconds bytes". A first loop warms the process as Tabulon's own
 * figures are warm (they are timed in a running window or after a first
 * round); the second is timed. */
#include <stdio.h>
#include <time.h>
#include <unistd.h>

#include "read_loop.h"

int main(int argc, char** argv) {
  if (argc != 2 || chdir(argv[1]) != 0) {
    fprintf(stderr, "usage: read_loop FOLDER\n");
    return 2;
  }
  if (ReadEveryAnswerFile() < 0) return 1;
  struct timespec start, end;
  clock_gettime(CLOCK_MONOTONIC, &start);
  long long bytes = ReadEveryAnswerFile();
  clock_gettime(CLOCK_MONOTONIC, &end);
  double ms = (double)(end.tv_sec - start.tv_sec) * 1e3 +
              (double)(end.tv_nsec - start.tv_nsec) / 1e6;
  printf("%.3f %lld\n", ms, bytes);
  return bytes < 0;
}
