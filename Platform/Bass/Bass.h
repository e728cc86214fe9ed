#pragma once

// The audio calls the engine makes, with the types and constants it names.
// Handles are 32-bit ids; 0 is never a valid handle.
#include "Platform/Win32/Types.h"

#include <cstdint>

typedef uint64_t QWORD;
typedef DWORD HSAMPLE;
typedef DWORD HCHANNEL;
typedef DWORD HSTREAM;
typedef DWORD HSYNC;

typedef void SYNCPROC(HSYNC handle, DWORD channel, DWORD data, void* user);

typedef void FILECLOSEPROC(void* user);
typedef QWORD FILELENPROC(void* user);
typedef DWORD FILEREADPROC(void* buffer, DWORD length, void* user);
typedef BOOL FILESEEKPROC(QWORD offset, void* user);

struct BASS_FILEPROCS
{
    FILECLOSEPROC* close;
    FILELENPROC* length;
    FILEREADPROC* read;
    FILESEEKPROC* seek;
};

#define BASS_ATTRIB_VOL 2
#define BASS_SYNC_END 2
#define BASS_SYNC_SLIDE 5
#define BASS_SYNC_MIXTIME 0x40000000
#define STREAMFILE_BUFFER 1

#define BASS_ACTIVE_STOPPED 0
#define BASS_ACTIVE_PLAYING 1
#define BASS_ACTIVE_STALLED 2
#define BASS_ACTIVE_PAUSED 3

BOOL BASS_Init(int device, DWORD freq, DWORD flags, HWND win, const void* clsid);
BOOL BASS_SetConfig(DWORD option, DWORD value);
BOOL BASS_Start();
BOOL BASS_Pause();

HSAMPLE BASS_SampleLoad(BOOL mem, const void* file, QWORD offset, DWORD length, DWORD max, DWORD flags);
BOOL BASS_SampleFree(HSAMPLE handle);
HCHANNEL BASS_SampleGetChannel(HSAMPLE handle, BOOL onlynew);

HSTREAM BASS_StreamCreateFileUser(DWORD system, DWORD flags, const BASS_FILEPROCS* procs, void* user);
BOOL BASS_StreamFree(HSTREAM handle);

BOOL BASS_ChannelPlay(DWORD handle, BOOL restart);
BOOL BASS_ChannelStop(DWORD handle);
DWORD BASS_ChannelIsActive(DWORD handle);
BOOL BASS_ChannelSetAttribute(DWORD handle, DWORD attrib, float value);
BOOL BASS_ChannelSlideAttribute(DWORD handle, DWORD attrib, float value, DWORD time);
HSYNC BASS_ChannelSetSync(DWORD handle, DWORD type, QWORD param, SYNCPROC* proc, void* user);
BOOL BASS_ChannelRemoveSync(DWORD handle, HSYNC sync);
