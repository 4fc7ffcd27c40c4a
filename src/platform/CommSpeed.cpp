// Rates without a standard termios speed go through termios2, whose header
// cannot share a unit with <termios.h>.
#include <asm/ioctls.h>
#include <asm/termbits.h>

#include <cerrno>
#include <cstdint>

extern "C" int ioctl(int fd, unsigned long request, ...);

int SetCustomCommSpeed(int Fd, uint32_t Rate)
{
    struct termios2 t;
    if (ioctl(Fd, TCGETS2, &t) != 0)
        return errno;
    t.c_cflag &= ~(CBAUD | (CBAUD << IBSHIFT));
    t.c_cflag |= BOTHER | (BOTHER << IBSHIFT);
    t.c_ispeed = Rate;
    t.c_ospeed = Rate;
    if (ioctl(Fd, TCSETS2, &t) != 0)
        return errno;
    return 0;
}

int GetCommSpeed(int Fd, uint32_t &Rate)
{
    struct termios2 t;
    if (ioctl(Fd, TCGETS2, &t) != 0)
        return errno;
    Rate = t.c_ospeed;
    return 0;
}
