/* Starts a program under the X server named by $DISPLAY and times it from outside:
 *   - until a top-level window of the program (its _NET_WM_PID) is viewable, and, with -t, until
 *     that window's name holds the given text;
 *   - how long the program's user-interface thread leaves the window manager's ping
 *     (_NET_WM_PING) unanswered: a ping every 20 ms for -o milliseconds after the window came,
 *     each one waited for, so a frozen window shows as one long stall;
 *   - then a polite close (WM_DELETE_WINDOW) and the program's exit, with its peak RSS.
 *
 *   window_probe [-t TITLE_PART] [-o OBSERVE_MS] -- PROGRAM ARGS...
 *
 * Prints one line: window_ms=... ready_ms=... longest_stall_ms=... exit_ms=... peak_rss_kb=...
 * where ready_ms is the moment after which every ping was answered within 100 ms.
 * Build: cc -O2 -o window_probe window_probe.c -lX11 */
#define _GNU_SOURCE
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/resource.h>
#include <sys/select.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

static struct timespec start;

static long now_ms(void) {
  struct timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return (t.tv_sec - start.tv_sec) * 1000 + (t.tv_nsec - start.tv_nsec) / 1000000;
}

static int child_gone(pid_t pid, struct rusage* usage, int* status) {
  return wait4(pid, status, WNOHANG, usage) == pid;
}

static long window_pid(Display* dpy, Window w, Atom pid_atom) {
  Atom type;
  int format;
  unsigned long count, after;
  unsigned char* data = NULL;
  long pid = -1;
  if (XGetWindowProperty(dpy, w, pid_atom, 0, 1, False, XA_CARDINAL, &type, &format, &count, &after,
                         &data) == Success && data != NULL) {
    if (count == 1 && format == 32) pid = (long)*(unsigned long*)data;
    XFree(data);
  }
  return pid;
}

static int name_holds(Display* dpy, Window w, const char* part) {
  if (part == NULL) return 1;
  Atom utf8 = XInternAtom(dpy, "UTF8_STRING", False);
  Atom net_name = XInternAtom(dpy, "_NET_WM_NAME", False);
  Atom type;
  int format;
  unsigned long count, after;
  unsigned char* data = NULL;
  int found = 0;
  if (XGetWindowProperty(dpy, w, net_name, 0, 1024, False, utf8, &type, &format, &count, &after,
                         &data) == Success && data != NULL) {
    found = strstr((const char*)data, part) != NULL;
    XFree(data);
  }
  return found;
}

/* The viewable top-level window of `pid` whose name holds `part`, or 0. */
static Window find_window(Display* dpy, pid_t pid, const char* part) {
  Atom pid_atom = XInternAtom(dpy, "_NET_WM_PID", False);
  Window root_return, parent, *children = NULL;
  unsigned int n = 0;
  Window found = 0;
  if (!XQueryTree(dpy, DefaultRootWindow(dpy), &root_return, &parent, &children, &n)) return 0;
  for (unsigned int i = 0; i < n && !found; ++i) {
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(dpy, children[i], &attributes) || attributes.map_state != IsViewable)
      continue;
    if (window_pid(dpy, children[i], pid_atom) == pid && name_holds(dpy, children[i], part))
      found = children[i];
  }
  if (children) XFree(children);
  return found;
}

static void send_protocol(Display* dpy, Window w, const char* protocol, long stamp) {
  XEvent e;
  memset(&e, 0, sizeof e);
  e.xclient.type = ClientMessage;
  e.xclient.window = w;
  e.xclient.message_type = XInternAtom(dpy, "WM_PROTOCOLS", False);
  e.xclient.format = 32;
  e.xclient.data.l[0] = (long)XInternAtom(dpy, protocol, False);
  e.xclient.data.l[1] = stamp;
  e.xclient.data.l[2] = (long)w;
  XSendEvent(dpy, w, False, NoEventMask, &e);
  XFlush(dpy);
}

/* Waits for the reply to the ping stamped `stamp`; false when the program ended first. */
static int wait_pong(Display* dpy, long stamp, pid_t pid, struct rusage* usage, int* status, int* gone) {
  Atom ping = XInternAtom(dpy, "_NET_WM_PING", False);
  int fd = ConnectionNumber(dpy);
  for (;;) {
    while (XPending(dpy)) {
      XEvent e;
      XNextEvent(dpy, &e);
      if (e.type == ClientMessage && (Atom)e.xclient.data.l[0] == ping && e.xclient.data.l[1] == stamp)
        return 1;
    }
    if (child_gone(pid, usage, status)) {
      *gone = 1;
      return 0;
    }
    fd_set fds;
    FD_ZERO(&fds);
    FD_SET(fd, &fds);
    struct timeval wait = {0, 5000};
    select(fd + 1, &fds, NULL, NULL, &wait);
  }
}

int main(int argc, char** argv) {
  const char* title = NULL;
  long observe_ms = 3000;
  int opt;
  while ((opt = getopt(argc, argv, "t:o:")) != -1) {
    if (opt == 't') title = optarg;
    else if (opt == 'o') observe_ms = atol(optarg);
    else return 2;
  }
  if (optind >= argc) {
    fprintf(stderr, "usage: window_probe [-t TITLE_PART] [-o OBSERVE_MS] -- PROGRAM ARGS...\n");
    return 2;
  }
  Display* dpy = XOpenDisplay(NULL);
  if (dpy == NULL) {
    fprintf(stderr, "window_probe: no X display\n");
    return 2;
  }
  /* The program answers a ping by sending it on to the root window. */
  XSelectInput(dpy, DefaultRootWindow(dpy), StructureNotifyMask);

  clock_gettime(CLOCK_MONOTONIC, &start);
  pid_t pid = fork();
  if (pid == 0) {
    execvp(argv[optind], argv + optind);
    _exit(127);
  }
  struct rusage usage;
  int status = 0, gone = 0;
  Window w = 0;
  while ((w = find_window(dpy, pid, title)) == 0) {
    if (child_gone(pid, &usage, &status)) {
      fprintf(stderr, "window_probe: the program ended without showing its window\n");
      return 1;
    }
    usleep(5000);
  }
  const long window_ms = now_ms();
  long ready_ms = window_ms, longest = 0, stamp = 1;
  while (!gone && now_ms() - window_ms < observe_ms) {
    const long sent = now_ms();
    send_protocol(dpy, w, "_NET_WM_PING", stamp);
    if (!wait_pong(dpy, stamp, pid, &usage, &status, &gone)) break;
    const long answered = now_ms();
    if (answered - sent > longest) longest = answered - sent;
    if (answered - sent > 100) ready_ms = answered;
    ++stamp;
    usleep(20000);
  }
  long exit_ms;
  if (!gone) {
    send_protocol(dpy, w, "WM_DELETE_WINDOW", CurrentTime);
    while (!child_gone(pid, &usage, &status)) {
      if (now_ms() > window_ms + observe_ms + 600000) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
        fprintf(stderr, "window_probe: no exit ten minutes after the close\n");
        return 1;
      }
      usleep(5000);
    }
  }
  exit_ms = now_ms();
  printf("window_ms=%ld ready_ms=%ld longest_stall_ms=%ld exit_ms=%ld peak_rss_kb=%ld\n", window_ms,
         ready_ms, longest, exit_ms, usage.ru_maxrss);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? 0 : 1;
}
