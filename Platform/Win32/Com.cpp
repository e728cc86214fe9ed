#include "Platform/Win32/Com.h"

HRESULT CoInitialize(LPVOID)
{
    return S_OK;
}

void CoUninitialize()
{
}
