/* Starts a program and measures, from just before exec, how long until its first window is
 * mapped on the X server, then its proportional memory (PSS) some seconds after the start.
 * Prints "MAP_MS PSS_KIB CPU_MS OWN_PSS_KIB" (CPU_MS: what the process had used when its window
 * was mapped; OWN_PSS_KIB: the PSS without JACK's shared memory) and ends the program.
 * Usage: startup_probe SECONDS PROGRAM [ARGUMENTS...] */
#define _GNU_SOURCE
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <poll.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

static double now_ms(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

static long window_pid(Display* display, Window window) {
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = NULL;
    long pid = -1;
    const Atom net_wm_pid = XInternAtom(display, "_NET_WM_PID", False);
    if (XGetWindowProperty(display, window, net_wm_pid, 0, 1, False, XA_CARDINAL, &type, &format,
                           &count, &after, &data) == Success &&
        data != NULL && count == 1 && format == 32) {
        pid = (long)*(unsigned long*)data;
    }
    if (data != NULL) {
        XFree(data);
    }
    return pid;
}

/* The process's proportional set size in KiB: all of it, and without the JACK server's shared
 * memory, which every JACK client maps and which says more about the server than the program. */
static void pss_kib(pid_t pid, long* all, long* own) {
    char path[64], line[512];
    int jack = 0;
    long pss;
    *all = *own = 0;
    snprintf(path, sizeof path, "/proc/%d/smaps", (int)pid);
    FILE* file = fopen(path, "r");
    if (file == NULL) {
        *all = *own = -1;
        return;
    }
    while (fgets(line, sizeof line, file) != NULL) {
        if (sscanf(line, "Pss: %ld kB", &pss) == 1) {
            *all += pss;
            *own += jack ? 0 : pss;
        } else if (strchr(line, ' ') != NULL && strchr(line, ' ')[-1] != ':') {
            /* A mapping's first line, "START-END PERMS OFFSET DEVICE INODE [NAME]", rather than
             * one of its "Field: value" lines. */
            jack = strstr(line, "/dev/shm/jack") != NULL;
        }
    }
    fclose(file);
}

/* CPU time the process has used so far, all its threads, in ms. */
static double cpu_ms(pid_t pid) {
    char path[64];
    unsigned long user = 0, system = 0;
    snprintf(path, sizeof path, "/proc/%d/stat", (int)pid);
    FILE* file = fopen(path, "r");
    if (file == NULL) {
        return -1;
    }
    /* The name may hold spaces; the fields after it are counted from its closing parenthesis. */
    char text[1024];
    const size_t length = fread(text, 1, sizeof text - 1, file);
    fclose(file);
    text[length] = 0;
    const char* after = strrchr(text, ')');
    if (after == NULL || sscanf(after + 2, "%*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %lu %lu",
                                &user, &system) != 2) {
        return -1;
    }
    return (user + system) * 1000.0 / sysconf(_SC_CLK_TCK);
}

/* Waits for the MapNotify of a top-level window of `pid`; its time, or -1 after 20 s. */
static double wait_for_map(Display* display, pid_t pid) {
    const double deadline = now_ms() + 20000;
    struct pollfd connection = {ConnectionNumber(display), POLLIN, 0};
    while (now_ms() < deadline) {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify && window_pid(display, event.xmap.window) == pid) {
                return now_ms();
            }
        }
        poll(&connection, 1, 100);
    }
    return -1;
}

int main(int argc, char** argv) {
    if (argc < 3) {
        fprintf(stderr, "usage: %s SECONDS PROGRAM [ARGUMENTS...]\n", argv[0]);
        return 2;
    }
    const double seconds = atof(argv[1]);
    Display* display = XOpenDisplay(NULL);
    if (display == NULL) {
        fprintf(stderr, "no X display\n");
        return 2;
    }
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);

    const double start = now_ms();
    const pid_t pid = fork();
    if (pid == 0) {
        execvp(argv[2], argv + 2);
        _exit(127);
    }
    const double mapped = wait_for_map(display, pid);
    const double cpu = cpu_ms(pid);
    if (mapped < 0) {
        kill(pid, SIGKILL);
        waitpid(pid, NULL, 0);
        fprintf(stderr, "the window was not mapped\n");
        return 1;
    }
    const double until = start + seconds * 1000 - now_ms();
    if (until > 0) {
        usleep((useconds_t)(until * 1000));
    }
    long pss, own;
    pss_kib(pid, &pss, &own);
    kill(pid, SIGTERM);
    waitpid(pid, NULL, 0);
    printf("%.1f %ld %.0f %ld\n", mapped - start, pss, cpu, own);
    return 0;
}
