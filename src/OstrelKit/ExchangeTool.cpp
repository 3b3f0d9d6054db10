// ostrel-exchange A B: swaps two folders in one step, so that B always names a complete folder:
// the install script uses it to put an update in place of the install folder.
#include <cstdio>
#include <fcntl.h>

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fputs("usage: ostrel-exchange A B\n", stderr);
        return 2;
    }
    if (renameat2(AT_FDCWD, argv[1], AT_FDCWD, argv[2], RENAME_EXCHANGE) != 0) {
        std::perror("ostrel-exchange");
        return 1;
    }
    return 0;
}
