/* x_probe: watches a program's window from outside, on an X display whose
 * root window is black (Xvfb -br), the way a person at the screen would.
 *
 *   x_probe paint CMD [ARG...]
 *     runs CMD and prints the milliseconds from exec to its first painted
 *     window: mapped, and its first pixels no longer the black root.
 *   x_probe session FOLDER X Y CMD [ARG...]
 *     runs CMD, waits for its first paint and for it to go idle, prints
 *     "ready RSS_KB", then obeys lines on standard input:
 *       click  resets the peak memory, clicks at (X, Y) of the window's client
 *              area, prints "clicked MS" when a file is renamed into FOLDER
 *              (the results file being replaced), waits until the program is
 *              idle again and prints "idle PEAK_KB RSS_KB"
 *       quit   ends the program and the probe.
 * Idle: the program's CPU time has not moved for 300 ms. */
#define _GNU_SOURCE
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <errno.h>
#include <poll.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/inotify.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

static double Now(void) {
  struct timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return (double)t.tv_sec * 1e3 + (double)t.tv_nsec / 1e6;
}

static void Fail(const char* what) {
  fprintf(stderr, "x_probe: %s\n", what);
  exit(1);
}

/* A window may go away between the map and a look at it. */
static int IgnoreErrors(Display* d, XErrorEvent* e) {
  (void)d;
  (void)e;
  return 0;
}

static pid_t child = 0;

static pid_t Start(char** argv) {
  pid_t pid = fork();
  if (pid < 0) Fail("fork");
  if (pid == 0) {
    execvp(argv[0], argv);
    _exit(127);
  }
  return pid;
}

static void Stop(void) {
  if (child <= 0) return;
  kill(child, SIGTERM);
  waitpid(child, NULL, 0);
  child = 0;
}

/* True when some pixel of the window's top-left corner is not black. */
static int Painted(Display* d, Window w) {
  XImage* image = XGetImage(d, w, 0, 0, 16, 16, AllPlanes, ZPixmap);
  if (image == NULL) return 0;
  int painted = 0;
  for (int y = 0; y < 16 && !painted; ++y)
    for (int x = 0; x < 16 && !painted; ++x)
      painted = XGetPixel(image, x, y) != 0;
  XDestroyImage(image);
  return painted;
}

/* Starts argv and waits for its first painted top-level window; returns the
 * milliseconds from exec and the window. */
static double StartAndWaitForPaint(Display* d, char** argv, Window* shown) {
  Window root = DefaultRootWindow(d);
  XSelectInput(d, root, SubstructureNotifyMask);
  XSync(d, True);
  double start = Now();
  child = Start(argv);
  Window mapped = 0;
  while (Now() - start < 60000) {
    while (XPending(d)) {
      XEvent event;
      XNextEvent(d, &event);
      if (event.type == MapNotify && event.xmap.event == root &&
          !event.xmap.override_redirect && mapped == 0)
        mapped = event.xmap.window;
    }
    if (mapped != 0 && Painted(d, mapped)) {
      double spent = Now() - start;
      XSelectInput(d, root, NoEventMask);
      *shown = mapped;
      return spent;
    }
    int status;
    if (waitpid(child, &status, WNOHANG) == child) Fail("the program ended");
    usleep(mapped == 0 ? 200 : 500);
  }
  Fail("no window was painted within a minute");
  return 0;
}

static long long CpuTicks(pid_t pid) {
  char path[64], line[1024];
  snprintf(path, sizeof path, "/proc/%d/stat", (int)pid);
  FILE* f = fopen(path, "r");
  if (f == NULL) return -1;
  size_t got = fread(line, 1, sizeof line - 1, f);
  fclose(f);
  line[got] = 0;
  char* p = strrchr(line, ')');
  if (p == NULL) return -1;
  unsigned long long utime = 0, stime = 0;
  /* After the name: state, then fields 4 to 13, then utime and stime. */
  if (sscanf(p + 2, "%*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %llu %llu",
             &utime, &stime) != 2)
    return -1;
  return (long long)(utime + stime);
}

