/* The floor the renamer is measured against: every file of DIR whose name
 * holds FIND gets that text replaced by REPLACE with renameat2 (never
 * replacing an existing entry), and each rename appends one line to LOG
 * (open, append, close), as the renamer's activity log does.
 * Usage: plain_rename DIR FIND REPLACE LOG */
#define _GNU_SOURCE
#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

int main(int argc, char** argv)
{
    if (argc != 5) {
        fprintf(stderr, "usage: %s DIR FIND REPLACE LOG\n", argv[0]);
        return 2;
    }
    const char *dir = argv[1], *find = argv[2], *repl = argv[3], *log = argv[4];
    DIR* d = opendir(dir);
    if (!d) {
        perror(dir);
        return 1;
    }
    int dfd = dirfd(d);
    size_t cap = 1024, n = 0;
    char** names = malloc(cap * sizeof *names);
    struct dirent* e;
    while ((e = readdir(d)) != NULL) {
        if (e->d_name[0] == '.' || strstr(e->d_name, find) == NULL)
            continue;
        if (n == cap)
            names = realloc(names, (cap *= 2) * sizeof *names);
        names[n++] = strdup(e->d_name);
    }
    size_t flen = strlen(find), rlen = strlen(repl);
    int renamed = 0;
    for (size_t i = 0; i < n; ++i) {
        char target[4096], line[8192], stamp[64];
        const char* at = strstr(names[i], find);
        snprintf(target, sizeof target, "%.*s%s%s", (int)(at - names[i]), names[i], repl, at + flen);
        (void)rlen;
        if (renameat2(dfd, names[i], dfd, target, RENAME_NOREPLACE) != 0)
            continue;
        ++renamed;
        time_t now = time(NULL);
        strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", localtime(&now));
        int len = snprintf(line, sizeof line, "(%s) File Renamed: %s/%s --> %s/%s\n", stamp, dir, names[i], dir, target);
        int fd = open(log, O_WRONLY | O_APPEND | O_CREAT, 0644);
        if (fd >= 0) {
            if (write(fd, line, (size_t)len) < 0)
                perror(log);
            close(fd);
        }
        free(names[i]);
    }
    closedir(d);
    free(names);
    printf("%d\n", renamed);
    return 0;
}
