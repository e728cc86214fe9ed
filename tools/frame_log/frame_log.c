/* Frame logger, preloaded into the game (LD_PRELOAD): one line per
 * SDL_GL_SwapWindow to $FRAME_LOG: wall time in ns (CLOCK_REALTIME, so a
 * script can compare it with the time it started the program) and the mean
 * brightness (0-255) of the row 10% below the top of the frame, which tells a
 * black logo or video screen from the main menu's sky. Built and used by
 * tools/frame_log/startup_frames.sh. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

typedef struct SDL_Window SDL_Window;
extern void SDL_GL_GetDrawableSize(SDL_Window* window, int* w, int* h);
extern void* SDL_GL_GetProcAddress(const char* name);

#define GL_READ_FRAMEBUFFER 0x8CA8
#define GL_READ_FRAMEBUFFER_BINDING 0x8CAA
#define GL_PIXEL_PACK_BUFFER 0x88EB
#define GL_PIXEL_PACK_BUFFER_BINDING 0x88ED
#define GL_PACK_ALIGNMENT 0x0D05
#define GL_BACK 0x0405
#define GL_READ_BUFFER 0x0C02
#define GL_RGBA 0x1908
#define GL_UNSIGNED_BYTE 0x1401
enum { kMaxWidth = 8192 };

typedef void (*GetIntegerv)(unsigned, int*);
typedef void (*BindFramebuffer)(unsigned, unsigned);
typedef void (*BindBuffer)(unsigned, unsigned);
typedef void (*PixelStorei)(unsigned, int);
typedef void (*ReadBuffer)(unsigned);
typedef void (*ReadPixels)(int, int, int, int, unsigned, unsigned, void*);

static FILE* sLog;

static double TopRowBrightness(SDL_Window* window)
{
    static GetIntegerv getIntegerv;
    static BindFramebuffer bindFramebuffer;
    static BindBuffer bindBuffer;
    static PixelStorei pixelStorei;
    static ReadBuffer readBuffer;
    static ReadPixels readPixels;
    static unsigned char row[kMaxWidth * 4];
    if (!readPixels)
    {
        getIntegerv = (GetIntegerv)SDL_GL_GetProcAddress("glGetIntegerv");
        bindFramebuffer = (BindFramebuffer)SDL_GL_GetProcAddress("glBindFramebuffer");
        bindBuffer = (BindBuffer)SDL_GL_GetProcAddress("glBindBuffer");
        pixelStorei = (PixelStorei)SDL_GL_GetProcAddress("glPixelStorei");
        readBuffer = (ReadBuffer)SDL_GL_GetProcAddress("glReadBuffer");
        readPixels = (ReadPixels)SDL_GL_GetProcAddress("glReadPixels");
        if (!readPixels)
            return -1.0;
    }
    int w = 0, h = 0;
    SDL_GL_GetDrawableSize(window, &w, &h);
    if (w <= 0 || h <= 0 || w > kMaxWidth)
        return -1.0;
    int readFramebuffer = 0, packBuffer = 0, packAlignment = 4, readBufferMode = GL_BACK;
    getIntegerv(GL_READ_FRAMEBUFFER_BINDING, &readFramebuffer);
    getIntegerv(GL_PIXEL_PACK_BUFFER_BINDING, &packBuffer);
    getIntegerv(GL_PACK_ALIGNMENT, &packAlignment);
    bindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    getIntegerv(GL_READ_BUFFER, &readBufferMode);
    bindBuffer(GL_PIXEL_PACK_BUFFER, 0);
    pixelStorei(GL_PACK_ALIGNMENT, 1);
    readBuffer(GL_BACK);
    readPixels(0, h - 1 - h / 10, w, 1, GL_RGBA, GL_UNSIGNED_BYTE, row);
    readBuffer((unsigned)readBufferMode);
    pixelStorei(GL_PACK_ALIGNMENT, packAlignment);
    bindBuffer(GL_PIXEL_PACK_BUFFER, (unsigned)packBuffer);
    bindFramebuffer(GL_READ_FRAMEBUFFER, (unsigned)readFramebuffer);
    double sum = 0.0;
    for (int i = 0; i < w; ++i)
        sum += (row[i * 4] + row[i * 4 + 1] + row[i * 4 + 2]) / 3.0;
    return sum / w;
}

void SDL_GL_SwapWindow(SDL_Window* window)
{
    static void (*next)(SDL_Window*);
    if (!next)
        next = (void (*)(SDL_Window*))dlsym(RTLD_NEXT, "SDL_GL_SwapWindow");
    if (!sLog)
    {
        const char* path = getenv("FRAME_LOG");
        sLog = fopen(path ? path : "/dev/null", "w");
    }
    const double brightness = TopRowBrightness(window);
    struct timespec now;
    clock_gettime(CLOCK_REALTIME, &now);
    if (sLog)
    {
        fprintf(sLog, "%lld %.1f\n", (long long)now.tv_sec * 1000000000LL + now.tv_nsec, brightness);
        fflush(sLog);
    }
    next(window);
}
