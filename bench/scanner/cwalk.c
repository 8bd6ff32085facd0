/* The peer of scan-bench: a bare recursive directory walker in C. readdir with d_type, no
 * stat; skips "." and ".." and folders whose names start with "."; prints each folder that
 * holds a "*.lrc" entry once. Built by run_scan_bench.sh with the system's C compiler. */
#define _GNU_SOURCE
#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <strings.h>
#include <unistd.h>

static char path[65536];

static void walk(int fdIn, size_t len) {
  DIR* dir = fdopendir(fdIn);
  if (!dir) {
    close(fdIn);
    return;
  }
  struct dirent* entry;
  int printed = 0;
  char** subdirs = NULL;
  size_t count = 0, capacity = 0;
  while ((entry = readdir(dir)) != NULL) {
    const char* name = entry->d_name;
    if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0))) continue;
    size_t n = strlen(name);
    if (!printed && n >= 4 && strcasecmp(name + n - 4, ".lrc") == 0) {
      fwrite(path, 1, len, stdout);
      fputc('\n', stdout);
      printed = 1;
    }
    if (entry->d_type == DT_DIR && name[0] != '.') {
      if (count == capacity) {
        capacity = capacity ? capacity * 2 : 16;
        subdirs = realloc(subdirs, capacity * sizeof *subdirs);
      }
      subdirs[count++] = strdup(name);
    }
  }
  int fd = dirfd(dir);
  for (size_t i = 0; i < count; ++i) {
    size_t n = strlen(subdirs[i]);
    if (len + 1 + n + 1 < sizeof path) {
      path[len] = '/';
      memcpy(path + len + 1, subdirs[i], n + 1);
      int child = openat(fd, subdirs[i], O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
      if (child >= 0) walk(child, len + 1 + n);
      path[len] = 0;
    }
    free(subdirs[i]);
  }
  free(subdirs);
  closedir(dir);
}

int main(int argc, char** argv) {
  if (argc != 2) {
    fputs("usage: walk-c ROOT\n", stderr);
    return 2;
  }
  size_t len = strlen(argv[1]);
  while (len > 1 && argv[1][len - 1] == '/') --len;
  memcpy(path, argv[1], len);
  path[len] = 0;
  int fd = open(path, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return 1;
  walk(fd, len);
  return 0;
}