static void WaitForIdle(pid_t pid) {
  long long last = CpuTicks(pid);
  int still = 0;
  while (still < 3) {
    usleep(100000);
    long long now = CpuTicks(pid);
    still = now == last ? still + 1 : 0;
    last = now;
  }
}

static long StatusKb(pid_t pid, const char* field) {
  char path[64], line[256];
  snprintf(path, sizeof path, "/proc/%d/status", (int)pid);
  FILE* f = fopen(path, "r");
  if (f == NULL) return -1;
  long kb = -1;
  size_t length = strlen(field);
  while (fgets(line, sizeof line, f))
    if (strncmp(line, field, length) == 0 && line[length] == ':')
      kb = atol(line + length + 1);
  fclose(f);
  return kb;
}

static void ResetPeak(pid_t pid) {
  char path[64];
  snprintf(path, sizeof path, "/proc/%d/clear_refs", (int)pid);
  FILE* f = fopen(path, "w");
  if (f == NULL || fputs("5", f) < 0 || fclose(f) != 0)
    Fail("cannot reset the peak memory (clear_refs)");
}

static int Session(Display* d, const char* folder, int x, int y,
                   char** argv) {
  int watch = inotify_init1(IN_CLOEXEC);
  if (watch < 0 || inotify_add_watch(watch, folder, IN_MOVED_TO) < 0)
    Fail("inotify");
  Window w;
  StartAndWaitForPaint(d, argv, &w);
  WaitForIdle(child);
  printf("ready %ld\n", StatusKb(child, "VmRSS"));
  fflush(stdout);
  char command[64];
  while (fgets(command, sizeof command, stdin)) {
    if (strncmp(command, "quit", 4) == 0) break;
    if (strncmp(command, "click", 5) != 0) continue;
    int root_x, root_y;
    Window unused;
    XTranslateCoordinates(d, w, DefaultRootWindow(d), x, y, &root_x, &root_y,
                          &unused);
    XTestFakeMotionEvent(d, DefaultScreen(d), root_x, root_y, 0);
    XSync(d, False);
    usleep(50000);
    ResetPeak(child);
    double start = Now();
    XTestFakeButtonEvent(d, 1, True, 0);
    XTestFakeButtonEvent(d, 1, False, 0);
    XFlush(d);
    char events[4096] __attribute__((aligned(8)));
    int replaced = 0;
    while (!replaced) {
      struct pollfd p = {watch, POLLIN, 0};
      if (poll(&p, 1, 120000) <= 0) Fail("the results file was not replaced");
      ssize_t got = read(watch, events, sizeof events);
      for (char* e = events; got > 0 && e < events + got;) {
        const struct inotify_event* event = (const struct inotify_event*)e;
        if (event->len > 0 && event->name[0] != '.') replaced = 1;
        e += sizeof *event + event->len;
      }
    }
    printf("clicked %.3f\n", Now() - start);
    fflush(stdout);
    WaitForIdle(child);
    printf("idle %ld %ld\n", StatusKb(child, "VmHWM"),
           StatusKb(child, "VmRSS"));
    fflush(stdout);
  }
  Stop();
  return 0;
}

int main(int argc, char** argv) {
  XSetErrorHandler(IgnoreErrors);
  Display* d = XOpenDisplay(NULL);
  if (d == NULL) Fail("no X display");
  int event_base, error_base, major, minor;
  if (!XTestQueryExtension(d, &event_base, &error_base, &major, &minor))
    Fail("the display has no XTEST");
  if (argc >= 3 && strcmp(argv[1], "paint") == 0) {
    Window w;
    double spent = StartAndWaitForPaint(d, argv + 2, &w);
    Stop();
    printf("%.3f\n", spent);
    return 0;
  }
  if (argc >= 6 && strcmp(argv[1], "session") == 0)
    return Session(d, argv[2], atoi(argv[3]), atoi(argv[4]), argv + 5);
  fprintf(stderr,
          "usage: x_probe paint CMD [ARG...]\n"
          "       x_probe session FOLDER X Y CMD [ARG...]\n");
  return 2;
}
