/* The floor every tally figure is measured against: a plain C loop that
 * lists the current folder's *.ans files and opens, reads whole and closes
 * each one, nothing else. */
#ifndef TABULON_BENCH_READ_LOOP_H_
#define TABULON_BENCH_READ_LOOP_H_

#ifdef __cplusplus
extern "C" {
#endif

/* Reads every *.ans file of the current folder once; returns the number of
 * bytes read (-1 when the folder cannot be listed). */
long long ReadEveryAnswerFile(void);

/* The same with the share mode Tabulon keeps on Linux: each file checked
 * to be a regular file and held under a shared open-file-description lock
 * while it is read. Not a target's reference: it shows how much of the gap
 * the lock alone takes. */
long long ReadEveryAnswerFileLocked(void);

#ifdef __cplusplus
}
#endif

#endif /* TABULON_BENCH_READ_LOOP_H_ */
